// UI string lookup, the built-in table and the option-list helpers.
#include "MutliLang/LanguageManager.h"
#include "ObjectData/Global.h"
#include "Pub/KxStr.h"
#include "Pub/KxStrTable.h"

#include <QtTest>

class TestStrings : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { g_langManager.ClearStrings(); }

    void builtinTableIsComplete()
    {
        QList<int> expected;
        for (int id = 41001; id <= 41090; ++id)
            expected.append(id);
        for (int id = 42000; id <= 42044; ++id)
            expected.append(id);
        QCOMPARE(KxBuiltinStringIds(), expected);
        for (int id : expected)
            QVERIFY2(!CKxStr(id, 512).GetText().isEmpty(), qPrintable(QString::number(id)));
    }

    void builtinTexts_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::newRow("41001") << 41001 << "关于";
        QTest::newRow("41003") << 41003 << "添加卡";
        QTest::newRow("41051") << 41051 << "*如要绑定手机号码请以+86开始";
        QTest::newRow("41090") << 41090 << "导出全部内容的指令";
        QTest::newRow("42001") << 42001 << "串口模式|DTU模式|串口模式 -U|DTU模式 -U|";
        QTest::newRow("42018") << 42018 << "指令执行成功!";
        QTest::newRow("42019") << 42019 << "E002:无法识别，或不支持的指令。";
        QTest::newRow("42031") << 42031 << "未能在串口出找到通信设备!";
        QTest::newRow("42033") << 42033 << "%Y年%M月%D日 星期%w %H:%m:%S|%H:%m:%S|%H:%m:%S %w|";
        QTest::newRow("42035") << 42035 << "控制卡";
        QTest::newRow("42044") << 42044 << "定时屏幕关机";
    }
    void builtinTexts()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QCOMPARE(CKxStr(id).GetText(), text);
    }

    void capacityCutsBuiltinTextsOnly()
    {
        const QString scan = CKxStr(42010, 512).GetText();
        QVERIFY(scan.size() > 256);
        QVERIFY(scan.endsWith(QStringLiteral("4.8  1/4扫,每16点上折1次,一路数据带8行|")));
        QCOMPARE(CKxStr(42010).GetText(), scan.left(255));

        const QString longText(700, u'L');
        g_langManager.SetString(2010, longText);
        QCOMPARE(CKxStr(42010).GetText(), longText); // a language text comes whole
    }

    void languageWinsBuiltinIsFallback()
    {
        g_langManager.SetString(1003, QStringLiteral("Add card"));
        QCOMPARE(CKxStr(41003).GetText(), QStringLiteral("Add card"));
        QCOMPARE(CKxStr(41004).GetText(), QStringLiteral("添加文本"));
        g_langManager.SetString(1004, QString()); // an empty translation still counts
        QCOMPARE(CKxStr(41004).GetText(), QString());
    }

    void unknownIdGivesEmptyText()
    {
        QCOMPARE(CKxStr(41091).GetText(), QString());
        QCOMPARE(CKxStr(0xFFFF).GetText(), QString());
        QCOMPARE(CKxStr(40000).GetText(), QString());
    }

    void optionListCounts_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("count");
        QTest::newRow("card type") << 42000 << 2;
        QTest::newRow("send mode") << 42001 << 4;
        QTest::newRow("colour") << 42002 << 3;
        QTest::newRow("type") << 42003 << 3;
        QTest::newRow("effect") << 42004 << 45;
        QTest::newRow("border styles") << 42005 << 10;
        QTest::newRow("colour type") << 42006 << 3;
        QTest::newRow("row order") << 42007 << 3;
        QTest::newRow("data polarity") << 42008 << 2;
        QTest::newRow("oe polarity") << 42009 << 2;
        QTest::newRow("scan") << 42010 << 12;
        QTest::newRow("bind option") << 42011 << 2;
        QTest::newRow("power state") << 42012 << 2;
        QTest::newRow("echo level") << 42013 << 4;
        QTest::newRow("buzzer") << 42014 << 4;
        QTest::newRow("time formats") << 42033 << 3;
    }
    void optionListCounts()
    {
        QFETCH(int, id);
        QFETCH(int, count);
        QStringList items;
        QCOMPARE(SplitComboList(CKxStr(id, 512).GetText(), &items), count);
        QCOMPARE(items.size(), count);
    }

    void effectAndScanEntries()
    {
        QStringList items;
        SplitComboList(CKxStr(42004, 512).GetText(), &items);
        QCOMPARE(items[2], QStringLiteral("连续左移"));
        QCOMPARE(items[44], QStringLiteral("斜向左展"));
        SplitComboList(CKxStr(42010, 512).GetText(), &items);
        QCOMPARE(items[0], QStringLiteral("16.0  1/16扫,不打折(**室内点阵,常规**)"));
        QCOMPARE(items[4], QStringLiteral("4.1  1/4扫(**P10常规**)"));
    }

    void splitComboList_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("closed") << "a|b|" << QStringList{"a", "b"};
        QTest::newRow("open") << "a|b" << QStringList{"a", "b"};
        QTest::newRow("double bar") << "a||b|" << QStringList{"a", "", "b"};
        QTest::newRow("leading bar") << "|a|b|" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void splitComboList()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QStringList got{QStringLiteral("old")};
        QCOMPARE(SplitComboList(text, &got), int(items.size()));
        QCOMPARE(got, items);
    }

    void borderList()
    {
        QStringList items;
        QCOMPARE(SplitBorderList(CKxStr(42005, 512).GetText(), &items), 10);
        QCOMPARE(items.size(), 55);
        QCOMPARE(items[0], QStringLiteral("无"));
        QCOMPARE(items[1], QStringLiteral("快速，顺时钟，红色 1"));
        QCOMPARE(items[6], QStringLiteral("快速，顺时钟，红色 6"));
        QCOMPARE(items[7], QStringLiteral("中速，逆时钟，红色 1"));
        QCOMPARE(items[54], QStringLiteral("慢速，闪烁，黄色 6"));

        // Pieces holding "%" markers are copied, not formatted.
        SplitBorderList(QStringLiteral("none|%2 x|"), &items);
        QCOMPARE(items[1], QStringLiteral("%2 x 1"));
    }

    void listsMadeInCode()
    {
        QStringList items;
        QCOMPARE(SplitComboList(SpeedOptionList(), &items), 36);
        QCOMPARE(items[10], QStringLiteral("a"));
        QCOMPARE(items[35], QStringLiteral("z"));

        items = StayOptionItems();
        QCOMPARE(items.size(), 34);
        QCOMPARE(items[9], QStringLiteral("9"));
        QCOMPARE(items[10], QStringLiteral("10"));
        QCOMPARE(items[11], QStringLiteral("15"));
        QCOMPARE(items[33], QStringLiteral("125"));

        QCOMPARE(SplitComboList(BrightnessOptionList(), &items), 16);
        QCOMPARE(items[0], QStringLiteral("0(暗)"));
        QCOMPARE(items[10], QStringLiteral("A"));
        QCOMPARE(items[15], QStringLiteral("F(最亮)"));

        QCOMPARE(IntToText(-42), QStringLiteral("-42"));
    }
};

QTEST_GUILESS_MAIN(TestStrings)
#include "tst_strings.moc"
