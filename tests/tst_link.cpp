// The device link on a scripted port with virtual time: probe and command
// bytes, waits and time-outs, the reply table, the port search and the
// settings that steer it.
#include "Pub/KxCodePage.h"
#include "Pub/KxDtuSetup.h"
#include "Pub/KxIO.h"
#include "Pub/KxLinkText.h"
#include "Pub/KxPortList.h"
#include "Pub/KxSerialPort.h"
#include "Pub/KxTrace.h"
#include "Pub/Settings.h"
#include "tst_link_fake.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{
#ifdef KX_COMMAND_SET_EN
const char kQueryAnsi[] = "2a2331465645"
                          "52";
const char kQueryWide[] = "2a00230031004600560045005200";
#else
const char kQueryAnsi[] = "cbb7baccb0e6b1be";
const char kQueryWide[] = "1467be7948722c67";
#endif

QStringList g_traces;

void CaptureTrace(QtMsgType, const QMessageLogContext& context, const QString& strMsg)
{
    if (context.category && qstrcmp(context.category, "kx.link") == 0)
        g_traces.append(strMsg);
}

QByteArray Hex(const char* psz)
{
    return QByteArray::fromHex(psz);
}
} // namespace

class TestLink : public QObject
{
    Q_OBJECT

    std::unique_ptr<CFakeWorld> m_pWorld;
    std::unique_ptr<CFakeWorldScope> m_pScope;

    CFakeWorld& World() { return *m_pWorld; }

    // A link with its port open on a device at "A" in the given mode; the
    // record of the probe is cleared.
    std::shared_ptr<CFakeDevice> OpenOn(CKxIO& link, int nMode, const QByteArray& reply = "E:000")
    {
        auto pDev = World().Add(QStringLiteral("A"));
        pDev->fnAnswer = (nMode == 1 || nMode == 3) ? DtuAnswers(reply) : CardAnswers(reply);
        World().m_lstPorts = {QStringLiteral("A")};
        if (!link.OpenPort(nMode))
            return nullptr;
        pDev->writes.clear();
        pDev->writeTimes.clear();
        pDev->readSizes.clear();
        World().m_clock.m_lstSleeps.clear();
        return pDev;
    }

private slots:
    void init()
    {
        g_nTime = 1500;
        g_bPortsSet = false;
        g_strPorts.clear();
        m_pWorld = std::make_unique<CFakeWorld>();
        m_pScope = std::make_unique<CFakeWorldScope>(m_pWorld.get());
    }
    void cleanup()
    {
        m_pScope.reset();
        m_pWorld.reset();
    }

    void probeBytes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("readSize");
        const QByteArray setup = KxDtuSetupText();
        QTest::newRow("mode 0 version query, ANSI") << 0 << Hex(kQueryAnsi) << 48;
        QTest::newRow("mode 2 version query, UTF-16LE") << 2 << Hex(kQueryWide) << 48;
        QTest::newRow("mode 1 setup entry, 20 bytes") << 1 << QByteArray(4, '\0') + setup << 32;
        QTest::newRow("mode 3 setup entry, 40 bytes")
            << 3 << QByteArray(8, '\0') + KxToUtf16Le(QString::fromLatin1(setup)) << 32;
    }
    void probeBytes()
    {
        QFETCH(int, mode);
        QFETCH(QByteArray, bytes);
        QFETCH(int, readSize);
        auto pDev = World().Add(QStringLiteral("A"));
        pDev->fnAnswer = (mode == 1 || mode == 3) ? DtuAnswers() : CardAnswers();
        World().m_lstPorts = {QStringLiteral("A")};

        CKxIO link;
        QVERIFY(link.OpenPort(mode));
        QVERIFY(link.IsOpen());
        QCOMPARE(pDev->writes, QList<QByteArray>{bytes});
        QCOMPARE(pDev->nConfigures, 1);
        QCOMPARE(pDev->nPurges, 1);
        QCOMPARE(World().m_clock.m_lstSleeps, QList<int>{1000});
        QCOMPARE(pDev->readSizes, QList<qint64>{readSize});
        QCOMPARE(link.GetPort(), QStringLiteral("A"));
        QCOMPARE(link.GetReply(), QString()); // probes decode nothing
        link.Close();
        QVERIFY(!link.IsOpen());
        QCOMPARE(pDev->nCloses, 1);
        link.Close(); // safe on a closed link
        QCOMPARE(KxDtuSetupText().size(), 16);
    }

    void probeAnswers_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("found");
        QTest::newRow("version reply") << 0 << QByteArray("VER:VI-DAR VI-DAD-A21 V2.3") << true;
        QTest::newRow("version inside other text") << 2 << QByteArray("\r\nxxVER:VI-DAR") << true;
        QTest::newRow("other card maker") << 0 << QByteArray("VER:VI-DAD") << false;
        QTest::newRow("zero byte before it") << 0 << QByteArray("E\0VER:VI-DAR", 12) << false;
        QTest::newRow("beyond the 48 bytes read")
            << 0 << QByteArray(40, '.') + "VER:VI-DAR" << false;
        QTest::newRow("DTU OK with line ends") << 1 << QByteArray("\r\nOK\r\n") << true;
        QTest::newRow("DTU OK in UTF-16LE") << 3 << QByteArray("O\0K\0", 4) << true;
        QTest::newRow("DTU ok lower case") << 1 << QByteArray("ok") << false;
        QTest::newRow("DTU silent") << 3 << QByteArray() << false;
        QTest::newRow("card silent") << 0 << QByteArray() << false;
    }
    void probeAnswers()
    {
        QFETCH(int, mode);
        QFETCH(QByteArray, answer);
        QFETCH(bool, found);
        auto pDev = World().Add(QStringLiteral("A"));
        pDev->answers = {CFakeAnswer{answer, 900}};
        World().m_lstPorts = {QStringLiteral("A")};
        CKxIO link;
        QCOMPARE(link.OpenPort(mode), found);
        QCOMPARE(link.IsOpen(), found);
        if (!found)
        {
            // It opened, so the search ends in a failed exchange, not in "no device".
            QCOMPARE(link.GetResultId(), 42030);
            QCOMPARE(pDev->nCloses, pDev->nOpens);
        }
    }

    void probeWriteFailures_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::addColumn<int>("shortBy");
        QTest::addColumn<bool>("readFails");
        QTest::newRow("write fails") << true << 0 << false;
        QTest::newRow("short write") << false << 1 << false;
        QTest::newRow("read fails") << false << 0 << true;
    }
    void probeWriteFailures()
    {
        QFETCH(bool, fails);
        QFETCH(int, shortBy);
        QFETCH(bool, readFails);
        auto pDev = World().Add(QStringLiteral("A"));
        pDev->fnAnswer = CardAnswers();
        pDev->bWriteFails = fails;
        pDev->nShortWrite = shortBy;
        pDev->bReadFails = readFails;
        World().m_lstPorts = {QStringLiteral("A")};
        CKxIO link;
        QVERIFY(!link.OpenPort(0));
        QCOMPARE(link.GetResultId(), 42030);
        QVERIFY(!link.IsOpen());
    }

    void searchRemembersThePort()
    {
        // A is missing, B stays silent, C is the card.
        auto pB = World().Add(QStringLiteral("B"));
        auto pC = World().Add(QStringLiteral("C"));
        pC->fnAnswer = CardAnswers();
        World().m_lstPorts = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};

        CKxIO link;
        QCOMPARE(link.GetPort(), QString()); // a new link remembers nothing
        QVERIFY(link.OpenPort(0));
        QCOMPARE(link.GetPort(), QStringLiteral("C"));
        QCOMPARE(link.GetPortList(), World().m_lstPorts);
        QCOMPARE(pB->writes.size(), 1); // probed, closed, skipped
        QCOMPARE(pB->nCloses, 1);
        QCOMPARE(pC->writes.size(), 1);
        link.Close();

        // The next action goes straight to C.
        QVERIFY(link.OpenPort(0));
        QCOMPARE(pB->writes.size(), 1);
        QCOMPARE(pC->writes.size(), 2);
        link.Close();

        // The card moved to B: C fails its probe and is tried again in the list.
        pC->fnAnswer = nullptr;
        pB->fnAnswer = CardAnswers();
        QVERIFY(link.OpenPort(0));
        QCOMPARE(link.GetPort(), QStringLiteral("B"));
        QCOMPARE(pC->writes.size(), 3);
        link.Close();

        // B is unplugged and C answers again: the remembered port no longer
        // opens, the search finds C.
        World().m_devices.remove(QStringLiteral("B"));
        pC->fnAnswer = CardAnswers();
        QVERIFY(link.OpenPort(0));
        QCOMPARE(link.GetPort(), QStringLiteral("C"));
    }

    void noDevice_data()
    {
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<QString>("text");
        QTest::newRow("no port listed")
            << QStringList() << QStringLiteral("未能在串口出找到通信设备!\r\n没有可用的串口。");
        QTest::newRow("ports that do not open")
            << QStringList{QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0")}
            << QStringLiteral("未能在串口出找到通信设备!\r\n/dev/ttyS0: absent\r\n/dev/ttyUSB0: "
                              "no access");
    }
    void noDevice()
    {
        QFETCH(QStringList, ports);
        QFETCH(QString, text);
        World().Add(QStringLiteral("/dev/ttyUSB0"))->strOpenError = QStringLiteral("no access");
        World().m_devices.remove(QStringLiteral("/dev/ttyS0"));
        World().m_lstPorts = ports;
        CKxIO link;
        QVERIFY(!link.OpenPort(1));
        QCOMPARE(link.GetResultId(), 42031);
        QCOMPARE(link.GetResultText(), text);
        QCOMPARE(World().TotalWrites(), 0);
        QCOMPARE(link.GetPort(), ports.isEmpty() ? QString() : ports.last());
    }

    void silentOnlyPortIsACommError()
    {
        World().Add(QStringLiteral("A"));
        World().Add(QStringLiteral("B"))->strOpenError = QStringLiteral("no access");
        World().m_lstPorts = {QStringLiteral("A"), QStringLiteral("B")};
        CKxIO link;
        QVERIFY(!link.OpenPort(0));
        QCOMPARE(link.GetResultId(), 42030);
        QCOMPARE(link.GetResultText(), QStringLiteral("通信错误!")); // port lines only for 42031
    }

    void commandBytes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QByteArray>("bytes");
        const QString none; // null: no target
        QTest::newRow("mode 0 ANSI") << 0 << none << Hex("4142d6d0cec4");
        QTest::newRow("mode 0 ignores a target")
            << 0 << QStringLiteral("139") << Hex("4142d6d0cec4");
        QTest::newRow("mode 1 target prefix")
            << 1 << QStringLiteral("139") << Hex("3133392c4142d6d0cec4");
        QTest::newRow("mode 1 empty target keeps the comma")
            << 1 << QString("") << Hex("2c4142d6d0cec4");
        QTest::newRow("mode 1 no target") << 1 << none << Hex("4142d6d0cec4");
        QTest::newRow("mode 2 UTF-16LE") << 2 << none << Hex("410042002d4e8765");
        QTest::newRow("mode 3 UTF-16LE with prefix") << 3 << QStringLiteral("139")
                                                     << Hex("310033003900"
                                                            "2c00410042002d4e8765");
    }
    void commandBytes()
    {
        QFETCH(int, mode);
        QFETCH(QString, target);
        QFETCH(QByteArray, bytes);
        CKxIO link;
        auto pDev = OpenOn(link, mode);
        QVERIFY(pDev);
        const QString strCmd = QStringLiteral("AB中文");
        QVERIFY(link.SendCmd(target.isNull() ? nullptr : &target, strCmd, 4));
        QCOMPARE(pDev->writes, QList<QByteArray>{bytes});
        QCOMPARE(pDev->nPurges, 2);     // one for the probe, one before the command
        QCOMPARE(pDev->nConfigures, 1); // configured by the probe only
        QCOMPARE(pDev->readSizes, QList<qint64>{127});
        QVERIFY(link.IsOpen());
    }

    void lengthLimitsTheText()
    {
        CKxIO link;
        auto pDev = OpenOn(link, 0);
        QVERIFY(link.SendCmd(nullptr, QStringLiteral("ABCDEF"), 3));
        QCOMPARE(pDev->writes.last(), QByteArray("ABC"));
        QVERIFY(link.SendCmd(nullptr, QStringLiteral("ABC"), 50));
        QCOMPARE(pDev->writes.last(), QByteArray("ABC"));
    }

    void gbkBothWays()
    {
        // What GBK lacks goes out as "?"; replies come back from GBK.
        QCOMPARE(KxToAnsi(u"朔禾€x"), Hex("cbb7bacc80") + "x");
        QCOMPARE(KxToAnsi(QString::fromUtf8("\xf0\x9f\x98\x80")), QByteArray("?"));
        QCOMPARE(KxFromAnsi(Hex("d6d0cec4")), QStringLiteral("中文"));
    }

    void dtuTextMustFit_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("commandLength");
        QTest::addColumn<bool>("sent");
        QTest::newRow("510 units fit") << 1 << 500 << true;
        QTest::newRow("511 units do not") << 1 << 501 << false;
        QTest::newRow("mode 3 likewise") << 3 << 501 << false;
        QTest::newRow("serial modes have no prefix") << 0 << 600 << true;
    }
    void dtuTextMustFit()
    {
        QFETCH(int, mode);
        QFETCH(int, commandLength);
        QFETCH(bool, sent);
        CKxIO link;
        auto pDev = OpenOn(link, mode);
        const QString strTarget = QStringLiteral("1380000000"); // 10 units
        const QString strCmd(commandLength, u'A');
        QCOMPARE(link.SendCmd(&strTarget, strCmd, commandLength), sent);
        QCOMPARE(pDev->writes.size(), sent ? 1 : 0);
        if (!sent)
            QCOMPARE(link.GetResultId(), 42030);
        else if (mode == 1)
            QCOMPARE(pDev->writes.last().size(), 511);
    }

    void waitsAndTimeouts_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("time");
        QTest::addColumn<QList<int>>("sleeps");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<int>("reads");
        // Reads of 1280 ms until more than the time-out has passed.
        QTest::newRow("serial, TIME 1500") << 0 << 1500 << QList<int>{1000} << 1500 << 2;
        QTest::newRow("serial -U, TIME 3000") << 2 << 3000 << QList<int>{1000} << 3000 << 3;
        QTest::newRow("DTU, TIME 1500") << 1 << 1500 << QList<int>{1000, 3000} << 15000 << 12;
        QTest::newRow("DTU -U, TIME 100") << 3 << 100 << QList<int>{1000, 3000} << 1000 << 1;
        QTest::newRow("TIME 0 still reads once") << 0 << 0 << QList<int>{1000} << 0 << 1;
        QTest::newRow("negative TIME does not hang") << 0 << -5 << QList<int>{1000} << 0 << 1;
    }
    void waitsAndTimeouts()
    {
        QFETCH(int, mode);
        QFETCH(int, time);
        QFETCH(QList<int>, sleeps);
        QFETCH(int, timeout);
        QFETCH(int, reads);
        CKxIO link;
        auto pDev = OpenOn(link, mode);
        pDev->fnAnswer = nullptr; // silent from now on
        g_nTime = time;
        const QString strTarget = QStringLiteral("139");

        g_traces.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("kx.link.debug=true"));
        const QtMessageHandler oldHandler = qInstallMessageHandler(CaptureTrace);
        const qint64 nStart = World().m_clock.m_nNow;
        const bool bOk = link.SendCmd(&strTarget, QStringLiteral("X"), 1);
        qInstallMessageHandler(oldHandler);
        QLoggingCategory::setFilterRules(QString());

        QVERIFY(!bOk);
        QCOMPARE(link.GetResultId(), 42030);
        QCOMPARE(World().m_clock.m_lstSleeps, sleeps);
        QCOMPARE(pDev->readSizes.size(), reads);
        int nWaited = 0;
        for (int n : sleeps)
            nWaited += n;
        QCOMPARE(World().m_clock.m_nNow - nStart, qint64(nWaited + 1280 * reads));
        QCOMPARE(g_traces.size(), 2);
        QVERIFY(g_traces[0].startsWith(QStringLiteral("Cmd[")));
        QCOMPARE(g_traces[1], QStringLiteral("通讯超时 %1 \r\n").arg(timeout));
    }

    void replyDuringLastRead_data()
    {
        QTest::addColumn<int>("delay");
        QTest::addColumn<bool>("decoded");
        // Reads run 1000..2280 and 2280..3560 ms after the write; the
        // time-out of 1500 ms is checked at 2280 and at 3560.
        QTest::newRow("inside the time-out") << 1400 << true;
        QTest::newRow("after the time-out, during the running read") << 3500 << true;
        QTest::newRow("after the last read") << 3600 << false;
    }
    void replyDuringLastRead()
    {
        QFETCH(int, delay);
        QFETCH(bool, decoded);
        CKxIO link;
        auto pDev = OpenOn(link, 0);
        pDev->answers = {CFakeAnswer{"E:000", delay}};
        QCOMPARE(link.SendCmd(nullptr, QStringLiteral("X"), 1), decoded);
        QCOMPARE(link.GetResultId(), decoded ? 42018 : 42030);
    }

    void tickCountWraps()
    {
        World().m_clock.m_nTickBase = 0xFFFFFFFFu - 1500;
        CKxIO link;
        auto pDev = OpenOn(link, 0);
        pDev->fnAnswer = nullptr;
        QVERIFY(!link.SendCmd(nullptr, QStringLiteral("X"), 1));
        QCOMPARE(pDev->readSizes.size(), 2);
    }

    void staleReplyIsPurged()
    {
        CKxIO link;
        auto pDev = OpenOn(link, 0);
        // The first command's answer comes far too late, the second's in time.
        pDev->answers = {CFakeAnswer{"E:002", 4000}, CFakeAnswer{"E:000", 10}};
        QVERIFY(!link.SendCmd(nullptr, QStringLiteral("X"), 1));
        QCOMPARE(link.GetResultId(), 42030);
        World().m_clock.m_nNow += 1000; // the late answer is in before the next write
        QVERIFY(link.SendCmd(nullptr, QStringLiteral("Y"), 1));
        QCOMPARE(link.GetReply(), QStringLiteral("E:000"));
    }

    void replyTable_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("success");
        QTest::newRow("empty") << QByteArray() << 42030 << false;
        QTest::newRow("OK") << QByteArray("OK") << 42018 << true;
        QTest::newRow("ok") << QByteArray("ok") << 42018 << true;
        QTest::newRow("E:000") << QByteArray("E:000") << 42018 << true;
        QTest::newRow("e000") << QByteArray("e000") << 42018 << true;
        const struct
        {
            const char* pszCode;
            int nId;
        } codes[] = {{"002", 42019}, {"004", 42020}, {"005", 42021}, {"006", 42038},
                     {"007", 42022}, {"008", 42023}, {"009", 42024}, {"010", 42025},
                     {"020", 42026}, {"021", 42027}, {"110", 42028}};
        for (const auto& code : codes)
        {
            QTest::newRow(qPrintable(QStringLiteral("E:") + code.pszCode))
                << QByteArray("E:") + code.pszCode << code.nId << false;
            QTest::newRow(qPrintable(QStringLiteral("e") + code.pszCode))
                << QByteArray("e") + code.pszCode << code.nId << false;
        }
        QTest::newRow("E:000 with a line end") << QByteArray("E:000\r\n") << 42039 << false;
        QTest::newRow("E:003 is unknown") << QByteArray("E:003") << 42039 << false;
        QTest::newRow("VER: anywhere") << QByteArray("xVER:VI-DAR RI-ZOR-O21") << 42018 << true;
        QTest::newRow("ver: is case-sensitive") << QByteArray("ver:1") << 42039 << false;
        QTest::newRow("RX:") << QByteArray("RX:1,2,3") << 42029 << true;
        QTest::newRow("VER: before RX:") << QByteArray("RX:a VER:b") << 42018 << true;
        QTest::newRow("E:000 inside RX:") << QByteArray("E:000 RX:") << 42029 << true;
        QTest::newRow("anything else") << QByteArray("ERROR") << 42039 << false;
    }
    void replyTable()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, id);
        QFETCH(bool, success);
        CKxIO link;
        QCOMPARE(link.DecodeReply(reply.constData()), success);
        QCOMPARE(link.GetResultId(), id);
        QCOMPARE(link.GetReply(), QString::fromLatin1(reply));

        // The same through an exchange, where an empty reply is silence.
        if (reply.isEmpty())
            return;
        auto pDev = OpenOn(link, 0, reply);
        QCOMPARE(link.SendCmd(nullptr, QStringLiteral("X"), 1), success);
        QCOMPARE(link.GetResultId(), id);
        QCOMPARE(link.GetReply(), QString::fromLatin1(reply));
    }

    void replyText()
    {
        CKxIO link;
        auto pDev = OpenOn(link, 0);
        // Read as GBK up to the first zero byte, at most 127 bytes.
        pDev->answers = {CFakeAnswer{Hex("45303032d6d0") + QByteArray("\0tail", 5), 10},
                         CFakeAnswer{QByteArray(127, 'a'), 10},
                         CFakeAnswer{QByteArray(130, 'b'), 10}};
        QVERIFY(!link.SendCmd(nullptr, QStringLiteral("X"), 1));
        QCOMPARE(link.GetResultId(), 42039);
        QCOMPARE(link.GetReply(), QStringLiteral("E002中"));
        QVERIFY(!link.SendCmd(nullptr, QStringLiteral("X"), 1));
        QCOMPARE(link.GetReply(), QString(127, u'a'));
        QVERIFY(!link.SendCmd(nullptr, QStringLiteral("X"), 1));
        QCOMPARE(link.GetReply(), QString(127, u'b'));
    }

    void replyBuffer_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("buffer");
        // Like strncpy over min(bytes read, size): stops at a zero byte,
        // zero-fills the rest of that count, adds nothing beyond it.
        QTest::newRow("shorter than the buffer")
            << QByteArray("E:000") << 8 << QByteArray("E:000###");
        QTest::newRow("cut to the size") << QByteArray("VER:VI-DAR") << 4 << QByteArray("VER:####");
        QTest::newRow("zero byte inside")
            << QByteArray("OK\0xy", 5) << 8 << QByteArray("OK\0\0\0###", 8);
        QTest::newRow("size 0 copies nothing") << QByteArray("OK") << 0 << QByteArray("########");
    }
    void replyBuffer()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, size);
        QFETCH(QByteArray, buffer);
        CKxIO link;
        auto pDev = OpenOn(link, 0);
        pDev->answers = {CFakeAnswer{reply, 10}};
        char szBuffer[8];
        memset(szBuffer, '#', sizeof(szBuffer));
        link.SendCmd(nullptr, QStringLiteral("X"), 1, szBuffer, size);
        QCOMPARE(QByteArray(szBuffer, 8), buffer);
    }

    void failedExchangesKeepTheReply_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("no command") << QStringLiteral("empty");
        QTest::newRow("length 0") << QStringLiteral("zero");
        QTest::newRow("write fails") << QStringLiteral("write");
        QTest::newRow("short write") << QStringLiteral("short");
        QTest::newRow("read fails") << QStringLiteral("read");
        QTest::newRow("silence") << QStringLiteral("silent");
    }
    void failedExchangesKeepTheReply()
    {
        QFETCH(QString, what);
        CKxIO link;
        auto pDev = OpenOn(link, 0, "E:002");
        QVERIFY(!link.SendCmd(nullptr, QStringLiteral("X"), 1));
        QCOMPARE(link.GetReply(), QStringLiteral("E:002"));
        const int nWrites = int(pDev->writes.size());

        pDev->bWriteFails = what == u"write";
        pDev->nShortWrite = what == u"short" ? 1 : 0;
        pDev->bReadFails = what == u"read";
        if (what == u"silent")
            pDev->fnAnswer = nullptr;
        const QString strCmd = what == u"empty" ? QString() : QStringLiteral("XY");
        QVERIFY(!link.SendCmd(nullptr, strCmd, what == u"zero" ? 0 : 2));
        QCOMPARE(link.GetResultId(), 42030);
        QCOMPARE(link.GetReply(), QStringLiteral("E:002"));
        QVERIFY(link.IsOpen());
        if (what == u"empty" || what == u"zero")
            QCOMPARE(pDev->writes.size(), nWrites); // the port is not touched
    }

    void traceLines()
    {
        CKxIO link;
        auto pDev = OpenOn(link, 1);
        const QString strTarget = QStringLiteral("139");
        g_traces.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("kx.link.debug=true"));
        const QtMessageHandler oldHandler = qInstallMessageHandler(CaptureTrace);
        link.SendCmd(&strTarget, QStringLiteral("AB中文"), 4);
        qInstallMessageHandler(oldHandler);
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(g_traces, (QStringList{QStringLiteral("Cmd[10Bytes]::139,AB中文\n"),
                                        QStringLiteral("Ret:E:000\t\tdwErr=指令执行成功!\n")}));
    }

    void cancelDuringAWait_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("wait");
        QTest::newRow("serial, after the write") << 0 << 1000;
        QTest::newRow("DTU, in the extra wait") << 1 << 3000;
        QTest::newRow("between reads") << 0 << 0;
    }
    void cancelDuringAWait()
    {
        QFETCH(int, mode);
        QFETCH(int, wait);
        CKxIO link;
        auto pDev = OpenOn(link, mode);
        pDev->fnAnswer = nullptr;
        World().m_clock.m_fnCancel = [wait](int nMs) { return nMs == wait; };
        const QString strTarget = QStringLiteral("139");
        // The exchange under way runs to its end (here: the silent card's
        // time-out) and keeps its own outcome.
        QVERIFY(!link.SendCmd(&strTarget, QStringLiteral("X"), 1));
        QVERIFY(link.IsCancelled());
        QCOMPARE(link.GetResultId(), 42030);

        // Nothing more goes out in this action.
        World().m_clock.m_fnCancel = nullptr;
        QVERIFY(!link.SendCmd(&strTarget, QStringLiteral("X"), 1));
        QCOMPARE(link.GetResultId(), int(KX_STR_SEND_CANCELLED));
        QCOMPARE(link.GetResultText(), QStringLiteral("发送已取消。"));
        QCOMPARE(pDev->writes.size(), 1);

        // The next action starts afresh.
        link.Close();
        pDev->fnAnswer = mode == 1 ? DtuAnswers() : CardAnswers();
        QVERIFY(link.OpenPort(mode));
        QVERIFY(!link.IsCancelled());
    }

    void cancelDuringTheSearch()
    {
        World().Add(QStringLiteral("A"));
        World().Add(QStringLiteral("B"))->fnAnswer = CardAnswers();
        World().m_lstPorts = {QStringLiteral("A"), QStringLiteral("B")};
        World().m_clock.m_fnCancel = [](int nMs) { return nMs == 1000; };
        CKxIO link;
        QVERIFY(!link.OpenPort(0));
        QVERIFY(link.IsCancelled());
        QVERIFY(!link.IsOpen());
        QCOMPARE(World().Dev(QStringLiteral("B")).writes.size(), 0); // the search stopped
    }

    void portsSetting()
    {
        m_pScope.reset(); // the real port list, steered by the settings
        QTemporaryDir dir;
        const QString strIni = dir.filePath(QStringLiteral("KX_GSM_CN.ini"));
        QFile file(strIni);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[App]\nTIME=200\nPORTS=/tmp/kx-a | /dev/ttyUSB3||\n");
        file.close();

        LoadSettings(strIni);
        QVERIFY(g_bPortsSet);
        QCOMPARE(KxListPorts(),
                 (QStringList{QStringLiteral("/tmp/kx-a"), QStringLiteral("/dev/ttyUSB3")}));
        QVERIFY(SaveSettings(strIni));
        LoadSettings(strIni);
        QCOMPARE(g_strPorts, QStringLiteral("/tmp/kx-a | /dev/ttyUSB3||"));

        // An installed list wins over the setting.
        const KxPortLister old = KxSetPortLister([] { return QStringList{QStringLiteral("X")}; });
        QCOMPARE(KxListPorts(), QStringList{QStringLiteral("X")});
        KxSetPortLister(old);

        // Without the key the system's list is used and nothing is written.
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[App]\nTIME=200\n");
        file.close();
        LoadSettings(strIni);
        QVERIFY(!g_bPortsSet);
        QCOMPARE(KxListPorts(), KxSystemPorts());
        QVERIFY(SaveSettings(strIni));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("PORTS"));
    }

    void serialPortOpenErrors_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("denied");
        QTest::addColumn<int>("textId");
        QTest::newRow("absent") << int(QSerialPort::DeviceNotFoundError) << false
                                << int(KX_STR_PORT_NOT_FOUND);
        QTest::newRow("not allowed")
            << int(QSerialPort::PermissionError) << true << int(KX_STR_PORT_DENIED);
        QTest::newRow("held by another program")
            << int(QSerialPort::PermissionError) << false << int(KX_STR_PORT_BUSY);
        QTest::newRow("no serial device")
            << int(QSerialPort::UnsupportedOperationError) << false << int(KX_STR_PORT_NOT_SERIAL);
    }
    void serialPortOpenErrors()
    {
        QFETCH(int, error);
        QFETCH(bool, denied);
        QFETCH(int, textId);
        QCOMPARE(CKxSerialPort::DescribeOpenError(QSerialPort::SerialPortError(error), denied,
                                                  QStringLiteral("sys")),
                 KxLinkString(textId));
        QVERIFY(KxLinkString(KX_STR_PORT_DENIED).contains(QStringLiteral("dialout")));
        QCOMPARE(
            CKxSerialPort::DescribeOpenError(QSerialPort::OpenError, false, QStringLiteral("sys")),
            QStringLiteral("无法打开(sys)。"));
    }

    void realPortsThatDoNotOpen()
    {
        m_pScope.reset();
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString strMissing = dir.filePath(QStringLiteral("missing"));
        const KxPortLister old = KxSetPortLister(
            [&] {
                return QStringList{strMissing, plain.fileName()};
            });
        CKxIO link;
        QVERIFY(!link.OpenPort(0));
        KxSetPortLister(old);
        QCOMPARE(link.GetResultId(), 42031);
        QCOMPARE(link.GetPortErrors(),
                 (QStringList{strMissing + QStringLiteral(": 设备不存在。"),
                              plain.fileName() + QStringLiteral(": 不是串口。")}));
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
