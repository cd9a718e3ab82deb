#include "DivWnd.h"

#include "DialogTexts.h"
#include "ObjectData/DivObj.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace
{
const int kMinDragSize = 2; // pixels a window keeps while being sized

// Toward zero, and within a range that any canvas fits in many times over,
// so a huge typed value cannot overflow.
int Trunc(double d)
{
    const double kLimit = 1e6;
    return int(std::trunc(qBound(-kLimit, d, kLimit)));
}

// Canvas pixels per LED pixel. A screen size of 0 or less (a damaged project
// file) counts as 1, so the zone is drawn somewhere rather than divided by 0.
double Scale(int nCanvas, int nLed)
{
    return double(nCanvas) / qMax(1, nLed);
}
} // namespace

CDivWnd* CDivWnd::Create(CDivObj* pZone, CGsmCard* pCard, QWidget* pCanvas, const QColor& fill)
{
    Q_ASSERT(pCanvas);
    if (!pCanvas || !pZone || !pCard)
        return nullptr;
    auto* pWnd = new CDivWnd(pZone, pCard, pCanvas, fill);
    pZone->AttachWindow(pWnd);
    return pWnd;
}

CDivWnd::CDivWnd(CDivObj* pZone, CGsmCard* pCard, QWidget* pCanvas, const QColor& fill)
    : QWidget(pCanvas), m_pZone(pZone), m_pCard(pCard), m_rcBounds(pCanvas->rect()), m_fill(fill)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Tab reaches the zones too: focusing one selects it, and the number
    // fields then place it.
    setFocusPolicy(Qt::TabFocus);
    UpdateAccessibleName();
    hide();
    MoveTo(ZoneToWindow());
}

QRect CDivWnd::ZoneToWindow() const
{
    const double sx = Scale(m_rcBounds.width(), m_pCard->GetWidth());
    const double sy = Scale(m_rcBounds.height(), m_pCard->GetHeight());
    const int nLeft = Trunc(sx * m_pZone->GetX());
    const int nTop = Trunc(sy * m_pZone->GetY());
    const int nRight = Trunc(sx * (m_pZone->GetX() + m_pZone->GetCx()));
    const int nBottom = Trunc(sy * (m_pZone->GetY() + m_pZone->GetCy()));
    return QRect(QPoint(nLeft, nTop), QSize(nRight - nLeft, nBottom - nTop));
}

void CDivWnd::WindowToZone()
{
    const double sx = Scale(m_rcBounds.width(), m_pCard->GetWidth());
    const double sy = Scale(m_rcBounds.height(), m_pCard->GetHeight());
    const QRect rc = geometry();
    m_pZone->SetX(Trunc((rc.x() - m_rcBounds.x()) / sx));
    m_pZone->SetY(Trunc((rc.y() - m_rcBounds.y()) / sy));
    m_pZone->SetCx(Trunc(rc.width() / sx));
    m_pZone->SetCy(Trunc(rc.height() / sy));
}

void CDivWnd::Reposition()
{
    MoveTo(ZoneToWindow());
}

QRect CDivWnd::KeepInCanvas(const QRect& proposed) const
{
    int x = proposed.x();
    int y = proposed.y();
    const int cx = proposed.width();
    const int cy = proposed.height();
    const int nRight = m_rcBounds.x() + m_rcBounds.width();
    const int nBottom = m_rcBounds.y() + m_rcBounds.height();
    if (x < m_rcBounds.x())
        x = m_rcBounds.x();
    if (y < m_rcBounds.y())
        y = m_rcBounds.y();
    // Past the far edge the window moves back, so one wider than the canvas
    // ends at the right edge and starts left of it.
    if (x + cx > nRight)
        x = nRight - cx;
    if (y + cy > nBottom)
        y = nBottom - cy;
    return QRect(x, y, cx, cy);
}

void CDivWnd::MoveTo(const QRect& rect)
{
    // Qt reports a move or a resize only when the geometry changes; both
    // restart the snap (moveEvent, resizeEvent).
    setGeometry(KeepInCanvas(rect));
}

void CDivWnd::RestartSettle()
{
    m_snapTimer.start(kSnapMs, this);
}

void CDivWnd::moveEvent(QMoveEvent* pEvent)
{
    RestartSettle();
    QWidget::moveEvent(pEvent);
}

void CDivWnd::resizeEvent(QResizeEvent* pEvent)
{
    RestartSettle();
    QWidget::resizeEvent(pEvent);
}

void CDivWnd::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() != m_snapTimer.timerId())
    {
        QWidget::timerEvent(pEvent);
        return;
    }
    Settle();
}

void CDivWnd::Settle()
{
    m_snapTimer.stop();
    WindowToZone();
    // Nearest multiple of the grid, halves up; a zone is at least one grid
    // square.
    const auto snap = [](int n) { return (n + kGrid / 2) / kGrid * kGrid; };
    m_pZone->SetX(snap(m_pZone->GetX()));
    m_pZone->SetY(snap(m_pZone->GetY()));
    m_pZone->SetCx(qMax(kGrid, snap(m_pZone->GetCx())));
    m_pZone->SetCy(qMax(kGrid, snap(m_pZone->GetCy())));
    // Moves the window once more when the snap changed it; the settling that
    // follows then finds the same values.
    Reposition();
    emit settled(this);
}

void CDivWnd::SetSelected(bool bSelected)
{
    if (m_bSelected == bSelected)
        return;
    m_bSelected = bSelected;
    update();
}

int CDivWnd::HitTest(const QPoint& pt) const
{
    const int x = pt.x();
    const int y = pt.y();
    const int w = width();
    const int h = height();
    int nCode;
    if (x < kBorder && y < kBorder)
        nCode = HitTopLeft;
    else if (x > w - kBorder && y < kBorder)
        nCode = HitTopRight;
    else if (x < kBorder && y > h - kBorder)
        nCode = HitBottomLeft;
    else if (x > w - kBorder && y > h - kBorder)
        nCode = HitBottomRight;
    else if (x >= 0 && x < kBorder)
        nCode = HitLeft;
    else if (x > w - kBorder && x <= w)
        nCode = HitRight;
    else if (y < kBorder)
        nCode = HitTop;
    else if (y > h - kBorder)
        nCode = HitBottom;
    else if (x > kBorder && x < w - kBorder && y > kBorder && y < h - kBorder)
        // Inside: the selected zone is dragged from anywhere; another zone
        // is selected by a click.
        nCode = m_bSelected ? HitCaption : HitClient;
    else
        nCode = HitCaption;
    const_cast<CDivWnd*>(this)->m_nHitCode = nCode;
    return nCode;
}

Qt::CursorShape CDivWnd::CursorFor(int nHitCode)
{
    switch (nHitCode)
    {
    case HitCaption:
    case HitClient:
        return Qt::SizeAllCursor;
    case HitLeft:
    case HitRight:
        return Qt::SizeHorCursor;
    case HitTop:
    case HitBottom:
        return Qt::SizeVerCursor;
    case HitTopLeft:
    case HitBottomRight:
        return Qt::SizeFDiagCursor;
    case HitTopRight:
    case HitBottomLeft:
        return Qt::SizeBDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

void CDivWnd::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
    {
        QWidget::mousePressEvent(pEvent);
        return;
    }
    const int nCode = HitTest(pEvent->position().toPoint());
    setCursor(CursorFor(nCode));
    if (nCode == HitClient)
    {
        m_nDragCode = HitNowhere;
        emit clicked(this);
        return;
    }
    // A drag by the middle moves the zone, by an edge or corner sizes it;
    // neither selects it.
    m_nDragCode = nCode;
    m_ptDragStart = pEvent->globalPosition().toPoint();
    m_rcDragStart = geometry();
}

void CDivWnd::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (m_nDragCode == HitNowhere || !(pEvent->buttons() & Qt::LeftButton))
    {
        setCursor(CursorFor(HitTest(pEvent->position().toPoint())));
        return;
    }
    const QPoint d = pEvent->globalPosition().toPoint() - m_ptDragStart;
    int nLeft = m_rcDragStart.x();
    int nTop = m_rcDragStart.y();
    int nRight = nLeft + m_rcDragStart.width();
    int nBottom = nTop + m_rcDragStart.height();
    if (m_nDragCode == HitCaption)
    {
        nLeft += d.x();
        nRight += d.x();
        nTop += d.y();
        nBottom += d.y();
    }
    else
    {
        const bool bLeft =
            m_nDragCode == HitLeft || m_nDragCode == HitTopLeft || m_nDragCode == HitBottomLeft;
        const bool bRight =
            m_nDragCode == HitRight || m_nDragCode == HitTopRight || m_nDragCode == HitBottomRight;
        const bool bTop =
            m_nDragCode == HitTop || m_nDragCode == HitTopLeft || m_nDragCode == HitTopRight;
        const bool bBottom = m_nDragCode == HitBottom || m_nDragCode == HitBottomLeft ||
                             m_nDragCode == HitBottomRight;
        if (bLeft)
            nLeft = qMin(nLeft + d.x(), nRight - kMinDragSize);
        if (bRight)
            nRight = qMax(nRight + d.x(), nLeft + kMinDragSize);
        if (bTop)
            nTop = qMin(nTop + d.y(), nBottom - kMinDragSize);
        if (bBottom)
            nBottom = qMax(nBottom + d.y(), nTop + kMinDragSize);
    }
    MoveTo(QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop));
}

void CDivWnd::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        m_nDragCode = HitNowhere;
    QWidget::mouseReleaseEvent(pEvent);
}

void CDivWnd::focusInEvent(QFocusEvent* pEvent)
{
    if (!m_bSelected &&
        (pEvent->reason() == Qt::TabFocusReason || pEvent->reason() == Qt::BacktabFocusReason))
        emit clicked(this);
    QWidget::focusInEvent(pEvent);
}

void CDivWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();

    // Background: the zone's colour.
    painter.fillRect(rect(), m_fill);

    // The number, in the canvas font, black on a white field; corner marks
    // in dashed grey.
    const QString strIndex = IntToText(m_pZone->GetIndex());
    const QRect rcText = painter.fontMetrics().boundingRect(strIndex).adjusted(-1, 0, 1, 0);
    QRect rcField(QPoint(0, 0), rcText.size());
    rcField.moveCenter(rect().center());
    painter.fillRect(rcField, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, strIndex);

    painter.setPen(QPen(QColor(127, 127, 127), 1, Qt::DashLine));
    for (int d : {3, 5})
    {
        painter.drawLine(QPoint(0, d), QPoint(d, 0));
        painter.drawLine(QPoint(w - 1 - d, 0), QPoint(w - 1, d));
        painter.drawLine(QPoint(0, h - 1 - d), QPoint(d, h - 1));
        painter.drawLine(QPoint(w - 1 - d, h - 1), QPoint(w - 1, h - 1 - d));
    }

    // The border tells the selected zone: solid white, the others dashed
    // blue.
    painter.setPen(m_bSelected ? QPen(Qt::white, 1, Qt::SolidLine)
                               : QPen(QColor(0, 0, 255), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, w - 1, h - 1);
}

void CDivWnd::UpdateAccessibleName()
{
    setAccessibleName(KxUiText(u"分区 %1", "Zone %1").arg(m_pZone->GetIndex()));
}
