#pragma once

#include "KxPanel.h"

#include <memory>

class CGsmCard;

namespace Ui
{
class CDlgScrInfo;
}

// The screen information panel: a read-only summary of a card's screen
// parameters, shown in the main view while a card is selected, with a way on
// to the more settings panel.
class CDlgScrInfo : public CKxPanel
{
    Q_OBJECT

public:
    static const int kMoreSettingsCommand = 1127;

    explicit CDlgScrInfo(QWidget* pParent = nullptr);
    ~CDlgScrInfo() override;

    // Shows the card's values (the main window calls this before it shows
    // the panel). A null card is refused.
    void ShowCard(CGsmCard* pCard);

public slots:
    // The summary holds no state of its own; it changes only with ShowCard.
    void OnShowPanel() {}

signals:
    void toolbarCommand(int wParam, int lParam);

private:
    std::unique_ptr<Ui::CDlgScrInfo> m_pUi;
};
