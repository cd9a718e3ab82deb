#include "SimDevice.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{
const int kFrameGapMs = 30;

bool IsSuccess(const QByteArray& reply)
{
    return qstricmp(reply.constData(), "E:000") == 0 || qstricmp(reply.constData(), "OK") == 0;
}

QString Printable(const QString& strText)
{
    QString text;
    for (QChar c : strText)
    {
        if (c == u'\r')
            text += QStringLiteral("\\r");
        else if (c == u'\n')
            text += QStringLiteral("\\n");
        else if (c.unicode() < 0x20)
            text += QString::asprintf("\\x%02x", c.unicode());
        else
            text += c;
    }
    return text;
}
} // namespace

CSimDevice::CSimDevice(const Options& options)
    : m_options(options), m_card(options.nCardType, options.strVersion, options.limits)
{
}

CSimDevice::~CSimDevice()
{
    if (!m_options.strLink.isEmpty() && QFileInfo(m_options.strLink).isSymLink())
        QFile::remove(m_options.strLink);
    if (m_nSlave >= 0)
        ::close(m_nSlave);
    if (m_nMaster >= 0)
        ::close(m_nMaster);
}

bool CSimDevice::Open(QString* pError)
{
    m_nMaster = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_nMaster < 0 || ::grantpt(m_nMaster) != 0 || ::unlockpt(m_nMaster) != 0)
    {
        *pError = QStringLiteral("cannot create a pseudo-terminal: ") +
                  QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_strDevice = QString::fromLocal8Bit(::ptsname(m_nMaster));
    m_nSlave = ::open(::ptsname(m_nMaster), O_RDWR | O_NOCTTY);
    if (m_nSlave < 0)
    {
        *pError = QStringLiteral("cannot open ") + m_strDevice;
        return false;
    }
    // Raw until the program configures the line itself: no echo, no line editing.
    termios tio{};
    if (::tcgetattr(m_nSlave, &tio) == 0)
    {
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B115200);
        ::tcsetattr(m_nSlave, TCSANOW, &tio);
    }
    ::fcntl(m_nMaster, F_SETFL, ::fcntl(m_nMaster, F_GETFL) | O_NONBLOCK);

    if (!m_options.strLink.isEmpty())
    {
        const QFileInfo link(m_options.strLink);
        if (link.isSymLink())
            QFile::remove(m_options.strLink);
        else if (link.exists())
        {
            *pError = m_options.strLink + QStringLiteral(" exists and is no symbolic link");
            m_options.strLink.clear();
            return false;
        }
        if (!QFile::link(m_strDevice, m_options.strLink))
        {
            *pError = QStringLiteral("cannot link ") + m_options.strLink;
            m_options.strLink.clear();
            return false;
        }
    }
    if (!m_options.strLog.isEmpty())
    {
        m_log.setFileName(m_options.strLog);
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        {
            *pError = QStringLiteral("cannot write ") + m_options.strLog;
            return false;
        }
    }
    WriteState();
    return true;
}

void CSimDevice::Run(volatile std::sig_atomic_t* pStop)
{
    QElapsedTimer clock;
    clock.start();
    QByteArray frame;
    qint64 nLastByte = 0;
    while (!*pStop)
    {
        int nTimeout = 500;
        if (!frame.isEmpty())
            nTimeout = int(qMax<qint64>(0, nLastByte + kFrameGapMs - clock.elapsed()));
        for (const Due& due : std::as_const(m_lstDue))
            nTimeout = int(qMin<qint64>(nTimeout, qMax<qint64>(0, due.nAt - clock.elapsed())));

        pollfd pfd{m_nMaster, POLLIN, 0};
        const int nReady = ::poll(&pfd, 1, nTimeout);
        if (nReady < 0 && errno != EINTR)
            break;
        if (nReady > 0 && (pfd.revents & POLLIN))
        {
            char buffer[4096];
            const ssize_t n = ::read(m_nMaster, buffer, sizeof(buffer));
            if (n > 0)
            {
                frame.append(buffer, n);
                nLastByte = clock.elapsed();
            }
        }
        else if (nReady > 0 && (pfd.revents & (POLLHUP | POLLERR)))
        {
            ::usleep(10000); // cannot happen while we hold the slave; do not spin
        }

        if (!frame.isEmpty() && clock.elapsed() - nLastByte >= kFrameGapMs)
        {
            QString strNote;
            const SimFrame decoded = DecodeFrame(frame);
            const QByteArray answer = Answer(decoded, &strNote);
            if (!answer.isEmpty())
                m_lstDue.append(Due{clock.elapsed() + m_options.nDelay, answer});
            if (m_log.isOpen())
            {
                QString strLine =
                    QDateTime::currentDateTime().toString(Qt::ISODateWithMs) +
                    QStringLiteral(" #%1 %2 bytes: ").arg(m_nFrames).arg(frame.size()) +
                    QString::fromLatin1(frame.toHex(' ')) + QStringLiteral(" | ") +
                    decoded.strEncoding + u' ' + Printable(decoded.strText) +
                    QStringLiteral(" -> ") +
                    (answer.isEmpty() ? QStringLiteral("(no answer)")
                                      : Printable(QString::fromLatin1(answer)));
                if (!strNote.isEmpty())
                    strLine += QStringLiteral(" (") + strNote + u')';
                m_log.write(strLine.toUtf8() + '\n');
                m_log.flush();
            }
            WriteState();
            frame.clear();
        }

        for (int i = 0; i < m_lstDue.size();)
        {
            if (m_lstDue[i].nAt > clock.elapsed())
            {
                ++i;
                continue;
            }
            const QByteArray bytes = m_lstDue.takeAt(i).bytes;
            if (::write(m_nMaster, bytes.constData(), size_t(bytes.size())) < 0)
                break;
        }
    }
}

QByteArray CSimDevice::Answer(const SimFrame& frame, QString* pNote)
{
    ++m_nFrames;
    m_strLastEncoding = frame.strEncoding;
    if (frame.eKind == SimFrame::SetupEntry)
    {
        *pNote = QStringLiteral("setup entry");
        if (m_options.bSilent)
            return QByteArray();
        if (!m_options.bDtu)
        {
            *pNote += QStringLiteral(", ignored by a card");
            return QByteArray();
        }
        return "OK";
    }

    ++m_nCommands;
    *pNote = QStringLiteral("command %1").arg(m_nCommands);
    m_strLastText = frame.strText;
    QString strCommand = frame.strText;
    if (m_options.bDtu)
    {
        QString strNumber;
        if (!SplitDtuText(frame.strText, &strNumber, &strCommand))
        {
            *pNote += QStringLiteral(", no number: not forwarded");
            return QByteArray();
        }
        m_strLastNumber = strNumber;
        if (strNumber.isEmpty() ||
            (m_options.bNumbersSet && !m_options.numbers.contains(strNumber)))
        {
            *pNote += QStringLiteral(", number not reached");
            return QByteArray();
        }
    }
    if (m_options.bSilent)
        return QByteArray();

    QByteArray reply;
    const auto failure = m_options.fails.constFind(m_nCommands);
    const bool bQuery = m_card.Execute(strCommand, false).startsWith("VER:");
    if (failure != m_options.fails.cend())
        reply = *failure;
    else if (m_options.bReplySet && !bQuery)
        reply = m_options.reply;
    else
        reply = m_card.Execute(strCommand);
    if ((failure != m_options.fails.cend() || (m_options.bReplySet && !bQuery)) && IsSuccess(reply))
        m_card.Execute(strCommand); // a forced success is carried out
    m_lastReply = reply;
    return reply;
}

void CSimDevice::WriteState()
{
    if (m_options.strState.isEmpty())
        return;
    QJsonObject state = m_card.ToJson();
    state.insert(QStringLiteral("device"), m_strDevice);
    state.insert(QStringLiteral("mode"), m_options.bDtu ? "dtu" : "card");
    state.insert(QStringLiteral("frames"), m_nFrames);
    state.insert(QStringLiteral("commands"), m_nCommands);
    state.insert(QStringLiteral("lastText"), m_strLastText);
    state.insert(QStringLiteral("lastNumber"), m_strLastNumber);
    state.insert(QStringLiteral("lastEncoding"), m_strLastEncoding);
    state.insert(QStringLiteral("lastReply"), QString::fromLatin1(m_lastReply));
    // Written whole and renamed into place, so a reader never sees half of it.
    QSaveFile file(m_options.strState);
    if (file.open(QIODevice::WriteOnly))
    {
        file.write(QJsonDocument(state).toJson());
        file.commit();
    }
}
