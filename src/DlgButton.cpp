#include "DlgButton.h"

#include "CtrlId.h"
#include "DialogTexts.h"
#include "ui_DlgButton.h"

#include <QPushButton>

namespace
{
const int kBarGroup = 2;
}

CDlgButton::CDlgButton(QWidget* pParent)
    : QWidget(pParent), m_pUi(std::make_unique<Ui::CDlgButton>())
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kBarGroup);
    for (int nId = 1000; nId <= 1004; ++nId)
    {
        auto* pButton = qobject_cast<QPushButton*>(FindCtrl(this, nId));
        // Enter in a settings panel must not switch the view.
        pButton->setAutoDefault(false);
        connect(pButton, &QPushButton::clicked, this, [this, nId]() { emit showPanel(nId, 0); });
    }
}

CDlgButton::~CDlgButton() = default;
