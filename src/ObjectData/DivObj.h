#pragma once

#include <QObject>
#include <QPointer>

// One display zone of a card: a rectangle in LED pixels in which messages
// play. While the zone editor shows the card, a small window is attached to
// the record; the record owns it, so removing the zone removes its window.
class CDivObj
{
public:
    CDivObj();
    virtual ~CDivObj();

    // The zone editor's window for this zone (a widget, seen here only as a
    // QObject so the model needs no widget code).
    QObject* GetWindow() const { return m_pWnd; }
    void AttachWindow(QObject* pWnd) { m_pWnd = pWnd; }
    void DestroyWindow();

    int GetX() const { return m_nX; }
    void SetX(int n) { m_nX = n; }
    int GetY() const { return m_nY; }
    void SetY(int n) { m_nY = n; }
    int GetCx() const { return m_nCx; }
    void SetCx(int n) { m_nCx = n; }
    int GetCy() const { return m_nCy; }
    void SetCy(int n) { m_nCy = n; }
    int GetIndex() const { return m_nIndex; }

private:
    friend class CGsmCard; // numbers the zone by its list position

    QPointer<QObject> m_pWnd;

    int m_nX = 0;
    int m_nY = 0;
    int m_nCx = 32;
    int m_nCy = 16;
    int m_nIndex = 0;
};
