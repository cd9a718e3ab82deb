// kx-gui-test: both command sets
// The message editor: lists, the live command field, the preview in the
// sign's colour and font, the type layout and the zone list.
#include "tst_panel_fixture.h"

#include "DlgMsg.h"
#include "PreviewFont.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

class TestPanelMsg : public QObject
{
    Q_OBJECT

    std::unique_ptr<CPanelFixture> m_pFix;
    std::unique_ptr<CDlgMsg> m_pDlg;
    CGsmPage* m_pPage = nullptr;

    QComboBox* Combo(int nId) { return Ctrl<QComboBox>(m_pDlg.get(), nId); }
    QString CommandField() { return Ctrl<QPlainTextEdit>(m_pDlg.get(), 1035)->toPlainText(); }
    QWidget* W(int nId) { return FindCtrl(m_pDlg.get(), nId); }

    // The panel as the main window brings it up for a selected message.
    void Open(CGsmPage* pPage)
    {
        m_pDlg->SetPage(pPage);
        QVERIFY(BringUp(m_pDlg.get()));
    }

private slots:
    void init()
    {
        m_pFix = std::make_unique<CPanelFixture>();
        m_pPage = new CGsmPage(m_pFix->Card());
        m_pFix->Card()->AddPage(m_pPage);
        m_pDlg = std::make_unique<CDlgMsg>(nullptr);
        Open(m_pPage);
    }
    void cleanup()
    {
        m_pDlg.reset();
        m_pFix.reset();
    }

    void listsAndLoad()
    {
        // Entries of the active language's option lists, and the built lists.
        QCOMPARE(Combo(1019)->count(), 1); // a new card has one zone
        QCOMPARE(Combo(1019)->itemText(0), QStringLiteral("0"));
        QCOMPARE(Combo(1020)->count(), 4);
        QCOMPARE(Combo(1021)->count(), 3);
        QCOMPARE(Combo(1021)->itemText(2), QStringLiteral("黄色"));
        QCOMPARE(Combo(1022)->count(), 45);
        QCOMPARE(Combo(1022)->itemText(44), QStringLiteral("斜向左展"));
        QCOMPARE(Combo(1023)->count(), 34);
        QCOMPARE(Combo(1023)->itemText(33), QStringLiteral("125"));
        QCOMPARE(Combo(1024)->count(), 3);
        QCOMPARE(Combo(1025)->count(), 36);
        QCOMPARE(Combo(1025)->itemText(35), QStringLiteral("z"));
        QCOMPARE(Combo(1026)->count(), 55);
        QCOMPARE(Combo(1026)->itemText(54), QStringLiteral("慢速，闪烁，黄色 6"));
        QCOMPARE(Combo(1132)->count(), 3);

        // The default message, loaded, and its command: the example of the
        // command format in either set.
        QCOMPARE(Combo(1022)->currentIndex(), 2);
        QCOMPARE(Combo(1025)->currentIndex(), 1);
        QCOMPARE(Ctrl<QPlainTextEdit>(m_pDlg.get(), 1039)->toPlainText(),
                 QStringLiteral("欢迎使用"));
        QCOMPARE(Combo(1132)->currentText(), QStringLiteral("%H:%m:%S"));
        QCOMPARE(CommandField(), Cmd(CMD_MESSAGE, QStringLiteral("00002101000欢迎使用")));
        QCOMPARE(Ctrl<QTextEdit>(m_pDlg.get(), 1018)->toPlainText(), QStringLiteral("欢迎使用"));
    }

    void editsStoreIntoPage_data()
    {
        QTest::addColumn<int>("nId");
        QTest::addColumn<int>("nIndex");
        QTest::addColumn<QString>("strAttributes"); // after the ID

        QTest::newRow("stay 15 s is entry 11") << 1023 << 11 << "021B1000";
        QTest::newRow("effect 36") << 1022 << 36 << "0A101000";
        QTest::newRow("speed z") << 1025 << 35 << "02z01000";
        QTest::newRow("border last") << 1026 << 54 << "0210100S";
        QTest::newRow("colour yellow") << 1021 << 2 << "02103000";
        QTest::newRow("font 3") << 1020 << 3 << "02101030";
        QTest::newRow("clock face") << 1024 << 1 << "A2101000";
    }
    void editsStoreIntoPage()
    {
        QFETCH(int, nId);
        QFETCH(int, nIndex);
        QFETCH(QString, strAttributes);

        QSignalSpy refresh(m_pDlg.get(), &CDlgMsg::refreshItemLabel);
        ChooseByKeys(Combo(nId), nIndex);
        QCOMPARE(Combo(nId)->currentIndex(), nIndex);
        QVERIFY(refresh.count() >= 1);

        const QString strBody = nId == 1024 ? QString() : QStringLiteral("欢迎使用");
        QCOMPARE(CommandField(), Cmd(CMD_MESSAGE, QStringLiteral("000") + strAttributes + strBody));
        QCOMPARE(CommandField(), m_pPage->GetCommands().join(QString()));
        if (nId == 1023)
            QCOMPARE(m_pPage->GetStay(), 11);
    }

    void choosingWithTheMouse()
    {
        QVERIFY(ChooseByMouse(Combo(1022), 7));
        QCOMPARE(m_pPage->GetEffect(), 7);
        QCOMPARE(CommandField(), Cmd(CMD_MESSAGE, QStringLiteral("00007101000欢迎使用")));
    }

    void typingContent()
    {
        QSignalSpy refresh(m_pDlg.get(), &CDlgMsg::refreshItemLabel);
        auto* pEdit = Ctrl<QPlainTextEdit>(m_pDlg.get(), 1039);
        pEdit->setFocus();
        pEdit->selectAll();
        QTest::keyClicks(pEdit, QStringLiteral("Hello sign"));
        QCOMPARE(m_pPage->GetContent(), QStringLiteral("Hello sign"));
        QCOMPARE(m_pPage->GetCaption(), m_pPage->GetName() + QStringLiteral("(Hello ...)"));
        QVERIFY(refresh.count() >= 10); // every keystroke stores
        QCOMPARE(Ctrl<QTextEdit>(m_pDlg.get(), 1018)->toPlainText(), QStringLiteral("Hello sign"));
        QCOMPARE(CommandField(), Cmd(CMD_MESSAGE, QStringLiteral("00002101000Hello sign")));
    }

    void longTextShowsCommandsRunTogether()
    {
        // 186 characters give two commands; the field runs them together.
        const QString strText = QString(185, u'a') + u'b';
        Ctrl<QPlainTextEdit>(m_pDlg.get(), 1039)->setPlainText(strText);
        QCOMPARE(m_pPage->GetCommands().size(), 2);
        const QString strExpected =
            Cmd(CMD_MESSAGE, QStringLiteral("00002101000") + QString(185, u'a')) +
            Cmd(CMD_MESSAGE, QStringLiteral("00102101000b"));
        QCOMPARE(CommandField(), strExpected);
        QVERIFY(!CommandField().contains(u'\n'));
    }

    void typeLayout()
    {
        QWidget* pContent = W(1039);
        QWidget* pFormat = W(1132);
        QVERIFY(pContent->isVisible() && pContent->isEnabled());
        QVERIFY(!pFormat->isVisible());
        QVERIFY(W(1018)->isEnabled());

        // Clock face: content greyed but still there.
        ChooseByKeys(Combo(1024), 1);
        QVERIFY(pContent->isVisible());
        QVERIFY(!pContent->isEnabled() && !W(1040)->isEnabled());
        QVERIFY(!W(1018)->isEnabled());
        QCOMPARE(CommandField(), Cmd(CMD_MESSAGE, QStringLiteral("000A2101000")));

        // Digital clock: the format and its help take the content's place.
        ChooseByKeys(Combo(1024), 2);
        QVERIFY(!pContent->isVisible() && !W(1040)->isVisible());
        QVERIFY(pFormat->isVisible() && pFormat->isEnabled());
        QVERIFY(W(1133)->isVisible() && W(1134)->isVisible());
        QCOMPARE(CommandField(), Cmd(CMD_MESSAGE, QStringLiteral("000B2101000%H:%m:%S")));

        ChooseByKeys(Combo(1024), 0);
        QVERIFY(pContent->isVisible() && pContent->isEnabled());
        QVERIFY(!pFormat->isVisible() && !W(1134)->isVisible());
    }

    void timeFormat()
    {
        ChooseByKeys(Combo(1024), 2);
        QComboBox* pFormat = Combo(1132);

        // Typing stores the format and refreshes the command on every key.
        pFormat->lineEdit()->setFocus();
        pFormat->lineEdit()->selectAll();
        QTest::keyClicks(pFormat->lineEdit(), QStringLiteral("%H"));
        QCOMPARE(m_pPage->GetTimeFormat(), QStringLiteral("%H"));
        QCOMPARE(CommandField(), Cmd(CMD_MESSAGE, QStringLiteral("000B2101000%H")));
        QTest::keyClick(pFormat->lineEdit(), Qt::Key_Colon);
        QCOMPARE(m_pPage->GetTimeFormat(), QStringLiteral("%H:"));
        QCOMPARE(CommandField(), Cmd(CMD_MESSAGE, QStringLiteral("000B2101000%H:")));

        // Choosing an entry stores the entry's text.
        QVERIFY(ChooseByMouse(pFormat, 0));
        QCOMPARE(m_pPage->GetTimeFormat(), QStringLiteral("%Y年%M月%D日 星期%w %H:%m:%S"));
        QCOMPARE(CommandField(),
                 Cmd(CMD_MESSAGE, QStringLiteral("000B2101000%Y年%M月%D日 星期%w %H:%m:%S")));
        QCOMPARE(pFormat->count(), 3); // Enter or a choice adds no entry
    }

    void preview_data()
    {
        QTest::addColumn<int>("nCardType");
        QTest::addColumn<int>("nFont");
        QTest::addColumn<int>("nColor");
        QTest::addColumn<double>("dPoints");
        QTest::addColumn<QString>("strFace");
        QTest::addColumn<QColor>("color");

        QTest::newRow("first model, font 0, red")
            << 0 << 0 << 0 << 16.0 << "宋体" << QColor(255, 0, 0);
        QTest::newRow("first model, font 2, green")
            << 0 << 2 << 1 << 16.0 << "黑体" << QColor(0, 255, 0);
        QTest::newRow("first model, font 3, yellow")
            << 0 << 3 << 2 << 32.0 << "黑体" << QColor(255, 255, 0);
        QTest::newRow("second model, font 2") << 1 << 2 << 0 << 48.0 << "" << QColor(255, 0, 0);
        QTest::newRow("second model, font 3") << 1 << 3 << 1 << 64.0 << "" << QColor(0, 255, 0);
    }
    void preview()
    {
        QFETCH(int, nCardType);
        QFETCH(int, nFont);
        QFETCH(int, nColor);
        QFETCH(double, dPoints);
        QFETCH(QString, strFace);
        QFETCH(QColor, color);

        m_pFix->Card()->SetCardType(nCardType);
        ChooseByKeys(Combo(1020), nFont);
        ChooseByKeys(Combo(1021), nColor);

        auto* pPreview = Ctrl<QTextEdit>(m_pDlg.get(), 1018);
        QCOMPARE(pPreview->palette().color(QPalette::Base), QColor(Qt::black));
        // One format over the whole text.
        for (int nPos : {1, 4})
        {
            QTextCursor cursor(pPreview->document());
            cursor.setPosition(nPos);
            const QTextCharFormat format = cursor.charFormat();
            QCOMPARE(format.foreground().color(), color);
            QCOMPARE(format.fontPointSize(), dPoints);
            const QStringList faces = format.fontFamilies().toStringList();
            if (strFace.isEmpty())
                QVERIFY(faces.isEmpty());
            else
                QCOMPARE(faces, QStringList{strFace});
        }
    }

    void previewHelpers()
    {
        QCOMPARE(ColorIndexToRgb(7), QColor(255, 0, 0));
        m_pFix->Card()->SetCardType(1);
        QCOMPARE(FontIndexToHeight(2), 960);
        QCOMPARE(FontIndexToHeight(9), 320);
        QCOMPARE(FontIndexToFace(0), QString());
        m_pFix->Card()->SetCardType(0);
        QCOMPARE(FontIndexToHeight(2), 320);
        QCOMPARE(FontIndexToFace(1), QStringLiteral("宋体"));
        QCOMPARE(FontIndexToFace(4), QString());
    }

    void showingKeepsTheMessagesZone()
    {
        // A card with three zones, the message in zone 2.
        CGsmCard* pCard = m_pFix->Card();
        pCard->AddZone(new CDivObj);
        pCard->AddZone(new CDivObj);
        m_pPage->SetZone(2);
        Open(m_pPage);
        QCOMPARE(Combo(1019)->count(), 3);
        QCOMPARE(Combo(1019)->currentIndex(), 2);

        // Shown again (back from another panel): still zone 2, and the next
        // edit keeps it there.
        m_pDlg->hide();
        m_pDlg->show();
        m_pDlg->OnShowPanel();
        QCOMPARE(Combo(1019)->currentIndex(), 2);
        ChooseByKeys(Combo(1023), 3);
        QCOMPARE(m_pPage->GetZone(), 2);
        QCOMPARE(CommandField(), Cmd(CMD_MESSAGE, QStringLiteral("00002131200欢迎使用")));

        // The zone editor took zones away: the list follows the card and the
        // message falls back to the first zone.
        pCard->RemoveZone(pCard->GetZoneList().last());
        pCard->RemoveZone(pCard->GetZoneList().last());
        m_pDlg->OnShowPanel();
        QCOMPARE(Combo(1019)->count(), 1);
        QCOMPARE(Combo(1019)->currentIndex(), 0);
        QCOMPARE(m_pPage->GetZone(), 2); // stored only by the next edit
        ChooseByKeys(Combo(1023), 4);
        QCOMPARE(m_pPage->GetZone(), 0);
    }

    void switchingMessagesKeepsEachOwnValues()
    {
        auto* pOther = new CGsmPage(m_pFix->Card());
        m_pFix->Card()->AddPage(pOther);
        pOther->SetContent(QStringLiteral("other"));
        pOther->SetEffect(5);
        ChooseByKeys(Combo(1023), 3);
        Open(pOther);
        QCOMPARE(Combo(1022)->currentIndex(), 5);
        QCOMPARE(pOther->GetStay(), 0);
        QCOMPARE(m_pPage->GetStay(), 3);
        QCOMPARE(m_pPage->GetEffect(), 2);
        QCOMPARE(m_pPage->GetContent(), QStringLiteral("欢迎使用"));
    }

    void enterDoesNotClose()
    {
        // Inside a dialog with a default button, as the panel lives in the
        // main window.
        QDialog host;
        auto* pDefault = new QPushButton(QStringLiteral("OK"), &host);
        pDefault->setDefault(true);
        QObject::connect(pDefault, &QPushButton::clicked, &host, &QDialog::accept);
        CDlgMsg* pPanel = new CDlgMsg(&host);
        pPanel->move(0, 40);
        pPanel->SetPage(m_pPage);
        host.show();
        pPanel->OnShowPanel();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        QComboBox* pFormat = Ctrl<QComboBox>(pPanel, 1132);
        ChooseByKeys(Ctrl<QComboBox>(pPanel, 1024), 2);
        pFormat->lineEdit()->setFocus();
        QTest::keyClick(pFormat->lineEdit(), Qt::Key_Return);
        QTest::keyClick(Ctrl<QComboBox>(pPanel, 1022), Qt::Key_Enter);
        QVERIFY(host.isVisible());
        QVERIFY(pPanel->isVisible());
        QCOMPARE(host.result(), 0);
    }
};

QTEST_MAIN(TestPanelMsg)
#include "tst_panel_msg.moc"
