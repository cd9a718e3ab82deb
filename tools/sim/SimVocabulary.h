#pragma once

#include <QList>
#include <QString>

// What a command asks the card to do, whatever its command set.
enum class SimCmd
{
    Screen,
    Version,
    Zone,
    ClockZone,
    TimeZone,
    ResetZone,
    ResetAll,
    Bind,
    Delete,
    ClearAll,
    Clock,
    Brightness,
    PowerOn,
    PowerOff,
    Power, // one keyword and a three-digit state (English set)
    TimedBrightness,
    TimedPower,
    Echo,
    Message,
};

struct SimKeyword
{
    QString strWord;
    SimCmd eCmd;
};

// One command set: its name ("CN" or "EN"), header and keywords, the longest
// keyword first so that a prefix never hides a longer word.
struct SimCommandSet
{
    QString strName;
    QString strHeader;
    QList<SimKeyword> keywords;
};

// Both command sets, Chinese first.
const QList<SimCommandSet>& SimCommandSets();
