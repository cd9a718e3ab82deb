// The real program, started as a user starts it and ended from outside: a
// session that ends by a signal still saves the settings and the project,
// an unreadable project is kept aside, and a failed save is reported.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TestMainApp : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_pRoot;
    QString m_strDir; // the program's folder
    QString m_strErr; // what the program wrote to its error output

    QString FilePath(const QString& strName) const { return QDir(m_strDir).filePath(strName); }

    // Copies the program with its language file into a folder of its own.
    void Install()
    {
        m_pRoot = std::make_unique<QTemporaryDir>();
        m_strDir = QDir(m_pRoot->path()).filePath(QStringLiteral("app"));
        QVERIFY(QDir().mkpath(m_strDir + QStringLiteral("/Language")));
        QVERIFY(QFile::copy(QStringLiteral(KX_BIN_DIR "/KX_GSM_CN"), FilePath("KX_GSM_CN")));
        QVERIFY(QFile::copy(QStringLiteral(KX_SOURCE_DIR "/Language/English.dll"),
                            FilePath("Language/English.dll")));
    }

    // Starts the program and waits until it has read its files and is about
    // to open its window (the trace of the language scan says so).
    void Start(QProcess& process)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("kx.lang.debug=true"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_pRoot->path());
        process.setReadChannel(QProcess::StandardError);
        process.start(FilePath("KX_GSM_CN"), {});
        QVERIFY(process.waitForStarted());
        m_strErr.clear();
        while (!m_strErr.contains(QStringLiteral("lang path=")))
        {
            QVERIFY2(process.waitForReadyRead(30000), "the program did not start up");
            m_strErr += QString::fromUtf8(process.readAllStandardError());
        }
    }

    void Stop(QProcess& process, int nSignal)
    {
        ::kill(pid_t(process.processId()), nSignal);
        QVERIFY2(process.waitForFinished(30000), "the program did not end");
        m_strErr += QString::fromUtf8(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

    QString Read(const QString& strPath) const
    {
        QFile file(strPath);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void signalEndSaves_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalEndSaves()
    {
        QFETCH(int, signal);
        Install();
        QProcess process;
        Start(process);
        Stop(process, signal);
        // A first run: one new card, saved; the settings with the built-in
        // language, as no file matched the default.
        QVERIFY(Read(FilePath("default.gsmprj")).contains(QStringLiteral("<nm>控制卡1</nm>")));
        const QString strIni = Read(FilePath("KX_GSM_CN.ini"));
        QVERIFY(strIni.contains(QStringLiteral("LANG=2052")));
        QVERIFY(strIni.contains(QStringLiteral("TIME=1500")));
    }

    void unreadableProjectIsKeptAside()
    {
        Install();
        const QByteArray garbage("<project><gsmcard><nm>half");
        {
            QFile file(FilePath("default.gsmprj"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(garbage);
        }
        QProcess process;
        Start(process);
        // The report of the kept file is open over the main window when the
        // session ends; it is closed with everything else.
        Stop(process, SIGTERM);
        const QStringList kept = QDir(m_strDir).entryList({QStringLiteral("default.gsmprj.*")});
        QCOMPARE(kept.size(), 1);
        QFile keptFile(FilePath(kept.first()));
        QVERIFY(keptFile.open(QIODevice::ReadOnly));
        QCOMPARE(keptFile.readAll(), garbage);
        QVERIFY(Read(FilePath("default.gsmprj")).contains(QStringLiteral("<nm>控制卡1</nm>")));
    }

    void failedSaveIsReported()
    {
        Install();
        QProcess process;
        Start(process);
        // While it runs, folders take the places of its two files, so neither
        // can be written.
        for (const char* pszName : {"default.gsmprj", "KX_GSM_CN.ini"})
        {
            QVERIFY(QDir(m_strDir).mkpath(QStringLiteral("%1/keep").arg(QLatin1String(pszName))));
        }
        Stop(process, SIGTERM);
        // Ended from outside, so the reasons go to the error output instead
        // of a box nobody would answer.
        QVERIFY2(m_strErr.contains(QStringLiteral("default.gsmprj")), qUtf8Printable(m_strErr));
        QVERIFY(m_strErr.contains(QStringLiteral("KX_GSM_CN.ini")));
        QVERIFY(QFileInfo(FilePath("default.gsmprj")).isDir());
    }
};

QTEST_GUILESS_MAIN(TestMainApp)
#include "tst_main_app.moc"
