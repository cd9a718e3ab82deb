// The card simulator as a program talks to it: its reading of the reply
// codes, both command sets in both encodings, the DTU, fault injection, the
// log and the state it writes.
#include "ObjectData/CardCommands.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "Pub/KxCodePage.h"
#include "Pub/KxDtuSetup.h"
#include "tst_sim_process.h"

#include <QJsonArray>
#include <QtTest>

namespace
{
QByteArray Encode(const QString& strText, bool bWide)
{
    return bWide ? KxToUtf16Le(strText) : KxToAnsi(strText);
}
} // namespace

class TestSim : public QObject
{
    Q_OBJECT

private slots:
    void replyRules_data()
    {
        QTest::addColumn<QStringList>("before"); // accepted commands first
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wide");
        QTest::addColumn<QByteArray>("reply");
        const QStringList none;
        const QString big = QStringLiteral("朔禾屏参0128x064,101000");
        auto row = [&](const char* pszName, const QStringList& before, const QString& text,
                       bool bWide, const QByteArray& reply)
        { QTest::newRow(pszName) << before << text << bWide << reply; };

        row("no header: silence", none, QStringLiteral("hello"), false, QByteArray());
        row("unknown CN keyword", none, QStringLiteral("朔禾乱码"), false, "E:002");
        row("unknown EN keyword", none, QStringLiteral("*#1ZZZZ"), true, "E:002");
        row("screen", none, big, true, "E:000");
        row("screen, short", none, QStringLiteral("*#1LSET128x064,101000"), false, "E:010");
        row("screen, letter", none, QStringLiteral("*#1LSET0a28x064,101000"), false, "E:005");
        row("screen, colour 4", none, QStringLiteral("*#1LSET0128x064,401000"), false, "E:004");
        row("screen, scan 99", none, QStringLiteral("朔禾屏参0128x064,101990"), false, "E:004");
        row("screen, too wide", none, QStringLiteral("*#1LSET2000x032,101000"), false, "E:007");
        row("screen, too high", none, QStringLiteral("*#1LSET0064x200,101000"), false, "E:008");
        row("screen, too many points", none, QStringLiteral("朔禾屏参1600x128,101000"), false,
            "E:009");
        row("zones", none, QStringLiteral("朔禾分区2:0,0,32,32|32,0,32,32|"), true, "E:000");
        row("zone under 16", none, QStringLiteral("*#1MZON1:0,0,8,16|"), false, "E:020");
        row("zone off the screen", none, QStringLiteral("朔禾分区1:48,0,32,32|"), false, "E:020");
        row("zones overlap", none, QStringLiteral("朔禾分区2:0,0,32,32|16,0,32,32|"), false,
            "E:021");
        row("five zones", none, QStringLiteral("*#1MZON5:0,0,16,16|"), false, "E:004");
        row("zone count and entries differ", none, QStringLiteral("*#1MZON2:0,0,32,32|"), false,
            "E:005");
        row("clock-face layout", none, QStringLiteral("朔禾表盘分区"), false, "E:000");
        row("time layout, 64 wide", none, QStringLiteral("*#1NZAB"), false, "E:006");
        row("time layout, 128 wide", {big}, QStringLiteral("朔禾时间分区"), true, "E:000");
        row("reset all with parameters", none, QStringLiteral("朔禾复位1"), false, "E:010");
        row("bind", none, QStringLiteral("朔禾绑定1+8613800000000|13900000000|"), false, "E:000");
        row("bind option 2", none, QStringLiteral("*#1SBDP2138|"), false, "E:004");
        row("bind letters", none, QStringLiteral("*#1SBDP1abc|"), false, "E:005");
        row("bind nine numbers", none, QStringLiteral("*#1SBDP11|2|3|4|5|6|7|8|9|"), false,
            "E:004");
        row("delete 400", none, QStringLiteral("朔禾删除400"), false, "E:004");
        row("delete, 1 digit", none, QStringLiteral("*#1GDEL5"), false, "E:010");
        row("clock", none, QStringLiteral("朔禾校时202401021304052"), false, "E:000");
        row("clock, month 13", none, QStringLiteral("*#1ITIM202413021304052"), false, "E:004");
        row("brightness A", none, QStringLiteral("*#1JLITA"), false, "E:000");
        row("brightness G", none, QStringLiteral("朔禾亮度G"), false, "E:004");
        row("brightness 10", none, QStringLiteral("朔禾亮度10"), false, "E:010");
        row("power 002", none, QStringLiteral("*#1KSLP002"), false, "E:004");
        row("timed brightness, hour 24", none, QStringLiteral("朔禾定时调亮1:0,24,0|"), false,
            "E:004");
        row("timed power, minute 60", none, QStringLiteral("*#1KSLA1:0:60,23:59|"), false, "E:004");
        row("timed power, no minutes", none, QStringLiteral("*#1KSLA1:0,23|"), false, "E:005");
        row("echo 1 4", none, QStringLiteral("朔禾回显14"), false, "E:004");
        row("message 001 without 000", none, QStringLiteral("*#1E00102101000Hi"), false, "E:110");
        row("message 001 after 000", {QStringLiteral("*#1E00002101000Hi")},
            QStringLiteral("朔禾完整00102101000欢迎"), true, "E:000");
        row("message colour 4", none, QStringLiteral("*#1E00002104000Hi"), false, "E:004");
        row("message type C", none, QStringLiteral("*#1E000C2101000Hi"), false, "E:004");
        row("message over 200", none, QStringLiteral("*#1E00002101000") + QString(186, u'x'), false,
            "E:010");
        row("message ID with a letter", none, QStringLiteral("*#1E0a002101000Hi"), false, "E:005");
    }
    void replyRules()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, text);
        QFETCH(bool, wide);
        QFETCH(QByteArray, reply);
        CSimProcess sim;
        QVERIFY(sim.Start());
        QVERIFY(sim.OpenLine());
        for (const QString& strBefore : before)
            QCOMPARE(sim.Exchange(Encode(strBefore, false)), QByteArray("E:000"));
        QCOMPARE(sim.Exchange(Encode(text, wide)), reply);
    }

    void programCommandsAreAccepted_data()
    {
        QTest::addColumn<bool>("wide");
        QTest::newRow("GBK") << false;
        QTest::newRow("UTF-16LE") << true;
    }
    void programCommandsAreAccepted()
    {
        // Everything this build sends for a new card and the panels' defaults.
        QFETCH(bool, wide);
        CGsmCard card;
        card.SetBindPhones(QStringLiteral("13800000000|"));
        QStringList commands;
        QString cmd;
        auto take = [&](int nLength)
        {
            if (nLength > 0)
                commands.append(cmd);
        };
        take(BuildVersionCommand(&cmd));
        take(card.BuildScreenCommand(&cmd));
        take(card.BuildZoneCommand(&cmd));
        take(card.BuildBindCommand(&cmd, 1));
        take(card.BuildBindCommand(&cmd, 0));
        take(card.BuildTimedBrightnessCommand(&cmd));
        take(card.BuildTimedPowerCommand(&cmd));
        take(BuildClockCommand(&cmd, 5));
        take(BuildBrightnessCommand(&cmd, 10));
        take(BuildPowerCommand(&cmd, 0));
        take(BuildPowerCommand(&cmd, 1));
        take(BuildEchoCommand(&cmd, 1, 3));
        take(BuildClockZoneCommand(&cmd));
        take(BuildResetZoneCommand(&cmd));
        take(BuildDeleteCommand(&cmd, 5));
        take(BuildDeleteCommand(&cmd, -1));
        CGsmPage text(&card);
        text.SetContent(QString(190, u'字')); // two commands, 000 and 001
        text.BuildCommands(&commands, 0);
        CGsmPage clock(&card);
        clock.SetType(2);
        clock.SetTimeFormat(QStringLiteral("%H:%m:%S"));
        clock.BuildCommands(&commands, 2);
        take(BuildResetAllCommand(&cmd));

        CSimProcess sim;
        QVERIFY(sim.Start());
        QVERIFY(sim.OpenLine());
        for (const QString& strCmd : std::as_const(commands))
        {
            const QByteArray reply = sim.Exchange(Encode(strCmd, wide));
            QVERIFY2(reply == "E:000" || reply.startsWith("VER:VI-DAR"),
                     qPrintable(strCmd + QStringLiteral(" -> ") + QString::fromLatin1(reply)));
        }
        QCOMPARE(sim.State().value(QStringLiteral("accepted")).toInt(), commands.size());
    }

    void stateFile()
    {
        CSimProcess sim;
        QVERIFY(sim.Start());
        QVERIFY(sim.OpenLine());
        const QStringList commands{QStringLiteral("朔禾屏参0160x032,311412"),
                                   QStringLiteral("朔禾分区2:0,0,96,32|96,0,64,32|"),
                                   QStringLiteral("朔禾完整000A2101100"),
                                   QStringLiteral("*#1E001B2101000%H:%m"),
                                   QStringLiteral("朔禾关机"),
                                   QStringLiteral("朔禾绑定1138|139|")};
        for (const QString& strCmd : commands)
            QCOMPARE(sim.Exchange(Encode(strCmd, true)), QByteArray("E:000"));
        const QJsonObject state = sim.State();
        const QJsonObject screen = state.value(QStringLiteral("screen")).toObject();
        QCOMPARE(screen.value(QStringLiteral("width")).toInt(), 160);
        QCOMPARE(screen.value(QStringLiteral("colorType")).toInt(), 3);
        QCOMPARE(screen.value(QStringLiteral("scanCode")).toInt(), 41);
        QCOMPARE(screen.value(QStringLiteral("rowOrder")).toInt(), 2);
        const QJsonArray zones = state.value(QStringLiteral("zones")).toArray();
        QCOMPARE(zones.size(), 2);
        QCOMPARE(zones[1].toObject().value(QStringLiteral("x")).toInt(), 96);
        const QJsonObject messages = state.value(QStringLiteral("messages")).toObject();
        QCOMPARE(messages.keys(), (QStringList{QStringLiteral("000"), QStringLiteral("001")}));
        QCOMPARE(messages.value(QStringLiteral("000"))
                     .toObject()
                     .value(QStringLiteral("type"))
                     .toString(),
                 QStringLiteral("A"));
        QCOMPARE(messages.value(QStringLiteral("001"))
                     .toObject()
                     .value(QStringLiteral("body"))
                     .toString(),
                 QStringLiteral("%H:%m"));
        QCOMPARE(state.value(QStringLiteral("power")).toString(), QStringLiteral("off"));
        QCOMPARE(state.value(QStringLiteral("bound")).toArray().size(), 2);
        QCOMPARE(state.value(QStringLiteral("commandSet")).toString(), QStringLiteral("CN"));
        QCOMPARE(state.value(QStringLiteral("lastEncoding")).toString(),
                 QStringLiteral("UTF-16LE"));
    }

    void dtu()
    {
        CSimProcess sim;
        QVERIFY(sim.Start(
            {QStringLiteral("--dtu"), QStringLiteral("--numbers"), QStringLiteral("138|+86139")}));
        QVERIFY(sim.OpenLine());
        const QByteArray setup = KxDtuSetupText();
        QCOMPARE(sim.Exchange(QByteArray(4, '\0') + setup), QByteArray("OK"));
        QCOMPARE(sim.Exchange(QByteArray(8, '\0') + KxToUtf16Le(QString::fromLatin1(setup))),
                 QByteArray("OK"));
        QVERIFY(sim.Exchange(Encode(QStringLiteral("138,*#1FVER"), true)).startsWith("VER:VI-DAR"));
        QCOMPARE(sim.Exchange(Encode(QStringLiteral("+86139,朔禾亮度3"), false)),
                 QByteArray("E:000"));
        QCOMPARE(sim.Exchange(Encode(QStringLiteral("140,朔禾亮度3"), false)), QByteArray());
        QCOMPARE(sim.Exchange(Encode(QStringLiteral(",朔禾亮度3"), false)), QByteArray());
        QCOMPARE(sim.Exchange(Encode(QStringLiteral("朔禾亮度3"), false)), QByteArray());
        QCOMPARE(sim.State().value(QStringLiteral("lastNumber")).toString(), QString());
        QCOMPARE(sim.State().value(QStringLiteral("brightness")).toInt(), 3);

        // A card alone does not know the setup entry.
        CSimProcess card;
        QVERIFY(card.Start());
        QVERIFY(card.OpenLine());
        QCOMPARE(card.Exchange(QByteArray(4, '\0') + setup), QByteArray());
    }

    void faults()
    {
        CSimProcess sim;
        QVERIFY(sim.Start({QStringLiteral("--fail"), QStringLiteral("2=E:002"),
                           QStringLiteral("--fail"), QStringLiteral("3="), QStringLiteral("--fail"),
                           QStringLiteral("4=E:000\\r\\n"), QStringLiteral("--delay"),
                           QStringLiteral("200")}));
        QVERIFY(sim.OpenLine());
        const QByteArray bright = Encode(QStringLiteral("朔禾亮度3"), false);
        QCOMPARE(sim.Exchange(bright), QByteArray("E:000"));
        QCOMPARE(sim.Exchange(Encode(QStringLiteral("朔禾亮度4"), false)), QByteArray("E:002"));
        QCOMPARE(sim.State().value(QStringLiteral("brightness")).toInt(), 3); // not carried out
        QCOMPARE(sim.Exchange(bright), QByteArray());
        QCOMPARE(sim.Exchange(bright), QByteArray("E:000\r\n"));
        const QStringList log = sim.LogLines();
        QCOMPARE(log.size(), 4);
        QVERIFY2(log[0].contains(QStringLiteral(
                     "#1 9 bytes: cb b7 ba cc c1 c1 b6 c8 33 | GBK 朔禾亮度3 -> E:000")),
                 qPrintable(log[0]));
        QVERIFY(log[3].contains(QStringLiteral("-> E:000\\r\\n")));
    }

    void forcedReplies_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("brightness");
        QTest::newRow("an error leaves the state")
            << QStringList{QStringLiteral("--reply"), QStringLiteral("E:007")}
            << QByteArray("E:007") << 15;
        QTest::newRow("a success carries it out")
            << QStringList{QStringLiteral("--reply"), QStringLiteral("ok")} << QByteArray("ok")
            << 4;
        QTest::newRow("silent") << QStringList{QStringLiteral("--silent")} << QByteArray() << 15;
    }
    void forcedReplies()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, reply);
        QFETCH(int, brightness);
        CSimProcess sim;
        QVERIFY(sim.Start(options));
        QVERIFY(sim.OpenLine());
        const QByteArray version = sim.Exchange(Encode(QStringLiteral("*#1FVER"), false));
        QCOMPARE(version.startsWith("VER:VI-DAR"), !options.contains(QStringLiteral("--silent")));
        QCOMPARE(sim.Exchange(Encode(QStringLiteral("*#1JLIT4"), false)), reply);
        QCOMPARE(sim.State().value(QStringLiteral("brightness")).toInt(), brightness);
    }

    void linkAndHelp()
    {
        CSimProcess sim;
        QVERIFY(sim.Start({QStringLiteral("--card-type"), QStringLiteral("1")}));
        QCOMPARE(QFileInfo(sim.LinkPath()).symLinkTarget(), sim.Device());
        QVERIFY(sim.OpenLine());
        QCOMPARE(sim.Exchange(Encode(QStringLiteral("朔禾版本"), false)),
                 QByteArray("VER:VI-DAR VI-DAD-A21 V5.5"));
        sim.Stop();
        QVERIFY(!QFileInfo::exists(sim.LinkPath())); // the link goes with the simulator
        QCOMPARE(sim.Process().exitStatus(), QProcess::NormalExit);

        QProcess help;
        help.start(QStringLiteral(KX_BIN_DIR "/kxgsm-sim"), {QStringLiteral("--help")});
        QVERIFY(help.waitForFinished(10000));
        const QString text = QString::fromUtf8(help.readAllStandardOutput());
        for (const char* psz : {"E:021", "E:110", "--fail", "--state", "--link", "--dtu"})
            QVERIFY2(text.contains(QLatin1String(psz)), psz);

        QProcess bad;
        bad.start(QStringLiteral(KX_BIN_DIR "/kxgsm-sim"),
                  {QStringLiteral("--fail"), QStringLiteral("x")});
        QVERIFY(bad.waitForFinished(10000));
        QCOMPARE(bad.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
