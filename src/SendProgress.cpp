#include "SendProgress.h"

#include "DialogTexts.h"
#include "ObjectData/GsmCard.h"
#include "Pub/KxClock.h"
#include "Pub/KxSendProgress.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

namespace
{
CSendProgress* s_pCurrent = nullptr;
bool s_bWaitOnPrevious = false;

// The link's clock while a send runs: ticks come from the clock that was in
// place, pauses go through the progress so the window stays alive.
class CProgressClock : public CKxClock
{
public:
    CProgressClock(CSendProgress* pOwner, CKxClock* pPrev) : m_pOwner(pOwner), m_pPrev(pPrev) {}
    quint32 GetTickCount() override { return m_pPrev ? m_pPrev->GetTickCount() : 0; }
    bool Sleep(int nMs) override { return m_pOwner->Wait(nMs); }

private:
    CSendProgress* m_pOwner;
    CKxClock* m_pPrev;
};
} // namespace

CSendProgress::CSendProgress(QWidget* pParent)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);

    m_pDlg = new QProgressDialog(pParent);
    m_pDlg->setWindowTitle(KxUiText(u"正在发送", "Sending"));
    m_pDlg->setAccessibleName(m_pDlg->windowTitle());
    m_pDlg->setCancelButtonText(KxUiText(u"取消", "Cancel"));
    m_pDlg->setWindowModality(Qt::ApplicationModal);
    m_pDlg->setAutoClose(false);
    m_pDlg->setAutoReset(false);
    m_pDlg->setMinimumDuration(0);
    m_pDlg->setMinimumWidth(360);
    m_pDlg->setRange(0, 0);
    // The dialog stays up while the exchange under way finishes, saying so.
    // (The dialog ties its own signal to its hiding slot by name.)
    QObject::disconnect(m_pDlg, SIGNAL(canceled()), m_pDlg, SLOT(cancel()));
    QObject::connect(m_pDlg, &QProgressDialog::canceled, m_pDlg, [this]() { Cancel(); });
    UpdateLabel();
    m_pDlg->show();
    QCoreApplication::processEvents();

    auto pClock = std::make_unique<CProgressClock>(this, KxClock());
    m_pPrevClock = KxSetClock(pClock.get());
    m_pClock = std::move(pClock);
    m_fnPrevStep = KxSetSendProgress([this](const KxSendStep& step) { OnStep(step); });
    s_pCurrent = this;
}

CSendProgress::~CSendProgress()
{
    KxSetSendProgress(m_fnPrevStep);
    KxSetClock(m_pPrevClock);
    KxSetSendCard(0, 0);
    if (s_pCurrent == this)
        s_pCurrent = nullptr;
    delete m_pDlg;
    QApplication::restoreOverrideCursor();
}

void CSendProgress::Cancel()
{
    if (m_bCancelled)
        return;
    m_bCancelled = true;
    if (!m_pDlg)
        return;
    m_pDlg->setLabelText(KxUiText(u"正在取消，当前指令结束后停止…",
                                  "Cancelling: stopping after the current command…"));
}

QProgressDialog* CSendProgress::GetDialog() const
{
    return m_pDlg;
}

CSendProgress* CSendProgress::Current()
{
    return s_pCurrent;
}

void CSendProgress::SetWaitOnPreviousClock(bool bOn)
{
    s_bWaitOnPrevious = bOn;
}

void CSendProgress::SetCard(int nCard, int nCards)
{
    m_nCard = nCard;
    m_nCards = nCards;
    KxSetSendCard(nCard, nCards);
    UpdateLabel();
}

bool CSendProgress::Wait(int nMs)
{
    // Every pause takes its full time, cancelled or not: the link finishes
    // the exchange under way and only then stops.
    if (s_bWaitOnPrevious)
    {
        if (m_pPrevClock)
            m_pPrevClock->Sleep(nMs);
        QCoreApplication::processEvents();
        return !m_bCancelled;
    }
    if (nMs > 0)
    {
        // A nested loop rather than a blocking sleep: the window repaints and
        // the Cancel button answers while the card takes its time.
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(nMs);
        loop.exec();
    }
    else
    {
        QCoreApplication::processEvents();
    }
    return !m_bCancelled;
}

void CSendProgress::OnStep(const KxSendStep& step)
{
    if (step.nCards > 0)
    {
        m_nCard = step.nCard;
        m_nCards = step.nCards;
    }
    m_nCommand = step.nCommand;
    m_nCommands = step.nCommands;
    m_strTarget = step.strTarget;
    m_strPort = step.strPort;
    if (m_pDlg && m_nCommands > 0)
    {
        m_pDlg->setRange(0, m_nCommands);
        m_pDlg->setValue(qBound(0, m_nCommand - 1, m_nCommands));
    }
    UpdateLabel();
    QCoreApplication::processEvents();
}

void CSendProgress::UpdateLabel()
{
    if (!m_pDlg || m_bCancelled)
        return;
    QStringList lines;
    if (m_nCards > 0)
        lines << KxUiText(u"控制卡 %1 / %2", "Card %1 of %2").arg(m_nCard).arg(m_nCards);
    if (m_nCommands > 0)
        lines << KxUiText(u"指令 %1 / %2", "Command %1 of %2").arg(m_nCommand).arg(m_nCommands);
    if (!m_strTarget.isEmpty())
        lines << KxUiText(u"目标号码 %1", "Target number %1").arg(m_strTarget);
    if (m_nCommand == 0 && !m_strPort.isEmpty())
        lines
            << KxUiText(u"正在串口 %1 上查找设备…", "Looking for the device on %1…").arg(m_strPort);
    if (lines.isEmpty())
        lines << KxUiText(u"正在连接通信设备…", "Connecting to the device…");
    m_pDlg->setLabelText(lines.join(u'\n'));
}

int KxSendWithProgress(QWidget* pParent, CGsmCard* pCard, const QString& strCmd, char* pReply,
                       int nReplySize)
{
    if (!pCard || strCmd.isEmpty())
        return 0;
    CSendProgress progress(pParent);
    return pCard->SendCommand(strCmd, int(strCmd.length()), pReply, nReplySize);
}
