#include "DlgDiv.h"

#include "DialogTexts.h"
#include "DivWnd.h"
#include "ObjectData/CardCommands.h"
#include "ObjectData/DivObj.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "Pub/KxNumber.h"
#include "Pub/KxStr.h"
#include "SpinButton.h"
#include "ui_DlgDiv.h"

#include <QHideEvent>
#include <QRegularExpressionValidator>

namespace
{
const int kGroupDiv = 6;
const int kMinZoneSize = 16;
} // namespace

CDlgDiv::CDlgDiv(QWidget* pParent) : CKxPanel(pParent), m_pUi(std::make_unique<Ui::CDlgDiv>())
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kGroupDiv);

    m_pUi->radClock->setToolTip(NarrowTip(CKxStr(42040).GetText()));
    m_pUi->radTime->setToolTip(NarrowTip(CKxStr(42041).GetText()));
    m_pUi->radReset->setToolTip(NarrowTip(CKxStr(42042).GetText()));
    m_bReady = 0;

    // The canvas is the sign, in grey.
    QPalette pal = m_pUi->canvas->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(g, QPalette::Window, QColor(192, 192, 192));
    m_pUi->canvas->setPalette(pal);

    auto* pDigits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    const struct
    {
        CSpinButton* pSpin;
        QLineEdit* pEdit;
        QLabel* pLabel;
    } fields[] = {
        {m_pUi->spnX, m_pUi->edtX, m_pUi->lblX},
        {m_pUi->spnY, m_pUi->edtY, m_pUi->lblY},
        {m_pUi->spnCx, m_pUi->edtCx, m_pUi->lblCx},
        {m_pUi->spnCy, m_pUi->edtCy, m_pUi->lblCy},
    };
    for (const auto& f : fields)
    {
        f.pSpin->SetBuddy(f.pEdit);
        f.pSpin->SetAccel(16, 16);
        f.pSpin->setAccessibleName(f.pLabel->text());
        f.pEdit->setValidator(pDigits);
        connect(f.pEdit, &QLineEdit::textChanged, this, [this]() { ApplyEditsToZone(); });
    }

    connect(m_pUi->btnAdd, &QPushButton::clicked, this, [this]() { OnAddZone(); });
    connect(m_pUi->btnDelete, &QPushButton::clicked, this, [this]() { OnDeleteZone(); });
    connect(m_pUi->radNormal, &QRadioButton::clicked, this,
            [this]() { SelectLayout(kLayoutNormal); });
    connect(m_pUi->radClock, &QRadioButton::clicked, this,
            [this]() { SelectLayout(kLayoutClock); });
    connect(m_pUi->radTime, &QRadioButton::clicked, this, [this]() { SelectLayout(kLayoutTime); });
    connect(m_pUi->radReset, &QRadioButton::clicked, this,
            [this]() { SelectLayout(kLayoutReset); });
    connect(m_pUi->btnSend, &QPushButton::clicked, this, [this]() { SendZoneCommand(); });
}

// The zone windows are children of the canvas and go with it; each zone's
// link to its window clears itself, so the next panel makes them anew.
CDlgDiv::~CDlgDiv() = default;

QWidget* CDlgDiv::GetCanvas() const
{
    return m_pUi->canvas;
}

CDivObj* CDlgDiv::GetSelectedZone() const
{
    // The selection is only compared until it is known to be a zone of the
    // current card: the card it came from may be gone.
    if (!m_pSelected || !g_pCurCard || !g_pCurCard->GetZoneList().contains(m_pSelected))
        return nullptr;
    return m_pSelected;
}

CDivWnd* CDlgDiv::WindowOf(CDivObj* pZone) const
{
    if (!pZone)
        return nullptr;
    auto* pWnd = qobject_cast<CDivWnd*>(pZone->GetWindow());
    return (pWnd && pWnd->parentWidget() == m_pUi->canvas) ? pWnd : nullptr;
}

CDivWnd* CDlgDiv::MakeWindow(CDivObj* pZone)
{
    CDivWnd* pWnd = CDivWnd::Create(pZone, g_pCurCard, m_pUi->canvas, Qt::black);
    if (!pWnd)
        return nullptr;
    // In the tab order the zones come where the canvas is, before the
    // layouts, rather than after everything else.
    QWidget::setTabOrder(m_pUi->radNormal->previousInFocusChain(), pWnd);
    connect(pWnd, &CDivWnd::clicked, this, &CDlgDiv::OnZoneClicked);
    connect(pWnd, &CDivWnd::settled, this, [this]() { UpdateEditsFromSelection(); });
    return pWnd;
}

void CDlgDiv::OnShowPanel()
{
    LoadZones();
}

void CDlgDiv::LoadZones()
{
    CGsmCard* pCard = g_pCurCard;
    m_pSelected = GetSelectedZone();

    // The canvas shows exactly the current card's zones: windows left from
    // another card go (their zones make new ones when shown again).
    const QList<CDivWnd*> windows =
        m_pUi->canvas->findChildren<CDivWnd*>(QString(), Qt::FindDirectChildrenOnly);
    for (CDivWnd* pWnd : windows)
        if (!pCard || pWnd->GetCard() != pCard || !pCard->GetZoneList().contains(pWnd->GetZone()))
            delete pWnd;

    if (pCard)
    {
        m_pUi->spnX->SetRange(0, pCard->GetWidth());
        m_pUi->spnY->SetRange(0, pCard->GetHeight());
        m_pUi->spnCx->SetRange(kMinZoneSize, pCard->GetWidth());
        m_pUi->spnCy->SetRange(kMinZoneSize, pCard->GetHeight());

        for (CDivObj* pZone : pCard->GetZoneList())
        {
            CDivWnd* pWnd = WindowOf(pZone);
            if (!pWnd)
                pWnd = MakeWindow(pZone);
            else
                pWnd->Reposition(); // the screen size may have changed meanwhile
            if (!pWnd)
                continue;
            if (!m_pSelected)
                m_pSelected = pZone;
            pWnd->show();
        }
        for (CDivObj* pZone : pCard->GetZoneList())
            if (CDivWnd* pWnd = WindowOf(pZone))
                pWnd->SetSelected(pZone == m_pSelected);
        if (pCard->GetZoneCount() == 1)
            m_pUi->btnDelete->setEnabled(false);
    }
    ShowZoneCount();
    UpdateEditsFromSelection();
}

void CDlgDiv::ShowZoneCount()
{
    m_pUi->edtCount->setText(IntToText(g_pCurCard ? g_pCurCard->GetZoneCount() : 0));
}

void CDlgDiv::UpdateEditsFromSelection()
{
    m_bReady = 0;
    CDivObj* pZone = GetSelectedZone();
    if (pZone)
    {
        m_pUi->spnX->SetPos(pZone->GetX());
        m_pUi->spnY->SetPos(pZone->GetY());
        m_pUi->spnCx->SetPos(pZone->GetCx());
        m_pUi->spnCy->SetPos(pZone->GetCy());
        m_bReady = 1;
    }
    m_pUi->radNormal->setChecked(true);
    SelectLayout(kLayoutNormal);
}

void CDlgDiv::SelectLayout(int nLayout)
{
    m_pUi->radNormal->setChecked(nLayout == kLayoutNormal);
    m_pUi->radClock->setChecked(nLayout == kLayoutClock);
    m_pUi->radTime->setChecked(nLayout == kLayoutTime);
    m_pUi->radReset->setChecked(nLayout == kLayoutReset);

    const bool bNormal = nLayout == kLayoutNormal;
    const int nCount = g_pCurCard ? g_pCurCard->GetZoneCount() : 0;
    // The number fields edit the selected zone; with none they stay off.
    const bool bFields = bNormal && GetSelectedZone();
    for (QWidget* p : {static_cast<QWidget*>(m_pUi->spnX), static_cast<QWidget*>(m_pUi->spnY),
                       static_cast<QWidget*>(m_pUi->spnCx), static_cast<QWidget*>(m_pUi->spnCy),
                       static_cast<QWidget*>(m_pUi->edtX), static_cast<QWidget*>(m_pUi->edtY),
                       static_cast<QWidget*>(m_pUi->edtCx), static_cast<QWidget*>(m_pUi->edtCy)})
        p->setEnabled(bFields);
    m_pUi->canvas->setEnabled(bNormal);
    m_pUi->btnAdd->setEnabled(bNormal && g_pCurCard && nCount < kMaxZones);
    m_pUi->btnDelete->setEnabled(bNormal && nCount > 1);
    m_pUi->canvas->update();
    UpdateCommandPreview(nLayout);
}

void CDlgDiv::UpdateCommandPreview(int nLayout)
{
    QString strCmd;
    int nLength = -1;
    switch (nLayout)
    {
    case kLayoutNormal:
        if (g_pCurCard)
            nLength = g_pCurCard->BuildZoneCommand(&strCmd);
        break;
    case kLayoutClock:
        nLength = BuildClockZoneCommand(&strCmd);
        break;
    case kLayoutTime:
        nLength = BuildTimeZoneCommand(&strCmd);
        break;
    case kLayoutReset:
        nLength = BuildResetZoneCommand(&strCmd);
        break;
    default:
        break;
    }
    if (nLength > 0)
        m_pUi->edtCommand->setText(strCmd);
}

void CDlgDiv::Select(CDivObj* pZone)
{
    if (CDivWnd* pOld = WindowOf(GetSelectedZone()))
        pOld->SetSelected(false);
    m_pSelected = pZone;
    if (CDivWnd* pWnd = WindowOf(pZone))
    {
        pWnd->SetSelected(true);
        pWnd->raise();
    }
}

void CDlgDiv::OnZoneClicked(CDivWnd* pWnd)
{
    if (!pWnd || !g_pCurCard || !g_pCurCard->GetZoneList().contains(pWnd->GetZone()))
        return;
    Select(pWnd->GetZone());
    UpdateEditsFromSelection();
    m_pUi->canvas->update();
}

void CDlgDiv::OnAddZone()
{
    CGsmCard* pCard = g_pCurCard;
    if (!pCard || pCard->GetZoneCount() >= kMaxZones)
        return;
    auto* pZone = new CDivObj;
    CDivWnd* pWnd = MakeWindow(pZone);
    if (pWnd)
        pWnd->show();
    Select(pZone);
    pCard->AddZone(pZone);
    if (pWnd)
        pWnd->UpdateAccessibleName();

    if (pCard->GetZoneCount() >= kMaxZones)
        m_pUi->btnAdd->setEnabled(false);
    if (pCard->GetZoneCount() > 1)
        m_pUi->btnDelete->setEnabled(true);
    ShowZoneCount();
    UpdateEditsFromSelection();
}

void CDlgDiv::OnDeleteZone()
{
    CGsmCard* pCard = g_pCurCard;
    CDivObj* pZone = GetSelectedZone();
    if (!pCard || !pZone)
        return;
    // The card deletes the zone, and with it its window, and numbers the
    // others anew.
    pCard->RemoveZone(pZone);
    m_pSelected = nullptr;
    for (CDivObj* pOther : pCard->GetZoneList())
        if (CDivWnd* pWnd = WindowOf(pOther))
            pWnd->UpdateAccessibleName();

    m_pUi->btnAdd->setEnabled(true);
    if (pCard->GetZoneCount() == 1)
        m_pUi->btnDelete->setEnabled(false);
    ShowZoneCount();
    UpdateEditsFromSelection();
    m_pUi->canvas->update();
}

void CDlgDiv::ApplyEditsToZone()
{
    CDivObj* pZone = GetSelectedZone();
    if (!m_bReady || !pZone)
        return;
    pZone->SetX(KxStrToInt(m_pUi->edtX->text()));
    pZone->SetY(KxStrToInt(m_pUi->edtY->text()));
    pZone->SetCx(KxStrToInt(m_pUi->edtCx->text()));
    pZone->SetCy(KxStrToInt(m_pUi->edtCy->text()));
    if (CDivWnd* pWnd = WindowOf(pZone))
    {
        pWnd->Reposition();
        // Typed values settle like a drag, also when the window did not move
        // (several values can fall on one canvas pixel).
        pWnd->RestartSettle();
    }
    UpdateCommandPreview(kLayoutNormal);
}

void CDlgDiv::SendZoneCommand()
{
    // Whatever the layout, the command shown is the command sent.
    SendShownCommand(m_pUi->edtCommand->text());
}

void CDlgDiv::hideEvent(QHideEvent* pEvent)
{
    // Leaving the panel stops the number fields until it is shown again; a
    // minimised main window is no leaving.
    if (!pEvent->spontaneous())
        m_bReady = 0;
    CKxPanel::hideEvent(pEvent);
}
