#pragma once

#include "Pub/KxPort.h"

#include <QSerialPort>

// A real serial device (or pseudo-terminal) through QSerialPort, with the
// read and write time-outs the link is written for.
class CKxSerialPort : public CKxPort
{
public:
    // Quiet time after the last byte of a reply that ends a read early.
    static const int kQuietGapMs = 30;

    CKxSerialPort();
    ~CKxSerialPort() override;

    bool Open(const QString& strName) override;
    QString GetOpenError() const override { return m_strOpenError; }
    void Close() override;
    void Configure() override;
    void Purge() override;
    qint64 Write(const char* pData, qint64 nSize) override;
    qint64 Read(char* pData, qint64 nSize) override;

    // Words for the user on why a device did not open. bAccessDenied: the
    // current user may not read and write the device file at all, which
    // tells "not allowed" apart from "held by another program".
    static QString DescribeOpenError(QSerialPort::SerialPortError eError, bool bAccessDenied,
                                     const QString& strSystemText);

private:
    QSerialPort m_port;
    QString m_strOpenError;
};
