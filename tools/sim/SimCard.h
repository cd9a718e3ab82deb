#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The simulated control card: it carries out command texts of either
// command set and keeps what the sign would show. The checks are our reading
// of the card's reply codes; RulesText() lists them.
class CSimCard
{
public:
    struct Limits
    {
        int nMaxWidth = 1600;
        int nMaxHeight = 128;
        int nMaxPoints = 131072;
    };

    CSimCard();
    CSimCard(int nCardType, const QString& strVersion, const Limits& limits);

    // Carries out one command text and returns the card's answer, or an
    // empty text when the card stays silent (no command header). With
    // bExecute false the command is only checked, the state stays as it is.
    QByteArray Execute(const QString& strText, bool bExecute = true);

    // The command set ("CN" or "EN") of the last command with a header.
    const QString& LastCommandSet() const { return m_strLastSet; }

    QJsonObject ToJson() const;

    static QString RulesText();

    struct Zone
    {
        int nX, nY, nCx, nCy;
    };
    struct Message
    {
        QString strAttributes; // the eight attribute characters
        QString strBody;
    };

private:
    void Reset();
    QByteArray Run(const QString& strText, bool bExecute);

    int m_nCardType = 0;
    QString m_strVersion;
    Limits m_limits;
    QString m_strLastSet;
    int m_nAccepted = 0;

    // The sign.
    int m_nWidth = 64;
    int m_nHeight = 32;
    int m_nColorType = 1; // as sent: 1 single colour, 2 two colours, 3 full colour
    int m_nDataPolarity = 0;
    int m_nOePolarity = 1;
    int m_nScanCode = 0;
    int m_nRowOrder = 0;
    QList<Zone> m_lstZones;
    QMap<int, Message> m_mapMessages;
    QStringList m_lstBound;
    QString m_strClock; // "yyyy-MM-dd HH:mm:ss" as last set, empty until then
    int m_nDayOfWeek = 0;
    int m_nBrightness = 15;
    bool m_bPowerOn = true;
    QList<QList<int>> m_lstTimedBrightness; // start hour, end hour, level
    QStringList m_lstTimedPower;            // "h:mm-h:mm"
    int m_nBuzzer = 0;
    int m_nEcho = 2;
};
