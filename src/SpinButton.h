#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLineEdit;
class QToolButton;

// The up-down arrows beside a number field. The field (the buddy) holds the
// number as text, so the user may type into it where it is writable; the
// arrows, and the Up and Down keys inside the field, read the field, step
// the number within the range and write it back. The step is the increment
// of the acceleration entry in force: the first entry from the moment an
// arrow is pressed, a later one once it has been held for that entry's time.
class CSpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit CSpinButton(QWidget* pParent = nullptr);

    void SetBuddy(QLineEdit* pEdit);
    QLineEdit* GetBuddy() const { return m_pBuddy; }

    void SetRange(int nLower, int nUpper);
    int GetLower() const { return m_nLower; }
    int GetUpper() const { return m_nUpper; }

    // Writes the number, brought into the range, into the buddy.
    void SetPos(int nPos);
    // The buddy's number brought into the range (the last position written
    // when the buddy holds no number).
    int GetPos() const;

    // One acceleration entry: after nSec seconds of holding, steps of nInc.
    // Without an entry every step is 1.
    void SetAccel(int nSec, int nInc);

    // One step up (nDirection > 0) or down, as a click on an arrow makes it.
    void Step(int nDirection);

    QSize sizeHint() const override;

signals:
    // The user changed the position with an arrow or a key.
    void positionStepped(int nPos);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    struct Accel
    {
        int nSec;
        int nInc;
    };

    int CurrentIncrement() const;
    void OnPressed();

    QToolButton* m_pUp;
    QToolButton* m_pDown;
    QLineEdit* m_pBuddy = nullptr;
    QList<Accel> m_accel;
    QElapsedTimer m_held;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};
