// The project file: the document as it is written, a full round trip, the
// forgiving reader, files that cannot be used, and saves that fail.
#include "MutliLang/LanguageManager.h"
#include "ObjectData/DivObj.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "ObjectData/ProjectFile.h"
#include "Pub/KxMsgBox.h"
#include "tst_files.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <pugixml.hpp>

namespace
{
QString PageLine(const CGsmPage* p)
{
    return QStringList({QString::number(p->IsChecked()), p->GetName(), p->GetCaption(),
                        QString::number(p->GetColor()), QString::number(p->GetStay()),
                        QString::number(p->GetZone()), QString::number(p->GetBorder()),
                        QString::number(p->GetEffect()), QString::number(p->GetFont()),
                        QString::number(p->GetSpeed()), QString::number(p->GetType()),
                        p->GetContent(), p->GetTimeFormat()})
        .join(u'|');
}

// One stored value of a card, by its element name; "dtu" is the split DTU
// targets, "zones" every zone as "number:x,y,cx,cy", "pages" the message
// names and "p<n>" every value of message n.
QString Field(const CGsmCard* c, const QString& key)
{
    static const QStringList ints = {"id", "ct", "sm",  "chk", "nw",  "nh",
                                     "dp", "oe", "clr", "row", "scan"};
    const int values[] = {c->GetId(),           c->GetCardType(),   c->GetSendMode(),
                          c->IsChecked(),       c->GetWidth(),      c->GetHeight(),
                          c->GetDataPolarity(), c->GetOePolarity(), c->GetColorType(),
                          c->GetRowOrder(),     c->GetScanMode()};
    if (ints.contains(key))
        return QString::number(values[ints.indexOf(key)]);
    if (key == QLatin1String("nm"))
        return c->GetName();
    if (key == QLatin1String("bph"))
        return c->GetBindPhones();
    if (key == QLatin1String("dph"))
        return c->GetDtuPhones();
    if (key == QLatin1String("dtu"))
        return QString::number(c->GetDtuPhoneArray().size()) + u':' +
               c->GetDtuPhoneArray().join(u',');
    QStringList parts;
    if (key == QLatin1String("zones"))
    {
        for (const CDivObj* z : c->GetZoneList())
            parts << QStringLiteral("%1:%2,%3,%4,%5")
                         .arg(z->GetIndex())
                         .arg(z->GetX())
                         .arg(z->GetY())
                         .arg(z->GetCx())
                         .arg(z->GetCy());
        return parts.join(u';');
    }
    if (key == QLatin1String("pages"))
    {
        for (const CGsmPage* p : c->GetPageList())
            parts << p->GetName();
        return parts.join(u',');
    }
    if (key.startsWith(u'p'))
    {
        const int n = key.mid(1).toInt();
        return n < c->GetPageCount() ? PageLine(c->GetPageList()[n]) : QStringLiteral("none");
    }
    return QStringLiteral("unknown key");
}

// Every stored value of a card, its zones and messages, in one text.
QString Describe(const CGsmCard* c)
{
    QStringList s;
    for (const char* key : {"nm", "id", "ct", "sm", "chk", "nw", "nh", "dp", "oe", "clr", "row",
                            "scan", "bph", "dph", "dtu", "zones"})
        s << Field(c, QLatin1String(key));
    for (const CGsmPage* p : c->GetPageList())
        s << PageLine(p);
    return s.join(u'\n');
}

QStringList DescribeAll()
{
    QStringList all;
    for (const CGsmCard* c : qAsConst(g_cardList))
        all << Describe(c);
    return all;
}

} // namespace

class TestProject : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_messages;

    QString Write(const QString& strName, const QByteArray& data)
    {
        return KxTestWrite(m_dir.filePath(strName), data);
    }

    // A project of one card whose element body is given.
    KxProjectLoad LoadCard(const QByteArray& body)
    {
        const QString strPath = Write(QStringLiteral("one.gsmprj"),
                                      "<?xml version=\"1.0\"?><project ver=\"3\"><gsmcard>" + body +
                                          "</gsmcard></project>");
        return LoadProject(strPath);
    }

private slots:
    void initTestCase()
    {
        KxSetMsgSink([this](const QString& s, KxMsgIcon) { m_messages << s; });
    }

    void cleanup()
    {
        RemoveAllCards();
        g_nProjectVer = 0;
        QVERIFY(m_messages.isEmpty()); // loading and saving never raise a box
    }

    void writesTheDocumentInItsOrder()
    {
        g_nProjectVer = 12;
        auto* pCard = new CGsmCard;
        g_cardList.append(pCard);
        pCard->AddPage(new CGsmPage(pCard));
        const QString strPath = m_dir.filePath(QStringLiteral("layout.gsmprj"));
        QString strError;
        QVERIFY2(SaveProject(strPath, &strError), qPrintable(strError));

        const QByteArray data = KxTestRead(strPath);
        QVERIFY(data.startsWith("<?xml version = \"1.0\"?>"));
        pugi::xml_document doc;
        QVERIFY(doc.load_buffer(data.constData(), size_t(data.size())));
        const pugi::xml_node project = doc.document_element();
        QCOMPARE(project.name(), "project");
        QCOMPARE(std::distance(project.attributes_begin(), project.attributes_end()), 1);
        QCOMPARE(project.attribute("ver").as_int(), 12);
        QVERIFY(project.text().empty());

        auto childNames = [](const pugi::xml_node& n)
        {
            QStringList names;
            for (const pugi::xml_node& c : n.children())
                names << QString::fromUtf8(c.name());
            return names.join(u' ');
        };
        const pugi::xml_node card = project.child("gsmcard");
        QCOMPARE(childNames(project), QStringLiteral("gsmcard"));
        QCOMPARE(childNames(card), QStringLiteral("nm id ct sm chk nw nh dp oe clr row scan bph "
                                                  "dph zone gsmpage"));
        QCOMPARE(childNames(card.child("zone")), QStringLiteral("x y cx cy"));
        QCOMPARE(childNames(card.child("gsmpage")),
                 QStringLiteral("chk nme sum clr dly div edg eff ft spd type cont fmt"));
        QCOMPARE(card.child("nm").text().get(), "控制卡1");
        QCOMPARE(card.child("oe").text().get(), "1");
        QVERIFY(!card.child("bph").first_child()); // an empty text: no content
        QCOMPARE(card.child("gsmpage").child("fmt").text().get(), "%H:%m:%S");
    }

    void roundTripKeepsEveryStoredValue()
    {
        g_nProjectVer = 77;
        for (int i = 0; i < 3; ++i)
        {
            auto* c = new CGsmCard;
            g_cardList.append(c);
            c->SetName(QStringLiteral("Shop <%1> & \"front\"").arg(i));
            c->SetId(10 + i);
            c->SetCardType(i % 2);
            c->SetSendMode(i);
            c->SetChecked(i == 1 ? 0 : 1);
            c->SetWidth(128 + 16 * i);
            c->SetHeight(16 * (i + 1));
            c->SetDataPolarity(1);
            c->SetOePolarity(0);
            c->SetColorType(2);
            c->SetRowOrder(i);
            c->SetScanMode(11 - i);
            c->SetBindPhones(QStringLiteral("+8613800000000|+86139%1|").arg(i));
            c->SetDtuPhones(i == 2 ? QStringLiteral("1||2") : QStringLiteral("13912345678"));
            for (int z = 0; z < i + 1; ++z)
            {
                auto* pZone = new CDivObj;
                pZone->SetX(16 * z);
                pZone->SetY(-3);
                pZone->SetCx(48 + z);
                pZone->SetCy(z ? 16 : 32);
                c->AddZone(pZone);
            }
            for (int m = 0; m < 2 + i; ++m)
            {
                auto* p = new CGsmPage(c);
                p->SetChecked(m % 2);
                p->SetColor(m % 3);
                p->SetStay(33 - m);
                p->SetZone(m % 4);
                p->SetBorder(54 - m);
                p->SetEffect(44 - m);
                p->SetFont(3);
                p->SetSpeed(35);
                p->SetType(m % 3);
                p->SetContent(m == 1 ? QString() : QStringLiteral("  第%1条\r\n<line>  ").arg(m));
                p->SetTimeFormat(QStringLiteral("%Y年%M月 %We"));
                p->UpdateCaption();
                p->SetName(QStringLiteral("msg %1").arg(m)); // caption stays as it was
                c->AddPage(p);
            }
        }
        const QStringList before = DescribeAll();
        const QString strPath = DefaultProjectPath(m_dir.path());
        QCOMPARE(strPath, m_dir.filePath(QStringLiteral("default.gsmprj")));
        QString strError;
        QVERIFY2(SaveProject(strPath, &strError), qPrintable(strError));

        RemoveAllCards();
        g_nProjectVer = 0;
        const KxProjectLoad load = LoadProject(strPath);
        QCOMPARE(load.eStatus, KxProjectLoad::Loaded);
        QCOMPARE(g_nProjectVer, 77);
        QCOMPARE(DescribeAll(), before);
        // The slots are not stored: a loaded card has the defaults again.
        QCOMPARE(g_cardList[0]->GetBrightSlots()[0].m_nEndHour, 23);

        // Saving what was loaded writes the same file again.
        const QByteArray first = KxTestRead(strPath);
        QVERIFY(SaveProject(strPath, nullptr));
        QCOMPARE(KxTestRead(strPath), first);
    }

    void forgivingReader_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("expected"); // lines of "key=value", see Field()
        QTest::newRow("empty dph gives one empty target")
            << QByteArray("<dph/>") << QStringLiteral("dph=|\ndtu=1:");
        QTest::newRow("one-character bph is not taken")
            << QByteArray("<bph>1</bph><dph>5|6</dph>")
            << QStringLiteral("bph=\ndph=5|6|\ndtu=2:5,6");
        QTest::newRow("two-character bph is taken")
            << QByteArray("<bph>1|</bph>") << QStringLiteral("bph=1|");
        QTest::newRow("card without zones")
            << QByteArray("<nm>N</nm>") << QStringLiteral("nm=N\nzones=\npages=");
        QTest::newRow("missing values keep the defaults")
            << QByteArray("<nw>96</nw><zone><cx>64</cx></zone>")
            << QStringLiteral("nm=控制卡1\nid=1\nct=0\nsm=0\nchk=1\nnw=96\nnh=32\ndp=0\noe=1\n"
                              "clr=0\nrow=0\nscan=0\nbph=\ndph=\ndtu=0:\nzones=0:0,0,64,16");
        QTest::newRow("an element before the last found is not read")
            << QByteArray("<id>5</id><nm>Late</nm><ct>1</ct>")
            << QStringLiteral("nm=Late\nid=1\nct=1");
        QTest::newRow("a repeated element is skipped")
            << QByteArray("<nm>A</nm><nm>B</nm><nw>80</nw><nw>96</nw><nh>48</nh>")
            << QStringLiteral("nm=A\nnw=80\nnh=48");
        QTest::newRow("unknown elements are skipped")
            << QByteArray("<nm>A</nm><colour>9</colour><!-- x --><Nh>1</Nh><nh>48</nh>")
            << QStringLiteral("nm=A\nnh=48");
        QTest::newRow("non-numeric integers read as 0")
            << QByteArray("<nw>wide</nw><nh> -16px</nh><row></row><scan>+7.5</scan>")
            << QStringLiteral("nw=0\nnh=-16\nrow=0\nscan=7");
        QTest::newRow("card clr apart from oe")
            << QByteArray("<oe>0</oe><clr>2</clr>") << QStringLiteral("oe=0\nclr=2");
        QTest::newRow("out-of-range type, mode and ID keep the defaults")
            << QByteArray("<id>0</id><ct>2</ct><sm>-1</sm><chk>5</chk>")
            << QStringLiteral("id=1\nct=0\nsm=0\nchk=5");
        QTest::newRow("in-range type, mode and ID are taken")
            << QByteArray("<id>300</id><ct>1</ct><sm>3</sm>")
            << QStringLiteral("id=300\nct=1\nsm=3");
        QTest::newRow("zone values in their order, as children")
            << QByteArray("<zone><cx>1</cx><x>9</x><cy>2</cy></zone><zone/>")
            << QStringLiteral("zones=0:9,0,32,2;1:0,0,32,16");
        QTest::newRow("zones after the last card value only")
            << QByteArray("<zone><x>7</x></zone><dph>x</dph><zone><y>3</y></zone>")
            << QStringLiteral("zones=0:0,3,32,16\ndph=x|");
        QTest::newRow("messages after the last zone only")
            << QByteArray("<gsmpage><nme>early</nme></gsmpage><zone/>"
                          "<gsmpage><nme>late</nme><cont/><fmt>%H</fmt></gsmpage>")
            << QStringLiteral("zones=0:0,0,32,16\npages=late\np0=1|late||0|0|0|0|2|0|1|0||%H");
        QTest::newRow("a message without values gets the defaults and counts")
            << QByteArray("<gsmpage/><gsmpage><clr>x</clr><sum>kept</sum></gsmpage>")
            << QStringLiteral("pages=文本1,文本2\np0=1|文本1||0|0|0|0|2|0|1|0|欢迎使用|%H:%m:%S\n"
                              "p1=1|文本2|kept|0|0|0|0|2|0|1|0|欢迎使用|%H:%m:%S");
    }

    void forgivingReader()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        const KxProjectLoad load = LoadCard(body);
        QCOMPARE(load.eStatus, KxProjectLoad::Loaded);
        QCOMPARE(g_cardList.size(), 1);
        QCOMPARE(g_nProjectVer, 3);
        for (const QString& line : expected.split(u'\n'))
        {
            const QString key = line.section(u'=', 0, 0);
            QCOMPARE(key + u'=' + Field(g_cardList.first(), key), line);
        }
    }

    void dphEmptyIsSavedAsABar()
    {
        LoadCard("<dph></dph>");
        QCOMPARE(g_cardList.first()->GetDtuPhoneArray(), QStringList({QString()}));
        const QString strPath = m_dir.filePath(QStringLiteral("bar.gsmprj"));
        QVERIFY(SaveProject(strPath, nullptr));
        QVERIFY(KxTestRead(strPath).contains("<dph>|</dph>"));
    }

    void documentLevelCases_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("cards");
        QTest::addColumn<int>("ver");
        QTest::newRow("no cards") << QByteArray("<project ver=\"4\"/>") << 0 << 4;
        QTest::newRow("missing ver") << QByteArray("<project><gsmcard/></project>") << 1 << 0;
        QTest::newRow("odd ver") << QByteArray(
                                        "<project ver=\" 9x\"><gsmcard/><gsmcard/></project>")
                                 << 2 << 9;
        QTest::newRow("cards among other nodes")
            << QByteArray("<?xml version=\"1.0\"?><!-- c --><project ver=\"1\"><x/><gsmcard/>"
                          "<?pi?><gsmcard><nm>two</nm></gsmcard>text</project>")
            << 2 << 1;
    }

    void documentLevelCases()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, cards);
        QFETCH(int, ver);
        g_nProjectVer = 99;
        const QString strPath = Write(QStringLiteral("doc.gsmprj"), content);
        QCOMPARE(LoadProject(strPath).eStatus, KxProjectLoad::Loaded);
        QCOMPARE(g_cardList.size(), cards);
        QCOMPARE(g_nProjectVer, ver);
        // Default names count the cards loaded before.
        if (cards == 2 && g_cardList[1]->GetName() != QLatin1String("two"))
            QCOMPARE(g_cardList[1]->GetName(), QStringLiteral("控制卡2"));
    }

    void missingFileIsAFirstRun()
    {
        g_cardList.append(new CGsmCard);
        g_cardList.append(new CGsmCard);
        g_nProjectVer = 5;
        const QString strPath = m_dir.filePath(QStringLiteral("first-run.gsmprj"));
        const KxProjectLoad load = LoadProject(strPath);
        QCOMPARE(load.eStatus, KxProjectLoad::Missing);
        QVERIFY(load.strError.isEmpty());
        QVERIFY(load.strKeptAs.isEmpty());
        QCOMPARE(g_cardList.size(), 1);
        QCOMPARE(Field(g_cardList.first(), QStringLiteral("nm")), QStringLiteral("控制卡1"));
        QCOMPARE(Field(g_cardList.first(), QStringLiteral("zones")), QStringLiteral("0:0,0,32,16"));
        QCOMPARE(g_nProjectVer, 0);
        QVERIFY(!QFile::exists(strPath));
    }

    void unreadableFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("malformed") << QByteArray("<project ver=\"1\"><gsmcard><nm>x</nm>");
        QTest::newRow("other root") << QByteArray("<projekt><gsmcard/></projekt>");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff", 4);
    }

    void unreadableFileIsKeptAside()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString strPath = DefaultProjectPath(dir.path());
        {
            QFile f(strPath);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        g_nProjectVer = 8;
        const KxProjectLoad load = LoadProject(strPath);
        QCOMPARE(load.eStatus, KxProjectLoad::Unreadable);
        QVERIFY(!load.strError.isEmpty());
        QVERIFY2(QRegularExpression(QStringLiteral("/default\\.gsmprj\\.unreadable-\\d{8}-\\d{6}$"))
                     .match(load.strKeptAs)
                     .hasMatch(),
                 qPrintable(load.strKeptAs));
        QCOMPARE(KxTestRead(load.strKeptAs), content);
        QVERIFY(!QFile::exists(strPath));
        QCOMPARE(g_cardList.size(), 1);
        QCOMPARE(g_nProjectVer, 0);

        // Saving at exit now writes a fresh file and leaves the kept one.
        QVERIFY(SaveProject(strPath, nullptr));
        QCOMPARE(KxTestRead(load.strKeptAs), content);

        // A second bad file in the same second gets a name of its own.
        QFile::remove(strPath);
        QVERIFY(QFile::copy(load.strKeptAs, strPath));
        const KxProjectLoad again = LoadProject(strPath);
        QCOMPARE(again.eStatus, KxProjectLoad::Unreadable);
        QVERIFY(!again.strKeptAs.isEmpty());
        QVERIFY(again.strKeptAs != load.strKeptAs);
        QCOMPARE(KxTestRead(again.strKeptAs), content);
    }

    void failedSaveLeavesThePreviousFile()
    {
        // A name that leaves no room for the temporary file beside it fails
        // even for a user allowed to write everywhere.
        const QString strPath =
            Write(QString(250, u'g'), QByteArrayLiteral("<project ver=\"1\"/>"));
        g_cardList.append(new CGsmCard);
        QString strError;
        QVERIFY(!SaveProject(strPath, &strError));
        QVERIFY(!strError.isEmpty());
        QCOMPARE(KxTestRead(strPath), QByteArrayLiteral("<project ver=\"1\"/>"));

        strError.clear();
        QVERIFY(!SaveProject(m_dir.filePath(QStringLiteral("gone/default.gsmprj")), &strError));
        QVERIFY(!strError.isEmpty());
    }

    void failedSaveInAReadOnlyFolder()
    {
        QTemporaryDir dir;
        const QString strPath = DefaultProjectPath(dir.path());
        g_cardList.append(new CGsmCard);
        QVERIFY(SaveProject(strPath, nullptr));
        const QByteArray before = KxTestRead(strPath);
        {
            QFile bad(dir.filePath(QStringLiteral("bad.gsmprj")));
            QVERIFY(bad.open(QIODevice::WriteOnly));
            bad.write("<bad");
        }
        g_cardList.first()->SetName(QStringLiteral("changed"));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(dir.filePath(QStringLiteral("probe")));
        if (probe.open(QIODevice::WriteOnly))
        {
            probe.remove();
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user may write into read-only folders");
        }
        QString strError;
        const bool bSaved = SaveProject(strPath, &strError);
        // A bad file that cannot be moved aside is reported and left alone.
        const QString strBad = dir.filePath(QStringLiteral("bad.gsmprj"));
        const KxProjectLoad load = LoadProject(strBad);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!bSaved);
        QVERIFY(!strError.isEmpty());
        QCOMPARE(KxTestRead(strPath), before);
        QCOMPARE(load.eStatus, KxProjectLoad::Unreadable);
        QVERIFY(load.strKeptAs.isEmpty());
        QVERIFY2(load.strError.contains(QStringLiteral("could not be kept aside")),
                 qPrintable(load.strError));
        QCOMPARE(KxTestRead(strBad), QByteArrayLiteral("<bad"));
    }

    void handWrittenFixture()
    {
        // Written by hand in an editor: BOM, CRLF, comments, indentation.
        const KxProjectLoad load =
            LoadProject(QStringLiteral(KX_TEST_DATA_DIR "/project-handmade.gsmprj"));
        QCOMPARE(load.eStatus, KxProjectLoad::Loaded);
        QCOMPARE(g_nProjectVer, 2);
        QCOMPARE(g_cardList.size(), 2);
        const CGsmCard* a = g_cardList[0];
        QCOMPARE(a->GetName(), QStringLiteral("Front door"));
        QCOMPARE(a->GetSendMode(), 1);
        QCOMPARE(a->GetDtuPhoneArray(), QStringList({"13800000001", "13800000002"}));
        QCOMPARE(a->GetZoneCount(), 2);
        QCOMPARE(a->GetZoneList()[1]->GetX(), 64);
        QCOMPARE(a->GetPageCount(), 2);
        QCOMPARE(a->GetPageList()[0]->GetContent(), QStringLiteral("Open 9-18 & Sat"));
        QCOMPARE(a->GetPageList()[1]->GetType(), 2);
        const CGsmCard* b = g_cardList[1];
        QCOMPARE(b->GetName(), QStringLiteral("后门"));
        QCOMPARE(b->GetZoneCount(), 0);
        QCOMPARE(b->GetPageCount(), 0);
    }

    void defaultNamesFollowTheLanguage()
    {
        g_langManager.SetString(2035, QStringLiteral("Card "));
        g_langManager.SetString(2036, QStringLiteral("Text "));
        const QString strPath =
            Write(QStringLiteral("names.gsmprj"), "<project><gsmcard><nm>x</nm></gsmcard><gsmcard>"
                                                  "<gsmpage/><gsmpage/></gsmcard></project>");
        LoadProject(strPath);
        g_langManager.ClearStrings();
        QCOMPARE(g_cardList[1]->GetName(), QStringLiteral("Card 2"));
        QCOMPARE(g_cardList[1]->GetPageList()[1]->GetName(), QStringLiteral("Text 2"));
    }
};

QTEST_GUILESS_MAIN(TestProject)
#include "tst_project.moc"
