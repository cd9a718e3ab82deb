#include "ObjectData/Global.h"

#include "ObjectData/GsmCard.h"
#include "Pub/KxStr.h"

QList<CGsmCard*> g_cardList;
QStringList g_cmdList;
CGsmCard* g_pCurCard = nullptr;
std::function<int(const CGsmPage*)> g_fnPageNumberBase;

void RemoveCard(CGsmCard* pCard)
{
    if (!pCard || !g_cardList.removeOne(pCard))
        return;
    if (g_pCurCard == pCard)
        g_pCurCard = nullptr;
    delete pCard;
}

void RemoveAllCards()
{
    // Take the cards out first, so nothing reaches a half-destroyed list.
    const QList<CGsmCard*> cards = std::move(g_cardList);
    g_cardList.clear();
    g_pCurCard = nullptr;
    qDeleteAll(cards);
}

void FreeCommandList()
{
    g_cmdList.clear();
}

QString IntToText(int n)
{
    return QString::number(n);
}

namespace
{
// Walks the pieces of an option list in the manner of the drop-down filler.
template <typename Fn> int ForEachPiece(const QString& strList, Fn fn)
{
    QString text = strList;
    if (!text.endsWith(u'|'))
        text += u'|';
    int nCount = 0;
    qsizetype nPos = 0;
    for (;;)
    {
        const qsizetype nBar = text.indexOf(u'|', nPos);
        if (nBar <= 0)
            break;
        fn(nCount, text.mid(nPos, nBar - nPos));
        ++nCount;
        nPos = nBar + 1;
    }
    return nCount;
}
} // namespace

int SplitComboList(const QString& strList, QStringList* pItems)
{
    if (pItems)
        pItems->clear();
    return ForEachPiece(strList, [&](int, const QString& piece) {
        if (pItems)
            pItems->append(piece);
    });
}

int SplitBorderList(const QString& strList, QStringList* pItems)
{
    if (pItems)
        pItems->clear();
    return ForEachPiece(strList, [&](int nIndex, const QString& piece) {
        if (!pItems)
            return;
        if (nIndex == 0)
        {
            pItems->append(piece);
            return;
        }
        for (int v = 1; v <= 6; ++v)
            pItems->append(piece + u' ' + QString::number(v));
    });
}

QString SpeedOptionList()
{
    return QStringLiteral("0|1|2|3|4|5|6|7|8|9|a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p|q|r|s|t|u|v|w|x|y|z|");
}

QStringList StayOptionItems()
{
    QStringList items;
    for (int i = 0; i < 10; ++i)
        items.append(IntToText(i));
    for (int s = 10; s <= 125; s += 5)
        items.append(IntToText(s));
    return items;
}

QString BrightnessOptionList()
{
    return QStringLiteral("0(%1)|1|2|3|4|5|6|7|8|9|A|B|C|D|E|F(%2)|")
        .arg(CKxStr(42015).GetText(), CKxStr(42016).GetText());
}
