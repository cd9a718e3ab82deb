#include "DlgMenu.h"

#include "ButtonEx.h"
#include "ComboFill.h"
#include "CtrlId.h"
#include "DialogTexts.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "Pub/KxStr.h"
#include "ui_DlgMenu.h"

namespace
{
struct ButtonDef
{
    int nId;
    int nIcon;
    int nString;
};

// In layout order; the icon resource and the UI string of the name.
const ButtonDef kButtons[] = {
    {1005, 147, 41003}, {1006, 144, 41004}, {1007, 140, 41005},
    {1012, 150, 41006}, {1013, 141, 41007}, {1008, 148, 41008},
    {1009, 146, 41009}, {1010, 142, 41010}, {1011, 149, 41011},
};

const int kToolbarGroup = 1;
} // namespace

CDlgMenu::CDlgMenu(QWidget* pParent) : QWidget(pParent), m_pUi(std::make_unique<Ui::CDlgMenu>())
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kToolbarGroup);

    for (const ButtonDef& def : kButtons)
    {
        CButtonEx* pButton = GetButton(def.nId);
        pButton->SetIcons(def.nIcon, 0);
        // The caption is not drawn; the name reaches the user as the tooltip,
        // in the active language, and as the accessible name.
        const QString strName = CKxStr(def.nString).GetText();
        pButton->setToolTip(strName);
        pButton->setAccessibleName(strName);
        connect(pButton, &QAbstractButton::clicked, this,
                [this, nId = def.nId]() { emit toolbarCommand(nId, 0); });
    }

    FillComboFromList(m_pUi->cboCardType, CKxStr(42000));
    FillComboFromList(m_pUi->cboSendMode, CKxStr(42001));
    m_pUi->cboCardType->setCurrentIndex(-1);
    m_pUi->cboSendMode->setCurrentIndex(-1);
    m_pUi->cboCardType->setAccessibleName(m_pUi->lblCardType->text());
    m_pUi->cboSendMode->setAccessibleName(m_pUi->lblSendMode->text());
    // Only the user's choice changes the card; the main window's selection
    // of a card sets the lists without writing back.
    connect(m_pUi->cboCardType, qOverload<int>(&QComboBox::activated), this,
            &CDlgMenu::OnCardTypeChanged);
    connect(m_pUi->cboSendMode, qOverload<int>(&QComboBox::activated), this,
            &CDlgMenu::OnSendModeChanged);

    LayoutButtons();
}

CDlgMenu::~CDlgMenu() = default;

CButtonEx* CDlgMenu::GetButton(int nId) const
{
    return qobject_cast<CButtonEx*>(FindCtrl(const_cast<CDlgMenu*>(this), nId));
}

QComboBox* CDlgMenu::GetCardTypeList() const
{
    return m_pUi->cboCardType;
}

QComboBox* CDlgMenu::GetSendModeList() const
{
    return m_pUi->cboSendMode;
}

void CDlgMenu::ShowLanguageButton(bool bShow)
{
    CButtonEx* pButton = GetButton(1010);
    pButton->setEnabled(bShow);
    pButton->setVisible(bShow);
    LayoutButtons();
}

void CDlgMenu::LayoutButtons()
{
    const int nHeight = height();
    int x = -35;
    for (const ButtonDef& def : kButtons)
    {
        CButtonEx* pButton = GetButton(def.nId);
        if (!pButton->isEnabled())
            continue;
        x += pButton->width() + 6;
        pButton->move(x, (nHeight - pButton->height()) / 2 + 6);
    }
}

void CDlgMenu::ShowCardValues(const CGsmCard* pCard)
{
    m_pUi->cboCardType->setCurrentIndex(pCard ? pCard->GetCardType() : -1);
    m_pUi->cboSendMode->setCurrentIndex(pCard ? pCard->GetSendMode() : -1);
}

void CDlgMenu::OnCardTypeChanged(int nIndex)
{
    // Without a current card there is nothing to change.
    if (g_pCurCard && nIndex >= 0)
        g_pCurCard->SetCardType(nIndex);
}

void CDlgMenu::OnSendModeChanged(int nIndex)
{
    if (g_pCurCard && nIndex >= 0)
        g_pCurCard->SetSendMode(nIndex);
}
