#pragma once

#include "KxPanel.h"
#include <QBasicTimer>

#include <memory>

class QAbstractButton;
class QLineEdit;

namespace Ui
{
class CDlgMore;
}

// The more settings panel: the card's one-shot operations. Each has a
// read-only field that always shows the command its button sends; the clock
// command follows the PC's time every second.
class CDlgMore : public CKxPanel
{
    Q_OBJECT

public:
    static const int kClockMs = 1000;
    static const int kReplySize = 64; // bytes kept of the version reply, zero included

    explicit CDlgMore(QWidget* pParent = nullptr);
    ~CDlgMore() override;

    bool IsBrightnessAuto() const { return m_bBrightAuto; }
    bool IsPowerAuto() const { return m_bPowerAuto; }

public slots:
    // Nothing is reloaded on show; the timed commands are taken from the
    // card when automatic mode is chosen.
    void OnShowPanel() {}

protected:
    void timerEvent(QTimerEvent* pEvent) override;

private:
    void UpdateBrightnessCommand();
    void UpdatePowerCommand();
    void UpdateEchoBuzzerCommand();
    void UpdateClockCommand();
    void UpdateDeleteCommand();
    // The radios, the "..." button and the list of one mode.
    struct ModeControls
    {
        QAbstractButton* pAuto;
        QAbstractButton* pManual;
        QWidget* pTimed;
        QWidget* pList;
    };
    static void ShowMode(const ModeControls& mode, bool bAuto);
    void SetBrightnessMode(bool bAuto);
    void SetPowerMode(bool bAuto);
    void RunTimedDialog(int nKind);
    void SendResult(QLineEdit* pField);
    void QueryVersion();

    std::unique_ptr<Ui::CDlgMore> m_pUi;
    QBasicTimer m_clockTimer;
    int m_bReady = 0;
    bool m_bBrightAuto = false;
    bool m_bPowerAuto = false;
};
