#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QWidget>

class CDivObj;
class CGsmCard;

// The zone editor's window for one zone: a small child of the canvas, which
// stands for the sign at reduced scale. It is dragged by its middle and sized
// by its edges, stays inside the canvas, and 400 ms after the last move snaps
// its zone to the 16-pixel grid of the sign. The zone owns the window
// (CDivObj::AttachWindow), so removing the zone removes the window; when the
// canvas goes, the window goes with it and the zone is free for a new one.
class CDivWnd : public QWidget
{
    Q_OBJECT

public:
    // What a point of the window is, as the hit test tells it.
    enum HitCode
    {
        HitNowhere = 0,
        HitClient = 1,
        HitCaption = 2,
        HitLeft = 10,
        HitRight = 11,
        HitTop = 12,
        HitTopLeft = 13,
        HitTopRight = 14,
        HitBottom = 15,
        HitBottomLeft = 16,
        HitBottomRight = 17
    };
    static const int kBorder = 5; // pixels of the sizing band
    static const int kSnapMs = 400;
    static const int kGrid = 16; // LED pixels

    // Makes the window of pZone (a zone of pCard) inside pCanvas, not yet
    // visible, and attaches it to the zone. Null without a canvas or zone.
    static CDivWnd* Create(CDivObj* pZone, CGsmCard* pCard, QWidget* pCanvas,
                           const QColor& fill = Qt::black);

    CDivObj* GetZone() const { return m_pZone; }
    CGsmCard* GetCard() const { return m_pCard; }

    // The zone's rectangle in canvas pixels, and back into the zone.
    QRect ZoneToWindow() const;
    void WindowToZone();
    // Moves and sizes the window to the zone's rectangle (inside the canvas).
    void Reposition();
    // Starts the snap anew, as any move or resize does.
    void RestartSettle();
    bool IsSettling() const { return m_snapTimer.isActive(); }

    void SetSelected(bool bSelected);
    bool IsSelected() const { return m_bSelected; }

    int HitTest(const QPoint& pt) const;
    int GetHitCode() const { return m_nHitCode; }

    // The name read out for the zone; follows its number.
    void UpdateAccessibleName();

signals:
    // A left click inside a zone that is not the selected one.
    void clicked(CDivWnd* pWnd);
    // The zone was snapped to the grid.
    void settled(CDivWnd* pWnd);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void moveEvent(QMoveEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;

private:
    CDivWnd(CDivObj* pZone, CGsmCard* pCard, QWidget* pCanvas, const QColor& fill);

    // Keeps a proposed rectangle inside the canvas by moving it; the size is
    // never changed.
    QRect KeepInCanvas(const QRect& proposed) const;
    void MoveTo(const QRect& rect);
    void Settle();
    static Qt::CursorShape CursorFor(int nHitCode);

    CDivObj* m_pZone;
    CGsmCard* m_pCard;
    QRect m_rcBounds; // the canvas, in canvas pixels, as read at creation
    QColor m_fill;
    int m_nHitCode = HitClient;
    bool m_bSelected = false;
    QBasicTimer m_snapTimer;

    int m_nDragCode = HitNowhere;
    QPoint m_ptDragStart;
    QRect m_rcDragStart;
};
