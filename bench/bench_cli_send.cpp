// Sends 20 messages to the simulated card in serial mode through the
// command-line tool and compares the whole time with the protocol's own
// floor: the probe's 1000 ms pause plus 1000 ms after every command.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace
{
const int kMessages = 20;

QByteArray Project()
{
    QByteArray doc = "<?xml version=\"1.0\"?>\n<project ver=\"0\"><gsmcard><nm>bench</nm><sm>0</sm>"
                     "<chk>1</chk><nw>128</nw><nh>32</nh><zone><x>0</x><y>0</y><cx>128</cx>"
                     "<cy>32</cy></zone>";
    for (int i = 0; i < kMessages; ++i)
        doc += "<gsmpage><chk>1</chk><cont>message " + QByteArray::number(i) + "</cont></gsmpage>";
    return doc + "</gsmcard></project>\n";
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString bin = QStringLiteral(KX_BIN_DIR);
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("bench.gsmprj"));
    QFile f(project);
    if (!f.open(QIODevice::WriteOnly) || f.write(Project()) < 0)
        return 1;
    f.close();

    QProcess sim;
    sim.start(bin + QStringLiteral("/kxgsm-sim"), QStringList());
    if (!sim.waitForStarted(10000) || !sim.waitForReadyRead(10000))
    {
        std::fprintf(stderr, "kxgsm-sim did not start\n");
        return 1;
    }
    const QString device = QString::fromUtf8(sim.readLine()).trimmed();

    QProcess tool;
    QElapsedTimer clock;
    clock.start();
    tool.start(bin + QStringLiteral("/kxgsm-cn"),
               {QStringLiteral("send"), QStringLiteral("--project"), project,
                QStringLiteral("--port"), device});
    tool.waitForFinished(300000);
    const qint64 elapsed = clock.elapsed();
    sim.terminate();
    sim.waitForFinished(5000);

    const qint64 floor = 1000 + 1000LL * kMessages;
    std::printf("send of %d messages: exit %d, %lld ms; floor %lld ms; ratio %.3f\n", kMessages,
                tool.exitCode(), (long long)elapsed, (long long)floor, double(elapsed) / floor);
    std::fputs(tool.readAllStandardOutput().constData(), stdout);
    return tool.exitCode();
}
