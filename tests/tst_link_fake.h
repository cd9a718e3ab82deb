#pragma once

// A scripted serial world on virtual time for the link tests: devices by
// port name, each answering what is written to it after a delay, and a clock
// that only moves when the link waits or reads.

#include "Pub/KxClock.h"
#include "Pub/KxPort.h"
#include "Pub/KxPortList.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

class CFakeClock : public CKxClock
{
public:
    qint64 m_nNow = 0;          // virtual ms since the test began
    quint32 m_nTickBase = 5000; // what GetTickCount shows at m_nNow 0
    QList<int> m_lstSleeps;     // every wait of more than 0 ms, in order
    // Asked at every Sleep (0 included) with its length; true cancels.
    std::function<bool(int nMs)> m_fnCancel;

    quint32 GetTickCount() override { return quint32(m_nTickBase + quint64(m_nNow)); }
    bool Sleep(int nMs) override
    {
        if (nMs > 0)
        {
            m_lstSleeps.append(nMs);
            m_nNow += nMs;
        }
        return !(m_fnCancel && m_fnCancel(nMs));
    }
};

// What a device does with one write: the bytes it sends back and when.
struct CFakeAnswer
{
    QByteArray bytes; // empty: silent
    int nDelay = 10;  // ms after the write
};

struct CFakeDevice
{
    QString strOpenError; // not empty: Open fails with this reason
    bool bWriteFails = false;
    int nShortWrite = 0; // bytes the write falls short by
    bool bReadFails = false;
    QList<CFakeAnswer> answers;                             // used first, one per write
    std::function<CFakeAnswer(const QByteArray&)> fnAnswer; // then this

    // What happened.
    QList<QByteArray> writes;
    QList<qint64> writeTimes;
    QList<qint64> readSizes;
    int nOpens = 0;
    int nCloses = 0;
    int nConfigures = 0;
    int nPurges = 0;
    bool bOpen = false;

    struct Chunk
    {
        qint64 nAt;
        QByteArray bytes;
    };
    QList<Chunk> pending;
};

class CFakeWorld
{
public:
    CFakeClock m_clock;
    QMap<QString, std::shared_ptr<CFakeDevice>> m_devices; // absent names do not open
    QStringList m_lstPorts;                                // what the system lists

    std::shared_ptr<CFakeDevice> Add(const QString& strName)
    {
        auto pDevice = std::make_shared<CFakeDevice>();
        m_devices.insert(strName, pDevice);
        return pDevice;
    }
    CFakeDevice& Dev(const QString& strName) { return *m_devices.value(strName); }
    int TotalWrites() const
    {
        int n = 0;
        for (const auto& pDevice : m_devices)
            n += int(pDevice->writes.size());
        return n;
    }
};

class CFakePort : public CKxPort
{
public:
    explicit CFakePort(CFakeWorld* pWorld) : m_pWorld(pWorld) {}

    bool Open(const QString& strName) override
    {
        m_strError.clear();
        auto it = m_pWorld->m_devices.find(strName);
        if (it == m_pWorld->m_devices.end())
        {
            m_strError = QStringLiteral("absent");
            return false;
        }
        if (!(*it)->strOpenError.isEmpty())
        {
            m_strError = (*it)->strOpenError;
            return false;
        }
        if ((*it)->bOpen)
        {
            m_strError = QStringLiteral("held");
            return false;
        }
        m_pDevice = *it;
        m_pDevice->bOpen = true;
        ++m_pDevice->nOpens;
        return true;
    }
    QString GetOpenError() const override { return m_strError; }
    void Close() override
    {
        if (!m_pDevice)
            return;
        m_pDevice->bOpen = false;
        ++m_pDevice->nCloses;
        m_pDevice.reset();
    }
    ~CFakePort() override { Close(); }
    void Configure() override { ++m_pDevice->nConfigures; }
    void Purge() override
    {
        ++m_pDevice->nPurges;
        // Input that has arrived is thrown away; what is still on its way
        // arrives later all the same.
        auto& pending = m_pDevice->pending;
        pending.erase(std::remove_if(pending.begin(), pending.end(),
                                     [&](const CFakeDevice::Chunk& c)
                                     { return c.nAt <= m_pWorld->m_clock.m_nNow; }),
                      pending.end());
    }
    qint64 Write(const char* pData, qint64 nSize) override
    {
        CFakeDevice& dev = *m_pDevice;
        if (dev.bWriteFails)
            return -1;
        const QByteArray bytes(pData, nSize);
        dev.writes.append(bytes);
        dev.writeTimes.append(m_pWorld->m_clock.m_nNow);
        CFakeAnswer answer;
        if (!dev.answers.isEmpty())
            answer = dev.answers.takeFirst();
        else if (dev.fnAnswer)
            answer = dev.fnAnswer(bytes);
        if (!answer.bytes.isEmpty())
            dev.pending.append({m_pWorld->m_clock.m_nNow + answer.nDelay, answer.bytes});
        return nSize - dev.nShortWrite;
    }
    qint64 Read(char* pData, qint64 nSize) override
    {
        CFakeDevice& dev = *m_pDevice;
        dev.readSizes.append(nSize);
        if (dev.bReadFails)
            return -1;
        qint64& nNow = m_pWorld->m_clock.m_nNow;
        const qint64 nDeadline = nNow + 10 * nSize + 10;
        QByteArray got;
        qint64 nEnd = nDeadline;
        while (!dev.pending.isEmpty() && dev.pending.first().nAt <= nDeadline)
        {
            CFakeDevice::Chunk& chunk = dev.pending.first();
            const qint64 nTake = qMin<qint64>(nSize - got.size(), chunk.bytes.size());
            got += chunk.bytes.left(nTake);
            const qint64 nAt = chunk.nAt;
            chunk.bytes.remove(0, nTake);
            if (chunk.bytes.isEmpty())
                dev.pending.removeFirst();
            if (got.size() >= nSize)
            {
                nEnd = qMax(nNow, nAt);
                break;
            }
        }
        nNow = nEnd;
        memcpy(pData, got.constData(), size_t(got.size()));
        return got.size();
    }

private:
    CFakeWorld* m_pWorld;
    std::shared_ptr<CFakeDevice> m_pDevice;
    QString m_strError;
};

// Installs a world for the life of the object and takes it away again.
class CFakeWorldScope
{
public:
    explicit CFakeWorldScope(CFakeWorld* pWorld)
    {
        m_pOldClock = KxSetClock(&pWorld->m_clock);
        m_oldFactory = KxSetPortFactory([pWorld] { return std::make_unique<CFakePort>(pWorld); });
        m_oldLister = KxSetPortLister([pWorld] { return pWorld->m_lstPorts; });
    }
    ~CFakeWorldScope()
    {
        KxSetClock(m_pOldClock);
        KxSetPortFactory(std::move(m_oldFactory));
        KxSetPortLister(std::move(m_oldLister));
    }

private:
    CKxClock* m_pOldClock;
    KxPortFactory m_oldFactory;
    KxPortLister m_oldLister;
};

// A card on a serial line: answers the version query (in either byte form)
// with its version, and every other write with the given reply.
inline std::function<CFakeAnswer(const QByteArray&)> CardAnswers(const QByteArray& reply = "E:000")
{
    return [reply](const QByteArray& written)
    {
        const bool bQuery =
            written.endsWith("FVER") || written.endsWith(QByteArray("F\0V\0E\0R\0", 8)) ||
            written.endsWith("\xb0\xe6\xb1\xbe") || written.endsWith("\x48\x72\x2c\x67");
        return CFakeAnswer{bQuery ? QByteArray("VER:VI-DAR RI-ZOR-O21 V1.0") : reply, 10};
    };
}

// A DTU: "OK" to the setup entry (any write that starts with a zero byte),
// the given reply to everything else.
inline std::function<CFakeAnswer(const QByteArray&)> DtuAnswers(const QByteArray& reply = "E:000")
{
    return [reply](const QByteArray& written) {
        return CFakeAnswer{written.startsWith('\0') ? QByteArray("\r\nOK\r\n") : reply, 10};
    };
}
