#pragma once

#include "Pub/KxPort.h"

#include <QString>
#include <QStringList>

#include <memory>

// The serial link of one card: finds the card or its DTU on a serial port,
// sends one command at a time and decodes the reply. Each card holds its own
// link, so each remembers the port it was last found on. A link is closed
// between send actions; every operation is synchronous.
//
// Operations return a flag and leave the outcome in GetResultId(), a UI
// string id (42018..42039 as the card's reply table gives them, 42030 when
// nothing could be exchanged, 42031 when no port opened, KX_STR_SEND_CANCELLED
// when the user cancelled during a wait). They never show a message.
class CKxIO
{
public:
    static const int kRecvSize = 128;    // receive buffer; a reply is at most 127 bytes
    static const int kSendUnits = 512;   // DTU text "target,command" incl. comma and end
    static const int kMaxDtuUnits = 510; // target plus command in a DTU mode

    CKxIO();
    virtual ~CKxIO();
    CKxIO(const CKxIO&) = delete;
    CKxIO& operator=(const CKxIO&) = delete;

    // Finds a port on which a card (modes 0 and 2) or a DTU (modes 1 and 3)
    // answers: the remembered port first, then every listed port. Leaves it
    // open and remembered. False when none answers.
    bool OpenPort(int nMode);
    // Closes the port if one is open; safe on a closed link.
    void Close();
    // Refills the port list (see KxListPorts) and returns its size.
    int EnumPorts();
    // 115200 baud 8N1 on the open port; errors are ignored.
    void ConfigPort();
    bool Probe();       // ProbeSerial in modes 0 and 2, ProbeDtu in modes 1 and 3
    bool ProbeSerial(); // the version query; "VER:VI-DAR" in the answer
    bool ProbeDtu();    // the DTU setup entry; "OK" in the answer

    // Writes one command (in the DTU modes "target,command" when a target
    // is given), waits and decodes the reply. True only for a success row of
    // the reply table. When pReply is given, the raw reply bytes are copied
    // into it like strncpy with min(bytes read, nSize): no terminator is
    // added beyond that count. The port stays open.
    bool SendCmd(const QString* pTarget, const QString& strCmd, int nLength, char* pReply = nullptr,
                 int nSize = 0);
    // Decodes a reply (8-bit text up to its first zero byte) by the reply
    // table; sets the result id and the reply text.
    bool DecodeReply(const char* pszReply);

    int GetResultId() const { return m_nResultId; }
    const QString& GetReply() const { return m_strReply; }

    // The message of the result id; for 42031 followed by one line per port
    // that could not be opened and why ("\r\n" before each line).
    QString GetResultText() const;
    // Those lines of the last OpenPort ("path: reason"), or one line saying
    // that no port is listed at all.
    const QStringList& GetPortErrors() const { return m_lstPortErrors; }

    // The user cancelled during a wait of this send action. The exchange
    // under way still ran to its end; every further SendCmd fails at once
    // until the next OpenPort, and a search stops after the probe under way.
    bool IsCancelled() const { return m_bCancelled; }
    bool IsOpen() const { return m_hPort != nullptr; }
    int GetMode() const { return m_nMode; }
    const QString& GetPort() const { return m_strPort; }
    const QStringList& GetPortList() const { return m_arrPorts; }

private:
    bool OpenNamedPort(const QString& strName);
    // Configures, purges, writes, waits and reads once into pReply (zeroed,
    // room for more than nReadSize bytes).
    bool ProbeExchange(const QByteArray& bytes, int nReadSize, char* pReply);
    void Wait(int nMs);

    std::unique_ptr<CKxPort> m_hPort; // the open port; null when closed
    int m_nMode = 0;
    int m_nResultId = 0;
    QString m_strReply;
    QStringList m_arrPorts;
    QString m_strPort;
    char m_szRecv[kRecvSize] = {};
    QStringList m_lstPortErrors;
    bool m_bCancelled = false;
};
