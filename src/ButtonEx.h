#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QIcon>
#include <QPoint>
#include <QPushButton>

// A push button drawn by the program: an icon (and, when asked, a text line)
// over what lies behind it. The flat look grows a raised frame while the
// mouse is over the button and a sunken one while it is pressed; the other
// look keeps a permanent 3-D frame.
class CButtonEx : public QPushButton
{
    Q_OBJECT

public:
    enum State
    {
        Pressed = 0,
        Released = 1,
        Hover = 2,
        Normal = 3
    };

    explicit CButtonEx(QWidget* pParent = nullptr);
    ~CButtonEx() override;

    // Icons by resource number (":/icons/<n>.svg"); a hot icon of 0 is the
    // normal one.
    void SetIcons(int nIconId, int nHotIconId);
    // The same by resource path; an empty hot path is the normal icon.
    void SetIcons(const QString& strIcon, const QString& strIconHot);

    void SetTransparent(bool bTransparent);
    void SetFlatAndText(bool bFlat, bool bShowText);
    void SetTextColors(const QColor& clrText, const QColor& clrTextHot);

    int GetState() const { return m_nState; }
    bool IsHover() const { return m_bHover; }
    bool HasIcon() const { return m_bHasIcon; }
    // Where the icon and the text were drawn last time.
    QPoint GetIconPos() const { return m_ptIcon; }
    QPoint GetTextPos() const { return m_ptText; }
    // The icon size of the system's large icons.
    QSize GetIconSize() const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    void SetState(int nState);
    void EndHover();

    QBasicTimer m_timerLeave;
    bool m_bHover = false;
    bool m_bEnabled = true;
    bool m_bFocus = false;
    bool m_bHasIcon = false;
    bool m_bShowText = false;
    bool m_bFlat = true;
    bool m_bTransparent = true;
    int m_nState = Normal;
    QPoint m_ptIcon;
    QPoint m_ptText;
    QIcon m_icon;
    QIcon m_iconHot;
    QColor m_clrText;
    QColor m_clrTextHot;
};
