#pragma once

#include <QByteArray>
#include <QString>

// One burst of bytes from the program, read as the card or DTU reads it.
struct SimFrame
{
    enum Kind
    {
        SetupEntry, // zero bytes and the DTU setup text
        Text,       // a command, in DTU mode "number,command"
    };
    Kind eKind = Text;
    QString strEncoding; // "GBK" or "UTF-16LE"
    QString strText;
};

// Tells the encoding by the command header (after a DTU number, if any):
// UTF-16LE when the bytes read so show a header, else GBK when they do; a
// text with no header is UTF-16LE when it has zero bytes, else GBK.
SimFrame DecodeFrame(const QByteArray& bytes);

// "number,command" of a DTU frame. False when there is no comma.
bool SplitDtuText(const QString& strText, QString* pNumber, QString* pCommand);
