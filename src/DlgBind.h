#pragma once

#include "KxPanel.h"

#include <memory>

class QCheckBox;
class QLineEdit;

namespace Ui
{
class CDlgBind;
}

// The number binding panel: up to eight phone numbers to bind to the
// current card, or to cancel the binding of. The numbers stay as typed while
// the program runs; ticking them stores them into the card.
class CDlgBind : public CKxPanel
{
    Q_OBJECT

public:
    static const int kPhoneCount = 8;
    static const int kMaxPhoneLength = 18; // characters of one number used

    explicit CDlgBind(QWidget* pParent = nullptr);
    ~CDlgBind() override;

public slots:
    // Nothing is reloaded on show: the fields hold what the user typed.
    void OnShowPanel() {}

private:
    void OnSelectAll(bool bChecked);
    void UpdateCommandPreview();
    void SendBindCommand();

    std::unique_ptr<Ui::CDlgBind> m_pUi;
    QCheckBox* m_pChecks[kPhoneCount] = {};
    QLineEdit* m_pPhones[kPhoneCount] = {};
};
