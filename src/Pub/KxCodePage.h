#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Text is UTF-16 in memory and meets other encodings only at the serial
// port. The card expects its command words in GBK (code page 936), so that
// is the ANSI code page here, both for what is sent and for what is read.

// GBK bytes of the text, without terminator; a character GBK lacks goes out
// as "?". At most two bytes per character.
QByteArray KxToAnsi(QStringView strText);

// The text of GBK bytes; bytes that are no GBK sequence become U+FFFD.
QString KxFromAnsi(QByteArrayView bytes);

// The UTF-16 units of the text, little-endian, two bytes each, without
// terminator.
QByteArray KxToUtf16Le(QStringView strText);
