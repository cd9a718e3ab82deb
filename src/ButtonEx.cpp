#include "ButtonEx.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace
{
const int kLeavePollMs = 10;

// A rectangle outline with one colour at top and left and another at bottom
// and right, one pixel wide, inside r.
void Draw3dRect(QPainter& painter, const QRect& r, const QColor& clrTopLeft,
                const QColor& clrBottomRight)
{
    painter.setPen(clrTopLeft);
    painter.drawLine(r.left(), r.top(), r.right(), r.top());
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
    painter.setPen(clrBottomRight);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}
} // namespace

CButtonEx::CButtonEx(QWidget* pParent) : QPushButton(pParent)
{
    // Hover needs moves without a pressed button.
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    // Enter in a panel must not press a toolbar button.
    setAutoDefault(false);
    m_clrText = palette().color(QPalette::WindowText);
    m_clrTextHot = palette().color(QPalette::HighlightedText);
}

CButtonEx::~CButtonEx() = default;

void CButtonEx::SetIcons(int nIconId, int nHotIconId)
{
    const QString strIcon = QStringLiteral(":/icons/%1.svg").arg(nIconId);
    const QString strHot =
        nHotIconId ? QStringLiteral(":/icons/%1.svg").arg(nHotIconId) : QString();
    SetIcons(strIcon, strHot);
}

void CButtonEx::SetIcons(const QString& strIcon, const QString& strIconHot)
{
    m_icon = QIcon(strIcon);
    m_iconHot = strIconHot.isEmpty() ? m_icon : QIcon(strIconHot);
    m_bHasIcon = true;
    update();
}

void CButtonEx::SetTransparent(bool bTransparent)
{
    m_bTransparent = bTransparent;
    update();
}

void CButtonEx::SetFlatAndText(bool bFlat, bool bShowText)
{
    m_bFlat = bFlat;
    m_bShowText = bShowText;
    update();
}

void CButtonEx::SetTextColors(const QColor& clrText, const QColor& clrTextHot)
{
    m_clrText = clrText;
    m_clrTextHot = clrTextHot;
    update();
}

QSize CButtonEx::GetIconSize() const
{
    const int n = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    return QSize(n, n);
}

void CButtonEx::SetState(int nState)
{
    m_nState = nState;
    // Every change shows at once, as the press and the hover must.
    repaint();
}

void CButtonEx::mouseMoveEvent(QMouseEvent* pEvent)
{
    // While the left button is held the move is swallowed: dragging over the
    // button changes neither hover nor press.
    if (pEvent->buttons() & Qt::LeftButton)
    {
        pEvent->accept();
        return;
    }
    if (!m_bHover && m_bEnabled)
    {
        m_bHover = true;
        SetState(Hover);
        m_timerLeave.start(kLeavePollMs, this);
    }
    QPushButton::mouseMoveEvent(pEvent);
}

void CButtonEx::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        SetState(Pressed);
    QPushButton::mousePressEvent(pEvent);
}

void CButtonEx::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        SetState(Released);
    QPushButton::mouseReleaseEvent(pEvent);
}

void CButtonEx::EndHover()
{
    if (!m_bHover || !m_bEnabled)
        return;
    m_timerLeave.stop();
    m_bHover = false;
    SetState(Normal);
}

void CButtonEx::leaveEvent(QEvent* pEvent)
{
    // The window system tells us when the pointer leaves; the poll below
    // covers a leave it did not report (a pointer grabbed elsewhere).
    EndHover();
    QPushButton::leaveEvent(pEvent);
}

void CButtonEx::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() != m_timerLeave.timerId())
        return;
    const QRect rcWindow(mapToGlobal(QPoint(0, 0)), size());
    if (!rcWindow.contains(QCursor::pos()))
        EndHover();
}

void CButtonEx::changeEvent(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::EnabledChange && !isEnabled())
    {
        m_timerLeave.stop();
        m_bHover = false;
        m_nState = Normal;
    }
    QPushButton::changeEvent(pEvent);
}

void CButtonEx::paintEvent(QPaintEvent*)
{
    m_bEnabled = isEnabled();
    if (!m_bEnabled)
        m_nState = Normal;
    m_bFocus = hasFocus();

    QPainter painter(this);
    const QRect rc = rect();
    const QPalette& pal = palette();
    const QColor clrHilight = pal.color(QPalette::Light);
    const QColor clrShadow = pal.color(QPalette::Dark);

    // Background: a transparent button lets its parent show through.
    if (!m_bTransparent)
        painter.fillRect(rc, pal.color(QPalette::Button));

    // Frame.
    if (m_bFlat)
    {
        if (m_bEnabled)
        {
            if (m_nState == Pressed)
                Draw3dRect(painter, rc, clrShadow, clrHilight);
            else if (m_nState == Released || m_nState == Hover)
                Draw3dRect(painter, rc, clrHilight, clrShadow);
        }
        // The flat look has no frame to show the focus in; keyboard users
        // still need to see where they are.
        if (m_bFocus)
        {
            QStyleOptionFocusRect opt;
            opt.initFrom(this);
            opt.rect = rc.adjusted(3, 3, -3, -3);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &painter, this);
        }
    }
    else
    {
        Draw3dRect(painter, rc, clrHilight, Qt::black);
        Draw3dRect(painter, rc.adjusted(1, 1, -1, -1), clrHilight, clrShadow);
        if (m_bFocus)
        {
            painter.setPen(Qt::black);
            painter.drawRect(rc.adjusted(0, 0, -1, -1));
            painter.drawLine(rc.right() - 2, rc.top(), rc.right() - 2, rc.bottom() - 2);
            painter.drawLine(rc.right() - 2, rc.bottom() - 2, rc.left(), rc.bottom() - 2);
            QStyleOptionFocusRect opt;
            opt.initFrom(this);
            opt.rect = rc.adjusted(4, 4, -4, -4);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &painter, this);
        }
    }

    const QString strText = text();
    const bool bText = m_bShowText && !strText.isEmpty();
    const QFontMetrics fm(font());
    const int w = rc.width();
    const int h = rc.height();

    // Icon.
    if (m_bHasIcon)
    {
        const QSize sz = GetIconSize();
        if (bText)
        {
            m_ptIcon = QPoint((w - sz.width()) / 2, (h - sz.height() - fm.height()) / 2);
            m_ptText = QPoint((w - sz.width()) / 2, m_ptIcon.y() + sz.height());
        }
        else
        {
            m_ptIcon = QPoint((w - sz.width()) / 2, (h - sz.height()) / 2);
        }
        QPoint pt = m_ptIcon;
        if (m_nState == Pressed)
            pt += QPoint(1, 1);
        const QIcon& icon = (m_nState == Normal) ? m_icon : m_iconHot;
        const QPixmap pm =
            icon.pixmap(sz, devicePixelRatioF(), m_bEnabled ? QIcon::Normal : QIcon::Disabled);
        painter.drawPixmap(QRect(pt, sz), pm);
    }

    // Text.
    if (bText)
    {
        if (!m_bHasIcon)
            m_ptText = QPoint((w - fm.horizontalAdvance(strText)) / 2, (h - fm.height()) / 2);
        painter.setFont(font());
        QColor clr = (m_nState == Pressed || m_nState == Normal) ? m_clrText : m_clrTextHot;
        if (!m_bEnabled)
            clr = pal.color(QPalette::Disabled, QPalette::WindowText);
        painter.setPen(clr);
        painter.drawText(QRect(m_ptText, QSize(fm.horizontalAdvance(strText) + 1, fm.height())),
                         Qt::AlignLeft | Qt::AlignTop, strText);
    }
}
