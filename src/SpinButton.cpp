#include "SpinButton.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

CSpinButton::CSpinButton(QWidget* pParent)
    : QWidget(pParent), m_pUp(new QToolButton(this)), m_pDown(new QToolButton(this))
{
    for (QToolButton* pArrow : {m_pUp, m_pDown})
    {
        // The arrows take no focus: the keyboard steps through the buddy.
        pArrow->setFocusPolicy(Qt::NoFocus);
        pArrow->setAutoRepeat(true);
        pArrow->setAutoRepeatDelay(400);
        pArrow->setAutoRepeatInterval(60);
        connect(pArrow, &QToolButton::pressed, this, &CSpinButton::OnPressed);
    }
    m_pUp->setArrowType(Qt::UpArrow);
    m_pDown->setArrowType(Qt::DownArrow);
    m_pUp->setAccessibleName(QStringLiteral("+"));
    m_pDown->setAccessibleName(QStringLiteral("-"));
    connect(m_pUp, &QToolButton::clicked, this, [this]() { Step(1); });
    connect(m_pDown, &QToolButton::clicked, this, [this]() { Step(-1); });
}

void CSpinButton::SetBuddy(QLineEdit* pEdit)
{
    if (m_pBuddy)
        m_pBuddy->removeEventFilter(this);
    m_pBuddy = pEdit;
    if (m_pBuddy)
        m_pBuddy->installEventFilter(this);
}

void CSpinButton::SetRange(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
}

void CSpinButton::SetPos(int nPos)
{
    m_nPos = qBound(m_nLower, nPos, qMax(m_nLower, m_nUpper));
    if (m_pBuddy)
        m_pBuddy->setText(QString::number(m_nPos));
}

int CSpinButton::GetPos() const
{
    int nPos = m_nPos;
    if (m_pBuddy)
    {
        bool bOk = false;
        const int n = m_pBuddy->text().trimmed().toInt(&bOk);
        if (bOk)
            nPos = n;
    }
    return qBound(m_nLower, nPos, qMax(m_nLower, m_nUpper));
}

void CSpinButton::SetAccel(int nSec, int nInc)
{
    m_accel = {Accel{nSec, nInc}};
}

int CSpinButton::CurrentIncrement() const
{
    if (m_accel.isEmpty())
        return 1;
    // The first entry holds from the first press; later ones take over as
    // their time passes.
    const qint64 nHeld = m_held.isValid() ? m_held.elapsed() / 1000 : 0;
    int nInc = m_accel.first().nInc;
    for (int i = 1; i < m_accel.size(); ++i)
        if (nHeld >= m_accel[i].nSec)
            nInc = m_accel[i].nInc;
    return nInc;
}

void CSpinButton::OnPressed()
{
    m_held.start();
}

void CSpinButton::Step(int nDirection)
{
    if (!isEnabled())
        return;
    const qint64 nNext = qint64(GetPos()) + (nDirection > 0 ? 1 : -1) * CurrentIncrement();
    SetPos(int(qBound<qint64>(qint64(m_nLower), nNext, qint64(qMax(m_nLower, m_nUpper)))));
    emit positionStepped(m_nPos);
}

QSize CSpinButton::sizeHint() const
{
    return QSize(18, 24);
}

bool CSpinButton::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pBuddy && pEvent->type() == QEvent::KeyPress && isEnabled())
    {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->key() == Qt::Key_Up || pKey->key() == Qt::Key_Down)
        {
            if (!pKey->isAutoRepeat())
                m_held.start();
            Step(pKey->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CSpinButton::resizeEvent(QResizeEvent* pEvent)
{
    const int nHalf = height() / 2;
    m_pUp->setGeometry(0, 0, width(), nHalf);
    m_pDown->setGeometry(0, nHalf, width(), height() - nHalf);
    QWidget::resizeEvent(pEvent);
}
