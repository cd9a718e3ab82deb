// A card's send operations and its block of the exported listing, on the
// scripted port: targets, retries, the report texts, the message boxes and
// a cancelled action.
#include "ObjectData/ExportList.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "ObjectData/Vocabulary.h"
#include "Pub/KxCodePage.h"
#include "Pub/KxMsgBox.h"
#include "Pub/KxSendProgress.h"
#include "Pub/Settings.h"
#include "tst_link_fake.h"

#include <QtTest>

namespace
{
struct Box
{
    QString strText;
    KxMsgIcon icon;
};

const QString kSuccess = QStringLiteral("指令执行成功!");
const QString kCommError = QStringLiteral("通信错误!");
const QString kE002 = QStringLiteral("E002:无法识别，或不支持的指令。");

// A write's text as the card sees it, whatever the mode.
QString WrittenText(const QByteArray& bytes, int nMode)
{
    if (nMode == 2 || nMode == 3)
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                                  bytes.size() / 2);
    return KxFromAnsi(bytes);
}
} // namespace

class TestSend : public QObject
{
    Q_OBJECT

    std::unique_ptr<CFakeWorld> m_pWorld;
    std::unique_ptr<CFakeWorldScope> m_pScope;
    QList<Box> m_boxes;
    KxMsgSink m_oldSink;
    std::unique_ptr<CGsmCard> m_pCard;
    std::shared_ptr<CFakeDevice> m_pDev;

    // The card on port "A" in the given mode. Every command is answered by
    // fnReply (given the text the card received), the probe as a card or
    // DTU answers it.
    void Setup(int nMode, std::function<QByteArray(const QString&)> fnReply)
    {
        m_pCard->SetSendMode(nMode);
        m_pDev = m_pWorld->Add(QStringLiteral("A"));
        m_pWorld->m_lstPorts = {QStringLiteral("A")};
        const bool bDtu = nMode == 1 || nMode == 3;
        auto fnProbe = bDtu ? DtuAnswers() : CardAnswers();
        m_pDev->fnAnswer = [=](const QByteArray& written)
        {
            CFakeAnswer probe = fnProbe(written);
            if (written.startsWith('\0') || probe.bytes.startsWith("VER:"))
                return probe;
            return CFakeAnswer{fnReply(WrittenText(written, nMode)), 10};
        };
    }
    // What went out after the probe, as texts.
    QStringList Sent() const
    {
        QStringList texts;
        for (int i = 1; i < m_pDev->writes.size(); ++i)
            texts.append(WrittenText(m_pDev->writes[i], m_pCard->GetSendMode()));
        return texts;
    }

private slots:
    void init()
    {
        g_nTime = 1500;
        m_pWorld = std::make_unique<CFakeWorld>();
        m_pScope = std::make_unique<CFakeWorldScope>(m_pWorld.get());
        m_boxes.clear();
        m_oldSink = KxSetMsgSink(
            [this](const QString& strText, KxMsgIcon icon) {
                m_boxes.append(Box{strText, icon});
            });
        m_pCard = std::make_unique<CGsmCard>();
    }
    void cleanup()
    {
        m_pCard.reset();
        KxSetMsgSink(std::move(m_oldSink));
        m_pScope.reset();
        m_pWorld.reset();
        KxSetSendProgress(nullptr);
        KxSetSendCard(0, 0);
        FreeCommandList();
    }

    void sendCommandReports_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("dtu");
        QTest::addColumn<QStringList>("failing"); // texts the card rejects with E:002
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("serial, accepted") << 0 << QString() << QStringList() << 1 << kSuccess
                                          << QStringList{QStringLiteral("CMD")};
        QTest::newRow("serial, rejected: result text and reply")
            << 2 << QString() << QStringList{QStringLiteral("CMD")} << 0
            << kE002 + QStringLiteral(" E:002") << QStringList{QStringLiteral("CMD")};
        QTest::newRow("DTU, second number fails")
            << 1 << QStringLiteral("138|139") << QStringList{QStringLiteral("139,CMD")} << 0
            << QStringLiteral("139, ") + kE002
            << QStringList{QStringLiteral("138,CMD"), QStringLiteral("139,CMD")};
        QTest::newRow("DTU, both fail: lines run together")
            << 3 << QStringLiteral("138|139")
            << QStringList{QStringLiteral("138,CMD"), QStringLiteral("139,CMD")} << 0
            << QStringLiteral("138, ") + kE002 + QStringLiteral("139, ") + kE002
            << QStringList{QStringLiteral("138,CMD"), QStringLiteral("139,CMD")};
        QTest::newRow("DTU, empty text: one empty number")
            << 1 << QString("") << QStringList() << 1 << kSuccess
            << QStringList{QStringLiteral(",CMD")};
    }
    void sendCommandReports()
    {
        QFETCH(int, mode);
        QFETCH(QString, dtu);
        QFETCH(QStringList, failing);
        QFETCH(int, result);
        QFETCH(QString, box);
        QFETCH(QStringList, sent);
        if (!dtu.isNull())
            m_pCard->SetDtuPhones(dtu);
        Setup(mode, [failing](const QString& strText)
              { return failing.contains(strText) ? QByteArray("E:002") : QByteArray("E:000"); });

        QCOMPARE(m_pCard->SendCommand(QStringLiteral("CMD"), 3), result);
        QCOMPARE(Sent(), sent);
        QCOMPARE(m_boxes.size(), 1);
        QCOMPARE(m_boxes[0].strText, box);
        QCOMPARE(m_boxes[0].icon, KxMsgIcon::Information);
        QVERIFY(!m_pDev->bOpen); // closed whatever happened
    }

    void sendCommandNothingToSend()
    {
        Setup(0, [](const QString&) { return QByteArray("E:000"); });
        QCOMPARE(m_pCard->SendCommand(QString(), 0), 0);
        QCOMPARE(m_pCard->SendCommand(QStringLiteral("CMD"), 0), 0);
        QVERIFY(m_boxes.isEmpty());
        QCOMPARE(m_pDev->writes.size(), 0);
        QCOMPARE(m_pCard->SendCommandList(nullptr), 0);
        QVERIFY(m_boxes.isEmpty());
    }

    void dtuNumbersNeverSet()
    {
        // A new card has no DTU numbers at all: nothing to address.
        Setup(1, [](const QString&) { return QByteArray("E:002"); });
        QCOMPARE(m_pCard->SendCommand(QStringLiteral("CMD"), 3), 1);
        QCOMPARE(Sent(), QStringList());
        QCOMPARE(m_boxes[0].strText, kSuccess);
    }

    void noDeviceBox()
    {
        m_pWorld->m_lstPorts = {QStringLiteral("/dev/ttyUSB0")};
        m_pWorld->Add(QStringLiteral("/dev/ttyUSB0"))->strOpenError = QStringLiteral("没有权限。");
        QCOMPARE(m_pCard->SendCommand(QStringLiteral("CMD"), 3), 0);
        QCOMPARE(m_pCard->SendCommandList(&g_cmdList), 0);
        QCOMPARE(m_boxes.size(), 2);
        for (const Box& box : m_boxes)
        {
            QCOMPARE(box.icon, KxMsgIcon::Error);
            QCOMPARE(box.strText,
                     QStringLiteral("未能在串口出找到通信设备!\r\n/dev/ttyUSB0: 没有权限。"));
        }
    }

    void silentDeviceBox()
    {
        Setup(0, [](const QString&) { return QByteArray(); });
        m_pDev->fnAnswer = nullptr;
        QCOMPARE(m_pCard->SendCommand(QStringLiteral("CMD"), 3), 0);
        QCOMPARE(m_boxes[0].strText, kCommError);
        QCOMPARE(m_boxes[0].icon, KxMsgIcon::Error);
    }

    void replyBufferReachesTheCaller()
    {
        Setup(0, [](const QString&) { return QByteArray("VER:VI-DAR VI-DAD-A21 V2.3"); });
        char szReply[64] = {};
        QCOMPARE(m_pCard->SendCommand(QStringLiteral("Q"), 1, szReply, 63), 1);
        QCOMPARE(QByteArray(szReply), QByteArray("VER:VI-DAR VI-DAD-A21 V2.3"));
        QCOMPARE(m_pCard->GetLink().GetReply(), QStringLiteral("VER:VI-DAR VI-DAD-A21 V2.3"));
    }

    void dtuCommandTooLong()
    {
        m_pCard->SetDtuPhones(QStringLiteral("13800000000|139"));
        Setup(1, [](const QString&) { return QByteArray("E:000"); });
        const QString strCmd(500, u'A'); // fits behind 139, not behind the 11-digit number
        QCOMPARE(m_pCard->SendCommand(strCmd, int(strCmd.size())), 0);
        QCOMPARE(Sent(), QStringList{QStringLiteral("139,") + strCmd});
        QCOMPARE(m_boxes[0].strText, QStringLiteral("13800000000, ") + kCommError);
    }

    void listReports_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("dtu");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QStringList>("failing"); // texts rejected every time
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("box");
        const QStringList three{QStringLiteral("ABCD"), QStringLiteral("LONGCOMMAND1"),
                                QStringLiteral("LONGCOMMAND2")};
        QTest::newRow("empty list")
            << 0 << QString() << QStringList() << QStringList() << 1 << kSuccess;
        QTest::newRow("all accepted") << 2 << QString() << three << QStringList() << 1 << kSuccess;
        QTest::newRow("short command in full")
            << 0 << QString() << three << QStringList{QStringLiteral("ABCD")} << 0
            << kE002 + QStringLiteral(", ABCD \r\n \r\n");
        QTest::newRow("the last failure names the line")
            << 0 << QString() << three
            << QStringList{QStringLiteral("ABCD"), QStringLiteral("LONGCOMMAND1")} << 0
            << kE002 + QStringLiteral(", LONGC...\r\n \r\n");
        QTest::newRow("DTU, second number")
            << 3 << QStringLiteral("138|139") << three
            << QStringList{QStringLiteral("139,LONGCOMMAND2")} << 0
            << QStringLiteral("139, ") + kE002 + QStringLiteral(", LONGC...\r\n \r\n");
        QTest::newRow("DTU, both numbers")
            << 1 << QStringLiteral("138|139") << three
            << QStringList{QStringLiteral("138,ABCD"), QStringLiteral("139,ABCD")} << 0
            << QStringLiteral("138, ") + kE002 + QStringLiteral(", ABCD \r\n \r\n") +
                   QStringLiteral("139, ") + kE002 + QStringLiteral(", ABCD \r\n \r\n");
    }
    void listReports()
    {
        QFETCH(int, mode);
        QFETCH(QString, dtu);
        QFETCH(QStringList, list);
        QFETCH(QStringList, failing);
        QFETCH(int, result);
        QFETCH(QString, box);
        if (!dtu.isNull())
            m_pCard->SetDtuPhones(dtu);
        Setup(mode, [failing](const QString& strText)
              { return failing.contains(strText) ? QByteArray("E:002") : QByteArray("E:000"); });
        QCOMPARE(m_pCard->SendCommandList(&list), result);
        QCOMPARE(m_boxes.size(), 1);
        QCOMPARE(m_boxes[0].strText, box);
        QCOMPARE(m_boxes[0].icon, KxMsgIcon::Information);
        QVERIFY(!m_pDev->bOpen);
        QCOMPARE(m_pDev->nOpens, 1); // one opening for the whole list

        // Every command once per target, and a rejected one twice.
        int nExpected = 0;
        const QStringList targets = dtu.isNull() ? QStringList{QString()} : dtu.split(u'|');
        for (const QString& strTarget : targets)
            for (const QString& strCmd : list)
            {
                const QString strSent = strTarget.isNull() ? strCmd : strTarget + u',' + strCmd;
                nExpected += failing.contains(strSent) ? 2 : 1;
            }
        QCOMPARE(Sent().size(), nExpected);
    }

    void listRetrySucceeds()
    {
        // Silent once, then accepted: the second try counts.
        Setup(0, [](const QString&) { return QByteArray("E:000"); });
        auto fnNormal = m_pDev->fnAnswer;
        int nCommands = 0;
        m_pDev->fnAnswer = [&](const QByteArray& written)
        {
            if (!written.endsWith("FVER") && !written.endsWith("\xb0\xe6\xb1\xbe") &&
                ++nCommands == 1)
                return CFakeAnswer{};
            return fnNormal(written);
        };
        const QStringList list{QStringLiteral("ONE"), QStringLiteral("TWO")};
        QCOMPARE(m_pCard->SendCommandList(&list), 1);
        QCOMPARE(Sent(), (QStringList{QStringLiteral("ONE"), QStringLiteral("ONE"),
                                      QStringLiteral("TWO")}));
        QCOMPARE(m_boxes[0].strText, kSuccess);
    }

    void cancelledList_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("dtu");
        // Cancel in the wait after this write (retries count): the command
        // under way is still answered, the next one is not sent.
        QTest::addColumn<int>("cancelAtWrite");
        QTest::addColumn<QString>("box");
        QTest::newRow("serial, during the second command")
            << 0 << QString() << 2
            << QStringLiteral("发送已取消。\r\n1 条指令未发送，从 THREE 起。\r\n");
        QTest::newRow("serial, after a failure")
            << 0 << QString() << 3
            << QStringLiteral("发送已取消。\r\n") + kE002 +
                   QStringLiteral(", ONE \r\n1 条指令未发送，从 THREE 起。\r\n");
        QTest::newRow("DTU, first number")
            << 1 << QStringLiteral("138|139") << 1
            << QStringLiteral("发送已取消。\r\n138, 2 条指令未发送，从 TWO 起。\r\n"
                              "139, 3 条指令未发送，从 ONE 起。\r\n");
    }
    void cancelledList()
    {
        QFETCH(int, mode);
        QFETCH(QString, dtu);
        QFETCH(int, cancelAtWrite);
        QFETCH(QString, box);
        if (!dtu.isNull())
            m_pCard->SetDtuPhones(dtu);
        // ONE is rejected twice in the second row.
        const bool bFailFirst = cancelAtWrite == 3;
        Setup(mode,
              [bFailFirst](const QString& strText) {
                  return bFailFirst && strText == u"ONE" ? QByteArray("E:002")
                                                         : QByteArray("E:000");
              });
        int nWaits = 0;
        const int nCancelAt = cancelAtWrite + 1; // + the probe's wait
        m_pWorld->m_clock.m_fnCancel = [&](int nMs)
        { return nMs == 1000 && ++nWaits == nCancelAt; };

        const QStringList list{QStringLiteral("ONE"), QStringLiteral("TWO"),
                               QStringLiteral("THREE")};
        QCOMPARE(m_pCard->SendCommandList(&list), 0);
        QCOMPARE(m_boxes.size(), 1);
        QCOMPARE(m_boxes[0].strText, box);
        QCOMPARE(m_boxes[0].icon, KxMsgIcon::Information);
        QVERIFY(!m_pDev->bOpen);
    }

    void cancelledCommand()
    {
        m_pCard->SetDtuPhones(QStringLiteral("138|139|140"));
        Setup(3, [](const QString& strText)
              { return strText.startsWith(u"138") ? QByteArray("E:002") : QByteArray("E:000"); });
        int nWaits = 0;
        m_pWorld->m_clock.m_fnCancel = [&](int nMs) { return nMs == 3000 && ++nWaits == 2; };
        QCOMPARE(m_pCard->SendCommand(QStringLiteral("LONGCOMMAND"), 11), 0);
        // Cancelled while 139 was under way: 139 still took it, 140 did not.
        QCOMPARE(m_boxes[0].strText,
                 QStringLiteral("发送已取消。\r\n138, ") + kE002 +
                     QStringLiteral("\r\n140, 1 条指令未发送，从 LONGC... 起。"));
        QCOMPARE(Sent().size(), 2);
        QVERIFY(!m_pDev->bOpen);
    }

    void cancelledDuringTheProbe()
    {
        Setup(0, [](const QString&) { return QByteArray("E:000"); });
        m_pWorld->m_clock.m_fnCancel = [](int) { return true; };
        const QStringList list{QStringLiteral("ONE")};
        QCOMPARE(m_pCard->SendCommandList(&list), 0);
        // The probe under way finds the card; no command is started after it.
        QCOMPARE(m_boxes[0].strText,
                 QStringLiteral("发送已取消。\r\n1 条指令未发送，从 ONE 起。\r\n"));
        QCOMPARE(m_boxes[0].icon, KxMsgIcon::Information);
        QCOMPARE(Sent(), QStringList());
    }

    void cancelledWhileSearching()
    {
        // A silent device on the first port: the search stops after its probe.
        m_pWorld->Add(QStringLiteral("Z"));
        Setup(0, [](const QString&) { return QByteArray("E:000"); });
        m_pWorld->m_lstPorts = {QStringLiteral("Z"), QStringLiteral("A")};
        m_pWorld->m_clock.m_fnCancel = [](int) { return true; };
        const QStringList list{QStringLiteral("ONE")};
        QCOMPARE(m_pCard->SendCommandList(&list), 0);
        QCOMPARE(m_boxes[0].strText, QStringLiteral("发送已取消。\r\n没有发送任何指令。"));
        QCOMPARE(m_pDev->writes.size(), 0); // the card's port was never tried
    }

    void progressSteps()
    {
        m_pCard->SetDtuPhones(QStringLiteral("138|139"));
        Setup(1, [](const QString&) { return QByteArray("E:000"); });
        QList<KxSendStep> steps;
        KxSetSendProgress([&](const KxSendStep& step) { steps.append(step); });
        KxSetSendCard(2, 3);
        const QStringList list{QStringLiteral("ONE"), QStringLiteral("TWO")};
        QCOMPARE(m_pCard->SendCommandList(&list), 1);
        QCOMPARE(steps.size(), 5); // the probe, then 2 x 2 exchanges
        QCOMPARE(steps[0].nCommand, 0);
        QCOMPARE(steps[0].strPort, QStringLiteral("A"));
        for (int i = 1; i < 5; ++i)
        {
            QCOMPARE(steps[i].nCard, 2);
            QCOMPARE(steps[i].nCards, 3);
            QCOMPARE(steps[i].nCommand, i);
            QCOMPARE(steps[i].nCommands, 4);
            QCOMPARE(steps[i].strTarget, i <= 2 ? QStringLiteral("138") : QStringLiteral("139"));
        }
    }

    void exportBlock()
    {
        m_pCard->SetName(QStringLiteral("东门"));
        auto* pFirst = new CGsmPage(m_pCard.get());
        m_pCard->AddPage(pFirst);
        auto* pSkipped = new CGsmPage(m_pCard.get());
        pSkipped->SetChecked(0);
        m_pCard->AddPage(pSkipped);
        auto* pEmpty = new CGsmPage(m_pCard.get());
        pEmpty->SetContent(QString());
        m_pCard->AddPage(pEmpty);
        auto* pLong = new CGsmPage(m_pCard.get());
        pLong->SetContent(QString(186, u'x'));
        m_pCard->AddPage(pLong);

        const QString strHead = QString::fromUtf16(CMD_HEADER) + QString::fromUtf16(CMD_MESSAGE);
        int nMessages = 0;
        const QString strBlock = CardExportBlock(m_pCard.get(), false, &nMessages);
        QCOMPARE(nMessages, 3); // the empty message takes part without a command
        QCOMPARE(g_cmdList.size(), 3);
        QVERIFY(g_cmdList[0].startsWith(strHead + QStringLiteral("000")));
        QVERIFY(g_cmdList[1].startsWith(strHead + QStringLiteral("001")));
        QVERIFY(g_cmdList[2].startsWith(strHead + QStringLiteral("002")));
        QCOMPARE(strBlock, QStringLiteral("控制卡(东门)内容指令如下:\r\n") +
                               g_cmdList.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

        nMessages = 0;
        CardExportBlock(m_pCard.get(), true, &nMessages);
        QCOMPARE(nMessages, 4);
        QCOMPARE(g_cmdList.size(), 4);
    }

    void exportListing()
    {
        CGsmCard second;
        second.SetName(QStringLiteral("B"));
        second.SetChecked(0);
        second.AddPage(new CGsmPage(&second));
        m_pCard->SetName(QStringLiteral("A"));

        int nMessages = -1;
        QByteArray listing = ExportListing({m_pCard.get(), &second}, false, &nMessages);
        QCOMPARE(nMessages, 0); // only a header: nothing exported
        QCOMPARE(listing, QByteArray("\xff\xfe", 2) +
                              KxToUtf16Le(QStringLiteral("控制卡(A)内容指令如下:\r\n")));

        listing = ExportListing({m_pCard.get(), &second}, true, &nMessages);
        QCOMPARE(nMessages, 1);
        const QString strText = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(listing.constData() + 2), (listing.size() - 2) / 2);
        QVERIFY(strText.startsWith(
            QStringLiteral("控制卡(A)内容指令如下:\r\n控制卡(B)内容指令如下:\r\n")));
        QVERIFY(strText.endsWith(QStringLiteral("欢迎使用\r\n")));
        QCOMPARE(ExportListing({}, true, nullptr), QByteArray("\xff\xfe", 2));
    }
};

QTEST_GUILESS_MAIN(TestSend)
#include "tst_send.moc"
