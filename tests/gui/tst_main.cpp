// kx-gui-test: both command sets
// The main window with its real panels: start-up, layout, views and the
// password gate, tree selection, the toolbar, the project send through a
// scripted card with its progress dialog, the export file, and switching to
// English and back.
#include "tst_main_modal.h"
#include "tst_panel_fixture.h"

#include "ButtonEx.h"
#include "DlgButton.h"
#include "DlgInst.h"
#include "DlgLeft.h"
#include "DlgMenu.h"
#include "DlgPwd.h"
#include "KX_GSMDlg.h"
#include "MutliLang/LanguageList.h"
#include "MutliLang/LanguageManager.h"
#include "Pub/Settings.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace
{
// Answers the password dialog with a code (or cancels with an empty one).
void AnswerPassword(const QString& strCode, int* pAsked = nullptr)
{
    WhenModal<CDlgPwd>(
        [strCode, pAsked](CDlgPwd* pDlg)
        {
            if (pAsked)
                ++*pAsked;
            if (strCode.isEmpty())
            {
                pDlg->reject();
                return;
            }
            Ctrl<QLineEdit>(pDlg, 1135)->setText(strCode);
            Click(Ctrl<QPushButton>(pDlg, 1));
        });
}

void AnswerExport(bool bAll, bool bOk = true)
{
    WhenModal<CDlgInst>(
        [bAll, bOk](CDlgInst* pDlg)
        {
            if (bAll)
                Click(Ctrl<QRadioButton>(pDlg, 1186));
            Click(Ctrl<QPushButton>(pDlg, bOk ? 1 : 2));
        });
}

CGsmPage* AddPage(CGsmCard* pCard, const QString& strContent, bool bChecked = true)
{
    auto* pPage = new CGsmPage(pCard);
    pCard->AddPage(pPage);
    pPage->SetContent(strContent);
    pPage->UpdateCaption();
    pPage->SetChecked(bChecked);
    return pPage;
}

// The message commands of a card as send and export build them: the ticked
// messages (or all), numbered from 000 across the card.
QStringList CardCommands(const CGsmCard* pCard, bool bAll)
{
    QStringList list;
    for (const CGsmPage* pPage : pCard->GetPageList())
    {
        if (bAll || pPage->IsChecked())
            pPage->BuildCommands(&list, int(list.size()));
    }
    return list;
}
} // namespace

class TestMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<CPanelFixture> m_pFix;
    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CKX_GSMDlg> m_pDlg;
    QList<QUrl> m_opened;

    CDlgLeft* Left() const { return m_pDlg->GetLeft(); }
    CDlgMenu* Menu() const { return m_pDlg->GetMenu(); }
    QTreeWidget* Tree() const { return Left()->GetTree(); }
    bool Visible(int nPanel) const { return m_pDlg->GetPanel(nPanel)->isVisible(); }

    void Open()
    {
        m_pDlg = std::make_unique<CKX_GSMDlg>(m_pDir->path());
        m_pDlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pDlg.get()));
        // The tree fills itself once start-up is done.
        QCoreApplication::processEvents();
    }
    // What the card received, without the version queries that find it.
    QStringList Received() const
    {
        QStringList texts;
        const auto& writes = m_pFix->Device().writes;
        for (const QByteArray& bytes : writes)
        {
            if (bytes != writes.first())
                texts << KxFromAnsi(bytes);
        }
        return texts;
    }
    QStringList Boxes() const
    {
        QStringList texts;
        for (const KxShownBox& box : m_pFix->Boxes())
            texts << box.strText;
        return texts;
    }

public slots:
    void openFile(const QUrl& url) { m_opened << url; }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openFile");
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    void init()
    {
        m_pFix = std::make_unique<CPanelFixture>();
        m_pDir = std::make_unique<QTemporaryDir>();
        ScanLanguageFiles(m_pDir->path()); // no language files
        g_langManager.ClearStrings();
        g_nLang = 2;
        g_bUnlocked = 0;
        g_pCurCard = nullptr;
        m_opened.clear();
    }
    void cleanup()
    {
        EndWatches();
        m_pDlg.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        g_langManager.ClearStrings();
        g_langMap.clear();
        m_pFix.reset();
    }

    void startUpWithoutLanguages()
    {
        AddPage(m_pFix->Card(), QStringLiteral("你好"));
        m_pDlg = std::make_unique<CKX_GSMDlg>(m_pDir->path());
        // Before the tree reports a selection there is no current card, and
        // the settings commands of the toolbar do nothing.
        QVERIFY(!g_pCurCard);
        int nAsked = 0;
        AnswerPassword(QString(), &nAsked);
        m_pDlg->OnToolbarCommand(1011, 0);
        m_pDlg->OnToolbarCommand(1127, 0);
        QCOMPARE(m_pDlg->GetView(), int(CKX_GSMDlg::kViewMain));
        QCOMPARE(nAsked, 0);
        m_pDlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pDlg.get()));
        QCoreApplication::processEvents();

        QVERIFY(m_pDlg->windowTitle().startsWith(QStringLiteral("VI-DAR V5.5 - ")));
        QVERIFY(m_pDlg->windowTitle().endsWith(QStringLiteral(".example")));
        QCOMPARE(g_nLang, 2052);
        QVERIFY(!m_pDlg->GetLanguageMenu());
        QVERIFY(Menu()->GetButton(1010)->isHidden());
        QCOMPARE(Menu()->GetButton(1011)->x(),
                 Menu()->GetButton(1009)->x() + Menu()->GetButton(1009)->width() + 6);

        // Filled, with the message selected: the editor shows.
        QCOMPARE(Tree()->topLevelItemCount(), 1);
        QCOMPARE(g_pCurCard, m_pFix->Card());
        QVERIFY(Visible(CKX_GSMDlg::kMsg));
        QVERIFY(!Visible(CKX_GSMDlg::kScrInfo));
        QVERIFY(Visible(CKX_GSMDlg::kMenu) && Visible(CKX_GSMDlg::kLeft));
        QVERIFY(!Visible(CKX_GSMDlg::kButton));

        // The arrangement: toolbar band on top, tree at the left, the editor
        // beside it, the card settings bar along the bottom.
        QWidget* pTree = m_pDlg->GetPanel(CKX_GSMDlg::kLeft);
        QWidget* pMsg = m_pDlg->GetPanel(CKX_GSMDlg::kMsg);
        QCOMPARE(pTree->pos(), QPoint(0, 60));
        QCOMPARE(pMsg->pos(), QPoint(pTree->width(), 60));
        QCOMPARE(m_pDlg->GetPanel(CKX_GSMDlg::kMenu)->size(), QSize(m_pDlg->width(), 60));
        QCOMPARE(m_pDlg->GetPanel(CKX_GSMDlg::kButton)->geometry(),
                 QRect(0, m_pDlg->height() - 60, m_pDlg->width(), 60));
        QCOMPARE(m_pDlg->height(), qMax(pTree->height(), pMsg->height()) + 60);
        QCOMPARE(m_pDlg->GetPanel(CKX_GSMDlg::kMore)->pos(), QPoint(70, 40));
    }

    void selectionChoosesThePanel()
    {
        CGsmCard* pCard1 = m_pFix->Card();
        AddPage(pCard1, QStringLiteral("一"));
        auto* pCard2 = new CGsmCard;
        g_cardList.append(pCard2);
        pCard2->SetSendMode(3);
        pCard2->SetCardType(1);
        Open();

        // The last card has no message, so the first card's message ends
        // selected: the editor shows and that card is current.
        QCOMPARE(g_pCurCard, pCard1);
        QVERIFY(Visible(CKX_GSMDlg::kMsg));
        QVERIFY(!Visible(CKX_GSMDlg::kScrInfo));

        // A card: its summary, and its values in the toolbar's lists.
        Tree()->setCurrentItem(Tree()->topLevelItem(1));
        QCOMPARE(g_pCurCard, pCard2);
        QVERIFY(Visible(CKX_GSMDlg::kScrInfo));
        QVERIFY(!Visible(CKX_GSMDlg::kMsg));
        QCOMPARE(Menu()->GetSendModeList()->currentIndex(), 3);
        QCOMPARE(Menu()->GetCardTypeList()->currentIndex(), 1);

        // A message: its card becomes current and the lists follow it.
        Tree()->setCurrentItem(Tree()->topLevelItem(0)->child(0));
        QCOMPARE(g_pCurCard, pCard1);
        QVERIFY(Visible(CKX_GSMDlg::kMsg));
        QVERIFY(!Visible(CKX_GSMDlg::kScrInfo));
        QCOMPARE(Menu()->GetSendModeList()->currentIndex(), 0);
        ChooseByKeys(Menu()->GetSendModeList(), 1);
        QCOMPARE(pCard1->GetSendMode(), 1);
        QCOMPARE(pCard2->GetSendMode(), 3);
    }

    void viewsAndThePasswordGate()
    {
        AddPage(m_pFix->Card(), QStringLiteral("一"));
        Open();
        auto* pBar = m_pDlg->GetButtonBar();

        // Cancel at the gate: nothing changes.
        int nAsked = 0;
        AnswerPassword(QString(), &nAsked);
        Click(Menu()->GetButton(1011));
        QCOMPARE(nAsked, 1);
        QCOMPARE(m_pDlg->GetView(), int(CKX_GSMDlg::kViewMain));
        QVERIFY(Visible(CKX_GSMDlg::kMsg));

        // A wrong code is refused and may be tried again in the same dialog.
        WhenModal<CDlgPwd>(
            [](CDlgPwd* pDlg)
            {
                Ctrl<QLineEdit>(pDlg, 1135)->setText(QStringLiteral("123"));
                Click(Ctrl<QPushButton>(pDlg, 1));
                Ctrl<QLineEdit>(pDlg, 1135)->setText(QStringLiteral("735"));
                Click(Ctrl<QPushButton>(pDlg, 1));
            });
        Click(Menu()->GetButton(1011));
        QCOMPARE(Boxes(), QStringList{QStringLiteral("输入的密码不正确！请重新输入。")});
        QCOMPARE(m_pDlg->GetView(), int(CKX_GSMDlg::kViewScreen));
        QVERIFY(Visible(CKX_GSMDlg::kScreen));
        QVERIFY(Visible(CKX_GSMDlg::kButton));
        QVERIFY(!Visible(CKX_GSMDlg::kMenu) && !Visible(CKX_GSMDlg::kLeft));

        // Unlocked for the run: the binding panel opens without a question.
        nAsked = 0;
        AnswerPassword(QString(), &nAsked);
        Click(Ctrl<QPushButton>(pBar, 1003));
        QCOMPARE(m_pDlg->GetView(), int(CKX_GSMDlg::kViewBind));
        QVERIFY(Visible(CKX_GSMDlg::kBind) && !Visible(CKX_GSMDlg::kScreen));
        Click(Ctrl<QPushButton>(pBar, 1002));
        QVERIFY(Visible(CKX_GSMDlg::kDiv) && !Visible(CKX_GSMDlg::kBind));
        Click(Ctrl<QPushButton>(pBar, 1004));
        QVERIFY(Visible(CKX_GSMDlg::kMore) && !Visible(CKX_GSMDlg::kDiv));
        QCOMPARE(nAsked, 0);

        // Back: the main view with the editor, as the selection is a message.
        Click(Ctrl<QPushButton>(pBar, 1000));
        QCOMPARE(m_pDlg->GetView(), int(CKX_GSMDlg::kViewMain));
        QVERIFY(Visible(CKX_GSMDlg::kMenu) && Visible(CKX_GSMDlg::kLeft));
        QVERIFY(Visible(CKX_GSMDlg::kMsg) && !Visible(CKX_GSMDlg::kButton));
        QVERIFY(!Visible(CKX_GSMDlg::kMore));

        // The screen information panel's "普通设置" leads to the more
        // settings panel, never guarded.
        g_bUnlocked = 0;
        Tree()->setCurrentItem(Tree()->topLevelItem(0));
        QVERIFY(Visible(CKX_GSMDlg::kScrInfo));
        Click(FindCtrl(m_pDlg->GetPanel(CKX_GSMDlg::kScrInfo), 1048));
        QCOMPARE(m_pDlg->GetView(), int(CKX_GSMDlg::kViewMore));
        QCOMPARE(nAsked, 0);
        QCOMPARE(g_bUnlocked, 0);
    }

    void toolbarReachesTheTree()
    {
        Open();
        Click(Menu()->GetButton(1005));
        QCOMPARE(g_cardList.size(), 2);
        QCOMPARE(g_pCurCard, g_cardList[1]);
        Click(Menu()->GetButton(1006));
        Click(Menu()->GetButton(1006));
        QCOMPARE(g_cardList[1]->GetPageCount(), 2);
        QVERIFY(Visible(CKX_GSMDlg::kMsg));
        CGsmPage* pSecond = g_cardList[1]->GetPageList()[1];
        Click(Menu()->GetButton(1012));
        QCOMPARE(g_cardList[1]->GetPageList()[0], pSecond);
        Click(Menu()->GetButton(1013));
        QCOMPARE(g_cardList[1]->GetPageList()[1], pSecond);
        Click(Menu()->GetButton(1007));
        QCOMPARE(g_cardList[1]->GetPageCount(), 1);
    }

    void sendProject()
    {
        CGsmCard* pCard1 = m_pFix->Card();
        AddPage(pCard1, QStringLiteral("第一条"));
        AddPage(pCard1, QStringLiteral("不发送"), false);
        AddPage(pCard1, QString(250, u'长')); // several commands
        auto* pCard2 = new CGsmCard;
        g_cardList.append(pCard2);
        AddPage(pCard2, QStringLiteral("第二张卡"));
        auto* pCard3 = new CGsmCard;
        g_cardList.append(pCard3);
        AddPage(pCard3, QStringLiteral("不选的卡"));
        pCard3->SetChecked(0);
        Open();

        // Watch the progress dialog at every exchange.
        QStringList labels;
        bool bModal = true;
        auto answer = CardAnswers();
        m_pFix->Device().fnAnswer = [&](const QByteArray& written)
        {
            CSendProgress* pSend = CSendProgress::Current();
            if (!pSend || !pSend->GetDialog() || !pSend->GetDialog()->isVisible())
                bModal = false;
            else
            {
                labels << pSend->GetDialog()->labelText();
                bModal = bModal && pSend->GetDialog()->isModal();
            }
            return answer(written);
        };
        Click(Menu()->GetButton(1008));

        const QStringList expected = CardCommands(pCard1, false) + CardCommands(pCard2, false);
        QVERIFY(CardCommands(pCard1, false).size() > 2);
        QCOMPARE(Received(), expected);
        QCOMPARE(Boxes(),
                 (QStringList{QStringLiteral("指令执行成功!"), QStringLiteral("指令执行成功!"),
                              QStringLiteral("已完成发送")}));
        QVERIFY(bModal);
        QVERIFY(labels.first().contains(QStringLiteral("控制卡 1 / 2")));
        QVERIFY(labels.last().contains(QStringLiteral("控制卡 2 / 2")));
        QVERIFY(labels.last().contains(QStringLiteral("指令 1 / 1")));
        QVERIFY(!CSendProgress::Current());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(g_cmdList.isEmpty());
    }

    void sendStopsAtTheFirstFailure()
    {
        AddPage(m_pFix->Card(), QStringLiteral("一"));
        auto* pCard2 = new CGsmCard;
        g_cardList.append(pCard2);
        AddPage(pCard2, QStringLiteral("二"));
        Open();
        m_pFix->Device().fnAnswer = CardAnswers("E:002");
        Click(Menu()->GetButton(1008));
        // The first card's report, then nothing: the second card is not
        // sent and the send is not called complete.
        QCOMPARE(m_pFix->Boxes().size(), 1);
        QVERIFY(!Boxes().contains(QStringLiteral("已完成发送")));
        QVERIFY(!Received().contains(CardCommands(pCard2, false).first()));
    }

    void sendCancelled()
    {
        AddPage(m_pFix->Card(), QStringLiteral("一"));
        AddPage(m_pFix->Card(), QStringLiteral("二"));
        auto* pCard2 = new CGsmCard;
        g_cardList.append(pCard2);
        AddPage(pCard2, QStringLiteral("三"));
        Open();
        auto answer = CardAnswers();
        int nCommands = 0;
        bool bStillShown = false;
        m_pFix->Device().fnAnswer = [&](const QByteArray& written)
        {
            // The user presses Cancel while the first command is under way.
            if (written != m_pFix->Device().writes.first() && ++nCommands == 1)
            {
                QProgressDialog* pDlg = CSendProgress::Current()->GetDialog();
                Click(pDlg->findChild<QPushButton*>());
                bStillShown = pDlg->isVisible();
            }
            return answer(written);
        };
        Click(Menu()->GetButton(1008));
        QCOMPARE(Received().size(), 1);
        QVERIFY(bStillShown); // saying it stops after the exchange
        QVERIFY(!Boxes().contains(QStringLiteral("已完成发送")));
        QVERIFY(!Boxes().isEmpty());
        QVERIFY(!CSendProgress::Current());
    }

    void exportListing_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("only the checked content") << false;
        QTest::newRow("all content") << true;
    }
    void exportListing()
    {
        QFETCH(bool, all);
        CGsmCard* pCard1 = m_pFix->Card();
        pCard1->SetName(QStringLiteral("东门"));
        for (int i = 0; i < 4; ++i)
            AddPage(pCard1, QStringLiteral("东%1").arg(i), i != 1);
        auto* pCard2 = new CGsmCard;
        g_cardList.append(pCard2);
        pCard2->SetName(QStringLiteral("西门"));
        pCard2->SetChecked(0);
        AddPage(pCard2, QStringLiteral("西"));
        auto* pCard3 = new CGsmCard;
        g_cardList.append(pCard3);
        pCard3->SetName(QStringLiteral("南门"));
        for (int i = 0; i < 3; ++i)
            AddPage(pCard3, QStringLiteral("南%1").arg(i));
        Open();

        AnswerExport(all);
        Click(Menu()->GetButton(1009));

        QString strExpected;
        for (CGsmCard* pCard : {pCard1, pCard2, pCard3})
        {
            if (!all && !pCard->IsChecked())
                continue;
            strExpected += QStringLiteral("控制卡(%1)内容指令如下:\r\n").arg(pCard->GetName());
            for (const QString& strCmd : CardCommands(pCard, all))
                strExpected += strCmd + QStringLiteral("\r\n");
        }
        QFile file(m_pDlg->GetExportPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xff\xfe"));
        const QString strText = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
        QCOMPARE(strText, strExpected);
        // Numbering starts again under the last card's header.
        QVERIFY(strText.contains(QStringLiteral("南门)内容指令如下:\r\n") +
                                 CardCommands(pCard3, all).first()));
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(m_pDlg->GetExportPath())});
        QVERIFY(Boxes().isEmpty());
        QVERIFY(!QApplication::overrideCursor());
    }

    void exportNothingOrCancelled()
    {
        m_pFix->Card()->SetName(QStringLiteral("空卡"));
        Open();
        // Cancel: no file.
        AnswerExport(false, false);
        Click(Menu()->GetButton(1009));
        QVERIFY(!QFile::exists(m_pDlg->GetExportPath()));

        // All content of a card without messages: the header only, a
        // warning, and no viewer.
        AnswerExport(true);
        Click(Menu()->GetButton(1009));
        QFile file(m_pDlg->GetExportPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString strHeader = QStringLiteral("控制卡(空卡)内容指令如下:\r\n");
        QCOMPARE(bytes.mid(2), QByteArray(reinterpret_cast<const char*>(strHeader.utf16()),
                                          strHeader.size() * 2));
        QCOMPARE(Boxes(), QStringList{QStringLiteral("未选中内容!")});
        QVERIFY(m_opened.isEmpty());

        // Checked content with nothing checked: the mark alone.
        m_pFix->Card()->SetChecked(0);
        file.close();
        AnswerExport(false);
        Click(Menu()->GetButton(1009));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\xff\xfe"));
        QVERIFY(m_opened.isEmpty());
    }

    void exportFileCannotBeWritten()
    {
        Open();
        // A folder where the file should go: it cannot be created.
        QVERIFY(QDir(m_pDir->path()).mkdir(QStringLiteral("gsm_inst.txt")));
        AnswerExport(true);
        Click(Menu()->GetButton(1009));
        QCOMPARE(m_pFix->Boxes().size(), 1);
        QCOMPARE(m_pFix->Boxes()[0].icon, KxMsgIcon::Error);
        QVERIFY(m_pFix->Boxes()[0].strText.contains(QStringLiteral("gsm_inst.txt")));
        QVERIFY(m_opened.isEmpty());
    }

    void languageSwitch()
    {
        ScanLanguageFiles(QStringLiteral(KX_BIN_DIR));
        QCOMPARE(g_langMap.size(), 2);
        AddPage(m_pFix->Card(), QStringLiteral("一"));
        Open();

        // LANG 2 matches no file: the built-in language, checked last.
        QMenu* pMenu = m_pDlg->GetLanguageMenu();
        QVERIFY(pMenu);
        const QList<QAction*> actions = pMenu->actions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions[0]->text(), QStringLiteral("English"));
        QCOMPARE(actions[1]->text(), QStringLiteral("简体中文(CHS)"));
        QVERIFY(actions[1]->isChecked() && !actions[0]->isChecked());
        QCOMPARE(g_nLang, 2052);
        QVERIFY(!Menu()->GetButton(1010)->isHidden());

        // English: every panel is made anew with English texts and the tree
        // is filled again.
        QWidget* pOldMenu = Menu();
        actions[0]->trigger();
        QCOMPARE(g_nLang, 1033);
        QVERIFY(Menu() != pOldMenu);
        QCOMPARE(Menu()->GetButton(1005)->toolTip(), QStringLiteral("Add card"));
        QCOMPARE(Ctrl<QPushButton>(m_pDlg->GetButtonBar(), 1004)->text(),
                 QStringLiteral("Other settings"));
        QCOMPARE(Tree()->topLevelItemCount(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(Tree()->topLevelItemCount(), 1);
        QCOMPARE(Tree()->topLevelItem(0)->childCount(), 1);
        QCOMPARE(g_pCurCard, m_pFix->Card());
        QCOMPARE(m_pDlg->GetView(), int(CKX_GSMDlg::kViewMain));
        QVERIFY(Visible(CKX_GSMDlg::kMsg));

        // The checked entry again: nothing is made anew.
        QWidget* pEnglishMenu = Menu();
        actions[0]->trigger();
        QCOMPARE(Menu(), pEnglishMenu);

        // And back to the built-in texts.
        actions[1]->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(g_nLang, 2052);
        QCOMPARE(Menu()->GetButton(1005)->toolTip(), QStringLiteral("添加卡"));
        QCOMPARE(Ctrl<QPushButton>(m_pDlg->GetButtonBar(), 1004)->text(),
                 QStringLiteral("更多设置"));
        QCOMPARE(Tree()->topLevelItemCount(), 1);
    }

    void tabOrderOfTheMainView()
    {
        AddPage(m_pFix->Card(), QStringLiteral("一"));
        Open();
        QApplication::setActiveWindow(m_pDlg.get());
        Menu()->GetButton(1005)->setFocus();
        QList<int> visited;
        for (int i = 0; i < 11; ++i)
        {
            visited << GetCtrlId(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        // The toolbar left to right (the hidden language button skipped),
        // its two lists, then the tree.
        QCOMPARE(visited,
                 (QList<int>{1005, 1006, 1007, 1012, 1013, 1008, 1009, 1011, 1014, 1015, 1037}));
        // The message editor comes next.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(m_pDlg->GetPanel(CKX_GSMDlg::kMsg)->isAncestorOf(QApplication::focusWidget()));
    }

    void everyControlHasAName()
    {
        AddPage(m_pFix->Card(), QStringLiteral("一"));
        Open();
        g_bUnlocked = 1;
        QStringList unnamed;
        auto check = [&]()
        {
            const QList<QWidget*> widgets = m_pDlg->findChildren<QWidget*>();
            for (QWidget* pWidget : widgets)
            {
                // Everything the Tab key reaches.
                if (!pWidget->isVisible() || !(pWidget->focusPolicy() & Qt::TabFocus))
                    continue;
                QAccessibleInterface* pAcc = QAccessible::queryAccessibleInterface(pWidget);
                if (!pAcc || pAcc->text(QAccessible::Name).trimmed().isEmpty())
                    unnamed << QStringLiteral("%1 %2").arg(pWidget->metaObject()->className(),
                                                           pWidget->objectName());
            }
        };
        check();
        for (int nView : {1001, 1002, 1003, 1004})
        {
            m_pDlg->ShowView(nView);
            check();
        }
        unnamed.removeDuplicates();
        QVERIFY2(unnamed.isEmpty(), qUtf8Printable(unnamed.join(u", ")));
    }

    void startsInTheSavedLanguage()
    {
        ScanLanguageFiles(QStringLiteral(KX_BIN_DIR));
        g_nLang = 1033;
        Open();
        QVERIFY(m_pDlg->GetLanguageMenu()->actions()[0]->isChecked());
        QCOMPARE(Menu()->GetButton(1008)->toolTip(), QStringLiteral("Send"));
        QCOMPARE(Tree()->topLevelItemCount(), 1);
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
