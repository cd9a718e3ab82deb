// kxgsm-sim: a simulated LED control card, or a GSM DTU with a card behind
// it, on a pseudo-terminal. Prints the device path and serves it until it is
// stopped (Ctrl+C, SIGTERM).
#include "SimCard.h"
#include "SimDevice.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>

namespace
{
volatile std::sig_atomic_t g_bStop = 0;

void OnSignal(int)
{
    g_bStop = 1;
}

// "\r", "\n", "\t", "\0", "\\" and "\xHH" in a reply given on the command line.
QByteArray Unescape(const QString& strText)
{
    const QByteArray in = strText.toUtf8();
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i)
    {
        if (in[i] != '\\' || i + 1 == in.size())
        {
            out += in[i];
            continue;
        }
        const char c = in[++i];
        if (c == 'r')
            out += '\r';
        else if (c == 'n')
            out += '\n';
        else if (c == 't')
            out += '\t';
        else if (c == '0')
            out += '\0';
        else if (c == 'x' && i + 2 < in.size())
        {
            out += char(in.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        }
        else
            out += c;
    }
    return out;
}

int Fail(const QString& strMessage)
{
    std::fprintf(stderr, "kxgsm-sim: %s\n", qUtf8Printable(strMessage));
    return 2;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kxgsm-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A simulated LED control card (or a GSM DTU with a card behind it) on a\n"
                       "pseudo-terminal. Prints the device path on the first line of its output\n"
                       "and answers on it until stopped. Point the program at it with\n"
                       "PORTS=<path> in section [App] of its settings file.\n\n"
                       "As a DTU it answers the setup entry with \"OK\" and takes\n"
                       "\"number,command\" texts; a text without a number, with an empty\n"
                       "number or (with --numbers) an unknown one gets no answer.\n"
                       "Commands are counted from 1 over every frame but the setup entry, the\n"
                       "version queries of the program's search included.\n\n") +
        CSimCard::RulesText());
    parser.addHelpOption();
    const QCommandLineOption linkOption(QStringLiteral("link"),
                                        QStringLiteral("Make a symbolic link PATH to the device."),
                                        QStringLiteral("PATH"));
    const QCommandLineOption dtuOption(QStringLiteral("dtu"),
                                       QStringLiteral("Act as a GSM DTU with the card behind it."));
    const QCommandLineOption numbersOption(
        QStringLiteral("numbers"),
        QStringLiteral("As a DTU, reach the card only through these \"|\"-separated numbers."),
        QStringLiteral("LIST"));
    const QCommandLineOption silentOption(QStringLiteral("silent"),
                                          QStringLiteral("Never answer anything."));
    const QCommandLineOption delayOption(
        QStringLiteral("delay"), QStringLiteral("Wait MS milliseconds before every answer."),
        QStringLiteral("MS"));
    const QCommandLineOption replyOption(
        QStringLiteral("reply"),
        QStringLiteral("Answer every command but the version query with TEXT (escapes \\r \\n "
                       "\\t \\0 \\xHH). A success answer (E:000, OK) still carries the command "
                       "out; any other leaves the state as it was."),
        QStringLiteral("TEXT"));
    const QCommandLineOption failOption(
        QStringLiteral("fail"),
        QStringLiteral("Answer the N-th command with REPLY (empty: no answer), as --reply does; "
                       "may be given more than once."),
        QStringLiteral("N=REPLY"));
    const QCommandLineOption logOption(
        QStringLiteral("log"),
        QStringLiteral("Append one line per frame to FILE: time, number, size, bytes in hex, "
                       "the text as decoded and the answer."),
        QStringLiteral("FILE"));
    const QCommandLineOption stateOption(
        QStringLiteral("state"),
        QStringLiteral("Write the sign's state as JSON to FILE at start and after every frame."),
        QStringLiteral("FILE"));
    const QCommandLineOption typeOption(QStringLiteral("card-type"),
                                        QStringLiteral("0 RI-ZOR-O21 (default), 1 VI-DAD-A21."),
                                        QStringLiteral("N"));
    const QCommandLineOption versionOption(
        QStringLiteral("version-text"),
        QStringLiteral("Version text after the card type in the version answer (V5.5)."),
        QStringLiteral("TEXT"));
    const QCommandLineOption widthOption(QStringLiteral("max-width"),
                                         QStringLiteral("Widest screen the card drives (1600)."),
                                         QStringLiteral("N"));
    const QCommandLineOption heightOption(QStringLiteral("max-height"),
                                          QStringLiteral("Highest screen the card drives (128)."),
                                          QStringLiteral("N"));
    const QCommandLineOption pointsOption(
        QStringLiteral("max-points"),
        QStringLiteral("Most points (width x height) the card drives (131072)."),
        QStringLiteral("N"));
    parser.addOptions({linkOption, dtuOption, numbersOption, silentOption, delayOption, replyOption,
                       failOption, logOption, stateOption, typeOption, versionOption, widthOption,
                       heightOption, pointsOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return Fail(QStringLiteral("unexpected argument %1 (see --help)")
                        .arg(parser.positionalArguments().first()));

    CSimDevice::Options options;
    auto number = [&](const QCommandLineOption& option, int nDefault, int* pValue)
    {
        if (!parser.isSet(option))
        {
            *pValue = nDefault;
            return true;
        }
        bool bOk = false;
        *pValue = parser.value(option).toInt(&bOk);
        return bOk && *pValue >= 0;
    };
    if (!number(delayOption, 0, &options.nDelay) || !number(typeOption, 0, &options.nCardType) ||
        options.nCardType > 1 || !number(widthOption, 1600, &options.limits.nMaxWidth) ||
        !number(heightOption, 128, &options.limits.nMaxHeight) ||
        !number(pointsOption, 131072, &options.limits.nMaxPoints))
        return Fail(QStringLiteral("a number option has a bad value (see --help)"));
    options.bDtu = parser.isSet(dtuOption);
    options.bSilent = parser.isSet(silentOption);
    options.bReplySet = parser.isSet(replyOption);
    options.reply = Unescape(parser.value(replyOption));
    for (const QString& strFail : parser.values(failOption))
    {
        const qsizetype nEq = strFail.indexOf(u'=');
        bool bOk = false;
        const int n = nEq > 0 ? strFail.left(nEq).toInt(&bOk) : 0;
        if (!bOk || n < 1)
            return Fail(QStringLiteral("--fail wants N=REPLY, got %1").arg(strFail));
        options.fails.insert(n, Unescape(strFail.mid(nEq + 1)));
    }
    options.bNumbersSet = parser.isSet(numbersOption);
    options.numbers = parser.value(numbersOption).split(u'|', Qt::SkipEmptyParts);
    options.strLog = parser.value(logOption);
    options.strState = parser.value(stateOption);
    options.strLink = parser.value(linkOption);
    if (parser.isSet(versionOption))
        options.strVersion = parser.value(versionOption);

    CSimDevice device(options);
    QString strError;
    if (!device.Open(&strError))
        return Fail(strError);

    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);

    std::printf("%s\n", qUtf8Printable(device.DevicePath()));
    std::fflush(stdout);
    device.Run(&g_bStop);
    return 0;
}
