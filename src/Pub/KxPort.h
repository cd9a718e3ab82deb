#pragma once

#include <QString>

#include <functional>
#include <memory>

// One serial device as the link uses it. The link only needs these few
// operations, so tests can put a scripted device in place of a real port.
class CKxPort
{
public:
    CKxPort();
    virtual ~CKxPort();
    CKxPort(const CKxPort&) = delete;
    CKxPort& operator=(const CKxPort&) = delete;

    // Opens the device for reading and writing, without sharing: a device
    // that another program holds does not open. On failure GetOpenError()
    // says why, in words a user can act on.
    virtual bool Open(const QString& strName) = 0;
    virtual QString GetOpenError() const = 0;

    // Releases the device; safe on a closed port.
    virtual void Close() = 0;

    // 115200 baud, 8 data bits, no parity, one stop bit. Errors are ignored.
    virtual void Configure() = 0;

    // Discards pending output and unread input.
    virtual void Purge() = 0;

    // Writes nSize bytes and returns how many went out, or -1 when the
    // write failed. Gives up after 10 ms per byte plus 10 ms.
    virtual qint64 Write(const char* pData, qint64 nSize) = 0;

    // Reads up to nSize bytes: returns when nSize bytes are in or when
    // 10 x nSize + 10 ms have passed, with what has arrived by then (possibly
    // nothing); -1 when the read failed.
    virtual qint64 Read(char* pData, qint64 nSize) = 0;
};

// Makes the port objects of the link. An empty factory (the default) makes
// real serial ports. Returns the factory it replaces.
using KxPortFactory = std::function<std::unique_ptr<CKxPort>()>;
KxPortFactory KxSetPortFactory(KxPortFactory factory);
std::unique_ptr<CKxPort> KxCreatePort();
