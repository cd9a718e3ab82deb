#pragma once

#include "KxPanel.h"
#include <QBasicTimer>

#include <memory>

namespace Ui
{
class CDlgScreen;
}

// The screen parameters panel: edits the current card's screen parameters,
// shows the screen command and sends it, and keeps the card's DTU target
// numbers. Typed sizes settle one second after the last keystroke.
class CDlgScreen : public CKxPanel
{
    Q_OBJECT

public:
    static const int kSettleMs = 1000;

    explicit CDlgScreen(QWidget* pParent = nullptr);
    ~CDlgScreen() override;

    // Fills the five screen lists (colour type, OE and data polarity, row
    // order, scan mode) of a panel that has them under their template ids;
    // the information panel shows the same lists.
    static void FillScreenLists(QWidget* pPanel);

public slots:
    // The main window shows the panel: reload everything from the card.
    void OnShowPanel();

protected:
    void timerEvent(QTimerEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    void LoadFromCard();
    void ApplyListsToCard();
    void UpdateCommandPreview();
    void RestartSizeTimer();
    void SettleSize();
    void SendScreenCommand();
    void SaveTargets();

    std::unique_ptr<Ui::CDlgScreen> m_pUi;
    QBasicTimer m_sizeTimer;
    int m_bReady = 0;
};
