#include "Pub/KxClock.h"

#include <QElapsedTimer>
#include <QThread>

namespace
{
CKxClock& RealClock()
{
    static CKxClock s_clock;
    return s_clock;
}

CKxClock*& CurrentClock()
{
    static CKxClock* s_pClock = &RealClock();
    return s_pClock;
}
} // namespace

CKxClock::CKxClock() = default;
CKxClock::~CKxClock() = default;

quint32 CKxClock::GetTickCount()
{
    static QElapsedTimer s_timer;
    if (!s_timer.isValid())
        s_timer.start();
    return quint32(s_timer.elapsed());
}

bool CKxClock::Sleep(int nMs)
{
    if (nMs > 0)
        QThread::msleep(ulong(nMs));
    return true;
}

CKxClock* KxSetClock(CKxClock* pClock)
{
    CKxClock* pOld = CurrentClock();
    CurrentClock() = pClock ? pClock : &RealClock();
    return pOld;
}

CKxClock* KxClock()
{
    return CurrentClock();
}
