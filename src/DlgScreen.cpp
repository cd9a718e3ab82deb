#include "DlgScreen.h"

#include "ComboFill.h"
#include "CtrlId.h"
#include "DialogTexts.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "Pub/KxMsgBox.h"
#include "Pub/KxNumber.h"
#include "Pub/KxStr.h"
#include "ui_DlgScreen.h"

#include <QHideEvent>
#include <QRegularExpressionValidator>
#include <QTimerEvent>

namespace
{
const int kGroupScreen = 5;
const int kMinWidth = 16;
const int kMaxWidth = 1600;
const int kMinHeight = 16;
const int kMaxHeight = 128;
const int kGrid = 16;
const int kMaxTargets = 511;

// A size as the card takes it: whole modules of 16 pixels within limits.
int SettleDimension(const QString& strText, int nMin, int nMax)
{
    const int n = KxStrToInt(strText) / kGrid * kGrid;
    return qBound(nMin, n, nMax);
}
} // namespace

CDlgScreen::CDlgScreen(QWidget* pParent)
    : CKxPanel(pParent), m_pUi(std::make_unique<Ui::CDlgScreen>())
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kGroupScreen);

    FillScreenLists(this);

    // Number fields take digits only.
    auto* pDigits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    m_pUi->edtWidth->setValidator(pDigits);
    m_pUi->edtHeight->setValidator(pDigits);

    m_pUi->spnWidth->SetBuddy(m_pUi->edtWidth);
    m_pUi->spnWidth->SetRange(kMinWidth, kMaxWidth);
    m_pUi->spnWidth->SetAccel(16, 16);
    m_pUi->spnHeight->SetBuddy(m_pUi->edtHeight);
    m_pUi->spnHeight->SetRange(kMinHeight, kMaxHeight);
    m_pUi->spnHeight->SetAccel(16, 16);
    m_pUi->spnId->SetBuddy(m_pUi->edtId);
    m_pUi->spnId->SetRange(1, 9);
    m_pUi->spnId->SetPos(1);
    m_pUi->spnId->setEnabled(false);
    m_pUi->spnWidth->setAccessibleName(m_pUi->lblWidth->text());
    m_pUi->spnHeight->setAccessibleName(m_pUi->lblHeight->text());
    m_pUi->spnId->setAccessibleName(m_pUi->lblId->text());

    for (QComboBox* pCombo : {m_pUi->cboColorType, m_pUi->cboOe, m_pUi->cboRowOrder,
                              m_pUi->cboDataPolarity, m_pUi->cboScan})
        connect(pCombo, &QComboBox::currentIndexChanged, this,
                [this]() { UpdateCommandPreview(); });
    connect(m_pUi->edtWidth, &QLineEdit::textChanged, this, [this]() { RestartSizeTimer(); });
    connect(m_pUi->edtHeight, &QLineEdit::textChanged, this, [this]() { RestartSizeTimer(); });
    connect(m_pUi->btnSet, &QPushButton::clicked, this, [this]() { SendScreenCommand(); });
    connect(m_pUi->btnSave, &QPushButton::clicked, this, [this]() { SaveTargets(); });
}

CDlgScreen::~CDlgScreen() = default;

void CDlgScreen::FillScreenLists(QWidget* pPanel)
{
    const struct
    {
        int nCtrl;
        int nList;
        int nCapacity;
    } lists[] = {{1021, 42006, 256},
                 {1042, 42009, 256},
                 {1043, 42007, 256},
                 {1044, 42008, 256},
                 {1045, 42010, 512}};
    for (const auto& l : lists)
        FillComboFromList(qobject_cast<QComboBox*>(FindCtrl(pPanel, l.nCtrl)),
                          CKxStr(l.nList, l.nCapacity).GetText());
}

void CDlgScreen::OnShowPanel()
{
    m_bReady = 0;
    LoadFromCard();
    m_bReady = 1;
    UpdateCommandPreview();
}

void CDlgScreen::LoadFromCard()
{
    CGsmCard* pCard = g_pCurCard;
    if (!pCard)
        return;
    m_pUi->cboColorType->setCurrentIndex(pCard->GetColorType());
    m_pUi->cboRowOrder->setCurrentIndex(pCard->GetRowOrder());
    m_pUi->cboDataPolarity->setCurrentIndex(pCard->GetDataPolarity());
    m_pUi->cboOe->setCurrentIndex(pCard->GetOePolarity());
    m_pUi->cboScan->setCurrentIndex(pCard->GetScanMode());
    m_pUi->edtWidth->setText(QString::number(pCard->GetWidth()));
    m_pUi->edtHeight->setText(QString::number(pCard->GetHeight()));
    m_pUi->edtId->setText(QString::number(pCard->GetId()));
    m_pUi->edtDtu->setText(pCard->GetDtuPhones());
    // Writing the sizes counts as a change even when the text stayed the
    // same, so the loaded size is settled like a typed one.
    RestartSizeTimer();
}

void CDlgScreen::ApplyListsToCard()
{
    CGsmCard* pCard = g_pCurCard;
    if (!pCard)
        return;
    pCard->SetColorType(m_pUi->cboColorType->currentIndex());
    pCard->SetRowOrder(m_pUi->cboRowOrder->currentIndex());
    pCard->SetDataPolarity(m_pUi->cboDataPolarity->currentIndex());
    pCard->SetOePolarity(m_pUi->cboOe->currentIndex());
    pCard->SetScanMode(m_pUi->cboScan->currentIndex());
}

void CDlgScreen::UpdateCommandPreview()
{
    if (!m_bReady)
        return;
    m_bReady = 0;
    ApplyListsToCard();
    m_bReady = 1;
    QString strCmd;
    if (g_pCurCard && g_pCurCard->BuildScreenCommand(&strCmd) > 0)
        m_pUi->edtCommand->setText(strCmd);
}

void CDlgScreen::RestartSizeTimer()
{
    m_sizeTimer.stop();
    m_sizeTimer.start(kSettleMs, this);
}

void CDlgScreen::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() != m_sizeTimer.timerId())
    {
        CKxPanel::timerEvent(pEvent);
        return;
    }
    // A tick while the panel fills itself leaves the timer running; the
    // next one settles.
    if (m_bReady)
        SettleSize();
}

void CDlgScreen::SettleSize()
{
    CGsmCard* pCard = g_pCurCard;
    m_bReady = 0;
    const int nWidth = SettleDimension(m_pUi->edtWidth->text(), kMinWidth, kMaxWidth);
    const int nHeight = SettleDimension(m_pUi->edtHeight->text(), kMinHeight, kMaxHeight);
    if (pCard)
    {
        pCard->SetWidth(nWidth);
        pCard->SetHeight(nHeight);
    }
    m_pUi->edtWidth->setText(QString::number(nWidth));
    m_pUi->edtHeight->setText(QString::number(nHeight));
    m_bReady = 1;
    UpdateCommandPreview();
    // Writing the fields back restarted the timer; this settling is final.
    m_sizeTimer.stop();
}

void CDlgScreen::hideEvent(QHideEvent* pEvent)
{
    // A size typed just before leaving the panel belongs to this card: settle
    // it now, before another card can become the current one.
    if (!pEvent->spontaneous() && m_sizeTimer.isActive() && m_bReady)
        SettleSize();
    CKxPanel::hideEvent(pEvent);
}

void CDlgScreen::SendScreenCommand()
{
    CGsmCard* pCard = g_pCurCard;
    if (!pCard)
        return;
    ApplyListsToCard();
    // Exactly the text shown is sent, even while a typed size is still
    // settling.
    SendShownCommand(m_pUi->edtCommand->text());
}

void CDlgScreen::SaveTargets()
{
    CGsmCard* pCard = g_pCurCard;
    if (!pCard)
        return;
    pCard->SetDtuPhones(m_pUi->edtDtu->text().left(kMaxTargets));
    pCard->SetId(KxStrToInt(m_pUi->edtId->text()));
    KxMessageBox(CKxStr(42017).GetText(), KxMsgIcon::Information);
}
