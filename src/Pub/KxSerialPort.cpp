#include "Pub/KxSerialPort.h"

#include "Pub/KxClock.h"
#include "Pub/KxLinkText.h"

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <unistd.h>

CKxSerialPort::CKxSerialPort() = default;

CKxSerialPort::~CKxSerialPort()
{
    Close();
}

QString CKxSerialPort::DescribeOpenError(QSerialPort::SerialPortError eError, bool bAccessDenied,
                                         const QString& strSystemText)
{
    switch (eError)
    {
    case QSerialPort::DeviceNotFoundError:
        return KxLinkString(KX_STR_PORT_NOT_FOUND);
    case QSerialPort::PermissionError:
        // QSerialPort says "permission" both for a device file we may not
        // use and for one that another program has locked.
        return KxLinkString(bAccessDenied ? KX_STR_PORT_DENIED : KX_STR_PORT_BUSY);
    case QSerialPort::UnsupportedOperationError:
        return KxLinkString(KX_STR_PORT_NOT_SERIAL);
    default:
        return KxLinkString(KX_STR_PORT_OTHER).arg(strSystemText);
    }
}

bool CKxSerialPort::Open(const QString& strName)
{
    Close();
    m_strOpenError.clear();
    m_port.setPortName(strName);
    if (m_port.open(QIODevice::ReadWrite))
        return true;

    const QSerialPort::SerialPortError eError = m_port.error();
    const QByteArray path =
        QFile::encodeName(strName.startsWith(u'/') ? strName : QStringLiteral("/dev/") + strName);
    const bool bAccessDenied = ::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES;
    m_strOpenError = DescribeOpenError(eError, bAccessDenied, m_port.errorString());
    m_port.clearError();
    return false;
}

void CKxSerialPort::Close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

void CKxSerialPort::Configure()
{
    // Flow control and the modem lines stay as they are.
    m_port.setBaudRate(QSerialPort::Baud115200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.clearError();
}

void CKxSerialPort::Purge()
{
    m_port.clear(QSerialPort::AllDirections);
    m_port.clearError();
}

qint64 CKxSerialPort::Write(const char* pData, qint64 nSize)
{
    if (!m_port.isOpen())
        return -1;
    if (nSize <= 0)
        return 0;
    if (m_port.write(pData, nSize) != nSize)
        return -1;
    const int nLimit = int(qMin<qint64>(10 * nSize + 10, 60000));
    QElapsedTimer timer;
    timer.start();
    while (m_port.bytesToWrite() > 0)
    {
        const qint64 nLeft = nLimit - timer.elapsed();
        if (nLeft <= 0 || !m_port.waitForBytesWritten(int(nLeft)))
            break;
    }
    const qint64 nUnsent = m_port.bytesToWrite();
    if (nUnsent > 0)
    {
        // What did not go out in time must not trail into the next exchange.
        m_port.clear(QSerialPort::Output);
    }
    m_port.clearError();
    return nSize - nUnsent;
}

qint64 CKxSerialPort::Read(char* pData, qint64 nSize)
{
    if (!m_port.isOpen())
        return -1;
    if (nSize <= 0)
        return 0;
    const qint64 nLimit = 10 * nSize + 10;
    QElapsedTimer timer;
    timer.start();
    // A read returns when nSize bytes are in or its time is up, and also as
    // soon as a reply has arrived and the line has gone quiet: a card sends
    // its whole answer at once (127 bytes take 11 ms at 115200 baud), so
    // waiting out the full time after it would only slow every exchange.
    QElapsedTimer quiet;
    quiet.start();
    qint64 nHave = m_port.bytesAvailable();
    while (nHave < nSize)
    {
        const qint64 nLeft = nLimit - timer.elapsed();
        if (nLeft <= 0 || (nHave > 0 && quiet.elapsed() >= kQuietGapMs))
            break;
        // Wait in short slices so that the GUI's clock can keep the window
        // painting (and notice Cancel) during a long reply wait.
        if (!m_port.waitForReadyRead(int(qMin<qint64>(nLeft, 10))))
        {
            const QSerialPort::SerialPortError eError = m_port.error();
            m_port.clearError();
            if (eError != QSerialPort::NoError && eError != QSerialPort::TimeoutError)
                return -1; // the device went away
        }
        const qint64 nNow = m_port.bytesAvailable();
        if (nNow != nHave)
        {
            nHave = nNow;
            quiet.restart();
        }
        // Keeps the window painting; a cancel only takes effect between
        // exchanges, so the read goes on.
        KxClock()->Sleep(0);
    }
    return m_port.read(pData, nSize);
}
