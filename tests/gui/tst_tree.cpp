// The project tree on its own: filling, the structural edits and what they do
// to the card list, check boxes by mouse and keyboard, renaming and the
// message number base.
#include "DlgLeft.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(CGsmCard*)
Q_DECLARE_METATYPE(CGsmPage*)

namespace
{
// A card with nPages messages, appended to the card list.
CGsmCard* AddCard(int nPages)
{
    auto* pCard = new CGsmCard;
    g_cardList.append(pCard);
    pCard->SetName(QStringLiteral("卡%1").arg(g_cardList.size()));
    for (int i = 0; i < nPages; ++i)
    {
        auto* pPage = new CGsmPage(pCard);
        pCard->AddPage(pPage);
        pPage->SetContent(QStringLiteral("内容%1").arg(i));
        pPage->UpdateCaption();
    }
    return pCard;
}

QStringList Labels(const QTreeWidgetItem* pCardItem)
{
    QStringList labels;
    for (int i = 0; i < pCardItem->childCount(); ++i)
        labels << pCardItem->child(i)->text(0);
    return labels;
}
} // namespace

class TestTree : public QObject
{
    Q_OBJECT

    std::unique_ptr<CDlgLeft> m_pLeft;

    QTreeWidget* Tree() const { return m_pLeft->GetTree(); }
    QTreeWidgetItem* CardItem(int n) const { return Tree()->topLevelItem(n); }

    void Open()
    {
        m_pLeft = std::make_unique<CDlgLeft>(nullptr);
        m_pLeft->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pLeft.get()));
        m_pLeft->Rebuild();
    }

    // Where the user clicks to toggle an item's box.
    QPoint CheckBoxPos(QTreeWidgetItem* pItem) const
    {
        Tree()->scrollToItem(pItem);
        QStyleOptionViewItem opt;
        opt.initFrom(Tree()->viewport());
        opt.rect = Tree()->visualItemRect(pItem);
        opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        opt.text = pItem->text(0);
        return Tree()
            ->style()
            ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, Tree())
            .center();
    }
    void ClickBox(QTreeWidgetItem* pItem)
    {
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, CheckBoxPos(pItem));
    }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<CGsmCard*>();
        qRegisterMetaType<CGsmPage*>();
    }
    void init()
    {
        RemoveAllCards();
        g_fnPageNumberBase = nullptr;
    }
    void cleanup()
    {
        m_pLeft.reset();
        RemoveAllCards();
    }

    void fillMirrorsTheProject()
    {
        CGsmCard* pCard1 = AddCard(2);
        CGsmCard* pCard2 = AddCard(0);
        pCard1->GetPageList()[1]->SetChecked(0);
        pCard2->SetChecked(0);
        Open();

        QCOMPARE(Tree()->topLevelItemCount(), 2);
        QCOMPARE(CardItem(0)->text(0), QStringLiteral("卡1"));
        QCOMPARE(Labels(CardItem(0)),
                 (QStringList{QStringLiteral("文本1(内容0)"), QStringLiteral("文本2(内容1)")}));
        QCOMPARE(CardItem(0)->child(0)->checkState(0), Qt::Checked);
        QCOMPARE(CardItem(0)->child(1)->checkState(0), Qt::Unchecked);
        QCOMPARE(CardItem(1)->checkState(0), Qt::Unchecked);
        // The last message of the last card that has messages ends selected,
        // although a later card has none.
        QCOMPARE(m_pLeft->GetSelectionKind(), int(CDlgLeft::MessageItem));
        QCOMPARE(m_pLeft->GetSelectedPage(), pCard1->GetPageList()[1]);
    }

    void fillWithoutMessagesSelectsLastCard()
    {
        AddCard(0);
        CGsmCard* pLast = AddCard(0);
        Open();
        QCOMPARE(m_pLeft->GetSelectionKind(), int(CDlgLeft::CardItem));
        QCOMPARE(m_pLeft->GetSelectedCard(), pLast);
    }

    void addCardAndMessage()
    {
        CGsmCard* pCard1 = AddCard(1);
        AddCard(0);
        Open();
        QSignalSpy spy(m_pLeft.get(), &CDlgLeft::treeSelected);

        m_pLeft->AddCard();
        QCOMPARE(g_cardList.size(), 3);
        CGsmCard* pNew = g_cardList.last();
        QCOMPARE(CardItem(2)->text(0), pNew->GetName());
        QCOMPARE(CardItem(2)->checkState(0), Qt::Checked);
        QCOMPARE(m_pLeft->GetSelectedCard(), pNew);
        QVERIFY(!spy.isEmpty());
        QCOMPARE(spy.last().at(0).toInt(), int(CDlgLeft::CardItem));

        // With a message selected, the new message goes to that message's
        // card, at the end, labelled with its name.
        Tree()->setCurrentItem(CardItem(0)->child(0));
        m_pLeft->AddText();
        QCOMPARE(pCard1->GetPageCount(), 2);
        CGsmPage* pPage = pCard1->GetPageList().last();
        QCOMPARE(CardItem(0)->child(1)->text(0), pPage->GetName());
        QCOMPARE(CardItem(0)->child(1)->checkState(0), Qt::Checked);
        QCOMPARE(m_pLeft->GetSelectedPage(), pPage);
        QCOMPARE(spy.last().at(0).toInt(), int(CDlgLeft::MessageItem));
        QCOMPARE(spy.last().at(1).value<CGsmCard*>(), pCard1);
    }

    void addMessageNeedsSelection()
    {
        Open(); // an empty project: no card, no selection
        m_pLeft->AddText();
        QCOMPARE(Tree()->topLevelItemCount(), 0);
    }

    void deleteItems()
    {
        CGsmCard* pCard1 = AddCard(2);
        CGsmCard* pCard2 = AddCard(3);
        Open();
        // Every report names a record that still exists.
        QList<CGsmCard*> reported;
        connect(m_pLeft.get(), &CDlgLeft::treeSelected, this,
                [&](int, CGsmCard* pCard, CGsmPage*)
                {
                    if (pCard)
                        QVERIFY(g_cardList.contains(pCard));
                    reported << pCard;
                });

        CGsmPage* pKept = pCard1->GetPageList()[1];
        Tree()->setCurrentItem(CardItem(0)->child(0));
        m_pLeft->DeleteItem();
        QCOMPARE(pCard1->GetPageCount(), 1);
        QCOMPARE(pCard1->GetPageList()[0], pKept);
        QCOMPARE(CardItem(0)->childCount(), 1);

        // A card goes with all its messages; the tree selects another item
        // first.
        Tree()->setCurrentItem(CardItem(1));
        reported.clear();
        m_pLeft->DeleteItem();
        QCOMPARE(g_cardList, QList<CGsmCard*>{pCard1});
        QCOMPARE(Tree()->topLevelItemCount(), 1);
        QVERIFY(!reported.isEmpty());
        QVERIFY(!reported.contains(pCard2));

        // The last card stays.
        Tree()->setCurrentItem(CardItem(0));
        m_pLeft->DeleteItem();
        QCOMPARE(g_cardList.size(), 1);
        QCOMPARE(Tree()->topLevelItemCount(), 1);
    }

    void moveUpAndDown()
    {
        CGsmCard* pCard = AddCard(3);
        Open();
        const QList<CGsmPage*> before = pCard->GetPageList();
        before[0]->SetChecked(0);
        m_pLeft.reset();
        Open();
        const QStringList labels = Labels(CardItem(0));

        // The first message moves down: list, label and box go with it.
        Tree()->setCurrentItem(CardItem(0)->child(0));
        m_pLeft->MoveDown();
        QCOMPARE(pCard->GetPageList(), (QList<CGsmPage*>{before[1], before[0], before[2]}));
        QCOMPARE(Labels(CardItem(0)), (QStringList{labels[1], labels[0], labels[2]}));
        QCOMPARE(CardItem(0)->child(1)->checkState(0), Qt::Unchecked);
        QCOMPARE(CardItem(0)->child(0)->checkState(0), Qt::Checked);
        QCOMPARE(m_pLeft->GetSelectedPage(), before[0]);

        m_pLeft->MoveUp();
        QCOMPARE(pCard->GetPageList(), before);
        QCOMPARE(Labels(CardItem(0)), labels);

        // At the ends, and with a card selected, nothing moves.
        m_pLeft->MoveUp();
        QCOMPARE(pCard->GetPageList(), before);
        Tree()->setCurrentItem(CardItem(0)->child(2));
        m_pLeft->MoveDown();
        QCOMPARE(pCard->GetPageList(), before);
        Tree()->setCurrentItem(CardItem(0));
        m_pLeft->MoveDown();
        m_pLeft->MoveUp();
        QCOMPARE(pCard->GetPageList(), before);
    }

    void cardBoxCarriesItsMessages_data()
    {
        QTest::addColumn<bool>("keyboard");
        QTest::newRow("click") << false;
        QTest::newRow("space bar") << true;
    }
    void cardBoxCarriesItsMessages()
    {
        QFETCH(bool, keyboard);
        CGsmCard* pCard = AddCard(2);
        AddCard(1);
        Open();
        QTreeWidgetItem* pCardItem = CardItem(0);
        auto toggle = [&](QTreeWidgetItem* pItem)
        {
            if (keyboard)
            {
                Tree()->setCurrentItem(pItem);
                QTest::keyClick(Tree(), Qt::Key_Space);
            }
            else
            {
                ClickBox(pItem);
            }
        };

        toggle(pCardItem);
        QCOMPARE(pCard->IsChecked(), 0);
        for (CGsmPage* pPage : pCard->GetPageList())
            QCOMPARE(pPage->IsChecked(), 0);
        QCOMPARE(pCardItem->child(0)->checkState(0), Qt::Unchecked);
        QCOMPARE(pCardItem->child(1)->checkState(0), Qt::Unchecked);
        QCOMPARE(m_pLeft->GetSelectedCard(), pCard);
        // The other card is untouched.
        QCOMPARE(g_cardList[1]->GetPageList()[0]->IsChecked(), 1);

        // A message's box changes that message only.
        pCardItem->setExpanded(true);
        toggle(pCardItem->child(1));
        QCOMPARE(pCard->GetPageList()[1]->IsChecked(), 1);
        QCOMPARE(pCard->GetPageList()[0]->IsChecked(), 0);
        QCOMPARE(pCard->IsChecked(), 0);
        QCOMPARE(pCardItem->checkState(0), Qt::Unchecked);
        QCOMPARE(m_pLeft->GetSelectedPage(), pCard->GetPageList()[1]);

        toggle(pCardItem);
        QCOMPARE(pCard->IsChecked(), 1);
        QCOMPARE(pCard->GetPageList()[0]->IsChecked(), 1);
        QCOMPARE(pCard->GetPageList()[1]->IsChecked(), 1);
    }

    void clickOnTextChangesNoFlag()
    {
        CGsmCard* pCard = AddCard(1);
        AddCard(0);
        Open();
        const QRect rc = Tree()->visualItemRect(CardItem(0));
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                          QPoint(rc.right() - 5, rc.center().y()));
        QCOMPARE(m_pLeft->GetSelectedCard(), pCard);
        QCOMPARE(pCard->IsChecked(), 1);
        QCOMPARE(CardItem(0)->checkState(0), Qt::Checked);
    }

    void renameCardsOnly()
    {
        CGsmCard* pCard = AddCard(1);
        Open();
        QVERIFY(!(CardItem(0)->child(0)->flags() & Qt::ItemIsEditable));
        QVERIFY(CardItem(0)->flags() & Qt::ItemIsEditable);

        Tree()->setCurrentItem(CardItem(0));
        QTest::keyClick(Tree(), Qt::Key_F2);
        auto* pEditor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(pEditor);
        pEditor->setText(QStringLiteral("大门屏"));
        QTest::keyClick(pEditor, Qt::Key_Return);
        // The delegate commits once the key has been handled.
        QCoreApplication::processEvents();
        QCOMPARE(pCard->GetName(), QStringLiteral("大门屏"));
        QCOMPARE(CardItem(0)->text(0), QStringLiteral("大门屏"));

        // An empty name is taken as it is.
        QTest::keyClick(Tree(), Qt::Key_F2);
        pEditor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(pEditor);
        pEditor->clear();
        QTest::keyClick(pEditor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(pCard->GetName(), QString());

        // F2 on a message opens no editor.
        Tree()->setCurrentItem(CardItem(0)->child(0));
        QTest::keyClick(Tree(), Qt::Key_F2);
        pEditor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(!pEditor || !pEditor->isVisible());
    }

    void refreshLabel()
    {
        CGsmCard* pCard = AddCard(1);
        Open();
        CGsmPage* pPage = pCard->GetPageList()[0];
        pPage->SetContent(QStringLiteral("新的内容很长很长"));
        pPage->UpdateCaption();
        m_pLeft->RefreshItemLabel();
        QCOMPARE(CardItem(0)->child(0)->text(0), pPage->GetCaption());
    }

    void countCommandsBefore()
    {
        CGsmCard* pCard = AddCard(3);
        CGsmCard* pOther = AddCard(1);
        Open();
        // Each message's preview as last built: a long text takes several
        // commands.
        const QList<CGsmPage*> pages = pCard->GetPageList();
        pages[0]->SetContent(QString(300, u'字'));
        for (CGsmPage* pPage : pages)
            pPage->RefreshCommands(true);
        pOther->GetPageList()[0]->RefreshCommands(true);
        const int n0 = int(pages[0]->GetCommands().size());
        const int n1 = int(pages[1]->GetCommands().size());
        QVERIFY(n0 > 1);

        Tree()->setCurrentItem(CardItem(0)->child(2));
        QCOMPARE(m_pLeft->CountCommandsBefore(pages[0]), 0);
        QCOMPARE(m_pLeft->CountCommandsBefore(pages[1]), n0);
        QCOMPARE(m_pLeft->CountCommandsBefore(pages[2]), n0 + n1);
        // With the card item selected the count runs the same way.
        Tree()->setCurrentItem(CardItem(0));
        QCOMPARE(m_pLeft->CountCommandsBefore(pages[2]), n0 + n1);
        // It counts in the selected item's card: another card's first message
        // starts at 0.
        Tree()->setCurrentItem(CardItem(1)->child(0));
        QCOMPARE(m_pLeft->CountCommandsBefore(pOther->GetPageList()[0]), 0);
        QCOMPARE(m_pLeft->CountCommandsBefore(nullptr), 0);
    }
};

QTEST_MAIN(TestTree)
#include "tst_tree.moc"
