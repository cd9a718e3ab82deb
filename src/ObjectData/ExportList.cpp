#include "ObjectData/ExportList.h"

#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "Pub/KxCodePage.h"

QString CardExportBlock(CGsmCard* pCard, bool bAll, int* pMessages)
{
    FreeCommandList();
    if (!pCard)
        return QString();
    for (const CGsmPage* pPage : pCard->GetPageList())
    {
        if (!pPage || (!bAll && !pPage->IsChecked()))
            continue;
        if (pMessages)
            ++*pMessages;
        pPage->BuildCommands(&g_cmdList, int(g_cmdList.size()));
    }

    QString strBlock = QStringLiteral("控制卡(%1)内容指令如下:\r\n").arg(pCard->GetName());
    for (const QString& strCmd : std::as_const(g_cmdList))
        strBlock += strCmd + QStringLiteral("\r\n");
    return strBlock;
}

QByteArray ExportListing(const QList<CGsmCard*>& cards, bool bAll, int* pMessages)
{
    int nMessages = 0;
    QByteArray listing("\xff\xfe", 2);
    for (CGsmCard* pCard : cards)
    {
        if (!pCard || (!bAll && !pCard->IsChecked()))
            continue;
        listing += KxToUtf16Le(CardExportBlock(pCard, bAll, &nMessages));
    }
    if (pMessages)
        *pMessages = nMessages;
    return listing;
}
