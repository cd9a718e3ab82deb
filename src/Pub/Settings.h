#pragma once

#include <QString>

// Program-wide settings values; all 0 until LoadSettings runs.
extern int g_nLang; // active user-interface language id ("LANG", default 2)
extern int g_nPkg;  // carried along unchanged ("PKG", default 256)
extern int g_nTime; // base reply time-out in ms ("TIME", default 1500)

// Optional "PORTS": the serial device paths to search, separated by "|".
// When the file has the key, the link searches exactly that list instead of
// the system's ports; the text is written back as it was read.
extern bool g_bPortsSet;
extern QString g_strPorts;

// The settings file of a program: its full path with ".ini" appended.
QString SettingsPathFor(const QString& strExecutablePath);

// Reads section "App" of the INI file; a missing file or key gives the
// default, a key whose text is no number reads as 0.
void LoadSettings(const QString& strPath);

// Writes LANG, PKG and TIME (and PORTS when it was read) into section
// "App", creating the file when needed; other keys of the file are kept as
// they are. Returns whether the file could be written.
bool SaveSettings(const QString& strPath);
