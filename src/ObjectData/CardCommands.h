#pragma once

#include <QDateTime>
#include <QString>

// Card commands that take all their input as arguments. Each writes the
// command text into *pCmd and returns its length in characters, or -1 when
// pCmd is null.

int BuildVersionCommand(QString* pCmd);
int BuildClockZoneCommand(QString* pCmd);
int BuildTimeZoneCommand(QString* pCmd);
int BuildResetZoneCommand(QString* pCmd);
int BuildResetAllCommand(QString* pCmd);

// Deletes message nId (0..399); any other ID builds the clear-all command.
int BuildDeleteCommand(QString* pCmd, int nId);

// Sets the card's clock to the PC's local time plus nAdvance seconds.
int BuildClockCommand(QString* pCmd, int nAdvance);
int BuildClockCommand(QString* pCmd, int nAdvance, const QDateTime& now);

// Level 0..9 as a digit, 10 and above as "A" + (level - 10).
int BuildBrightnessCommand(QString* pCmd, int nLevel);

// State 0 is black-screen power off, any other state powers on.
int BuildPowerCommand(QString* pCmd, int nState);

int BuildEchoCommand(QString* pCmd, int nBuzzerMode, int nEchoLevel);

// Helpers shared by the builders.
QString KxCommandHead(const char16_t* pszKeyword);
int KxEmitCommand(QString* pCmd, const QString& strText);
