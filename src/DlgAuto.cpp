#include "DlgAuto.h"

#include "DialogTexts.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "Pub/KxNumber.h"
#include "SpinButton.h"
#include "ui_DlgAuto.h"

#include <QDateTime>

namespace
{
const int kGroupAuto = 11;
const char kPickerFormat[] = "HH:mm";
} // namespace

CDlgAuto::CDlgAuto(int nKind, QWidget* pParent)
    : QDialog(pParent), m_pUi(std::make_unique<Ui::CDlgAuto>()),
      m_nKind(nKind == Power ? Power : Brightness)
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kGroupAuto);

    const Row rows[kRows] = {
        {m_pUi->chkSlot0, m_pUi->edtStart0, m_pUi->edtEnd0, m_pUi->edtValue0, m_pUi->spnStart0,
         m_pUi->spnEnd0, m_pUi->spnValue0, m_pUi->dtpStart0, m_pUi->dtpEnd0, m_pUi->lblSep0},
        {m_pUi->chkSlot1, m_pUi->edtStart1, m_pUi->edtEnd1, m_pUi->edtValue1, m_pUi->spnStart1,
         m_pUi->spnEnd1, m_pUi->spnValue1, m_pUi->dtpStart1, m_pUi->dtpEnd1, m_pUi->lblSep1},
        {m_pUi->chkSlot2, m_pUi->edtStart2, m_pUi->edtEnd2, m_pUi->edtValue2, m_pUi->spnStart2,
         m_pUi->spnEnd2, m_pUi->spnValue2, m_pUi->dtpStart2, m_pUi->dtpEnd2, m_pUi->lblSep2},
        {m_pUi->chkSlot3, m_pUi->edtStart3, m_pUi->edtEnd3, m_pUi->edtValue3, m_pUi->spnStart3,
         m_pUi->spnEnd3, m_pUi->spnValue3, m_pUi->dtpStart3, m_pUi->dtpEnd3, m_pUi->lblSep3},
    };
    for (int i = 0; i < kRows; ++i)
    {
        Row& row = m_rows[i];
        row = rows[i];
        row.pStartSpin->SetBuddy(row.pStart);
        row.pStartSpin->SetRange(0, 23);
        row.pStartSpin->SetPos(0);
        row.pEndSpin->SetBuddy(row.pEnd);
        row.pEndSpin->SetRange(0, 23);
        row.pEndSpin->SetPos(0);
        row.pLevelSpin->SetBuddy(row.pLevel);
        row.pLevelSpin->SetRange(0, 9);
        row.pLevelSpin->SetPos(0);

        // The rows have no labels of their own: the column captions and the
        // row number name their fields.
        const QString strRow = QString::number(i + 1);
        row.pEnabled->setAccessibleName(strRow);
        const QString strStart = m_pUi->lblStart->text() + u' ' + strRow;
        const QString strEnd = m_pUi->lblEnd->text() + u' ' + strRow;
        const QString strLevel = m_pUi->lblValue->text() + u' ' + strRow;
        row.pStart->setAccessibleName(strStart);
        row.pStartSpin->setAccessibleName(strStart);
        row.pFrom->setAccessibleName(strStart);
        row.pEnd->setAccessibleName(strEnd);
        row.pEndSpin->setAccessibleName(strEnd);
        row.pTo->setAccessibleName(strEnd);
        row.pLevel->setAccessibleName(strLevel);
        row.pLevelSpin->setAccessibleName(strLevel);
        row.pSeparator->setAccessibleName(row.pSeparator->text());
    }

    LoadRows();
    ShowKind();

    connect(m_pUi->btnOk, &QPushButton::clicked, this, &CDlgAuto::accept);
    connect(m_pUi->btnCancel, &QPushButton::clicked, this, &CDlgAuto::reject);
}

CDlgAuto::~CDlgAuto() = default;

void CDlgAuto::LoadRows()
{
    CGsmCard* pCard = g_pCurCard;
    if (!pCard)
        return;
    const auto& bright = pCard->GetBrightSlots();
    const auto& power = pCard->GetPowerSlots();
    const QDate day(2010, 1, 1);
    for (int i = 0; i < kRows; ++i)
    {
        Row& row = m_rows[i];
        row.pEnabled->setChecked(m_nKind == Brightness ? bright[i].m_bEnabled != 0
                                                       : power[i].m_bEnabled != 0);
        // Both kinds load both sets of fields; only one set is shown.
        row.pStartSpin->SetPos(bright[i].m_nStartHour);
        row.pEndSpin->SetPos(bright[i].m_nEndHour);
        row.pLevelSpin->SetPos(bright[i].m_nLevel);
        row.pFrom->setDisplayFormat(QString::fromLatin1(kPickerFormat));
        row.pTo->setDisplayFormat(QString::fromLatin1(kPickerFormat));
        row.pFrom->setDateTime(
            QDateTime(day, QTime(power[i].m_nStartHour, power[i].m_nStartMinute, 0)));
        row.pTo->setDateTime(QDateTime(day, QTime(power[i].m_nEndHour, power[i].m_nEndMinute, 0)));
    }
}

void CDlgAuto::ShowKind()
{
    const bool bBright = m_nKind == Brightness;
    for (Row& row : m_rows)
    {
        for (QWidget* p :
             {static_cast<QWidget*>(row.pStart), static_cast<QWidget*>(row.pEnd),
              static_cast<QWidget*>(row.pLevel), static_cast<QWidget*>(row.pStartSpin),
              static_cast<QWidget*>(row.pEndSpin), static_cast<QWidget*>(row.pLevelSpin)})
            p->setVisible(bBright);
        for (QWidget* p : {static_cast<QWidget*>(row.pFrom), static_cast<QWidget*>(row.pTo),
                           static_cast<QWidget*>(row.pSeparator)})
            p->setVisible(!bBright);
    }
    if (!bBright)
    {
        // A power period has no value column; "end" moves over the end
        // pickers.
        m_pUi->lblValue->hide();
        m_pUi->lblEnd->move(m_rows[0].pTo->x(), m_pUi->lblEnd->y());
    }
}

void CDlgAuto::StoreRows()
{
    CGsmCard* pCard = g_pCurCard;
    Q_ASSERT(pCard);
    if (!pCard)
        return;
    if (m_nKind == Brightness)
    {
        auto& schedule = pCard->GetBrightSlots();
        for (int i = 0; i < kRows; ++i)
        {
            schedule[i].m_bEnabled = m_rows[i].pEnabled->isChecked() ? 1 : 0;
            schedule[i].m_nStartHour = KxStrToInt(m_rows[i].pStart->text());
            schedule[i].m_nEndHour = KxStrToInt(m_rows[i].pEnd->text());
            schedule[i].m_nLevel = KxStrToInt(m_rows[i].pLevel->text());
        }
        return;
    }
    auto& schedule = pCard->GetPowerSlots();
    for (int i = 0; i < kRows; ++i)
    {
        const QTime from = m_rows[i].pFrom->time();
        const QTime to = m_rows[i].pTo->time();
        schedule[i].m_bEnabled = m_rows[i].pEnabled->isChecked() ? 1 : 0;
        schedule[i].m_nStartHour = from.hour();
        schedule[i].m_nStartMinute = from.minute();
        schedule[i].m_nEndHour = to.hour();
        schedule[i].m_nEndMinute = to.minute();
    }
}

void CDlgAuto::accept()
{
    StoreRows();
    QDialog::accept();
}
