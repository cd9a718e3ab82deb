#pragma once

#include <QString>

// The project's version number, read from the project file at start-up and
// written back unchanged at exit; 0 when no project was read.
extern int g_nProjectVer;

// What LoadProject found.
struct KxProjectLoad
{
    enum Status
    {
        Loaded,    // the file's cards are in g_cardList
        Missing,   // no file yet (first run): one default card, nothing to tell
        Unreadable // the file could not be used: one default card, see below
    };
    Status eStatus = Missing;
    // Unreadable: why the file could not be used, and, when keeping it aside
    // failed too, why.
    QString strError;
    // Unreadable: the path the file was moved to, so the next save cannot
    // destroy it; empty when it could not be moved.
    QString strKeptAs;
};

// "default.gsmprj" in the given program folder.
QString DefaultProjectPath(const QString& strProgramDir);

// Replaces the contents of g_cardList with the cards of the project file, or
// with one new card when there is no usable file, and sets g_nProjectVer. An
// existing file that cannot be used is first renamed to
// "<name>.unreadable-<yyyyMMdd-HHmmss>" beside it.
// With bKeepAside false an unusable file is left where it is (for tools
// that only read a project and must never move the user's file).
KxProjectLoad LoadProject(const QString& strPath, bool bKeepAside = true);

// Writes g_cardList and g_nProjectVer to the project file. The file is
// replaced only when the whole document was written; on failure the previous
// file is left as it was, the result is false and *pError (when given) holds
// the reason.
bool SaveProject(const QString& strPath, QString* pError);
