#pragma once

#include <QMap>
#include <QString>

#include <optional>

// One language the user can choose: a language file found at start-up, or
// the built-in language (empty path).
struct CLanguageRecord
{
    int nId = 0;     // the file's "id" (2052 for the built-in language)
    QString strName; // the file's "name", shown in the language menu
    QString strPath; // the file's full path; empty for the built-in language
};

// The language menu: command id -> language, ids from kFirstLanguageCommand
// in the order the files were found, the built-in language last. Empty when
// no language file was found, so it holds either nothing or at least two
// entries.
extern QMap<int, CLanguageRecord> g_langMap;

inline constexpr int kFirstLanguageCommand = 1134;
inline constexpr int kBuiltinLanguageId = 2052;

// Language files larger than this are not read: a real one is a few
// kilobytes, and each is loaded whole.
inline constexpr qint64 kMaxLanguageFileBytes = 2 * 1024 * 1024;
// A menu entry longer than this is cut.
inline constexpr int kMaxLanguageNameLength = 100;

// Fills g_langMap from the files "Language/*.dll" in the program's folder
// (file names in alphabetical order, the extension in any letter case). A
// file that is no XML document with the root "UIString" is left out.
void ScanLanguageFiles(const QString& strProgramDir);

// The path of the language behind a menu command: empty for the built-in
// language, nothing for an unknown command.
std::optional<QString> GetLanguagePath(int nCommand);

// The language id behind a menu command, or 0 when the command is unknown.
int GetLanguageId(int nCommand);
