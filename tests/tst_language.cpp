// Language files and the language manager: the scan behind the language
// menu, activation, loading untrusted files, the shipped English file and the
// binding table of the dialogs.
#include "MutliLang/LanguageList.h"
#include "MutliLang/LanguageManager.h"
#include "ObjectData/Global.h"
#include "Pub/KxStr.h"
#include "Pub/KxStrTable.h"
#include "Pub/Settings.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QStringList s_traces;

void CollectTraces(QtMsgType, const QMessageLogContext& ctx, const QString& msg)
{
    if (ctx.category && QLatin1String(ctx.category) == QLatin1String("kx.lang"))
        s_traces << msg;
}

// A program folder whose Language folder holds the given files.
struct ProgramDir
{
    QTemporaryDir dir;
    QString Language(const QString& strName) const
    {
        return QDir(dir.path()).filePath(QStringLiteral("Language/") + strName);
    }
    void AddFixture(const QString& strName)
    {
        QDir(dir.path()).mkpath(QStringLiteral("Language"));
        QFile::copy(QStringLiteral(KX_TEST_DATA_DIR "/") + strName, Language(strName));
    }
    void AddFile(const QString& strName, const QByteArray& data)
    {
        QDir(dir.path()).mkpath(QStringLiteral("Language"));
        QFile f(Language(strName));
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            qFatal("cannot write %s", qPrintable(strName));
    }
};

const char* const s_fixtures[] = {"lang-a-tiny.dll", "lang-b-otherroot.dll", "lang-c-notxml.dll",
                                  "lang-d-odd.dll",  "lang-e-upper.DLL",     "lang-f-readme.txt"};

int SplitCount(int nId, const QString& strText)
{
    // The border list is expanded by its own rule; both count its pieces.
    return nId == 42005 ? SplitBorderList(strText, nullptr) : SplitComboList(strText, nullptr);
}
} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        g_langManager.ClearStrings();
        g_langMap.clear();
        g_nLang = 0;
    }

    void noFilesNoMenu()
    {
        ProgramDir prog;
        ScanLanguageFiles(prog.dir.path()); // no Language folder at all
        QVERIFY(g_langMap.isEmpty());
        QDir(prog.dir.path()).mkpath(QStringLiteral("Language"));
        prog.AddFixture(QStringLiteral("lang-b-otherroot.dll"));
        prog.AddFixture(QStringLiteral("lang-f-readme.txt"));
        ScanLanguageFiles(prog.dir.path()); // nothing usable: still no built-in entry
        QVERIFY(g_langMap.isEmpty());
        QVERIFY(!GetLanguagePath(kFirstLanguageCommand));
        QCOMPARE(GetLanguageId(kFirstLanguageCommand), 0);
        QVERIFY(!g_langManager.ActivateLanguage(kFirstLanguageCommand));
    }

    void scanListsUsableFilesThenTheBuiltIn()
    {
        ProgramDir prog;
        for (const char* name : s_fixtures)
            prog.AddFixture(QLatin1String(name));

        s_traces.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("kx.lang.debug=true"));
        const QtMessageHandler old = qInstallMessageHandler(CollectTraces);
        ScanLanguageFiles(prog.dir.path());
        qInstallMessageHandler(old);
        QLoggingCategory::setFilterRules(QString());

        QStringList menu;
        for (auto it = g_langMap.cbegin(); it != g_langMap.cend(); ++it)
            menu << QStringLiteral("%1 %2 %3 %4")
                        .arg(it.key())
                        .arg(it->nId)
                        .arg(it->strName, QFileInfo(it->strPath).fileName());
        QCOMPARE(menu, QStringList({
                           QStringLiteral("1134 1036 Tiny lang-a-tiny.dll"),
                           // no name: the file's own name stands in for it
                           QStringLiteral("1135 3082 lang-d-odd lang-d-odd.dll"),
                           QStringLiteral("1136 1031 Upper case lang-e-upper.DLL"),
                           QStringLiteral("1137 2052 简体中文(CHS) "),
                       }));
        QCOMPARE(g_langMap.last().strPath, QString());
        QCOMPARE(*GetLanguagePath(1134), prog.Language(QStringLiteral("lang-a-tiny.dll")));
        QCOMPARE(*GetLanguagePath(1137), QString());
        QVERIFY(!GetLanguagePath(1138));
        QCOMPARE(GetLanguageId(1136), 1031);
        QCOMPARE(GetLanguageId(1133), 0);

        // One trace line for every .dll looked at, usable or not.
        QCOMPARE(s_traces.size(), 5);
        QCOMPARE(s_traces.first(), QStringLiteral("lang path=%1 \n")
                                       .arg(QDir::toNativeSeparators(
                                           prog.Language(QStringLiteral("lang-a-tiny.dll")))));
    }

    void activationSwitchesTheTexts()
    {
        ProgramDir prog;
        prog.AddFixture(QStringLiteral("lang-a-tiny.dll"));
        prog.AddFixture(QStringLiteral("lang-d-odd.dll"));
        ScanLanguageFiles(prog.dir.path());
        QCOMPARE(g_langMap.size(), 3);

        QVERIFY(g_langManager.ActivateLanguage(1134));
        QCOMPARE(g_nLang, 1036);
        QCOMPARE(g_langManager.GetStringCount(), 1);
        QCOMPARE(CKxStr(41003).GetText(), QStringLiteral("Ajouter une carte"));
        QCOMPARE(CKxStr(41004).GetText(), QStringLiteral("添加文本")); // built-in fallback

        // Switching empties the table first: nothing of the earlier language stays.
        QVERIFY(g_langManager.ActivateLanguage(1135));
        QCOMPARE(g_nLang, 3082);
        QCOMPARE(CKxStr(41003).GetText(), QStringLiteral("添加卡"));
        QCOMPARE(CKxStr(41004).GetText(), QStringLiteral("padded"));

        QVERIFY(g_langManager.ActivateLanguage(1136)); // the built-in language
        QCOMPARE(g_nLang, kBuiltinLanguageId);
        QCOMPARE(g_langManager.GetStringCount(), 0);
        QCOMPARE(CKxStr(41004).GetText(), QStringLiteral("添加文本"));

        QVERIFY(!g_langManager.ActivateLanguage(1137));
        QCOMPARE(g_nLang, kBuiltinLanguageId);

        // A listed file that has gone since the scan: the built-in texts show.
        QVERIFY(g_langManager.ActivateLanguage(1134));
        QVERIFY(QFile::remove(prog.Language(QStringLiteral("lang-a-tiny.dll"))));
        QVERIFY(g_langManager.ActivateLanguage(1134));
        QCOMPARE(g_nLang, kBuiltinLanguageId);
        QCOMPARE(g_langManager.GetStringCount(), 0);
    }

    void oddItemsAreHandledSafely()
    {
        QVERIFY(g_langManager.LoadLanguageFile(QStringLiteral(KX_TEST_DATA_DIR "/lang-d-odd.dll")));
        auto text = [](int nKey)
        { return g_langManager.FindString(nKey).value_or(QStringLiteral("-")); };
        QCOMPARE(text(0), QStringLiteral("not a number")); // the later of two keyless items
        QCOMPARE(text(1004), QStringLiteral("padded"));
        QCOMPARE(text(1005), QStringLiteral("second"));
        QCOMPARE(text(-2000), QStringLiteral("negative"));
        QCOMPARE(text(std::numeric_limits<int>::max()), QStringLiteral("huge"));
        QCOMPARE(text(1006), QStringLiteral("nested text"));
        QCOMPARE(text(1007), QString());
        QCOMPARE(text(1008), QStringLiteral("-")); // not an Item
        QCOMPARE(text(1009), QStringLiteral("-")); // outside Items
        QCOMPARE(text(2002), QStringLiteral("Rot|Grün|Gelb|"));
        QCOMPARE(g_langManager.GetStringCount(), 8);
    }

    void unusableFilesLoadNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("built-in (no path)") << QString();
        QTest::newRow("other root") << QStringLiteral(KX_TEST_DATA_DIR "/lang-b-otherroot.dll");
        QTest::newRow("not xml") << QStringLiteral(KX_TEST_DATA_DIR "/lang-c-notxml.dll");
        QTest::newRow("missing") << QStringLiteral(KX_TEST_DATA_DIR "/lang-none.dll");
    }

    void unusableFilesLoadNothing()
    {
        QFETCH(QString, path);
        QVERIFY(!g_langManager.LoadLanguageFile(path));
        QCOMPARE(g_langManager.GetStringCount(), 0);
    }

    void hugeInputIsBounded()
    {
        ProgramDir prog;
        // A text far longer than any label is cut; the rest of the file is read.
        const QByteArray longText(200000, 'w');
        prog.AddFile(QStringLiteral("long.dll"),
                     "<UIString name=\"" + QByteArray(5000, 'n') +
                         "\" id=\"1\"><Items><Item id=\"1003\">" + longText +
                         "</Item><Item id=\"1004\">ok</Item></Items></UIString>");
        // A file beyond the size any language needs is not read at all.
        QByteArray big = "<UIString name=\"Big\" id=\"2\"><Items><Item id=\"1003\">";
        big += QByteArray(int(kMaxLanguageFileBytes), 'b');
        big += "</Item></Items></UIString>";
        prog.AddFile(QStringLiteral("big.dll"), big);

        ScanLanguageFiles(prog.dir.path());
        QCOMPARE(g_langMap.size(), 2); // long.dll and the built-in language
        QCOMPARE(g_langMap.first().strName.size(), kMaxLanguageNameLength);
        QVERIFY(!g_langManager.LoadLanguageFile(prog.Language(QStringLiteral("big.dll"))));

        QVERIFY(g_langManager.ActivateLanguage(kFirstLanguageCommand));
        QCOMPARE(g_langManager.FindString(1003)->size(), CLanguageManager::kMaxTextLength);
        QCOMPARE(*g_langManager.FindString(1004), QStringLiteral("ok"));
        // A language text is returned whole, beyond the caller's capacity.
        QCOMPARE(CKxStr(41003, 256).GetText().size(), CLanguageManager::kMaxTextLength);
    }

    void englishFileIsComplete()
    {
        const QString strPath = QStringLiteral(KX_BIN_DIR "/Language/English.dll");
        QVERIFY2(QFile::exists(strPath), qPrintable(strPath));
        ScanLanguageFiles(QStringLiteral(KX_BIN_DIR));
        int nCommand = 0;
        for (auto it = g_langMap.cbegin(); it != g_langMap.cend(); ++it)
            if (it->strPath == QFileInfo(strPath).absoluteFilePath())
                nCommand = it.key();
        QVERIFY(nCommand);
        QCOMPARE(g_langMap[nCommand].strName, QStringLiteral("English"));
        QCOMPARE(g_langMap[nCommand].nId, 1033);
        QVERIFY(g_langManager.ActivateLanguage(nCommand));
        QCOMPARE(g_nLang, 1033);

        const QList<int> ids = KxBuiltinStringIds();
        QCOMPARE(ids.size(), 90 + 45);
        // The main table and the link's own texts, nothing else.
        QCOMPARE(g_langManager.GetStringCount(), ids.size() + 9);
        for (int nId = 42101; nId <= 42109; ++nId)
        {
            const std::optional<QString> text = g_langManager.FindString(nId - 40000);
            QVERIFY2(text && !text->isEmpty(), qPrintable(QString::number(nId)));
            // "%1 ... %2" and "(%1)" keep their placeholders.
            QCOMPARE(text->count(u'%'), nId == 42102 ? 2 : nId == 42109 ? 1 : 0);
        }
        const QRegularExpression han(QStringLiteral("\\p{Han}"));
        const QRegularExpression printf(QStringLiteral("%[sd]"));
        auto formats = [&](const QString& s)
        {
            QStringList found;
            for (const auto& m : printf.globalMatch(s))
                found << m.captured();
            return found;
        };
        for (int nId : ids)
        {
            const std::optional<QString> text = g_langManager.FindString(nId - 40000);
            QVERIFY2(text && !text->trimmed().isEmpty(), qPrintable(QString::number(nId)));
            QVERIFY2(!text->contains(han), qPrintable(QString::number(nId) + u' ' + *text));
            const QString builtin = QString::fromUtf16(KxBuiltinString(nId));
            QCOMPARE(formats(*text), formats(builtin));
            if (builtin.endsWith(u'|'))
            {
                // Option lists: the position of an entry is the stored value.
                QVERIFY2(text->endsWith(u'|'), qPrintable(QString::number(nId)));
                QCOMPARE(SplitCount(nId, *text), SplitCount(nId, builtin));
                QVERIFY2(!text->contains(QStringLiteral("||")), qPrintable(QString::number(nId)));
            }
        }
        // The codes of the time formats are passed to the card as they stand.
        for (const char* code : {"%Y", "%M", "%D", "%H", "%h", "%m", "%S", "%A", "%We", "%w"})
            QVERIFY2(CKxStr(41032).GetText().contains(QLatin1String(code)), code);
        // Default names read well with their number.
        QCOMPARE(CKxStr(42035).GetText() + QString::number(1), QStringLiteral("Card 1"));
    }

    void bindingTableIsExact()
    {
        // One row per dialog group: the caption string id (or "sep" for a
        // separator), then control:string pairs.
        const QStringList groups = {
            QString(),
            QStringLiteral("sep 1005:41003 1006:41004 1007:41005 1012:41006 1013:41007 "
                           "1008:41008 1009:41009 1010:41010 1011:41011 1016:41012 1017:41013"),
            QStringLiteral("sep 1000:41014 1001:41015 1002:41016 1003:41017 1004:41018"),
            QStringLiteral("sep"),
            QStringLiteral("sep 1027:41019 1028:41020 1029:41021 1030:41022 1031:41023 "
                           "1032:41024 1033:41025 1034:41026 1036:41027 1040:41028 1057:41029 "
                           "1058:41030 1133:41031 1134:41032"),
            QStringLiteral("sep 1029:41021 1050:41033 1052:41034 1053:41035 1055:41036 "
                           "1051:41037 1054:41038 1062:41039 1036:41027 1068:41040 1069:41041 "
                           "1067:41042"),
            QStringLiteral("sep 1119:41043 1120:41044 1125:41045 1127:41046 1126:41047 "
                           "1128:41048 1036:41027 1129:41039 1131:41049 1138:41077 1139:41078 "
                           "1141:41079 1184:41087"),
            QStringLiteral("sep 1070:41050 1090:41051 1071:41052 1073:41053 1075:41054 "
                           "1077:41055 1079:41056 1081:41057 1083:41058 1085:41059 1091:41060 "
                           "1088:41061 1036:41027"),
            QStringLiteral("sep 1092:41062 1112:41063 1095:41064 1096:41005 1113:41065 "
                           "1100:41066 1114:41067 1103:41039 1115:41068 1106:41039 1116:41069 "
                           "1117:41070 1110:41039 1142:41080 1140:41081 1144:41080 1143:41081 "
                           "1182:41086"),
            QStringLiteral("41071 1:41002 2:41072 1136:41073"),
            QStringLiteral("sep 1049:41074 1029:41021 1050:41033 1052:41034 1053:41035 "
                           "1055:41036 1051:41037 1054:41038 1056:41075 1048:41076"),
            QStringLiteral("41085 1:41002 2:41072 1162:41082 1163:41083 1164:41084"),
            QStringLiteral("41088 1:41002 2:41072 1185:41089 1186:41090"),
            QString(),
            QString(),
        };
        const QList<int> firsts = {0, 0, 12, 18, 19, 34, 47, 61, 75, 94, 98, 109, 115, 0, 0};
        const CLanguageManager& m = g_langManager;
        QCOMPARE(groups.size(), CLanguageManager::kGroupCount);
        int nUsed = 0;
        for (int g = 0; g < CLanguageManager::kGroupCount; ++g)
        {
            const quint32 word = m.GetGroupWord(g);
            const int nFirst = int(word & 0xFFFF);
            const int nCount = int(word >> 16);
            QStringList row;
            for (int i = nFirst; i < nFirst + nCount; ++i)
            {
                const quint32 e = m.GetBinding(i);
                if (e == CLanguageManager::kSeparator)
                    row << QStringLiteral("sep");
                else if ((e & 0xFFFF) == CLanguageManager::kCaptionControl)
                    row << QString::number(e >> 16);
                else
                    row << QStringLiteral("%1:%2").arg(e & 0xFFFF).arg(e >> 16);
            }
            QCOMPARE(row.join(u' '), groups[g]);
            QCOMPARE(nFirst, firsts[g]);
            nUsed += nCount;
        }
        QCOMPARE(nUsed, 120);
        QVERIFY(m.GetBinding(119) != 0);
        for (int i = 120; i < CLanguageManager::kBindingSize; ++i)
            QCOMPARE(m.GetBinding(i), 0u);
        QCOMPARE(m.GetBinding(-1), 0u);
        QCOMPARE(m.GetBinding(200), 0u);
        QCOMPARE(m.GetGroupWord(15), 0u);
        // 41001 is bound to no control.
        for (int i = 0; i < 120; ++i)
            QVERIFY(m.GetBinding(i) >> 16 != 41001);
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
