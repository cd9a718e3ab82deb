#include "ObjectData/CardCommands.h"

#include "ObjectData/Vocabulary.h"

QString KxCommandHead(const char16_t* pszKeyword)
{
    return QString::fromUtf16(CMD_HEADER) + QString::fromUtf16(pszKeyword);
}

int KxEmitCommand(QString* pCmd, const QString& strText)
{
    if (!pCmd)
        return -1;
    *pCmd = strText;
    return int(strText.size());
}

int BuildVersionCommand(QString* pCmd)
{
    return KxEmitCommand(pCmd, KxCommandHead(CMD_VERSION));
}

int BuildClockZoneCommand(QString* pCmd)
{
    return KxEmitCommand(pCmd, KxCommandHead(CMD_CLOCK_ZONE));
}

int BuildTimeZoneCommand(QString* pCmd)
{
    return KxEmitCommand(pCmd, KxCommandHead(CMD_TIME_ZONE));
}

int BuildResetZoneCommand(QString* pCmd)
{
    return KxEmitCommand(pCmd, KxCommandHead(CMD_RESET_ZONE));
}

int BuildResetAllCommand(QString* pCmd)
{
    return KxEmitCommand(pCmd, KxCommandHead(CMD_RESET_ALL));
}

int BuildDeleteCommand(QString* pCmd, int nId)
{
    if (nId < 0 || nId > 399)
        return KxEmitCommand(pCmd, KxCommandHead(CMD_CLEAR_ALL));
    return KxEmitCommand(pCmd, KxCommandHead(CMD_DELETE) + QString::asprintf("%03d", nId));
}

int BuildClockCommand(QString* pCmd, int nAdvance)
{
    return BuildClockCommand(pCmd, nAdvance, QDateTime::currentDateTime());
}

int BuildClockCommand(QString* pCmd, int nAdvance, const QDateTime& now)
{
    const QDateTime t = now.addSecs(nAdvance);
    const QDate d = t.date();
    const QTime tm = t.time();
    // QDate counts Monday 1 to Sunday 7, exactly as the card does.
    return KxEmitCommand(pCmd, KxCommandHead(CMD_CLOCK) +
                                   QString::asprintf("%04d%02d%02d%02d%02d%02d%d", d.year(),
                                                     d.month(), d.day(), tm.hour(), tm.minute(),
                                                     tm.second(), d.dayOfWeek()));
}

int BuildBrightnessCommand(QString* pCmd, int nLevel)
{
    QString text = KxCommandHead(CMD_BRIGHTNESS);
    if (nLevel < 10)
        text += QString::number(nLevel);
    else
        text += QChar(char16_t(u'A' + (nLevel - 10)));
    return KxEmitCommand(pCmd, text);
}

int BuildPowerCommand(QString* pCmd, int nState)
{
    QString text = KxCommandHead(nState != 0 ? CMD_POWER_ON : CMD_POWER_OFF);
    if (CMD_POWER_TAKES_STATE)
        text += QString::asprintf("%03d", nState);
    return KxEmitCommand(pCmd, text);
}

int BuildEchoCommand(QString* pCmd, int nBuzzerMode, int nEchoLevel)
{
    return KxEmitCommand(pCmd,
                         KxCommandHead(CMD_ECHO) + QString::asprintf("%d%d", nBuzzerMode, nEchoLevel));
}
