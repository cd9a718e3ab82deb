#include "DlgMore.h"

#include "ComboFill.h"
#include "DialogTexts.h"
#include "DlgAuto.h"
#include "ObjectData/CardCommands.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "Pub/KxCodePage.h"
#include "Pub/KxNumber.h"
#include "Pub/KxStr.h"
#include "SpinButton.h"
#include "ui_DlgMore.h"

#include <QAbstractItemView>
#include <QRegularExpressionValidator>
#include <QTimerEvent>

#include <cstring>

namespace
{
const int kGroupMore = 8;
const int kMaxMessageId = 399;

} // namespace

CDlgMore::CDlgMore(QWidget* pParent) : CKxPanel(pParent), m_pUi(std::make_unique<Ui::CDlgMore>())
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kGroupMore);

    m_pUi->radBrightAuto->setToolTip(NarrowTip(CKxStr(42043).GetText()));
    m_pUi->radPowerAuto->setToolTip(NarrowTip(CKxStr(42044).GetText()));

    m_bReady = 0;
    FillComboFromList(m_pUi->cboBright, BrightnessOptionList());
    FillComboFromList(m_pUi->cboPower, CKxStr(42012).GetText());
    FillComboFromList(m_pUi->cboEcho, CKxStr(42013).GetText());
    FillComboFromList(m_pUi->cboBuzzer, CKxStr(42014).GetText());

    m_pUi->spnAdvance->SetBuddy(m_pUi->edtAdvance);
    m_pUi->spnAdvance->SetRange(0, 60);
    m_pUi->spnAdvance->SetPos(5);
    m_pUi->spnAdvance->setAccessibleName(m_pUi->lblAdvance->text());
    m_pUi->edtMsgId->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));

    m_pUi->cboBright->setCurrentIndex(0);
    m_pUi->cboPower->setCurrentIndex(0);
    m_pUi->cboBuzzer->setCurrentIndex(0);
    m_pUi->cboEcho->setCurrentIndex(0);
    // The long echo and buzzer texts need a wider drop-down than the box.
    m_pUi->cboBuzzer->view()->setMinimumWidth(300);
    m_pUi->cboEcho->view()->setMinimumWidth(330);

    // The "..." buttons, radios and result fields carry no label of their
    // own: name them after the row they belong to.
    m_pUi->btnBrightAuto->setAccessibleName(m_pUi->lblBright->text() + u' ' +
                                            m_pUi->radBrightAuto->text());
    m_pUi->btnPowerAuto->setAccessibleName(m_pUi->lblPower->text() + u' ' +
                                           m_pUi->radPowerAuto->text());
    const struct
    {
        QLineEdit* pField;
        QString strName;
    } results[] = {
        {m_pUi->edtVersion, m_pUi->btnVersion->text()},
        {m_pUi->edtResetAll, m_pUi->btnResetAll->text()},
        {m_pUi->edtClear, m_pUi->btnClear->text()},
        {m_pUi->edtDelete, m_pUi->btnDelete->text()},
        {m_pUi->edtClock, m_pUi->btnClock->text()},
        {m_pUi->edtBright, m_pUi->lblBright->text()},
        {m_pUi->edtPower, m_pUi->lblPower->text()},
        {m_pUi->edtEcho, m_pUi->lblEcho->text() + u' ' + m_pUi->lblBuzzer->text()},
    };
    for (const auto& r : results)
        r.pField->setAccessibleName(r.strName);

    m_bReady = 1;

    QString strCmd;
    if (BuildVersionCommand(&strCmd) > 0)
        m_pUi->edtVersion->setText(strCmd);
    if (BuildResetAllCommand(&strCmd) > 0)
        m_pUi->edtResetAll->setText(strCmd);
    if (BuildDeleteCommand(&strCmd, -1) > 0)
        m_pUi->edtClear->setText(strCmd);
    m_pUi->edtMsgId->setText(QStringLiteral("0"));
    if (BuildDeleteCommand(&strCmd, 0) > 0)
        m_pUi->edtDelete->setText(strCmd);

    SetBrightnessMode(false);
    SetPowerMode(false);
    UpdateEchoBuzzerCommand();
    UpdateClockCommand();

    connect(m_pUi->cboBright, &QComboBox::currentIndexChanged, this,
            [this]() { UpdateBrightnessCommand(); });
    connect(m_pUi->cboPower, &QComboBox::currentIndexChanged, this,
            [this]() { UpdatePowerCommand(); });
    connect(m_pUi->cboEcho, &QComboBox::currentIndexChanged, this,
            [this]() { UpdateEchoBuzzerCommand(); });
    connect(m_pUi->cboBuzzer, &QComboBox::currentIndexChanged, this,
            [this]() { UpdateEchoBuzzerCommand(); });
    connect(m_pUi->edtMsgId, &QLineEdit::textChanged, this, [this]() { UpdateDeleteCommand(); });
    connect(m_pUi->edtAdvance, &QLineEdit::textChanged, this, [this]() { UpdateClockCommand(); });
    connect(m_pUi->radBrightAuto, &QRadioButton::clicked, this,
            [this]() { SetBrightnessMode(true); });
    connect(m_pUi->radBrightManual, &QRadioButton::clicked, this,
            [this]() { SetBrightnessMode(false); });
    connect(m_pUi->radPowerAuto, &QRadioButton::clicked, this, [this]() { SetPowerMode(true); });
    connect(m_pUi->radPowerManual, &QRadioButton::clicked, this, [this]() { SetPowerMode(false); });
    connect(m_pUi->btnBrightAuto, &QPushButton::clicked, this,
            [this]() { RunTimedDialog(CDlgAuto::Brightness); });
    connect(m_pUi->btnPowerAuto, &QPushButton::clicked, this,
            [this]() { RunTimedDialog(CDlgAuto::Power); });
    connect(m_pUi->btnVersion, &QPushButton::clicked, this, [this]() { QueryVersion(); });
    const struct
    {
        QPushButton* pButton;
        QLineEdit* pField;
    } sends[] = {
        {m_pUi->btnResetAll, m_pUi->edtResetAll}, {m_pUi->btnClear, m_pUi->edtClear},
        {m_pUi->btnDelete, m_pUi->edtDelete},     {m_pUi->btnClock, m_pUi->edtClock},
        {m_pUi->btnBright, m_pUi->edtBright},     {m_pUi->btnPower, m_pUi->edtPower},
        {m_pUi->btnEcho, m_pUi->edtEcho},
    };
    for (const auto& s : sends)
    {
        QLineEdit* pField = s.pField;
        connect(s.pButton, &QPushButton::clicked, this, [this, pField]() { SendResult(pField); });
    }

    // The clock command keeps up with the PC's time for the panel's whole
    // life, shown or not.
    m_clockTimer.start(kClockMs, this);
}

CDlgMore::~CDlgMore() = default;

void CDlgMore::UpdateBrightnessCommand()
{
    if (!m_bReady)
        return;
    QString strCmd;
    if (BuildBrightnessCommand(&strCmd, m_pUi->cboBright->currentIndex()) > 0)
        m_pUi->edtBright->setText(strCmd);
}

void CDlgMore::UpdatePowerCommand()
{
    if (!m_bReady)
        return;
    QString strCmd;
    if (BuildPowerCommand(&strCmd, m_pUi->cboPower->currentIndex()) > 0)
        m_pUi->edtPower->setText(strCmd);
}

void CDlgMore::UpdateEchoBuzzerCommand()
{
    if (!m_bReady)
        return;
    QString strCmd;
    if (BuildEchoCommand(&strCmd, m_pUi->cboBuzzer->currentIndex(),
                         m_pUi->cboEcho->currentIndex()) > 0)
        m_pUi->edtEcho->setText(strCmd);
}

void CDlgMore::UpdateClockCommand()
{
    if (!m_bReady)
        return;
    QString strCmd;
    if (BuildClockCommand(&strCmd, KxStrToInt(m_pUi->edtAdvance->text())) > 0)
        m_pUi->edtClock->setText(strCmd);
}

void CDlgMore::UpdateDeleteCommand()
{
    if (!m_bReady)
        return;
    int nId = KxStrToInt(m_pUi->edtMsgId->text());
    if (nId < 0 || nId > kMaxMessageId)
    {
        nId = 0;
        m_pUi->edtMsgId->setText(QStringLiteral("0"));
    }
    QString strCmd;
    if (BuildDeleteCommand(&strCmd, nId) > 0)
        m_pUi->edtDelete->setText(strCmd);
}

void CDlgMore::ShowMode(const ModeControls& mode, bool bAuto)
{
    mode.pAuto->setChecked(bAuto);
    mode.pManual->setChecked(!bAuto);
    mode.pTimed->setEnabled(bAuto);
    mode.pList->setEnabled(!bAuto);
}

void CDlgMore::SetBrightnessMode(bool bAuto)
{
    m_bBrightAuto = bAuto;
    ShowMode({m_pUi->radBrightAuto, m_pUi->radBrightManual, m_pUi->btnBrightAuto, m_pUi->cboBright},
             bAuto);
    if (!bAuto)
    {
        UpdateBrightnessCommand();
        return;
    }
    // No enabled period leaves the field empty, and "设置" then sends
    // nothing.
    QString strCmd;
    if (g_pCurCard)
        g_pCurCard->BuildTimedBrightnessCommand(&strCmd);
    m_pUi->edtBright->setText(strCmd);
}

void CDlgMore::SetPowerMode(bool bAuto)
{
    m_bPowerAuto = bAuto;
    ShowMode({m_pUi->radPowerAuto, m_pUi->radPowerManual, m_pUi->btnPowerAuto, m_pUi->cboPower},
             bAuto);
    if (!bAuto)
    {
        UpdatePowerCommand();
        return;
    }
    QString strCmd;
    if (g_pCurCard)
        g_pCurCard->BuildTimedPowerCommand(&strCmd);
    m_pUi->edtPower->setText(strCmd);
}

void CDlgMore::RunTimedDialog(int nKind)
{
    // The schedules belong to a card; without one there is nothing to edit.
    if (!g_pCurCard)
        return;
    {
        CDlgAuto dlg(nKind, window());
        dlg.exec();
    }
    // Confirmed or not, the schedule is what the button sends from now on.
    if (nKind == CDlgAuto::Brightness)
        SetBrightnessMode(true);
    else
        SetPowerMode(true);
}

void CDlgMore::SendResult(QLineEdit* pField)
{
    // An empty field (automatic mode without a period) sends nothing.
    if (pField)
        SendShownCommand(pField->text());
}

void CDlgMore::QueryVersion()
{
    if (!g_pCurCard || m_pUi->edtVersion->text().isEmpty())
        return;
    // One byte stays zero, so the reply always ends.
    char reply[kReplySize];
    std::memset(reply, 0, sizeof(reply));
    SendShownCommand(m_pUi->edtVersion->text(), reply, kReplySize - 1);
    m_pUi->lblReply->setText(KxFromAnsi(QByteArrayView(reply, qstrlen(reply))));
}

void CDlgMore::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() == m_clockTimer.timerId())
    {
        UpdateClockCommand();
        return;
    }
    CKxPanel::timerEvent(pEvent);
}
