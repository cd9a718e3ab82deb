#include "SimFrame.h"

#include "SimVocabulary.h"

#include "Pub/KxCodePage.h"
#include "Pub/KxDtuSetup.h"

namespace
{
bool StartsWithHeader(const QString& strText)
{
    for (const SimCommandSet& set : SimCommandSets())
        if (strText.startsWith(set.strHeader))
            return true;
    return false;
}

// A command, or a DTU number of digits (and "+") and a comma before one.
bool LooksLikeCommand(const QString& strText)
{
    if (StartsWithHeader(strText))
        return true;
    const qsizetype nComma = strText.indexOf(u',');
    if (nComma < 0)
        return false;
    for (qsizetype i = 0; i < nComma; ++i)
        if (!strText[i].isDigit() && strText[i] != u'+')
            return false;
    return StartsWithHeader(strText.mid(nComma + 1));
}

QString FromUtf16Le(const QByteArray& bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(ushort(uchar(bytes[2 * i]) | (uchar(bytes[2 * i + 1]) << 8)));
    return text;
}
} // namespace

SimFrame DecodeFrame(const QByteArray& bytes)
{
    SimFrame frame;
    qsizetype nZeros = 0;
    while (nZeros < bytes.size() && bytes[nZeros] == '\0')
        ++nZeros;
    if (nZeros > 0)
    {
        const QByteArray rest = bytes.mid(nZeros);
        const QByteArray setup = KxDtuSetupText();
        if (rest == setup || rest == KxToUtf16Le(QString::fromLatin1(setup)))
        {
            frame.eKind = SimFrame::SetupEntry;
            frame.strEncoding = rest == setup ? QStringLiteral("GBK") : QStringLiteral("UTF-16LE");
            frame.strText = QString::fromLatin1(setup);
            return frame;
        }
    }

    const bool bEven = bytes.size() % 2 == 0;
    const QString strWide = bEven ? FromUtf16Le(bytes) : QString();
    const QString strAnsi = KxFromAnsi(bytes);
    bool bWide;
    if (bEven && LooksLikeCommand(strWide))
        bWide = true;
    else if (LooksLikeCommand(strAnsi))
        bWide = false;
    else
        bWide = bEven && bytes.contains('\0');
    frame.strEncoding = bWide ? QStringLiteral("UTF-16LE") : QStringLiteral("GBK");
    frame.strText = bWide ? strWide : strAnsi;
    return frame;
}

bool SplitDtuText(const QString& strText, QString* pNumber, QString* pCommand)
{
    const qsizetype nComma = strText.indexOf(u',');
    if (nComma < 0)
        return false;
    *pNumber = strText.left(nComma);
    *pCommand = strText.mid(nComma + 1);
    return true;
}
