// The project model: cards, zones, messages and the card list.
#include "ObjectData/DivObj.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "MutliLang/LanguageManager.h"

#include <QtTest>

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        RemoveAllCards();
        g_langManager.ClearStrings();
    }

    void newCardDefaults()
    {
        CGsmCard card;
        QCOMPARE(card.GetName(), QStringLiteral("控制卡1"));
        QCOMPARE(card.IsChecked(), 1);
        QCOMPARE(card.GetId(), 1);
        QCOMPARE(card.GetSendMode(), 0);
        QCOMPARE(card.GetCardType(), 0);
        QCOMPARE(card.GetWidth(), 64);
        QCOMPARE(card.GetHeight(), 32);
        QCOMPARE(card.GetOePolarity(), 1);
        QCOMPARE(card.GetColorType() + card.GetRowOrder() + card.GetDataPolarity() +
                     card.GetScanMode(),
                 0);
        QCOMPARE(card.GetPageCount(), 0);
        QCOMPARE(card.GetDtuPhones(), QString());
        QVERIFY(card.GetDtuPhoneArray().isEmpty()); // never split until set
        QCOMPARE(card.GetBindPhones(), QString());

        QCOMPARE(card.GetZoneCount(), 1);
        const CDivObj* z = card.GetZoneList().first();
        QCOMPARE(QList<int>({z->GetX(), z->GetY(), z->GetCx(), z->GetCy(), z->GetIndex()}),
                 QList<int>({0, 0, 32, 16, 0}));

        const auto& b = card.GetBrightSlots();
        QCOMPARE(QList<int>({b[0].m_nStartHour, b[0].m_nEndHour, b[0].m_nLevel, b[0].m_bEnabled}),
                 QList<int>({0, 23, 0, 1}));
        const auto& p = card.GetPowerSlots();
        QCOMPARE(QList<int>({p[0].m_nStartHour, p[0].m_nStartMinute, p[0].m_nEndHour,
                             p[0].m_nEndMinute, p[0].m_bEnabled}),
                 QList<int>({0, 0, 23, 59, 1}));
        for (int i = 1; i < CGsmCard::kSlotCount; ++i)
        {
            QCOMPARE(b[i].m_bEnabled + b[i].m_nEndHour + b[i].m_nLevel, 0);
            QCOMPARE(p[i].m_bEnabled + p[i].m_nEndHour + p[i].m_nEndMinute, 0);
        }
    }

    void defaultNameCountsTheList()
    {
        g_cardList.append(new CGsmCard);
        g_cardList.append(new CGsmCard);
        g_cardList.first()->SetName(QStringLiteral("shop"));
        auto* third = new CGsmCard;
        QCOMPARE(third->GetName(), QStringLiteral("控制卡3"));
        g_cardList.append(third);
        QCOMPARE(g_cardList.size(), 3);
    }

    void defaultNameFollowsTheLanguage()
    {
        g_langManager.SetString(2035, QStringLiteral("Card "));
        CGsmCard card;
        QCOMPARE(card.GetName(), QStringLiteral("Card 1"));
    }

    void rangeCheckedSetters()
    {
        CGsmCard card;
        QCOMPARE(card.SetCardType(1), 0);
        QCOMPARE(card.SetCardType(0), 1);
        QCOMPARE(card.SetCardType(2), 0); // refused: keeps 0
        QCOMPARE(card.GetCardType(), 0);
        QCOMPARE(card.SetCardType(-1), 0);

        QCOMPARE(card.SetSendMode(3), 0);
        QCOMPARE(card.SetSendMode(4), 3);
        QCOMPARE(card.SetSendMode(-1), 3);
        QCOMPARE(card.GetSendMode(), 3);

        card.SetId(7);
        card.SetId(0);
        card.SetId(-3);
        QCOMPARE(card.GetId(), 7);

        card.SetWidth(99999); // unchecked setters store anything
        QCOMPARE(card.GetWidth(), 99999);
    }

    void bindPhones()
    {
        CGsmCard card;
        card.SetBindPhones(QStringLiteral("13800000000|"));
        card.SetBindPhones(QStringLiteral("1"));
        card.SetBindPhones(QString());
        QCOMPARE(card.GetBindPhones(), QStringLiteral("13800000000|"));
        card.SetBindPhones(QString(200, u'7'));
        QCOMPARE(card.GetBindPhones(), QString(167, u'7'));
    }

    void dtuPhones_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("targets");
        QTest::newRow("two") << "138|139" << "138|139|" << QStringList{"138", "139"};
        QTest::newRow("closed") << "138|" << "138|" << QStringList{"138"};
        QTest::newRow("empty") << "" << "|" << QStringList{""};
        QTest::newRow("double bar") << "1||2" << "1||2|" << QStringList{"1", "", "2"};
    }
    void dtuPhones()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QFETCH(QStringList, targets);
        CGsmCard card;
        card.SetDtuPhones(text);
        QCOMPARE(card.GetDtuPhones(), stored);
        QCOMPARE(card.GetDtuPhoneArray(), targets);
    }

    void zoneNumbering()
    {
        CGsmCard card;
        for (int i = 0; i < 3; ++i)
            card.AddZone(new CDivObj);
        card.AddZone(nullptr);
        QCOMPARE(card.GetZoneCount(), 4);
        QList<CDivObj*> zones = card.GetZoneList();
        for (int i = 0; i < 4; ++i)
        {
            QCOMPARE(zones[i]->GetIndex(), i);
            zones[i]->SetX(i * 100);
        }

        card.RemoveZone(zones[0]);
        QCOMPARE(card.GetZoneCount(), 3);
        for (int i = 0; i < 3; ++i)
        {
            QCOMPARE(card.GetZoneList()[i]->GetIndex(), i);
            QCOMPARE(card.GetZoneList()[i]->GetX(), (i + 1) * 100);
        }

        CDivObj stranger;
        card.RemoveZone(&stranger); // not the card's: nothing happens
        card.RemoveZone(nullptr);
        QCOMPARE(card.GetZoneCount(), 3);
    }

    void zoneTakesItsWindowAlong()
    {
        CGsmCard card;
        CDivObj* zone = card.GetZoneList().first();
        QPointer<QObject> wnd = new QObject;
        zone->AttachWindow(wnd);
        card.RemoveZone(zone);
        QVERIFY(wnd.isNull());

        // A window that its parent already deleted is simply gone.
        auto* z2 = new CDivObj;
        card.AddZone(z2);
        z2->AttachWindow(new QObject);
        delete z2->GetWindow();
        card.RemoveAllZones();
        QCOMPARE(card.GetZoneCount(), 0);
    }

    void newPageDefaults()
    {
        CGsmCard card;
        auto* page = new CGsmPage(&card);
        QCOMPARE(page->GetCard(), &card);
        QCOMPARE(page->GetName(), QStringLiteral("文本1"));
        QCOMPARE(page->GetContent(), QStringLiteral("欢迎使用"));
        QCOMPARE(page->GetTimeFormat(), QStringLiteral("%H:%m:%S"));
        QCOMPARE(page->GetEffect(), 2);
        QCOMPARE(page->GetSpeed(), 1);
        QCOMPARE(page->GetType() + page->GetStay() + page->GetColor() + page->GetZone() +
                     page->GetFont() + page->GetBorder(),
                 0);
        QCOMPARE(page->GetCaption(), QString());
        QCOMPARE(page->IsChecked(), 1);
        QVERIFY(page->GetCommands().isEmpty());
        card.AddPage(page);
        card.AddPage(new CGsmPage(&card));
        QCOMPARE(card.GetPageList()[1]->GetName(), QStringLiteral("文本2"));
        auto* third = new CGsmPage(&card);
        QCOMPARE(third->GetName(), QStringLiteral("文本3"));
        delete third; // never appended: the creator owns it
    }

    void caption_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("caption");
        QTest::newRow("six") << "一二三四五六" << "文本1(一二三四五六)";
        QTest::newRow("seven") << "一二三四五六七" << "文本1(一二三四五六...)";
        QTest::newRow("short") << "ab" << "文本1(ab)";
        QTest::newRow("empty") << "" << "";
    }
    void caption()
    {
        QFETCH(QString, content);
        QFETCH(QString, caption);
        CGsmCard card;
        CGsmPage page(&card);
        page.SetCaption(QStringLiteral("old"));
        page.SetContent(content);
        page.UpdateCaption();
        QCOMPARE(page.GetCaption(), caption);
    }

    void pageList()
    {
        CGsmCard card;
        auto* a = new CGsmPage(&card);
        auto* b = new CGsmPage(&card);
        card.AddPage(a);
        card.AddPage(nullptr);
        card.AddPage(b);
        QCOMPARE(card.GetPageCount(), 2);
        card.RemovePage(a);
        QCOMPARE(card.GetPageList(), QList<CGsmPage*>{b});
        CGsmPage stranger(&card);
        card.RemovePage(&stranger);
        QCOMPARE(card.GetPageCount(), 1);
        card.RemoveAllPages();
        QCOMPARE(card.GetPageCount(), 0);
    }

    void cardList()
    {
        auto* a = new CGsmCard;
        g_cardList.append(a);
        auto* b = new CGsmCard;
        g_cardList.append(b);
        QPointer<QObject> wnd = new QObject;
        b->GetZoneList().first()->AttachWindow(wnd);
        b->AddPage(new CGsmPage(b));

        CGsmCard stranger;
        RemoveCard(&stranger);
        RemoveCard(nullptr);
        QCOMPARE(g_cardList.size(), 2);

        g_pCurCard = b;
        RemoveCard(b); // its zones (and their windows) and messages go with it
        QCOMPARE(g_cardList, QList<CGsmCard*>{a});
        QVERIFY(wnd.isNull());
        QCOMPARE(g_pCurCard, nullptr); // never left pointing at a deleted card

        RemoveAllCards();
        QVERIFY(g_cardList.isEmpty());
    }

    void commandList()
    {
        g_cmdList << QStringLiteral("a") << QStringLiteral("b");
        FreeCommandList();
        QVERIFY(g_cmdList.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
