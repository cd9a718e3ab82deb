#pragma once

// File helpers shared by the tests that work on files of their own.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdlib>

// The whole content of a file; empty when it cannot be read.
inline QByteArray KxTestRead(const QString& strPath)
{
    QFile f(strPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes data as the whole file and returns its path. A test cannot go on
// without its fixture, so a failed write ends the test program.
inline QString KxTestWrite(const QString& strPath, const QByteArray& data)
{
    QFile f(strPath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(strPath));
    return strPath;
}
