#include "DlgScrInfo.h"

#include "DialogTexts.h"
#include "DlgScreen.h"
#include "ObjectData/GsmCard.h"
#include "ui_DlgScrInfo.h"

namespace
{
const int kGroupScrInfo = 10;
}

CDlgScrInfo::CDlgScrInfo(QWidget* pParent)
    : CKxPanel(pParent), m_pUi(std::make_unique<Ui::CDlgScrInfo>())
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kGroupScrInfo);

    CDlgScreen::FillScreenLists(this);

    connect(m_pUi->btnMore, &QPushButton::clicked, this,
            [this]() { emit toolbarCommand(kMoreSettingsCommand, 0); });
}

CDlgScrInfo::~CDlgScrInfo() = default;

void CDlgScrInfo::ShowCard(CGsmCard* pCard)
{
    Q_ASSERT(pCard);
    if (!pCard)
        return;
    m_pUi->cboColorType->setCurrentIndex(pCard->GetColorType());
    m_pUi->cboOe->setCurrentIndex(pCard->GetOePolarity());
    m_pUi->cboRowOrder->setCurrentIndex(pCard->GetRowOrder());
    m_pUi->cboDataPolarity->setCurrentIndex(pCard->GetDataPolarity());
    m_pUi->cboScan->setCurrentIndex(pCard->GetScanMode());
    m_pUi->edtWidth->setText(QString::number(pCard->GetWidth()));
    m_pUi->edtHeight->setText(QString::number(pCard->GetHeight()));
}
