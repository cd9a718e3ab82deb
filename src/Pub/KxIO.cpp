#include "Pub/KxIO.h"

#include "ObjectData/CardCommands.h"
#include "Pub/KxClock.h"
#include "Pub/KxCodePage.h"
#include "Pub/KxDtuSetup.h"
#include "Pub/KxLinkText.h"
#include "Pub/KxPortList.h"
#include "Pub/KxSendProgress.h"
#include "Pub/KxStr.h"
#include "Pub/KxTrace.h"
#include "Pub/Settings.h"

#include <cstring>

namespace
{
const int kOk = 42018;
const int kCommError = 42030;
const int kNoDevice = 42031;
const int kUnknownReply = 42039;
const int kReadBack = 42029;

const int kWaitAfterWrite = 1000;
const int kDtuExtraWait = 3000;
const int kProbeReplySize = 48;
const int kDtuReplySize = 32;

bool IsDtuMode(int nMode)
{
    return nMode == 1 || nMode == 3;
}

bool IsWideMode(int nMode)
{
    return nMode == 2 || nMode == 3;
}

// The reply table: whole-reply rows ignore the case of ASCII letters, the
// rows that look for a text inside the reply do not. First match decides.
int ResultIdOfReply(const char* pszReply)
{
    if (!*pszReply)
        return kCommError;
    struct Row
    {
        const char* pszShort;
        const char* pszLong;
        int nId;
    };
    static const Row s_rows[] = {
        {"E000", "E:000", kOk},   {"E002", "E:002", 42019}, {"E004", "E:004", 42020},
        {"E005", "E:005", 42021}, {"E006", "E:006", 42038}, {"E007", "E:007", 42022},
        {"E008", "E:008", 42023}, {"E009", "E:009", 42024}, {"E010", "E:010", 42025},
        {"E020", "E:020", 42026}, {"E021", "E:021", 42027}, {"E110", "E:110", 42028},
    };
    if (qstricmp(pszReply, "OK") == 0)
        return kOk;
    for (const Row& row : s_rows)
        if (qstricmp(pszReply, row.pszShort) == 0 || qstricmp(pszReply, row.pszLong) == 0)
            return row.nId;
    if (std::strstr(pszReply, "VER:"))
        return kOk;
    if (std::strstr(pszReply, "RX:"))
        return kReadBack;
    return kUnknownReply;
}
} // namespace

CKxIO::CKxIO() = default;
CKxIO::~CKxIO() = default;

void CKxIO::Wait(int nMs)
{
    // A cancel is noted, never acted on here: the exchange under way runs to
    // its end, so what the card got and answered is known, and the next
    // exchange is not started (SendCmd, OpenPort).
    if (!KxClock()->Sleep(nMs))
        m_bCancelled = true;
}

int CKxIO::EnumPorts()
{
    m_arrPorts = KxListPorts();
    return int(m_arrPorts.size());
}

void CKxIO::Close()
{
    if (m_hPort)
        m_hPort->Close();
    m_hPort.reset();
}

void CKxIO::ConfigPort()
{
    if (m_hPort)
        m_hPort->Configure();
}

bool CKxIO::OpenNamedPort(const QString& strName)
{
    Close();
    if (strName.isEmpty())
        return false; // a link that never found a port remembers none
    std::unique_ptr<CKxPort> pPort = KxCreatePort();
    if (!pPort)
        return false;
    if (!pPort->Open(strName))
    {
        const QString strLine = strName + QStringLiteral(": ") + pPort->GetOpenError();
        if (!m_lstPortErrors.contains(strLine))
            m_lstPortErrors.append(strLine);
        return false;
    }
    m_hPort = std::move(pPort);
    return true;
}

bool CKxIO::OpenPort(int nMode)
{
    m_nResultId = kNoDevice;
    m_nMode = nMode;
    Close();
    m_lstPortErrors.clear();
    m_bCancelled = false;

    KxSendStep step;
    step.strPort = m_strPort;
    if (OpenNamedPort(m_strPort))
    {
        KxReportSendStep(step);
        if (!Probe())
            Close();
    }
    if (m_hPort)
        return true;
    if (m_bCancelled)
    {
        m_nResultId = KX_STR_SEND_CANCELLED;
        return false;
    }

    EnumPorts();
    for (const QString& strName : std::as_const(m_arrPorts))
    {
        m_strPort = strName;
        if (!OpenNamedPort(strName))
            continue;
        step.strPort = strName;
        KxReportSendStep(step);
        if (Probe())
            return true;
        Close();
        if (m_bCancelled)
        {
            m_nResultId = KX_STR_SEND_CANCELLED;
            return false;
        }
    }
    if (m_arrPorts.isEmpty())
        m_lstPortErrors.append(KxLinkString(KX_STR_NO_PORTS));
    return false;
}

bool CKxIO::Probe()
{
    return IsDtuMode(m_nMode) ? ProbeDtu() : ProbeSerial();
}

bool CKxIO::ProbeExchange(const QByteArray& bytes, int nReadSize, char* pReply)
{
    m_nResultId = kCommError;
    if (!m_hPort)
        return false;
    ConfigPort();
    m_hPort->Purge();
    if (m_hPort->Write(bytes.constData(), bytes.size()) != bytes.size())
        return false;
    Wait(kWaitAfterWrite);
    return m_hPort->Read(pReply, nReadSize) >= 0;
}

bool CKxIO::ProbeSerial()
{
    // The query is built in buffers of 32 bytes and 32 units, terminator
    // included; the terminator is not sent.
    QString strQuery;
    BuildVersionCommand(&strQuery);
    const QByteArray bytes =
        m_nMode == 2 ? KxToUtf16Le(QStringView(strQuery).left(31)) : KxToAnsi(strQuery).left(31);
    char szReply[64] = {};
    if (!ProbeExchange(bytes, kProbeReplySize, szReply))
        return false;
    const bool bFound = std::strstr(szReply, "VER:VI-DAR") != nullptr;
    qCDebug(kxLink, "Probe[%s]::%s\n", qUtf8Printable(m_strPort), bFound ? "VER" : "-");
    return bFound;
}

bool CKxIO::ProbeDtu()
{
    const QByteArray setup = KxDtuSetupText();
    const QByteArray bytes = m_nMode == 3
                                 ? QByteArray(8, '\0') + KxToUtf16Le(QString::fromLatin1(setup))
                                 : QByteArray(4, '\0') + setup;
    char szReply[64] = {};
    if (!ProbeExchange(bytes, kDtuReplySize, szReply))
        return false;
    const bool bFound =
        std::strstr(szReply, "OK") != nullptr || std::memcmp(szReply, "O\0K\0", 4) == 0;
    qCDebug(kxLink, "Probe[%s]::%s\n", qUtf8Printable(m_strPort), bFound ? "OK" : "-");
    return bFound;
}

bool CKxIO::SendCmd(const QString* pTarget, const QString& strCmd, int nLength, char* pReply,
                    int nSize)
{
    m_nResultId = kCommError;
    if (strCmd.isEmpty() || nLength < 1)
        return false;
    if (m_bCancelled)
    {
        m_nResultId = KX_STR_SEND_CANCELLED;
        return false;
    }

    const bool bDtu = IsDtuMode(m_nMode);
    QString strText = strCmd.left(nLength);
    if (bDtu && pTarget)
    {
        // A command cut short to fit the send buffer could do something
        // else on the card than the user asked for: refuse it whole.
        if (pTarget->size() + strText.size() > kMaxDtuUnits)
        {
            qCDebug(kxLink, "Cmd too long for the DTU[%d units]\n",
                    int(pTarget->size() + strText.size()));
            return false;
        }
        strText = *pTarget + u',' + strText;
    }
    const QByteArray bytes = IsWideMode(m_nMode) ? KxToUtf16Le(strText) : KxToAnsi(strText);

    if (!m_hPort)
        return false;
    m_hPort->Purge();
    const qint64 nWritten = m_hPort->Write(bytes.constData(), bytes.size());
    if (nWritten != bytes.size())
        return false;
    qCDebug(kxLink, "Cmd[%dBytes]::%s\n", int(nWritten), qUtf8Printable(strText));

    Wait(kWaitAfterWrite);
    qint64 nTimeout = qMax(0, g_nTime);
    if (bDtu)
    {
        Wait(kDtuExtraWait);
        nTimeout *= 10;
    }

    std::memset(m_szRecv, 0, sizeof(m_szRecv));
    const quint32 nStart = KxClock()->GetTickCount();
    for (;;)
    {
        // Checked between reads only: a reply that arrives during the last
        // read still counts.
        if (qint64(quint32(KxClock()->GetTickCount() - nStart)) > nTimeout)
        {
            qCDebug(kxLink, "通讯超时 %d \r\n", int(nTimeout));
            return false;
        }
        const qint64 nRead = m_hPort->Read(m_szRecv, kRecvSize - 1);
        if (nRead < 0)
            return false;
        if (pReply && nSize > 0)
            std::strncpy(pReply, m_szRecv, size_t(qMin<qint64>(nRead, nSize)));
        if (nRead > 0)
            return DecodeReply(m_szRecv);
        Wait(0);
    }
}

bool CKxIO::DecodeReply(const char* pszReply)
{
    if (!pszReply)
        pszReply = "";
    m_nResultId = ResultIdOfReply(pszReply);
    m_strReply = KxFromAnsi(QByteArrayView(pszReply, qsizetype(std::strlen(pszReply))));
    qCDebug(kxLink, "Ret:%s\t\tdwErr=%s\n", qUtf8Printable(m_strReply),
            qUtf8Printable(CKxStr(m_nResultId).GetText()));
    return m_nResultId == kOk || m_nResultId == kReadBack;
}

QString CKxIO::GetResultText() const
{
    QString strText = KxLinkString(m_nResultId);
    if (m_nResultId == kNoDevice)
        for (const QString& strLine : m_lstPortErrors)
            strText += QStringLiteral("\r\n") + strLine;
    return strText;
}
