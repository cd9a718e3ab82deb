#pragma once

#include "SimCard.h"
#include "SimFrame.h"

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>

#include <csignal>

// The simulator's side of a pseudo-terminal: collects the bytes the program
// writes into frames (a frame ends when the line has been quiet for a short
// while), answers each as a card or a DTU with a card behind it would, and
// keeps a log and the card's state on request.
class CSimDevice
{
public:
    struct Options
    {
        bool bDtu = false;
        bool bSilent = false;
        int nDelay = 0;         // ms before every answer
        bool bReplySet = false; // --reply: one answer for every command
        QByteArray reply;
        QMap<int, QByteArray> fails; // command number -> answer ("" is silence)
        bool bNumbersSet = false;    // --numbers: the DTU numbers that reach the card
        QStringList numbers;
        QString strLog;
        QString strState;
        QString strLink;
        int nCardType = 0;
        QString strVersion = QStringLiteral("V5.5");
        CSimCard::Limits limits;
    };

    explicit CSimDevice(const Options& options);
    ~CSimDevice();
    CSimDevice(const CSimDevice&) = delete;
    CSimDevice& operator=(const CSimDevice&) = delete;

    // Creates the pseudo-terminal (and the link to it); false with a reason.
    bool Open(QString* pError);
    const QString& DevicePath() const { return m_strDevice; }

    // Serves the line until *pStop is set (by a signal handler).
    void Run(volatile std::sig_atomic_t* pStop);

private:
    QByteArray Answer(const SimFrame& frame, QString* pNote);
    void OnFrame(const QByteArray& bytes);
    void WriteState();

    Options m_options;
    CSimCard m_card;
    int m_nMaster = -1;
    int m_nSlave = -1; // held so the line stays up while the program has it closed
    QString m_strDevice;
    QFile m_log;
    int m_nFrames = 0;
    int m_nCommands = 0;
    QString m_strLastText;
    QString m_strLastNumber;
    QString m_strLastEncoding;
    QByteArray m_lastReply;

    struct Due
    {
        qint64 nAt;
        QByteArray bytes;
    };
    QList<Due> m_lstDue;
};
