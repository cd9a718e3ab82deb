#include "ObjectData/GsmCard.h"

#include "ObjectData/CardCommands.h"
#include "ObjectData/DivObj.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmPage.h"
#include "ObjectData/Vocabulary.h"
#include "Pub/KxLinkText.h"
#include "Pub/KxMsgBox.h"
#include "Pub/KxSendProgress.h"
#include "Pub/KxStr.h"
#include "Pub/KxTrace.h"

CGsmCard::CGsmCard()
{
    Reset();
}

CGsmCard::~CGsmCard()
{
    RemoveAllPages();
    RemoveAllZones();
    qCDebug(kxModel, "CGsmCard::~CGsmCard() \r\n");
}

void CGsmCard::Reset()
{
    m_bChecked = 1;
    m_nId = 1;
    m_nSendMode = 0;
    m_nCardType = 0;
    m_nWidth = 64;
    m_nHeight = 32;
    m_nColorType = 0;
    m_nRowOrder = 0;
    m_nDataPolarity = 0;
    m_nOePolarity = 1;
    m_nScanMode = 0;
    // The prefix follows the active language; the number counts the cards
    // already in the project, whatever they are called.
    m_strName = CKxStr(42035).GetText() + QString::number(g_cardList.size() + 1);
    m_strDtuPhones.clear();
    m_szBindPhones.clear();
    RemoveAllPages();
    RemoveAllZones();
    AddZone(new CDivObj);

    m_brightSlots.fill(CBrightSlot());
    m_powerSlots.fill(CPowerSlot());
    m_brightSlots[0] = CBrightSlot{0, 23, 0, 1};
    m_powerSlots[0] = CPowerSlot{0, 0, 23, 59, 1};
}

void CGsmCard::SetId(int nId)
{
    if (nId >= 1)
        m_nId = nId;
}

int CGsmCard::SetCardType(int nType)
{
    const int nOld = m_nCardType;
    if (nType == 0 || nType == 1)
        m_nCardType = nType;
    return nOld;
}

int CGsmCard::SetSendMode(int nMode)
{
    const int nOld = m_nSendMode;
    if (nMode >= 0 && nMode <= 3)
        m_nSendMode = nMode;
    return nOld;
}

void CGsmCard::SetBindPhones(const QString& strPhones)
{
    if (strPhones.size() < 2)
        return;
    m_szBindPhones = strPhones.left(kMaxBindPhones);
}

void CGsmCard::SetDtuPhones(const QString& strPhones)
{
    m_strDtuPhones = strPhones;
    if (!m_strDtuPhones.endsWith(u'|'))
        m_strDtuPhones += u'|';

    m_arrDtuPhones.clear();
    qsizetype nStart = 0;
    for (qsizetype nBar = m_strDtuPhones.indexOf(u'|'); nBar >= 0;
         nBar = m_strDtuPhones.indexOf(u'|', nStart))
    {
        m_arrDtuPhones.append(m_strDtuPhones.mid(nStart, nBar - nStart));
        nStart = nBar + 1;
    }
}

void CGsmCard::AddZone(CDivObj* pZone)
{
    if (!pZone)
        return;
    pZone->m_nIndex = GetZoneCount();
    m_lstZones.append(pZone);
}

void CGsmCard::RemoveZone(CDivObj* pZone)
{
    if (!pZone || !m_lstZones.removeOne(pZone))
        return;
    delete pZone; // takes its editing window with it
    for (int i = 0; i < m_lstZones.size(); ++i)
        m_lstZones[i]->m_nIndex = i;
}

void CGsmCard::RemoveAllZones()
{
    qDeleteAll(m_lstZones);
    m_lstZones.clear();
}

void CGsmCard::AddPage(CGsmPage* pPage)
{
    if (pPage)
        m_lstPages.append(pPage);
}

void CGsmCard::RemovePage(CGsmPage* pPage)
{
    if (pPage && m_lstPages.removeOne(pPage))
        delete pPage;
}

void CGsmCard::RemoveAllPages()
{
    qDeleteAll(m_lstPages);
    m_lstPages.clear();
}

int CGsmCard::ScanCode(int nScanMode)
{
    static const int s_codes[12] = {0, 80, 81, 82, 41, 42, 43, 44, 45, 46, 47, 48};
    if (nScanMode < 1 || nScanMode > 11)
        return 0;
    return s_codes[nScanMode];
}

int CGsmCard::BuildScreenCommand(QString* pCmd) const
{
    return KxEmitCommand(pCmd,
                         KxCommandHead(CMD_SCREEN) +
                             QString::asprintf("%04dx%03d,%d%d%d%02d%d", m_nWidth, m_nHeight,
                                               m_nColorType + 1, m_nDataPolarity, m_nOePolarity,
                                               ScanCode(m_nScanMode), m_nRowOrder));
}

int CGsmCard::BuildZoneCommand(QString* pCmd) const
{
    QString text = KxCommandHead(CMD_ZONE) + QString::asprintf("%d:", GetZoneCount());
    for (const CDivObj* pZone : m_lstZones)
        text += QString::asprintf("%d,%d,%d,%d|", pZone->GetX(), pZone->GetY(), pZone->GetCx(),
                                  pZone->GetCy());
    return KxEmitCommand(pCmd, text);
}

int CGsmCard::BuildBindCommand(QString* pCmd, int nOption) const
{
    return KxEmitCommand(pCmd, KxCommandHead(CMD_BIND) + QString::number(nOption) + m_szBindPhones);
}

int CGsmCard::BuildTimedBrightnessCommand(QString* pCmd) const
{
    if (!pCmd)
        return -1;
    int nCount = 0;
    QString periods;
    for (const CBrightSlot& slot : m_brightSlots)
    {
        if (!slot.m_bEnabled)
            continue;
        ++nCount;
        periods +=
            QString::asprintf("%d,%d,%d|", slot.m_nStartHour, slot.m_nEndHour, slot.m_nLevel);
    }
    if (nCount == 0)
        return -1;
    return KxEmitCommand(pCmd, KxCommandHead(CMD_TIMED_BRIGHTNESS) + QString::number(nCount) +
                                   u':' + periods);
}

int CGsmCard::BuildTimedPowerCommand(QString* pCmd) const
{
    if (!pCmd)
        return -1;
    int nCount = 0;
    QString periods;
    for (const CPowerSlot& slot : m_powerSlots)
    {
        if (!slot.m_bEnabled)
            continue;
        ++nCount;
        periods += QString::asprintf("%d:%02d,%d:%02d|", slot.m_nStartHour, slot.m_nStartMinute,
                                     slot.m_nEndHour, slot.m_nEndMinute);
    }
    if (nCount == 0)
        return -1;
    return KxEmitCommand(pCmd,
                         KxCommandHead(CMD_TIMED_POWER) + QString::number(nCount) + u':' + periods);
}

// --- sending ---

namespace
{
const int kSuccessText = 42018;

bool IsDtuSendMode(int nMode)
{
    return nMode == 1 || nMode == 3;
}

// The line of the report that names a command: whole up to 5 characters,
// else its first 5 characters and "...".
QString CommandFailureLine(const QString& strResult, const QString& strCmd)
{
    if (strCmd.size() <= 5)
        return strResult + QStringLiteral(", ") + strCmd + QStringLiteral(" \r\n");
    return strResult + QStringLiteral(", ") + strCmd.left(5) + QStringLiteral("...\r\n");
}

// "n commands not sent, from <command>" for a cancelled action.
QString NotSentLine(int nCount, const QString& strFirst)
{
    const QString strShort =
        strFirst.size() <= 5 ? strFirst : strFirst.left(5) + QStringLiteral("...");
    return KxLinkString(KX_STR_NOT_SENT).arg(nCount).arg(strShort);
}

QString FirstText(const QStringList& list)
{
    for (const QString& strText : list)
        if (!strText.isNull())
            return strText;
    return QString();
}

void ReportStep(int nCommand, int nCommands, const QString* pTarget, const QString& strPort)
{
    KxSendStep step;
    step.nCommand = nCommand;
    step.nCommands = nCommands;
    if (pTarget)
        step.strTarget = *pTarget;
    step.strPort = strPort;
    KxReportSendStep(step);
}

void ReportOpenFailure(const CKxIO& link)
{
    if (link.IsCancelled())
    {
        KxMessageBox(KxLinkString(KX_STR_SEND_CANCELLED) + QStringLiteral("\r\n") +
                         KxLinkString(KX_STR_NOTHING_SENT),
                     KxMsgIcon::Information);
        return;
    }
    KxMessageBox(link.GetResultText(), KxMsgIcon::Error);
}

// Every send action begins here; a failure has been told to the user.
bool OpenForSend(CKxIO& link, int nMode)
{
    if (link.OpenPort(nMode))
        return true;
    ReportOpenFailure(link);
    return false;
}

// The closing box of an action that ran to its end.
int ShowOutcome(bool bAllAccepted, const QString& strReport)
{
    KxMessageBox(bAllAccepted ? KxLinkString(kSuccessText) : strReport, KxMsgIcon::Information);
    return bAllAccepted ? 1 : 0;
}
} // namespace

int CGsmCard::SendCommand(const QString& strCmd, int nLength, char* pReply, int nReplySize)
{
    if (strCmd.isEmpty() || nLength < 1)
        return 0;
    if (!OpenForSend(m_link, m_nSendMode))
        return 0;

    // In the serial modes there is one target without a number.
    const bool bDtu = IsDtuSendMode(m_nSendMode);
    const int nTargets = bDtu ? int(m_arrDtuPhones.size()) : 1;
    QString strReport;
    int nAccepted = 0;
    int nTarget = 0;
    for (; nTarget < nTargets; ++nTarget)
    {
        // A cancel takes effect between two exchanges: the target under way
        // was answered, the next one is not started.
        if (m_link.IsCancelled())
            break;
        const QString* pTarget = bDtu ? &m_arrDtuPhones[nTarget] : nullptr;
        ReportStep(nTarget + 1, nTargets, pTarget, m_link.GetPort());
        if (m_link.SendCmd(pTarget, strCmd, nLength, pReply, nReplySize))
        {
            ++nAccepted;
            continue;
        }
        const QString strResult = KxLinkString(m_link.GetResultId());
        if (pTarget)
            strReport += *pTarget + QStringLiteral(", ") + strResult;
        else
            strReport += strResult + u' ' + m_link.GetReply();
    }
    m_link.Close();

    if (nTarget < nTargets)
    {
        // Cancelled: what failed so far, then every target still without it.
        QString strText = KxLinkString(KX_STR_SEND_CANCELLED);
        if (!strReport.isEmpty())
            strText += QStringLiteral("\r\n") + strReport;
        const QString strNotSent = NotSentLine(1, strCmd.left(nLength));
        for (; nTarget < nTargets; ++nTarget)
        {
            strText += QStringLiteral("\r\n");
            if (bDtu)
                strText += m_arrDtuPhones[nTarget] + QStringLiteral(", ");
            strText += strNotSent;
        }
        KxMessageBox(strText, KxMsgIcon::Information);
        return 0;
    }
    return ShowOutcome(nAccepted == nTargets, strReport);
}

int CGsmCard::SendCommandList(const QStringList* pList)
{
    if (!pList)
        return 0;
    if (!OpenForSend(m_link, m_nSendMode))
        return 0;

    const bool bDtu = IsDtuSendMode(m_nSendMode);
    const int nTargets = bDtu ? int(m_arrDtuPhones.size()) : 1;
    // A null entry stands for a missing text: skipped, and not held against
    // the target.
    int nTexts = 0;
    for (const QString& strText : *pList)
        if (!strText.isNull())
            ++nTexts;
    const int nSteps = nTargets * int(pList->size());

    QString strReport;
    int nAccepted = 0;
    int nTarget = 0;
    bool bCancelled = false;
    QString strCancel; // what the cancelled target did not get
    for (; nTarget < nTargets; ++nTarget)
    {
        const QString* pTarget = bDtu ? &m_arrDtuPhones[nTarget] : nullptr;
        QString strFailure;
        int nCount = 0;
        int nTried = 0;
        for (int i = 0; i < pList->size(); ++i)
        {
            const QString& strText = pList->at(i);
            if (strText.isNull())
                continue;
            // A cancel takes effect between two exchanges: the command under
            // way was answered and counts, this one and the rest are not sent.
            if (m_link.IsCancelled())
            {
                bCancelled = true;
                strCancel = strFailure + NotSentLine(nTexts - nTried, strText);
                break;
            }
            ReportStep(nTarget * int(pList->size()) + i + 1, nSteps, pTarget, m_link.GetPort());
            bool bOk = m_link.SendCmd(pTarget, strText, int(strText.size()));
            if (!bOk && !m_link.IsCancelled())
                bOk = m_link.SendCmd(pTarget, strText, int(strText.size()));
            ++nTried;
            if (bOk)
                ++nCount;
            else
                strFailure = CommandFailureLine(KxLinkString(m_link.GetResultId()), strText);
        }
        if (bCancelled)
            break;
        if (nCount == nTexts)
            ++nAccepted;
        else if (pTarget)
            strReport += *pTarget + QStringLiteral(", ") + strFailure + QStringLiteral(" \r\n");
        else
            strReport += strFailure + QStringLiteral(" \r\n");
    }
    m_link.Close();

    if (bCancelled)
    {
        QString strText = KxLinkString(KX_STR_SEND_CANCELLED) + QStringLiteral("\r\n") + strReport;
        for (; nTarget < nTargets; ++nTarget)
        {
            if (bDtu)
                strText += m_arrDtuPhones[nTarget] + QStringLiteral(", ");
            strText += strCancel + QStringLiteral("\r\n");
            // Later targets got none of the list.
            strCancel = NotSentLine(nTexts, FirstText(*pList));
        }
        KxMessageBox(strText, KxMsgIcon::Information);
        return 0;
    }
    return ShowOutcome(nAccepted == nTargets, strReport);
}
