#pragma once

#include "cli/CliArgs.h"

#include <QString>
#include <QTextStream>

class CGsmCard;

// The command-line tool: export, build, send, command, ports and save over
// the same core as the GUI, with the GUI's message boxes printed as records.
class CCliTool
{
public:
    // Exit codes of the tool.
    enum
    {
        kExitOk = 0,
        kExitFailed = 1,
        kExitUsage = 2,
        kExitNothingSelected = 3
    };

    CCliTool(QTextStream& out, QTextStream& err, const QString& strProgramDir);

    int Run(const QStringList& args);

    static QString UsageText();

private:
    int Usage(const QString& strWhy);
    // Loads the project of --project (or the default one) without ever
    // falling back to a default project or moving the file.
    bool LoadProjectOrSay(int* pExit);
    // The card of --card in the loaded project.
    CGsmCard* PickCard(int* pExit);
    void SetUpLink();

    int Export();
    int Build();
    int Send();
    int Command();
    int Ports();
    int Save();

    QTextStream& m_out;
    QTextStream& m_err;
    QString m_strProgramDir;
    QString m_strProjectPath;
    CCliArgs m_args;
};
