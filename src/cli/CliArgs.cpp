#include "cli/CliArgs.h"

#include <QMap>
#include <QSet>

namespace
{
// The options each verb takes (the value options and the flags alike).
const QMap<QString, QSet<QString>>& VerbOptions()
{
    static const QMap<QString, QSet<QString>> s_options = {
        {QStringLiteral("export"), {"--project", "--all", "--out"}},
        {QStringLiteral("build"), {"--project", "--card"}},
        {QStringLiteral("send"), {"--project", "--port", "--time"}},
        {QStringLiteral("command"), {"--project", "--card", "--port", "--time", "--reply"}},
        {QStringLiteral("ports"), {"--port"}},
        {QStringLiteral("save"), {"--project", "--out"}},
        {QStringLiteral("help"), {}},
        {QStringLiteral("version"), {}},
    };
    return s_options;
}

bool TakesValue(const QString& opt)
{
    static const QSet<QString> s_valued = {"--project", "--out",  "--port",
                                           "--time",    "--card", "--language"};
    return s_valued.contains(opt);
}
} // namespace

bool CCliArgs::ParseInt(const QString& strText, int* pValue)
{
    bool bOk = false;
    const int n = strText.trimmed() == strText ? strText.toInt(&bOk, 10) : 0;
    if (bOk && pValue)
        *pValue = n;
    return bOk;
}

bool CCliArgs::Parse(const QStringList& args, QString* pError)
{
    auto fail = [&](const QString& why)
    {
        if (pError)
            *pError = why;
        return false;
    };

    int i = 0;
    // Options before the verb: --language, and the help and version flags.
    while (i < args.size() && args[i].startsWith(u'-'))
    {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
        {
            strVerb = QStringLiteral("help");
            return true;
        }
        if (a == QLatin1String("--version"))
        {
            strVerb = QStringLiteral("version");
            return true;
        }
        if (a != QLatin1String("--language"))
            return fail(QStringLiteral("unknown option before the verb: %1").arg(a));
        if (i + 1 >= args.size())
            return fail(QStringLiteral("--language needs a file"));
        strLanguage = args[i + 1];
        i += 2;
    }
    if (i >= args.size())
        return fail(QStringLiteral("no verb given"));

    strVerb = args[i++];
    if (!VerbOptions().contains(strVerb))
        return fail(QStringLiteral("unknown verb: %1").arg(strVerb));
    const QSet<QString>& allowed = VerbOptions()[strVerb];

    for (; i < args.size(); ++i)
    {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--")) || a == QLatin1String("--"))
        {
            // "--" ends the options, so a command text may begin with "-".
            if (a == QLatin1String("--"))
            {
                lstOperands += args.mid(i + 1);
                break;
            }
            lstOperands.append(a);
            continue;
        }
        if (!allowed.contains(a))
            return fail(QStringLiteral("%1 does not take %2").arg(strVerb, a));
        QString value;
        if (TakesValue(a))
        {
            if (i + 1 >= args.size())
                return fail(QStringLiteral("%1 needs a value").arg(a));
            value = args[++i];
        }
        if (a == QLatin1String("--project"))
            strProject = value;
        else if (a == QLatin1String("--out"))
            strOut = value;
        else if (a == QLatin1String("--port"))
            lstPorts.append(value);
        else if (a == QLatin1String("--all"))
            bAll = true;
        else if (a == QLatin1String("--reply"))
            bReply = true;
        else if (a == QLatin1String("--card"))
        {
            if (!ParseInt(value, &nCard) || nCard < 0)
                return fail(
                    QStringLiteral("--card takes a card position from 0, not %1").arg(value));
        }
        else if (a == QLatin1String("--time"))
        {
            if (!ParseInt(value, &nTime) || nTime < 1)
                return fail(QStringLiteral("--time takes milliseconds above 0, not %1").arg(value));
        }
    }

    if (strVerb == QLatin1String("save") && strOut.isEmpty())
        return fail(QStringLiteral("save needs --out FILE"));
    if (strVerb == QLatin1String("command") && lstOperands.size() != 1)
        return fail(QStringLiteral("command takes exactly one command text"));
    if (strVerb == QLatin1String("build") && lstOperands.isEmpty())
        return fail(QStringLiteral("build needs to know what to build"));
    if (strVerb != QLatin1String("build") && strVerb != QLatin1String("command") &&
        !lstOperands.isEmpty())
        return fail(QStringLiteral("%1 takes no operand: %2").arg(strVerb, lstOperands.first()));
    return true;
}
