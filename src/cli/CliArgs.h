#pragma once

#include <QString>
#include <QStringList>

// The command line of the tool, checked before anything is done: the verb,
// its operands and the options that verb takes.
struct CCliArgs
{
    QString strVerb;         // "export", "build", ... ("help" without one)
    QStringList lstOperands; // WHAT and its arguments, or the command text
    QString strProject;      // --project; empty: default.gsmprj beside the tool
    QString strLanguage;     // --language (before the verb)
    QString strOut;          // --out
    QStringList lstPorts;    // --port, in the order given
    int nCard = 0;           // --card
    int nTime = -1;          // --time; -1: not given
    bool bAll = false;       // --all
    bool bReply = false;     // --reply

    // False with the reason in *pError when the line is no valid use.
    bool Parse(const QStringList& args, QString* pError);

    // A whole decimal number (an optional sign, then digits only).
    static bool ParseInt(const QString& strText, int* pValue);
};
