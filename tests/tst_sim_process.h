#pragma once

// Runs kxgsm-sim for a test: starts it with a log (and a state file) in a
// temporary folder, learns its device path, and can talk to the line raw,
// waiting on the simulator's log rather than on the clock.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

class CSimProcess
{
public:
    CSimProcess() = default;
    ~CSimProcess() { Stop(); }
    CSimProcess(const CSimProcess&) = delete;
    CSimProcess& operator=(const CSimProcess&) = delete;

    // Starts the simulator with these options (plus --log, --state and
    // --link in the temporary folder). False when it did not come up.
    bool Start(const QStringList& options = QStringList())
    {
        m_process.setProgram(QStringLiteral(KX_BIN_DIR "/kxgsm-sim"));
        m_process.setArguments(options + QStringList{QStringLiteral("--log"), LogPath(),
                                                     QStringLiteral("--state"), StatePath(),
                                                     QStringLiteral("--link"), LinkPath()});
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (!m_process.waitForStarted(10000))
            return false;
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(10000))
                return false;
        m_strDevice = QString::fromUtf8(m_process.readLine()).trimmed();
        return !m_strDevice.isEmpty();
    }
    void Stop()
    {
        CloseLine();
        if (m_process.state() != QProcess::NotRunning)
        {
            m_process.terminate();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    const QString& Device() const { return m_strDevice; }
    QString LinkPath() const { return m_dir.filePath(QStringLiteral("card")); }
    QString LogPath() const { return m_dir.filePath(QStringLiteral("sim.log")); }
    QString StatePath() const { return m_dir.filePath(QStringLiteral("state.json")); }
    QProcess& Process() { return m_process; }

    QStringList LogLines() const
    {
        QFile file(LogPath());
        if (!file.open(QIODevice::ReadOnly))
            return QStringList();
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    QJsonObject State() const
    {
        QFile file(StatePath());
        if (!file.open(QIODevice::ReadOnly))
            return QJsonObject();
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    // The line itself, raw, for talking to the simulator byte by byte.
    bool OpenLine()
    {
        m_nLine = ::open(QFile::encodeName(m_strDevice).constData(), O_RDWR | O_NOCTTY);
        if (m_nLine < 0)
            return false;
        termios tio{};
        ::tcgetattr(m_nLine, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_nLine, TCSANOW, &tio);
        return true;
    }
    void CloseLine()
    {
        if (m_nLine >= 0)
            ::close(m_nLine);
        m_nLine = -1;
    }

    // Writes one frame and returns the answer; empty when the simulator's
    // log says it gave none. Waits (up to 20 s) for the log line first.
    QByteArray Exchange(const QByteArray& bytes)
    {
        const int nBefore = int(LogLines().size());
        if (::write(m_nLine, bytes.constData(), size_t(bytes.size())) != bytes.size())
            return QByteArray("(write failed)");
        QElapsedTimer timer;
        timer.start();
        while (LogLines().size() == nBefore && timer.elapsed() < 20000)
            QThread::msleep(5);
        if (LogLines().size() == nBefore)
            return QByteArray("(not handled)");
        if (LogLines().last().contains(QStringLiteral("-> (no answer)")))
            return QByteArray();
        // Read until the answer is in and the line has gone quiet.
        QByteArray answer;
        while (timer.elapsed() < 20000)
        {
            pollfd pfd{m_nLine, POLLIN, 0};
            if (::poll(&pfd, 1, answer.isEmpty() ? 100 : 50) <= 0)
            {
                if (!answer.isEmpty())
                    break;
                continue;
            }
            char buffer[256];
            const ssize_t n = ::read(m_nLine, buffer, sizeof(buffer));
            if (n > 0)
                answer.append(buffer, n);
        }
        return answer;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_strDevice;
    int m_nLine = -1;
};
