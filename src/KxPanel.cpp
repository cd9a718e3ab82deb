#include "KxPanel.h"

#include "ObjectData/Global.h"
#include "SendProgress.h"

#include <QKeyEvent>

CKxPanel::CKxPanel(QWidget* pParent) : QWidget(pParent) {}

QString CKxPanel::NarrowTip(const QString& strText)
{
    return QStringLiteral("<table width=\"160\"><tr><td>%1</td></tr></table>")
        .arg(strText.toHtmlEscaped());
}

int CKxPanel::SendShownCommand(const QString& strShown, char* pReply, int nReplySize)
{
    if (!g_pCurCard)
        return 0;
    const QString strCmd = strShown.left(kMaxCommand);
    if (strCmd.isEmpty())
        return 0;
    return KxSendWithProgress(this, g_pCurCard, strCmd, pReply, nReplySize);
}

void CKxPanel::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter)
    {
        pEvent->accept();
        return;
    }
    QWidget::keyPressEvent(pEvent);
}
