#pragma once

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class CGsmCard;
class CKxClock;
class QProgressDialog;
class QWidget;
struct KxSendStep;

// Sends one command to a card the way a settings panel's button does: under
// the wait cursor and a modal progress dialog whose Cancel stops after the
// exchange under way, while the window keeps painting. Returns what the
// card's SendCommand returns (1 or 0); 0 without a card or a command.
int KxSendWithProgress(QWidget* pParent, CGsmCard* pCard, const QString& strCmd,
                       char* pReply = nullptr, int nReplySize = 0);

// Holds the sign of life for one send from its construction to its end: the
// wait cursor, the progress dialog (card, command, target) and the waiting
// that keeps the event loop running. While it lives, the link's pauses run
// through it, and after Cancel they end at once and report the cancel.
class CSendProgress
{
public:
    explicit CSendProgress(QWidget* pParent);
    ~CSendProgress();
    CSendProgress(const CSendProgress&) = delete;
    CSendProgress& operator=(const CSendProgress&) = delete;

    // Which card of how many the next exchanges belong to (0, 0: unknown).
    void SetCard(int nCard, int nCards);

    bool IsCancelled() const { return m_bCancelled; }
    // What the Cancel button does: the exchange under way ends, nothing
    // further is sent.
    void Cancel();

    // The progress dialog while it is open (tests read and cancel it).
    QProgressDialog* GetDialog() const;

    // The send under way, or null.
    static CSendProgress* Current();

    // With this set, pauses pass time on the clock that was installed before
    // (a test's virtual clock) instead of waiting in real time; events are
    // still processed on every pause.
    static void SetWaitOnPreviousClock(bool bOn);

    // The pause of the link while this send runs: keeps painting and
    // answering the Cancel button; false once the user has cancelled.
    bool Wait(int nMs);

private:
    void OnStep(const KxSendStep& step);
    void UpdateLabel();

    std::unique_ptr<CKxClock> m_pClock;
    CKxClock* m_pPrevClock = nullptr;
    std::function<void(const KxSendStep&)> m_fnPrevStep;
    QPointer<QProgressDialog> m_pDlg;
    bool m_bCancelled = false;
    int m_nCard = 0;
    int m_nCards = 0;
    int m_nCommand = 0;
    int m_nCommands = 0;
    QString m_strTarget;
    QString m_strPort;
};
