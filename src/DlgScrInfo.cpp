#include "DlgScrInfo.h"

#include "ComboFill.h"
#include "DialogTexts.h"
#include "ObjectData/GsmCard.h"
#include "Pub/KxStr.h"
#include "ui_DlgScrInfo.h"

#include <QKeyEvent>

namespace
{
const int kGroupScrInfo = 10;
}

CDlgScrInfo::CDlgScrInfo(QWidget* pParent)
    : QWidget(pParent), m_pUi(std::make_unique<Ui::CDlgScrInfo>())
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kGroupScrInfo);

    FillComboFromList(m_pUi->cboColorType, CKxStr(42006).GetText());
    FillComboFromList(m_pUi->cboOe, CKxStr(42009).GetText());
    FillComboFromList(m_pUi->cboRowOrder, CKxStr(42007).GetText());
    FillComboFromList(m_pUi->cboDataPolarity, CKxStr(42008).GetText());
    FillComboFromList(m_pUi->cboScan, CKxStr(42010, 512).GetText());

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

void CDlgScrInfo::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter)
    {
        pEvent->accept();
        return;
    }
    QWidget::keyPressEvent(pEvent);
}
