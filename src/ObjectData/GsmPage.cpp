#include "ObjectData/GsmPage.h"

#include "ObjectData/CardCommands.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/Vocabulary.h"
#include "Pub/KxStr.h"

namespace
{
const char16_t kDefaultTimeFormat[] = u"%H:%m:%S";

QChar Offset(char16_t base, int n)
{
    return QChar(char16_t(base + n));
}
} // namespace

CGsmPage::CGsmPage(CGsmCard* pCard)
    : m_pCard(pCard), m_strTimeFormat(QString::fromUtf16(kDefaultTimeFormat)),
      m_strContent(CKxStr(42037).GetText())
{
    m_strName = CKxStr(42036).GetText() + QString::number((pCard ? pCard->GetPageCount() : 0) + 1);
}

CGsmPage::~CGsmPage()
{
    FreeCommands();
}

void CGsmPage::UpdateCaption()
{
    if (m_strContent.isEmpty())
        m_strCaption.clear();
    else if (m_strContent.size() > 6)
        m_strCaption = m_strName + u'(' + m_strContent.left(6) + QStringLiteral("...)");
    else
        m_strCaption = m_strName + u'(' + m_strContent + u')';
}

const QStringList& CGsmPage::RefreshCommands(bool bRebuild)
{
    if (bRebuild)
    {
        const int nId = g_fnPageNumberBase ? g_fnPageNumberBase(this) : 0;
        FreeCommands();
        BuildCommands(&m_lstCommands, nId);
    }
    return m_lstCommands;
}

void CGsmPage::FreeCommands()
{
    m_lstCommands.clear();
}

QChar CGsmPage::Code36(int nValue)
{
    if (nValue < 10)
        return Offset(u'0', nValue);
    if (nValue < 36)
        return Offset(u'a', nValue - 10);
    return Offset(u'A', nValue - 36);
}

QString CGsmPage::AttributeCode() const
{
    QString code;
    code += m_nType == 1 ? QChar(u'A') : m_nType == 2 ? QChar(u'B') : QChar(u'0');
    code += Code36(m_nEffect);
    code += m_nSpeed < 10 ? Offset(u'0', m_nSpeed) : Offset(u'a', m_nSpeed - 10);
    code += m_nStay < 10 ? Offset(u'0', m_nStay) : Offset(u'A', m_nStay - 10);
    code += Offset(u'1', m_nColor);
    code += Offset(u'0', m_nZone);
    code += Offset(u'0', m_nFont);
    code += Code36(m_nBorder);
    return code;
}

bool CGsmPage::BuildCommands(QStringList* pList, int nId) const
{
    if (!pList || nId < 0 || nId > kMaxFirstId)
        return false;

    const QString head = KxCommandHead(CMD_MESSAGE);
    const QString attributes = AttributeCode();
    auto prefix = [&](int id) { return head + QString::asprintf("%03d", id) + attributes; };

    if (m_nType == 0)
    {
        const qsizetype nLength = m_strContent.size();
        for (qsizetype nPos = 0; nPos < nLength;)
        {
            const QString strPrefix = prefix(nId++);
            qsizetype nPiece = qMin<qsizetype>(kMaxCommandLength - strPrefix.size(), nLength - nPos);
            // Never split a character that takes two UTF-16 units: both halves
            // would reach the card as garbage.
            if (nPiece > 1 && nPos + nPiece < nLength &&
                m_strContent.at(nPos + nPiece - 1).isHighSurrogate())
                --nPiece;
            pList->append(strPrefix + m_strContent.mid(nPos, nPiece));
            nPos += nPiece;
        }
    }
    else if (m_nType == 1)
    {
        pList->append(prefix(nId));
    }
    else
    {
        const QString strPrefix = prefix(nId);
        const QString format = m_strTimeFormat.size() > kMaxCommandLength - strPrefix.size()
                                   ? QString::fromUtf16(kDefaultTimeFormat)
                                   : m_strTimeFormat;
        pList->append(strPrefix + format);
    }
    return true;
}
