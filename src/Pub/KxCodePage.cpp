#include "Pub/KxCodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

QByteArray KxToAnsi(QStringView strText)
{
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
    {
        // A Qt without ICU knows no GBK; ASCII still gets through unchanged.
        QByteArray bytes = strText.toLatin1();
        for (qsizetype i = 0; i < strText.size(); ++i)
            if (strText[i].unicode() > 0x7f)
                bytes[i] = '?';
        return bytes;
    }
    return encoder.encode(strText);
}

QString KxFromAnsi(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray KxToUtf16Le(QStringView strText)
{
    QByteArray bytes(strText.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < strText.size(); ++i)
        qToLittleEndian<quint16>(strText[i].unicode(), bytes.data() + 2 * i);
    return bytes;
}
