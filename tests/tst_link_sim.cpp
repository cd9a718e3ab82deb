// The real serial link (QSerialPort on a pseudo-terminal) against
// kxgsm-sim, in real time. Kept to a few exchanges: each one waits at least
// the link's fixed second.
#include "ObjectData/CardCommands.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "Pub/KxIO.h"
#include "Pub/KxLinkText.h"
#include "Pub/KxMsgBox.h"
#include "Pub/KxPortList.h"
#include "Pub/KxSerialPort.h"
#include "Pub/Settings.h"
#include "tst_sim_process.h"

#include <QJsonArray>
#include <QtTest>

class TestLinkSim : public QObject
{
    Q_OBJECT

    QStringList m_lstBoxes;
    KxMsgSink m_oldSink;
    KxPortLister m_oldLister;
    QTemporaryDir m_dir;

    // The simulator behind a port list that starts with a missing device.
    void UsePorts(const CSimProcess& sim)
    {
        const QStringList ports{m_dir.filePath(QStringLiteral("missing")), sim.LinkPath()};
        KxSetPortLister([ports] { return ports; });
    }

private slots:
    void init()
    {
        g_nTime = 100; // keeps a silent exchange short
        m_lstBoxes.clear();
        m_oldSink =
            KxSetMsgSink([this](const QString& strText, KxMsgIcon) { m_lstBoxes.append(strText); });
        m_oldLister = KxSetPortLister(nullptr);
    }
    void cleanup()
    {
        KxSetMsgSink(std::move(m_oldSink));
        KxSetPortLister(std::move(m_oldLister));
    }

    void serialModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("encoding");
        QTest::newRow("serial mode") << 0 << QStringLiteral("GBK");
        QTest::newRow("serial mode -U") << 2 << QStringLiteral("UTF-16LE");
    }
    void serialModes()
    {
        QFETCH(int, mode);
        QFETCH(QString, encoding);
        CSimProcess sim;
        QVERIFY(sim.Start());
        UsePorts(sim);

        CGsmCard card;
        card.SetSendMode(mode);
        card.SetWidth(128);
        QString strCmd;
        const int nLength = card.BuildScreenCommand(&strCmd);
        QCOMPARE(card.SendCommand(strCmd, nLength), 1);
        QCOMPARE(m_lstBoxes, QStringList{QStringLiteral("指令执行成功!")});
        QCOMPARE(card.GetLink().GetPort(), sim.LinkPath());
        QVERIFY(!card.GetLink().IsOpen());

        const QJsonObject state = sim.State();
        QCOMPARE(
            state.value(QStringLiteral("screen")).toObject().value(QStringLiteral("width")).toInt(),
            128);
        QCOMPARE(state.value(QStringLiteral("lastEncoding")).toString(), encoding);
        QCOMPARE(state.value(QStringLiteral("frames")).toInt(), 2); // the probe and the command
    }

    void dtuModeAndTheVersionReply()
    {
        CSimProcess sim;
        QVERIFY(sim.Start({QStringLiteral("--dtu")}));
        UsePorts(sim);

        CGsmCard card;
        card.SetSendMode(3);
        card.SetDtuPhones(QStringLiteral("13800000000"));
        QString strCmd;
        BuildVersionCommand(&strCmd);
        char szReply[64] = {};
        QCOMPARE(card.SendCommand(strCmd, int(strCmd.size()), szReply, 63), 1);
        QCOMPARE(QByteArray(szReply), QByteArray("VER:VI-DAR RI-ZOR-O21 V5.5"));

        const QStringList log = sim.LogLines();
        QCOMPARE(log.size(), 2);
        QVERIFY2(log[0].contains(QStringLiteral("#1 40 bytes: 00 00 00 00 00 00 00 00 4b 00")),
                 qPrintable(log[0]));
        QVERIFY2(log[1].contains(QStringLiteral("UTF-16LE 13800000000,") + strCmd),
                 qPrintable(log[1]));
    }

    void messageListWithARetry()
    {
        // The first message command goes unanswered once; the retry gets it in.
        CSimProcess sim;
        QVERIFY(sim.Start({QStringLiteral("--fail"), QStringLiteral("2=")}));
        UsePorts(sim);

        CGsmCard card;
        auto* pPage = new CGsmPage(&card);
        card.AddPage(pPage);
        auto* pSecond = new CGsmPage(&card);
        pSecond->SetContent(QStringLiteral("第二条"));
        card.AddPage(pSecond);
        FreeCommandList();
        for (CGsmPage* p : card.GetPageList())
            p->BuildCommands(&g_cmdList, int(g_cmdList.size()));
        QCOMPARE(card.SendCommandList(&g_cmdList), 1);
        QCOMPARE(m_lstBoxes, QStringList{QStringLiteral("指令执行成功!")});
        FreeCommandList();

        const QJsonObject messages = sim.State().value(QStringLiteral("messages")).toObject();
        QCOMPARE(messages.value(QStringLiteral("000"))
                     .toObject()
                     .value(QStringLiteral("body"))
                     .toString(),
                 QStringLiteral("欢迎使用"));
        QCOMPARE(messages.value(QStringLiteral("001"))
                     .toObject()
                     .value(QStringLiteral("body"))
                     .toString(),
                 QStringLiteral("第二条"));
        QCOMPARE(sim.State().value(QStringLiteral("commands")).toInt(), 4); // probe, 000 twice, 001
    }

    void silentCard()
    {
        CSimProcess sim;
        QVERIFY(sim.Start({QStringLiteral("--silent")}));
        UsePorts(sim);
        CKxIO link;
        QVERIFY(!link.OpenPort(0));
        QCOMPARE(link.GetResultId(), 42030);
        QCOMPARE(sim.LogLines().size(), 1);
    }

    void portHeldByAnotherProgram()
    {
        CSimProcess sim;
        QVERIFY(sim.Start());
        CKxSerialPort holder;
        QVERIFY(holder.Open(sim.LinkPath()));
        UsePorts(sim);

        CGsmCard card;
        QString strCmd;
        BuildVersionCommand(&strCmd);
        QCOMPARE(card.SendCommand(strCmd, int(strCmd.size())), 0);
        QCOMPARE(m_lstBoxes, QStringList{QStringLiteral("未能在串口出找到通信设备!\r\n") +
                                         m_dir.filePath(QStringLiteral("missing")) +
                                         QStringLiteral(": 设备不存在。\r\n") + sim.LinkPath() +
                                         QStringLiteral(": 已被其他程序占用。")});
        QCOMPARE(sim.LogLines().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestLinkSim)
#include "tst_link_sim.moc"
