// Element-by-element XML access: building, the forward-only search and its
// position rules, loading bad files and saving without losing the old file.
#include "Pub/MarkupMSXML.h"
#include "tst_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestXml : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString Write(const QString& strName, const QByteArray& data)
    {
        return KxTestWrite(m_dir.filePath(strName), data);
    }

private slots:
    void buildsInCallOrderAndReadsBack()
    {
        CMarkupMSXML xml;
        QVERIFY(xml.AddDeclaration(QStringLiteral("xml version = \"1.0\"")));
        QVERIFY(xml.AppendElem(QStringLiteral("root")));
        QVERIFY(xml.SetAttr(QStringLiteral("ver"), -7));
        QVERIFY(xml.Enter());
        QVERIFY(xml.AppendElem(QStringLiteral("a"), QStringLiteral("one")));
        QVERIFY(xml.AppendElem(QStringLiteral("empty"), QString()));
        QVERIFY(xml.AppendElem(QStringLiteral("box")));
        QVERIFY(xml.Enter());
        QVERIFY(xml.AppendElem(QStringLiteral("n"), 42));
        QVERIFY(xml.Leave());
        // Back on "box": the next element is its sibling.
        QVERIFY(xml.AppendElem(QStringLiteral("b"), QStringLiteral("x < y & \"z\"")));
        QVERIFY(xml.Leave());
        QVERIFY(!xml.Leave()); // already at the document level
        const QString strPath = m_dir.filePath(QStringLiteral("built.xml"));
        QVERIFY2(xml.SaveFile(strPath), qPrintable(xml.m_strError));

        const QByteArray data = KxTestRead(strPath);
        QVERIFY(data.startsWith("<?xml version = \"1.0\"?>"));
        QCOMPARE(data.count("<?xml"), 1);
        QVERIFY(data.contains("<empty />")); // no content at all

        CMarkupMSXML in;
        QVERIFY(in.LoadFile(strPath));
        QVERIFY(in.FindNext(QStringLiteral("root")));
        QCOMPARE(in.GetAttr(QStringLiteral("ver")), QStringLiteral("-7"));
        QCOMPARE(in.GetAttr(QStringLiteral("missing")), QString());
        QVERIFY(in.Enter());
        QStringList names;
        while (in.FindNext())
            names << in.GetText();
        QCOMPARE(names, QStringList({QStringLiteral("one"), QString(), QStringLiteral("42"),
                                     QStringLiteral("x < y & \"z\"")}));
    }

    void searchOnlyMovesForward()
    {
        const QString strPath =
            Write(QStringLiteral("order.xml"), "<r><a>1</a><!-- note --><?pi data?>"
                                               "<b>2</b>text<c>3</c><b>4</b></r>");
        CMarkupMSXML xml;
        QVERIFY(xml.LoadFile(strPath));
        QVERIFY(xml.FindNext(QStringLiteral("r")));
        QVERIFY(xml.Enter());
        QVERIFY(xml.FindNext(QStringLiteral("b")));
        QCOMPARE(xml.GetText(), QStringLiteral("2"));
        // Missing: the position stays, the next search starts behind "b".
        QVERIFY(!xml.FindNext(QStringLiteral("zz")));
        QVERIFY(!xml.FindNext(QStringLiteral("a"))); // stands before the last found
        QVERIFY(!xml.FindNext(QStringLiteral("B"))); // names are case-sensitive
        QVERIFY(xml.FindNext(QStringLiteral("c")));
        QCOMPARE(xml.GetText(), QStringLiteral("3"));
        QVERIFY(xml.FindNext(QStringLiteral("b")));
        QCOMPARE(xml.GetText(), QStringLiteral("4"));
        QVERIFY(!xml.FindNext());
    }

    void childSearchAndLevels()
    {
        const QString strPath = Write(QStringLiteral("child.xml"),
                                      "<top><x>1</x><!-- c --><y>2<i>nested</i> end</y></top>");
        CMarkupMSXML xml;
        QVERIFY(xml.LoadFile(strPath));
        // At the document level the first element is made current first.
        QVERIFY(xml.FindNextChild(QStringLiteral("y")));
        QCOMPARE(xml.GetChildText(), QStringLiteral("2nested end")); // all text inside
        QCOMPARE(xml.GetText(), QStringLiteral("12nested end"));
        QVERIFY(!xml.FindNextChild(QStringLiteral("x"))); // before the current child
        QVERIFY(xml.Enter());                             // y becomes current
        QCOMPARE(xml.GetText(), QStringLiteral("2nested end"));
        QCOMPARE(xml.GetChildText(), QString());
        QVERIFY(xml.Leave()); // back on top, y current child again
        QVERIFY(!xml.FindNextChild(QStringLiteral("y")));
        QVERIFY(xml.Leave() == false);

        CMarkupMSXML empty;
        QVERIFY(!empty.Enter());
        QVERIFY(!empty.SetAttr(QStringLiteral("a"), 1));
        QCOMPARE(empty.GetText(), QString());
        QCOMPARE(empty.GetAttr(QStringLiteral("a")), QString());
        QVERIFY(!empty.FindNextChild(QStringLiteral("a")));
    }

    void textsSurviveAsTheyStand_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("blanks only") << QStringLiteral("   ");
        QTest::newRow("outer blanks") << QStringLiteral("  a b  ");
        QTest::newRow("line ends") << QStringLiteral("one\r\ntwo\nthree");
        QTest::newRow("markup") << QStringLiteral("<b>&amp;</b> ]]>");
        QTest::newRow("chinese") << QStringLiteral("欢迎使用|控制卡");
    }

    void textsSurviveAsTheyStand()
    {
        QFETCH(QString, text);
        CMarkupMSXML xml;
        QVERIFY(xml.AppendElem(QStringLiteral("v"), text));
        const QString strPath = m_dir.filePath(QStringLiteral("text.xml"));
        QVERIFY(xml.SaveFile(strPath));
        CMarkupMSXML in;
        QVERIFY(in.LoadFile(strPath));
        QVERIFY(in.FindNext(QStringLiteral("v")));
        QCOMPARE(in.GetText(), text);
    }

    void loadsUtf16WithByteOrderMark()
    {
        QByteArray data("\xff\xfe", 2);
        const QString strXml = QStringLiteral("<r n=\"语言\">文本</r>");
        data.append(reinterpret_cast<const char*>(strXml.utf16()), strXml.size() * 2);
        CMarkupMSXML xml;
        QVERIFY(xml.LoadFile(Write(QStringLiteral("utf16.xml"), data)));
        QVERIFY(xml.FindNext(QStringLiteral("r")));
        QCOMPARE(xml.GetAttr(QStringLiteral("n")), QStringLiteral("语言"));
        QCOMPARE(xml.GetText(), QStringLiteral("文本"));
    }

    void badFilesFailWithAReason_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty name: no file at all
        QTest::addColumn<qint64>("limit");
        QTest::newRow("missing") << QByteArray() << CMarkupMSXML::kDefaultMaxFileBytes;
        QTest::newRow("empty") << QByteArray("") << CMarkupMSXML::kDefaultMaxFileBytes;
        QTest::newRow("not xml") << QByteArray("\x01\x02 MZ binary")
                                 << CMarkupMSXML::kDefaultMaxFileBytes;
        QTest::newRow("unclosed") << QByteArray("<r><a>1</a>")
                                  << CMarkupMSXML::kDefaultMaxFileBytes;
        QTest::newRow("too large") << QByteArray("<r>0123456789</r>") << qint64(10);
    }

    void badFilesFailWithAReason()
    {
        QFETCH(QByteArray, content);
        QFETCH(qint64, limit);
        QString strPath = m_dir.filePath(QStringLiteral("nothing-here.xml"));
        if (!content.isNull())
            strPath = Write(QStringLiteral("bad.xml"), content);
        CMarkupMSXML xml;
        QVERIFY(!xml.LoadFile(strPath, limit));
        QVERIFY(xml.m_strError.endsWith(QStringLiteral("\r\n")));
        QVERIFY(xml.m_strError.trimmed().size() > 3);
        // The position is back at the document level of an empty document.
        QVERIFY(!xml.FindNext());
        QVERIFY(!xml.Leave());
        QVERIFY(xml.AppendElem(QStringLiteral("fresh")));
        QVERIFY(xml.FindNextChild() == false);
    }

    void deepNestingIsNoThreat()
    {
        QByteArray data;
        for (int i = 0; i < 100000; ++i)
            data += "<d>";
        data += "deep";
        for (int i = 0; i < 100000; ++i)
            data += "</d>";
        CMarkupMSXML xml;
        QVERIFY(xml.LoadFile(Write(QStringLiteral("deep.xml"), data)));
        QVERIFY(xml.FindNext(QStringLiteral("d")));
        QCOMPARE(xml.GetText(), QStringLiteral("deep"));
    }

    void failedSaveKeepsThePreviousFile()
    {
        // A name that leaves no room for the temporary file beside it makes
        // the write fail even for a user who may write everywhere.
        const QString strPath = Write(QString(250, u'p'), QByteArrayLiteral("previous"));
        const QStringList before = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        CMarkupMSXML xml;
        xml.AppendElem(QStringLiteral("new"));
        QVERIFY(!xml.SaveFile(strPath));
        QVERIFY(!xml.m_strError.isEmpty());
        QVERIFY(xml.m_strError != QLatin1String("Unknown error"));
        QCOMPARE(KxTestRead(strPath), QByteArrayLiteral("previous"));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), before);

        QVERIFY(!xml.SaveFile(m_dir.filePath(QStringLiteral("no/such/folder/file.xml"))));
        QVERIFY(!xml.m_strError.isEmpty());
    }

    void saveReplacesTheFileWhole()
    {
        const QString strPath = Write(QStringLiteral("replace.xml"), QByteArray(5000, 'x'));
        CMarkupMSXML xml;
        xml.AppendElem(QStringLiteral("small"), QStringLiteral("1"));
        QVERIFY(xml.SaveFile(strPath));
        CMarkupMSXML in;
        QVERIFY(in.LoadFile(strPath));
        QVERIFY(in.FindNext(QStringLiteral("small")));
        // Nothing but the file itself is left in the folder.
        QVERIFY(!QDir(m_dir.path())
                     .entryList(QDir::Files | QDir::Hidden)
                     .filter(QStringLiteral("replace.xml."))
                     .size());
    }
};

QTEST_GUILESS_MAIN(TestXml)
#include "tst_xml.moc"
