#include "cli/CliTool.h"

#include "MutliLang/LanguageManager.h"
#include "ObjectData/CardCommands.h"
#include "ObjectData/ExportList.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/ProjectFile.h"
#include "ObjectData/ProjectSend.h"
#include "ObjectData/Vocabulary.h"
#include "Pub/KxCodePage.h"
#include "Pub/KxMsgBox.h"
#include "Pub/KxPortList.h"
#include "Pub/KxSendProgress.h"
#include "Pub/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <functional>

namespace
{
const char* IconWord(KxMsgIcon icon)
{
    switch (icon)
    {
    case KxMsgIcon::Information:
        return "information";
    case KxMsgIcon::Warning:
        return "warning";
    case KxMsgIcon::Error:
        return "error";
    }
    return "information";
}
} // namespace

CCliTool::CCliTool(QTextStream& out, QTextStream& err, const QString& strProgramDir)
    : m_out(out), m_err(err), m_strProgramDir(strProgramDir)
{
}

QString CCliTool::UsageText()
{
    return QStringLiteral(
               "usage: kxgsm-%1 [--language FILE] VERB [OPTIONS]\n"
               "  export [--project FILE] [--all] [--out FILE]   write the command listing "
               "(UTF-16LE)\n"
               "  build WHAT [ARGS] [--project FILE] [--card N]   print one card command; WHAT is\n"
               "      screen zones bind-cancel bind-update timed-brightness timed-power version\n"
               "      reset-all clock-layout time-layout reset-zones clear-all delete ID\n"
               "      clock SECONDS brightness LEVEL power STATE echo BUZZER ECHO\n"
               "  send [--project FILE] [--port DEV]... [--time MS]   send the checked messages\n"
               "  command TEXT [--project FILE] [--card N] [--port DEV]... [--time MS] [--reply]\n"
               "  ports [--port DEV]...                           list the serial ports searched\n"
               "  save [--project FILE] --out FILE                load a project and save it "
               "again\n"
               "  help, --help, --version\n"
               "The project defaults to default.gsmprj beside the tool; --card counts from 0.\n"
               "Exit status: 0 done, 1 failed or nothing built, 2 usage or project error,\n"
               "3 export with nothing selected.\n")
        .arg(QString::fromLatin1(CMD_SET_NAME).toLower());
}

int CCliTool::Usage(const QString& strWhy)
{
    m_err << "kxgsm: " << strWhy << "\n"
          << "try --help\n";
    m_err.flush();
    return kExitUsage;
}

int CCliTool::Run(const QStringList& args)
{
    QString strWhy;
    if (!m_args.Parse(args, &strWhy))
        return Usage(strWhy);

    if (m_args.strVerb == QLatin1String("help"))
    {
        m_out << UsageText();
        return kExitOk;
    }
    if (m_args.strVerb == QLatin1String("version"))
    {
        m_out << "kxgsm-" << QString::fromLatin1(CMD_SET_NAME).toLower() << " 5.5 ("
              << (std::strcmp(CMD_SET_NAME, "EN") == 0 ? "English" : "Chinese")
              << " command set)\n";
        return kExitOk;
    }

    // The tool reads its own settings file (TIME, PORTS) and never writes it.
    LoadSettings(SettingsPathFor(
        QDir(m_strProgramDir)
            .filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName())));
    g_nLang = 2052;

    if (!m_args.strLanguage.isEmpty())
    {
        if (!QFileInfo(m_args.strLanguage).isFile() ||
            !g_langManager.LoadLanguageFile(m_args.strLanguage))
            return Usage(QStringLiteral("cannot use the language file %1").arg(m_args.strLanguage));
    }

    m_strProjectPath =
        m_args.strProject.isEmpty() ? DefaultProjectPath(m_strProgramDir) : m_args.strProject;

    // Every message box the GUI would show becomes one record on stdout.
    KxSetMsgSink(
        [this](const QString& strText, KxMsgIcon icon)
        {
            m_out << IconWord(icon) << ": " << strText << "\n";
            m_out.flush();
        });

    const QString& v = m_args.strVerb;
    if (v == QLatin1String("export"))
        return Export();
    if (v == QLatin1String("build"))
        return Build();
    if (v == QLatin1String("send"))
        return Send();
    if (v == QLatin1String("command"))
        return Command();
    if (v == QLatin1String("ports"))
        return Ports();
    return Save();
}

bool CCliTool::LoadProjectOrSay(int* pExit)
{
    if (!QFileInfo::exists(m_strProjectPath))
    {
        *pExit = Usage(QStringLiteral("no project file %1").arg(m_strProjectPath));
        return false;
    }
    const KxProjectLoad load = LoadProject(m_strProjectPath, false);
    if (load.eStatus != KxProjectLoad::Loaded)
    {
        *pExit = Usage(QStringLiteral("cannot read the project file %1: %2")
                           .arg(m_strProjectPath, load.strError));
        return false;
    }
    return true;
}

CGsmCard* CCliTool::PickCard(int* pExit)
{
    if (m_args.nCard >= g_cardList.size())
    {
        *pExit = Usage(QStringLiteral("--card %1: the project %2 has %3 card(s)")
                           .arg(m_args.nCard)
                           .arg(m_strProjectPath)
                           .arg(g_cardList.size()));
        return nullptr;
    }
    return g_cardList[m_args.nCard];
}

void CCliTool::SetUpLink()
{
    if (!m_args.lstPorts.isEmpty())
    {
        const QStringList ports = m_args.lstPorts;
        KxSetPortLister([ports] { return ports; });
    }
    if (m_args.nTime > 0)
        g_nTime = m_args.nTime;
    KxSetSendProgress(
        [this](const KxSendStep& step)
        {
            if (step.nCommand == 0)
            {
                m_err << "looking for the device on " << step.strPort << "\n";
            }
            else
            {
                if (step.nCards > 0)
                    m_err << "card " << step.nCard << " of " << step.nCards << ", ";
                m_err << "command " << step.nCommand << " of " << step.nCommands;
                if (!step.strTarget.isEmpty())
                    m_err << ", target " << step.strTarget;
                m_err << "\n";
            }
            m_err.flush();
        });
}

int CCliTool::Export()
{
    int nExit = kExitOk;
    if (!LoadProjectOrSay(&nExit))
        return nExit;
    const QString strOut = m_args.strOut.isEmpty() ? QStringLiteral("gsm_inst.txt") : m_args.strOut;

    int nMessages = 0;
    const QByteArray listing = ExportListing(g_cardList, m_args.bAll, &nMessages);
    QSaveFile file(strOut);
    if (!file.open(QIODevice::WriteOnly) || file.write(listing) != listing.size() || !file.commit())
    {
        m_err << "kxgsm: cannot write " << strOut << ": " << file.errorString() << "\n";
        return kExitFailed;
    }
    if (nMessages == 0)
    {
        m_err << QStringLiteral("未选中内容!") << "\n";
        return kExitNothingSelected;
    }
    return kExitOk;
}

int CCliTool::Build()
{
    const QString what = m_args.lstOperands.first();
    const QStringList rest = m_args.lstOperands.mid(1);

    // Builders over the card's fields need the project; the others do not.
    using CardBuild = std::function<int(const CGsmCard&, QString*)>;
    const QMap<QString, CardBuild> cardBuilders = {
        {"screen", [](const CGsmCard& c, QString* p) { return c.BuildScreenCommand(p); }},
        {"zones", [](const CGsmCard& c, QString* p) { return c.BuildZoneCommand(p); }},
        {"bind-cancel", [](const CGsmCard& c, QString* p) { return c.BuildBindCommand(p, 0); }},
        {"bind-update", [](const CGsmCard& c, QString* p) { return c.BuildBindCommand(p, 1); }},
        {"timed-brightness",
         [](const CGsmCard& c, QString* p) { return c.BuildTimedBrightnessCommand(p); }},
        {"timed-power", [](const CGsmCard& c, QString* p) { return c.BuildTimedPowerCommand(p); }},
    };
    using FreeBuild = std::function<int(QString*, const QList<int>&)>;
    struct Free
    {
        int nArgs;
        FreeBuild fn;
    };
    const QMap<QString, Free> freeBuilders = {
        {"version", {0, [](QString* p, const QList<int>&) { return BuildVersionCommand(p); }}},
        {"reset-all", {0, [](QString* p, const QList<int>&) { return BuildResetAllCommand(p); }}},
        {"clock-layout",
         {0, [](QString* p, const QList<int>&) { return BuildClockZoneCommand(p); }}},
        {"time-layout", {0, [](QString* p, const QList<int>&) { return BuildTimeZoneCommand(p); }}},
        {"reset-zones",
         {0, [](QString* p, const QList<int>&) { return BuildResetZoneCommand(p); }}},
        {"clear-all", {0, [](QString* p, const QList<int>&) { return BuildDeleteCommand(p, -1); }}},
        {"delete",
         {1, [](QString* p, const QList<int>& a) { return BuildDeleteCommand(p, a[0]); }}},
        {"clock", {1, [](QString* p, const QList<int>& a) { return BuildClockCommand(p, a[0]); }}},
        {"brightness",
         {1, [](QString* p, const QList<int>& a) { return BuildBrightnessCommand(p, a[0]); }}},
        {"power", {1, [](QString* p, const QList<int>& a) { return BuildPowerCommand(p, a[0]); }}},
        {"echo",
         {2, [](QString* p, const QList<int>& a) { return BuildEchoCommand(p, a[0], a[1]); }}},
    };

    QString text;
    int nLength = -1;
    if (cardBuilders.contains(what))
    {
        if (!rest.isEmpty())
            return Usage(QStringLiteral("build %1 takes no argument").arg(what));
        int nExit = kExitOk;
        if (!LoadProjectOrSay(&nExit))
            return nExit;
        const CGsmCard* pCard = PickCard(&nExit);
        if (!pCard)
            return nExit;
        nLength = cardBuilders[what](*pCard, &text);
    }
    else if (freeBuilders.contains(what))
    {
        const Free& f = freeBuilders[what];
        if (rest.size() != f.nArgs)
            return Usage(QStringLiteral("build %1 takes %2 argument(s)").arg(what).arg(f.nArgs));
        QList<int> values;
        for (const QString& s : rest)
        {
            int n = 0;
            if (!CCliArgs::ParseInt(s, &n))
                return Usage(QStringLiteral("build %1: %2 is not a whole number").arg(what, s));
            values.append(n);
        }
        nLength = f.fn(&text, values);
    }
    else
    {
        return Usage(QStringLiteral("build: unknown command %1").arg(what));
    }

    if (nLength < 0)
        return kExitFailed;
    m_out << text << "\n";
    return kExitOk;
}

int CCliTool::Send()
{
    int nExit = kExitOk;
    if (!LoadProjectOrSay(&nExit))
        return nExit;
    SetUpLink();
    if (!SendCheckedCards(g_cardList))
        return kExitFailed;
    KxMessageBox(QString::fromUtf16(kSendDoneText), KxMsgIcon::Information);
    return kExitOk;
}

int CCliTool::Command()
{
    int nExit = kExitOk;
    if (!LoadProjectOrSay(&nExit))
        return nExit;
    CGsmCard* pCard = PickCard(&nExit);
    if (!pCard)
        return nExit;
    SetUpLink();

    const QString& strCmd = m_args.lstOperands.first();
    char reply[64] = {};
    const int bOk = pCard->SendCommand(strCmd, int(strCmd.size()), m_args.bReply ? reply : nullptr,
                                       m_args.bReply ? int(sizeof(reply)) : 0);
    if (m_args.bReply)
    {
        const qsizetype n = qstrnlen(reply, sizeof(reply));
        m_out << "reply: " << KxFromAnsi(QByteArrayView(reply, n)) << "\n";
    }
    return bOk ? kExitOk : kExitFailed;
}

int CCliTool::Ports()
{
    SetUpLink();
    for (const QString& port : KxListPorts())
        m_out << port << "\n";
    return kExitOk;
}

int CCliTool::Save()
{
    int nExit = kExitOk;
    if (!LoadProjectOrSay(&nExit))
        return nExit;
    QString strError;
    if (!SaveProject(m_args.strOut, &strError))
    {
        m_err << "kxgsm: cannot save " << m_args.strOut << ": " << strError << "\n";
        return kExitFailed;
    }
    return kExitOk;
}
