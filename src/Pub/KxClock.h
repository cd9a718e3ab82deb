#pragma once

#include <QtGlobal>

// The clock and the waits of the device link. Every fixed pause and every
// reply time-out of an exchange goes through the current clock, so that tests
// can run the link on virtual time and the GUI can keep its window painting
// (and offer Cancel) while a send action waits.
class CKxClock
{
public:
    CKxClock();
    virtual ~CKxClock();

    // Milliseconds since a fixed moment; wraps around like a 32-bit tick
    // count, so compare two readings by their unsigned difference.
    virtual quint32 GetTickCount();

    // Waits nMs milliseconds. Returns false when the user has cancelled the
    // action in progress (the wait may then end early). Sleep(0) waits for
    // nothing: it only lets pending events be handled and reports whether the
    // action was cancelled.
    virtual bool Sleep(int nMs);
};

// Installs a clock (null: the real clock) and returns the one it replaces.
// The caller keeps ownership of the clock it installs.
CKxClock* KxSetClock(CKxClock* pClock);

// The clock in use; never null.
CKxClock* KxClock();
