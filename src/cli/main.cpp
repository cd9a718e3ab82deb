// kxgsm-cn / kxgsm-en: the command-line tool over the core.
#include "cli/CliTool.h"

#include "ObjectData/Global.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    int nExit = 0;
    {
        CCliTool tool(out, err, QCoreApplication::applicationDirPath());
        nExit = tool.Run(app.arguments().mid(1));
    }
    out.flush();
    err.flush();
    RemoveAllCards();
    FreeCommandList();
    return nExit;
}
