// The settings file beside the program.
#include "Pub/KxNumber.h"
#include "Pub/Settings.h"
#include "tst_files.h"

#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void pathFollowsTheProgram()
    {
        QCOMPARE(SettingsPathFor(QStringLiteral("/opt/kx/KX_GSM_CN")),
                 QStringLiteral("/opt/kx/KX_GSM_CN.ini"));
    }

    void firstRunDefaultsThenRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KX_GSM_CN.ini"));
        LoadSettings(path);
        QCOMPARE(g_nLang, 2);
        QCOMPARE(g_nPkg, 256);
        QCOMPARE(g_nTime, 1500);

        g_nLang = 2052;
        QVERIFY(SaveSettings(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY(text.contains("[App]"));
        QVERIFY(text.indexOf("LANG=2052") < text.indexOf("PKG=256"));
        QVERIFY(text.indexOf("PKG=256") < text.indexOf("TIME=1500"));

        g_nLang = g_nPkg = g_nTime = 0;
        LoadSettings(path);
        QCOMPARE(g_nLang, 2052);
        QCOMPARE(g_nPkg, 256);
        QCOMPARE(g_nTime, 1500);
    }

    void handWrittenValues()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.ini"));
        KxTestWrite(path, "[App]\nPKG=4096\nTIME=3000\nLANG=abc\nOTHER=keep me\n[Mine]\nA=1\n");
        LoadSettings(path);
        QCOMPARE(g_nPkg, 4096); // carried along unchanged
        QCOMPARE(g_nTime, 3000);
        QCOMPARE(g_nLang, 0); // present but not a number
        QVERIFY(SaveSettings(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY(text.contains("PKG=4096"));
        QVERIFY(text.contains("OTHER=keep me")); // what we do not know, we keep
        QVERIFY(text.contains("[Mine]"));
    }

    void unwritableFileIsReported()
    {
        QTemporaryDir dir;
        // A folder where the file should be: it cannot be written.
        const QString path = dir.filePath(QStringLiteral("blocked.ini"));
        QVERIFY(QDir().mkpath(path));
        QVERIFY(!SaveSettings(path));
    }

    void integerReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "1500" << 1500;
        QTest::newRow("blanks and sign") << "  -42" << -42;
        QTest::newRow("plus") << "+7" << 7;
        QTest::newRow("stops at letter") << "12ab3" << 12;
        QTest::newRow("no digits") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("sign only") << "-" << 0;
        QTest::newRow("too large") << "99999999999" << 2147483647;
        QTest::newRow("too small") << "-99999999999" << int(-2147483647 - 1);
    }
    void integerReading()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(KxStrToInt(text), value);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
