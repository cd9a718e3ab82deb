// Every command builder, in the command set this test program was built with.
#include "ObjectData/CardCommands.h"
#include "ObjectData/DivObj.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"

#include <QtTest>

namespace
{
#ifdef KX_COMMAND_SET_EN
const bool kEnglish = true;
#else
const bool kEnglish = false;
#endif

// Header plus keyword of the set under test.
QString Head(const char* cn, const char* en)
{
    return kEnglish ? QStringLiteral("*#1") + QString::fromUtf8(en)
                    : QStringLiteral("朔禾") + QString::fromUtf8(cn);
}

using Builder = std::function<int(QString*)>;
} // namespace

Q_DECLARE_METATYPE(Builder)

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { RemoveAllCards(); }

    // The free builders and the card builders on a new card.
    void builders_data()
    {
        QTest::addColumn<Builder>("build");
        QTest::addColumn<QString>("expected");

        static CGsmCard card;
        auto row = [](const char* name, Builder b, const QString& text) {
            QTest::newRow(name) << b << text;
        };
        row("version", BuildVersionCommand, Head("版本", "FVER"));
        row("clock zones", BuildClockZoneCommand, Head("表盘分区", "NZAA"));
        row("time zones", BuildTimeZoneCommand, Head("时间分区", "NZAB"));
        row("reset zones", BuildResetZoneCommand, Head("重置分区", "OZRS"));
        row("reset all", BuildResetAllCommand, Head("复位", "OPNL"));
        row("delete 5", [](QString* p) { return BuildDeleteCommand(p, 5); }, Head("删除", "GDEL") + "005");
        row("delete 0", [](QString* p) { return BuildDeleteCommand(p, 0); }, Head("删除", "GDEL") + "000");
        row("delete 399", [](QString* p) { return BuildDeleteCommand(p, 399); }, Head("删除", "GDEL") + "399");
        row("delete 400", [](QString* p) { return BuildDeleteCommand(p, 400); }, Head("清空", "HALL999"));
        row("clear all", [](QString* p) { return BuildDeleteCommand(p, -1); }, Head("清空", "HALL999"));
        row("brightness 0", [](QString* p) { return BuildBrightnessCommand(p, 0); }, Head("亮度", "JLIT") + "0");
        row("brightness 9", [](QString* p) { return BuildBrightnessCommand(p, 9); }, Head("亮度", "JLIT") + "9");
        row("brightness 10", [](QString* p) { return BuildBrightnessCommand(p, 10); }, Head("亮度", "JLIT") + "A");
        row("brightness 15", [](QString* p) { return BuildBrightnessCommand(p, 15); }, Head("亮度", "JLIT") + "F");
        row("brightness 36", [](QString* p) { return BuildBrightnessCommand(p, 36); }, Head("亮度", "JLIT") + "[");
        row("power off", [](QString* p) { return BuildPowerCommand(p, 0); },
            kEnglish ? QStringLiteral("*#1KSLP000") : QStringLiteral("朔禾关机"));
        row("power on", [](QString* p) { return BuildPowerCommand(p, 1); },
            kEnglish ? QStringLiteral("*#1KSLP001") : QStringLiteral("朔禾开机"));
        row("power 2", [](QString* p) { return BuildPowerCommand(p, 2); },
            kEnglish ? QStringLiteral("*#1KSLP002") : QStringLiteral("朔禾开机"));
        row("echo 1 3", [](QString* p) { return BuildEchoCommand(p, 1, 3); }, Head("回显", "PECH") + "13");
        row("screen", [](QString* p) { return card.BuildScreenCommand(p); }, Head("屏参", "LSET") + "0064x032,101000");
        row("zones", [](QString* p) { return card.BuildZoneCommand(p); }, Head("分区", "MZON") + "1:0,0,32,16|");
        row("bind cancel, no numbers", [](QString* p) { return card.BuildBindCommand(p, 0); }, Head("绑定", "SBDP") + "0");
        row("timed brightness", [](QString* p) { return card.BuildTimedBrightnessCommand(p); },
            Head("定时调亮", "JLIA") + "1:0,23,0|");
        row("timed power", [](QString* p) { return card.BuildTimedPowerCommand(p); },
            Head("定时开关", "KSLA") + "1:0:00,23:59|");
    }
    void builders()
    {
        QFETCH(Builder, build);
        QFETCH(QString, expected);
        QString text = QStringLiteral("stale");
        QCOMPARE(build(&text), int(expected.size()));
        QCOMPARE(text, expected);
        QCOMPARE(build(nullptr), -1); // no buffer: nothing written
    }

    void vocabularyEdges()
    {
        // Fixed forms of both sets.
        QString text;
        BuildVersionCommand(&text);
        QCOMPARE(text, kEnglish ? QStringLiteral("*#1FVER") : QStringLiteral("朔禾版本"));
        BuildDeleteCommand(&text, -1);
        QCOMPARE(text, kEnglish ? QStringLiteral("*#1HALL999") : QStringLiteral("朔禾清空"));
    }

    void screenCommand()
    {
        CGsmCard card;
        card.SetWidth(1600);
        card.SetHeight(128);
        card.SetColorType(2);
        card.SetDataPolarity(1);
        card.SetOePolarity(0);
        card.SetScanMode(4);
        card.SetRowOrder(2);
        QString text;
        card.BuildScreenCommand(&text);
        QCOMPARE(text, Head("屏参", "LSET") + "1600x128,310412");

        card.SetWidth(12345); // written in full, never cut
        card.SetScanMode(12); // outside the table: code 00
        card.BuildScreenCommand(&text);
        QCOMPARE(text, Head("屏参", "LSET") + "12345x128,310002");
    }

    void scanCodes()
    {
        const int codes[] = {0, 80, 81, 82, 41, 42, 43, 44, 45, 46, 47, 48};
        for (int i = 0; i < 12; ++i)
            QCOMPARE(CGsmCard::ScanCode(i), codes[i]);
        QCOMPARE(CGsmCard::ScanCode(-1), 0);
    }

    void zoneCommandListsZonesInOrder()
    {
        CGsmCard card;
        auto* z = new CDivObj;
        z->SetX(32);
        z->SetCx(96);
        z->SetCy(32);
        card.AddZone(z);
        QString text;
        card.BuildZoneCommand(&text);
        QCOMPARE(text, Head("分区", "MZON") + "2:0,0,32,16|32,0,96,32|");
        card.RemoveAllZones();
        card.BuildZoneCommand(&text);
        QCOMPARE(text, Head("分区", "MZON") + "0:");
    }

    void bindCommand()
    {
        CGsmCard card;
        card.SetBindPhones(QStringLiteral("+8613800000000|+8613900000000|"));
        QString text;
        card.BuildBindCommand(&text, 1);
        QCOMPARE(text, Head("绑定", "SBDP") + "1+8613800000000|+8613900000000|");
    }

    void timedCommands()
    {
        CGsmCard card;
        auto& power = card.GetPowerSlots();
        power[0] = CPowerSlot{6, 5, 7, 0, 1};
        power[1] = CPowerSlot{8, 0, 9, 30, 1};
        power[2] = CPowerSlot{10, 0, 11, 0, 1};
        power[3] = CPowerSlot{12, 15, 23, 45, 1};
        QString text;
        card.BuildTimedPowerCommand(&text);
        QCOMPARE(text, Head("定时开关", "KSLA") + "4:6:05,7:00|8:00,9:30|10:00,11:00|12:15,23:45|");
        power[1].m_bEnabled = 0;
        card.BuildTimedPowerCommand(&text);
        QCOMPARE(text, Head("定时开关", "KSLA") + "3:6:05,7:00|10:00,11:00|12:15,23:45|");

        auto& bright = card.GetBrightSlots();
        bright[2] = CBrightSlot{18, 22, 9, 1};
        card.BuildTimedBrightnessCommand(&text);
        QCOMPARE(text, Head("定时调亮", "JLIA") + "2:0,23,0|18,22,9|");

        // Nothing enabled: nothing to build, and the caller's text stays.
        for (auto& s : power)
            s.m_bEnabled = 0;
        for (auto& s : bright)
            s.m_bEnabled = 0;
        text = QStringLiteral("kept");
        QCOMPARE(card.BuildTimedPowerCommand(&text), -1);
        QCOMPARE(card.BuildTimedBrightnessCommand(&text), -1);
        QCOMPARE(text, QStringLiteral("kept"));
    }

    void clockCommand_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("advance");
        QTest::addColumn<QString>("params");
        // 2026-12-11 is a Friday; 2026-12-13 a Sunday.
        QTest::newRow("plain") << QDateTime(QDate(2026, 12, 11), QTime(9, 5, 7)) << 5
                               << "20261211090512" "5";
        QTest::newRow("next day") << QDateTime(QDate(2026, 12, 11), QTime(23, 59, 30)) << 60
                                  << "20261212000030" "6";
        QTest::newRow("sunday is 7") << QDateTime(QDate(2026, 12, 13), QTime(12, 0, 0)) << 0
                                     << "20261213120000" "7";
        QTest::newRow("new year") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)) << 1
                                  << "20270101000000" "5";
    }
    void clockCommand()
    {
        QFETCH(QDateTime, now);
        QFETCH(int, advance);
        QFETCH(QString, params);
        QString text;
        QCOMPARE(BuildClockCommand(&text, advance, now), int(Head("校时", "ITIM").size() + 15));
        QCOMPARE(text, Head("校时", "ITIM") + params);
        QCOMPARE(BuildClockCommand(nullptr, 0), -1);
    }

    void defaultMessage()
    {
        CGsmCard card;
        CGsmPage page(&card);
        QStringList list;
        QVERIFY(page.BuildCommands(&list, 0));
        QCOMPARE(list, QStringList{Head("完整", "E") + "00002101000欢迎使用"});
        QCOMPARE(list.first().size() - 4, 15); // the prefix is 15 in both sets
    }

    void attributeCodes_data()
    {
        QTest::addColumn<QList<int>>("fields"); // type effect speed stay colour zone font border
        QTest::addColumn<QString>("code");
        QTest::newRow("defaults") << QList<int>{0, 2, 1, 0, 0, 0, 0, 0} << "02101000";
        QTest::newRow("clock face") << QList<int>{1, 0, 0, 0, 1, 1, 1, 1} << "A0002111";
        QTest::newRow("digital") << QList<int>{2, 9, 9, 9, 2, 3, 3, 9} << "B9993339";
        QTest::newRow("lower letters") << QList<int>{0, 10, 10, 10, 0, 0, 0, 35} << "0aaA100z";
        QTest::newRow("upper ends") << QList<int>{0, 36, 35, 33, 0, 0, 0, 54} << "0AzX100S";
        QTest::newRow("last effect") << QList<int>{7, 44, 0, 0, 0, 0, 0, 36} << "0I00100A";
    }
    void attributeCodes()
    {
        QFETCH(QList<int>, fields);
        QFETCH(QString, code);
        CGsmCard card;
        CGsmPage page(&card);
        page.SetType(fields[0]);
        page.SetEffect(fields[1]);
        page.SetSpeed(fields[2]);
        page.SetStay(fields[3]);
        page.SetColor(fields[4]);
        page.SetZone(fields[5]);
        page.SetFont(fields[6]);
        page.SetBorder(fields[7]);
        QCOMPARE(page.AttributeCode(), code);
    }

    void textSplitting_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("firstId");
        QTest::addColumn<QList<int>>("pieces");
        QTest::newRow("185 fits") << 185 << 0 << QList<int>{185};
        QTest::newRow("186 splits") << 186 << 0 << QList<int>{185, 1};
        QTest::newRow("400 from 398") << 400 << 398 << QList<int>{185, 185, 30};
        QTest::newRow("empty") << 0 << 0 << QList<int>{};
    }
    void textSplitting()
    {
        QFETCH(int, length);
        QFETCH(int, firstId);
        QFETCH(QList<int>, pieces);
        CGsmCard card;
        CGsmPage page(&card);
        QString content;
        for (int i = 0; i < length; ++i)
            content += QChar(u'a' + i % 26);
        page.SetContent(content);
        QStringList list{QStringLiteral("earlier")};
        QVERIFY(page.BuildCommands(&list, firstId));
        QCOMPARE(list.size(), 1 + pieces.size());
        QString rebuilt;
        for (int i = 0; i < pieces.size(); ++i)
        {
            const QString& cmd = list[1 + i];
            const QString prefix = Head("完整", "E") + QString::asprintf("%03d", firstId + i);
            QVERIFY2(cmd.startsWith(prefix), qPrintable(cmd));
            QCOMPARE(cmd.size(), 15 + pieces[i]);
            QVERIFY(cmd.size() <= 200);
            rebuilt += cmd.mid(15);
        }
        QCOMPARE(rebuilt, content);
    }

    void textNeverSplitsACharacterInTwo()
    {
        CGsmCard card;
        CGsmPage page(&card);
        // 184 letters, then a character outside the basic plane (two units).
        const QString content = QString(184, u'x') + QString::fromUcs4(U"\U0001F600") + "y";
        page.SetContent(content);
        QStringList list;
        QVERIFY(page.BuildCommands(&list, 0));
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].mid(15), QString(184, u'x'));
        QCOMPARE(list[1].mid(15), QString::fromUcs4(U"\U0001F600") + "y");
    }

    void clockFaceAndDigitalClock()
    {
        CGsmCard card;
        CGsmPage page(&card);
        page.SetType(1);
        page.SetContent(QString(500, u'z')); // a clock face sends no content
        QStringList list;
        QVERIFY(page.BuildCommands(&list, 7));
        QCOMPARE(list, QStringList{Head("完整", "E") + "007A2101000"});

        page.SetType(2);
        page.SetTimeFormat(QString(185, u'%'));
        list.clear();
        QVERIFY(page.BuildCommands(&list, 1));
        QCOMPARE(list.first().size(), 200);
        page.SetTimeFormat(QString(186, u'%')); // too long: the default format instead
        list.clear();
        QVERIFY(page.BuildCommands(&list, 1));
        QCOMPARE(list, QStringList{Head("完整", "E") + "001B2101000%H:%m:%S"});
    }

    void refusedIds()
    {
        CGsmCard card;
        CGsmPage page(&card);
        QStringList list;
        QVERIFY(!page.BuildCommands(&list, 400));
        QVERIFY(!page.BuildCommands(&list, -1));
        QVERIFY(!page.BuildCommands(nullptr, 0));
        QVERIFY(list.isEmpty());
        QVERIFY(page.BuildCommands(&list, 399));
    }

    // Send and export number each card's messages by the commands already built.
    void idsRunOnAcrossACard()
    {
        CGsmCard card;
        auto add = [&](int length) {
            auto* p = new CGsmPage(&card);
            p->SetContent(QString(length, u'q'));
            card.AddPage(p);
        };
        add(400); // three commands
        add(0);   // none
        add(3);
        QStringList list;
        for (CGsmPage* p : card.GetPageList())
            p->BuildCommands(&list, int(list.size()));
        QCOMPARE(list.size(), 4);
        QVERIFY(list[3].startsWith(Head("完整", "E") + "003"));
    }

    void previewIdComesFromTheMainWindow()
    {
        CGsmCard card;
        CGsmPage page(&card);
        QCOMPARE(page.RefreshCommands(true).first().mid(Head("完整", "E").size(), 3), "000");
        g_fnPageNumberBase = [](const CGsmPage*) { return 2; };
        QCOMPARE(page.RefreshCommands(true).size(), 1);
        QCOMPARE(page.RefreshCommands(false).first().mid(Head("完整", "E").size(), 3), "002");
        g_fnPageNumberBase = [](const CGsmPage*) { return 400; };
        QVERIFY(page.RefreshCommands(true).isEmpty()); // emptied before a refused build
        g_fnPageNumberBase = nullptr;
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
