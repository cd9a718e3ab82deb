// The command-line tool end to end: export, build, save and the usage errors.
#include "tst_files.h"
#include "tst_sim_process.h"

#include <QtTest>

namespace
{
#ifdef KX_COMMAND_SET_EN
const char kSet[] = "en";
#else
const char kSet[] = "cn";
#endif

struct Run
{
    int nExit = -1;
    QByteArray out;
    QByteArray err;
};

Run Tool(const QStringList& args, const QString& strDir = QString())
{
    QProcess p;
    if (!strDir.isEmpty())
        p.setWorkingDirectory(strDir);
    p.start(QStringLiteral(KX_BIN_DIR "/kxgsm-") + kSet, args);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.nExit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString Data(const char* name)
{
    return QStringLiteral(KX_TEST_DATA_DIR "/") + QString::fromLatin1(name);
}

QString Head(const char* cn, const char* en)
{
#ifdef KX_COMMAND_SET_EN
    Q_UNUSED(cn);
    return QStringLiteral("*#1") + QString::fromUtf8(en);
#else
    Q_UNUSED(en);
    return QStringLiteral("朔禾") + QString::fromUtf8(cn);
#endif
}
} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void exportMatchesTheListing_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("selected") << false;
        QTest::newRow("all") << true;
    }
    void exportMatchesTheListing()
    {
        QFETCH(bool, all);
        QTemporaryDir dir;
        QStringList args{"export", "--project", Data("cli-project.gsmprj")};
        if (all)
            args << "--all";
        const Run r = Tool(args, dir.path()); // --out defaults to the current folder
        QCOMPARE(r.nExit, 0);
        QVERIFY(r.out.isEmpty());
        const QString expected =
            QStringLiteral("cli-export-%1-%2.txt").arg(kSet, all ? "all" : "selected");
        QCOMPARE(KxTestRead(dir.filePath("gsm_inst.txt")), KxTestRead(Data(qPrintable(expected))));
    }

    void exportWithNothingSelected()
    {
        QTemporaryDir dir;
        // One card, not ticked: only the byte-order mark is written.
        const QString project = KxTestWrite(
            dir.filePath("p.gsmprj"),
            "<?xml version=\"1.0\"?><project><gsmcard><nm>x</nm><chk>0</chk></gsmcard></project>");
        const QString out = dir.filePath("listing.txt");
        const Run r = Tool({"export", "--project", project, "--out", out});
        QCOMPARE(r.nExit, 3);
        QCOMPARE(QString::fromUtf8(r.err).trimmed(), QStringLiteral("未选中内容!"));
        QCOMPARE(KxTestRead(out), QByteArray("\xff\xfe"));
    }

    void build_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("line");
        const QString project = Data("cli-project.gsmprj");
        QTest::newRow("version") << QStringList{"build", "version"} << Head("版本", "FVER");
        QTest::newRow("delete 400 clears")
            << QStringList{"build", "delete", "400"} << Head("清空", "HALL999");
        QTest::newRow("delete 7") << QStringList{"build", "delete", "7"}
                                  << Head("删除", "GDEL") + "007";
        QTest::newRow("brightness")
            << QStringList{"build", "brightness", "15"} << Head("亮度", "JLIT") + "F";
        QTest::newRow("echo") << QStringList{"build", "echo", "1", "3"}
                              << Head("回显", "PECH") + "13";
        QTest::newRow("screen of card 0") << QStringList{"build", "screen", "--project", project}
                                          << Head("屏参", "LSET") + "0128x032,201410";
        QTest::newRow("zones of card 2")
            << QStringList{"build", "zones", "--card", "2", "--project", project}
            << Head("分区", "MZON") + "2:0,0,32,32|32,0,64,32|";
        QTest::newRow("bind update") << QStringList{"build", "bind-update", "--project", project}
                                     << Head("绑定", "SBDP") + "1+8613800000000|";
        QTest::newRow("timed power defaults")
            << QStringList{"build", "timed-power", "--project", project}
            << Head("定时开关", "KSLA") + "1:0:00,23:59|";
    }
    void build()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, line);
        const Run r = Tool(args);
        QCOMPARE(r.nExit, 0);
        QCOMPARE(QString::fromUtf8(r.out), line + "\n");
    }

    void buildPowerDiffersBySet()
    {
        const Run r = Tool({"build", "power", "0"});
        QCOMPARE(r.nExit, 0);
#ifdef KX_COMMAND_SET_EN
        QCOMPARE(QString::fromUtf8(r.out), QStringLiteral("*#1KSLP000\n"));
#else
        QCOMPARE(QString::fromUtf8(r.out), QStringLiteral("朔禾关机\n"));
#endif
    }

    void saveRoundTrip()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.gsmprj");
        const QString b = dir.filePath("b.gsmprj");
        QCOMPARE(Tool({"save", "--project", Data("cli-project.gsmprj"), "--out", a}).nExit, 0);
        QCOMPARE(Tool({"save", "--project", a, "--out", b}).nExit, 0);
        QCOMPARE(KxTestRead(a), KxTestRead(b));
        QVERIFY(KxTestRead(a).contains("<project ver=\"7\">"));

        // What was saved exports exactly as the original.
        const QString out = dir.filePath("x.txt");
        QCOMPARE(Tool({"export", "--all", "--project", a, "--out", out}).nExit, 0);
        QCOMPARE(KxTestRead(out),
                 KxTestRead(Data(qPrintable(QStringLiteral("cli-export-%1-all.txt").arg(kSet)))));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("no verb") << QStringList{} << "no verb";
        QTest::newRow("unknown verb") << QStringList{"frobnicate"} << "frobnicate";
        QTest::newRow("missing project")
            << QStringList{"export", "--project", "/nonexistent/p.gsmprj"}
            << "/nonexistent/p.gsmprj";
        QTest::newRow("card out of range")
            << QStringList{"build", "screen",    "--card",
                           "3",     "--project", Data("cli-project.gsmprj")}
            << "--card 3";
        QTest::newRow("card not a number")
            << QStringList{"build", "screen", "--card", "x"} << "--card";
        QTest::newRow("option of another verb") << QStringList{"export", "--reply"} << "--reply";
        QTest::newRow("argument not a number") << QStringList{"build", "delete", "abc"} << "abc";
        QTest::newRow("missing argument") << QStringList{"build", "echo", "1"} << "echo";
        QTest::newRow("unknown build") << QStringList{"build", "nothing"} << "nothing";
        QTest::newRow("save without out") << QStringList{"save"} << "--out";
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, mentions);
        const Run r = Tool(args);
        QCOMPARE(r.nExit, 2);
        QVERIFY2(QString::fromUtf8(r.err).contains(mentions), r.err.constData());
        QVERIFY(r.out.isEmpty());
    }

    void unreadableProjectIsNeitherReplacedNorMoved()
    {
        QTemporaryDir dir;
        const QString path = KxTestWrite(dir.filePath("broken.gsmprj"), "<project><gsmcard>");
        const Run r = Tool({"export", "--project", path, "--out", dir.filePath("o.txt")});
        QCOMPARE(r.nExit, 2);
        QVERIFY(QString::fromUtf8(r.err).contains(path));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"broken.gsmprj"});
    }

    void helpAndVersion()
    {
        const Run help = Tool({"--help"});
        QCOMPARE(help.nExit, 0);
        QVERIFY(help.out.contains("export"));
        QVERIFY(help.out.contains("command TEXT"));
        const Run version = Tool({"--version"});
        QCOMPARE(version.nExit, 0);
        QVERIFY(version.out.startsWith(QByteArray("kxgsm-") + kSet));
    }

    // The toolbar's send against a simulated card: every box the GUI would
    // show comes out as a record, and progress goes to stderr.
    void sendThroughTheSimulator()
    {
        CSimProcess sim;
        QVERIFY(sim.Start());
        const Run r = Tool({"send", "--project", Data("cli-project.gsmprj"), "--port",
                            "/dev/kx-no-such-port", "--port", sim.Device(), "--time", "300"});
        QCOMPARE(QString::fromUtf8(r.out), QStringLiteral("information: 指令执行成功!\n"
                                                          "information: 指令执行成功!\n"
                                                          "information: 已完成发送\n"));
        QCOMPARE(r.nExit, 0);
        const QString err = QString::fromUtf8(r.err);
        QVERIFY2(err.contains("card 1 of 2, command 3 of 3"), r.err.constData());
        QVERIFY(err.contains("card 2 of 2, command 1 of 1"));
        // The card holds what the listing holds: three messages of the first
        // card, then the clock of the third over ID 000.
        QVERIFY(sim.LogLines().size() >= 6);
    }

    void sendStopsAtTheFirstFailingCard()
    {
        CSimProcess sim;
        // Frame 1 is the probe; frames 2 and 3 are the first command and its retry.
        QVERIFY(sim.Start({"--fail", "2=E:002", "--fail", "3=E:002"}));
        const Run r = Tool({"send", "--project", Data("cli-project.gsmprj"), "--port", sim.Device(),
                            "--time", "300"});
        QCOMPARE(r.nExit, 1);
        // The line names the last command that failed: with message 000 refused,
        // the card refuses its continuation 001 as out of order.
        const QString failed =
            QStringLiteral("E110:追加信息时，顺序错误，或出现没有原始信息直接追加的情况。, ") +
            (Head("完整", "E") + "001").left(5) + "...\r\n \r\n";
        QCOMPARE(QString::fromUtf8(r.out), "information: " + failed + "\n");
    }

    void commandWithReply()
    {
        CSimProcess sim;
        QVERIFY(sim.Start());
        const Run r =
            Tool({"command", Head("版本", "FVER"), "--project", Data("cli-project.gsmprj"),
                  "--port", sim.Device(), "--time", "300", "--reply"});
        QCOMPARE(r.nExit, 0);
        const QStringList lines = QString::fromUtf8(r.out).split(u'\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("information: 指令执行成功!"));
        QVERIFY2(lines[1].startsWith("reply: VER:VI-DAR"), qPrintable(lines[1]));
    }

    void commandRejected()
    {
        CSimProcess sim;
        QVERIFY(sim.Start({"--fail", "2=E:004"}));
        const Run r = Tool({"command", Head("亮度", "JLIT") + "5", "--project",
                            Data("cli-project.gsmprj"), "--port", sim.Device(), "--time", "300"});
        QCOMPARE(r.nExit, 1);
        QCOMPARE(
            QString::fromUtf8(r.out),
            QStringLiteral(
                "information: "
                "E004:指令参数错误，即指令格式完全正确，但是参数属于协议规定外的字符。 E:004\n"));
    }

    void noDeviceFound()
    {
        const Run r = Tool({"command", "x", "--project", Data("cli-project.gsmprj"), "--port",
                            "/dev/kx-no-such-port"});
        QCOMPARE(r.nExit, 1);
        const QString out = QString::fromUtf8(r.out);
        QVERIFY2(out.startsWith(QStringLiteral("error: 未能在串口出找到通信设备!")),
                 r.out.constData());
        QVERIFY(out.contains("/dev/kx-no-such-port"));
    }

    void portsFollowTheGivenList()
    {
        const Run r = Tool({"ports", "--port", "/dev/ttyUSB7", "--port", "/dev/ttyS0"});
        QCOMPARE(r.nExit, 0);
        QCOMPARE(r.out, QByteArray("/dev/ttyUSB7\n/dev/ttyS0\n"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
