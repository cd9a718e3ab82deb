// kx-gui-test: both command sets
// The screen parameters panel and the screen information panel.
#include "tst_panel_fixture.h"

#include "DlgScrInfo.h"
#include "DlgScreen.h"
#include "SpinButton.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

class TestPanelScreen : public QObject
{
    Q_OBJECT

    std::unique_ptr<CPanelFixture> m_pFix;
    std::unique_ptr<CDlgScreen> m_pDlg;

    QComboBox* Combo(int nId) { return Ctrl<QComboBox>(m_pDlg.get(), nId); }
    QLineEdit* Edit(int nId) { return Ctrl<QLineEdit>(m_pDlg.get(), nId); }
    QString CommandField() { return Edit(1035)->text(); }

    void Open() { QVERIFY(BringUp(m_pDlg.get())); }

private slots:
    void init()
    {
        m_pFix = std::make_unique<CPanelFixture>();
        m_pDlg = std::make_unique<CDlgScreen>(nullptr);
        Open();
    }
    void cleanup()
    {
        m_pDlg.reset();
        m_pFix.reset();
    }

    void showLoadsTheCard()
    {
        CGsmCard* pCard = m_pFix->Card();
        m_pDlg->hide();
        pCard->SetColorType(2);
        pCard->SetScanMode(4);
        pCard->SetWidth(128);
        pCard->SetId(3);
        pCard->SetDtuPhones(QStringLiteral("13800000000"));
        Open();
        QCOMPARE(Combo(1021)->currentIndex(), 2);
        QCOMPARE(Combo(1045)->currentIndex(), 4);
        QCOMPARE(Combo(1042)->currentIndex(), 1); // OE high active by default
        QCOMPARE(Edit(1046)->text(), QStringLiteral("128"));
        QCOMPARE(Edit(1047)->text(), QStringLiteral("32"));
        QCOMPARE(Edit(1064)->text(), QStringLiteral("3"));
        QVERIFY(Edit(1064)->isReadOnly());
        QVERIFY(!FindCtrl(m_pDlg.get(), 1065)->isEnabled());
        QCOMPARE(Edit(1066)->text(), QStringLiteral("13800000000|"));
        QCOMPARE(CommandField(), Cmd(CMD_SCREEN, QStringLiteral("0128x032,301410")));
        QCOMPARE(Combo(1045)->count(), 12);
        QCOMPARE(Combo(1045)->itemText(4), QStringLiteral("4.1  1/4扫(**P10常规**)"));
    }

    void defaultCommand()
    {
        QCOMPARE(CommandField(), Cmd(CMD_SCREEN, QStringLiteral("0064x032,101000")));
        QCOMPARE(Edit(1035)->palette().color(QPalette::Text), QColor(255, 0, 0));
        QVERIFY(Edit(1035)->isReadOnly());
    }

    void listsStoreAtOnce()
    {
        // The example of a full screen: 1600 x 128, full colour, data
        // polarity 1, OE polarity 0, scan entry 4, row order 2.
        CGsmCard* pCard = m_pFix->Card();
        m_pDlg->hide();
        pCard->SetWidth(1600);
        pCard->SetHeight(128);
        Open();
        ChooseByKeys(Combo(1021), 2);
        QCOMPARE(pCard->GetColorType(), 2);
        ChooseByKeys(Combo(1044), 1);
        ChooseByKeys(Combo(1042), 0);
        QVERIFY(ChooseByMouse(Combo(1045), 4));
        ChooseByKeys(Combo(1043), 2);
        QCOMPARE(pCard->GetDataPolarity(), 1);
        QCOMPARE(pCard->GetOePolarity(), 0);
        QCOMPARE(pCard->GetScanMode(), 4);
        QCOMPARE(pCard->GetRowOrder(), 2);
        QCOMPARE(CommandField(), Cmd(CMD_SCREEN, QStringLiteral("1600x128,310412")));
    }

    void typedSizeSettles_data()
    {
        QTest::addColumn<int>("nId");
        QTest::addColumn<QString>("strTyped");
        QTest::addColumn<int>("nSettled");

        QTest::newRow("width 100") << 1046 << "100" << 96;
        QTest::newRow("width 5") << 1046 << "5" << 16;
        QTest::newRow("width 2000") << 1046 << "2000" << 1600;
        QTest::newRow("height 130") << 1047 << "130" << 128;
        QTest::newRow("height 0") << 1047 << "0" << 16;
        QTest::newRow("height empty") << 1047 << "" << 16;
        QTest::newRow("letters refused") << 1046 << "x9" << 16;
    }
    void typedSizeSettles()
    {
        QFETCH(int, nId);
        QFETCH(QString, strTyped);
        QFETCH(int, nSettled);

        CGsmCard* pCard = m_pFix->Card();
        TypeInto(Edit(nId), strTyped);
        // The card is untouched until the settling, one second after the
        // last key; then edit, card and command agree.
        QCOMPARE(nId == 1046 ? pCard->GetWidth() : pCard->GetHeight(), nId == 1046 ? 64 : 32);
        QTRY_COMPARE_WITH_TIMEOUT(Edit(nId)->text(), QString::number(nSettled), 5000);
        QCOMPARE(nId == 1046 ? pCard->GetWidth() : pCard->GetHeight(), nSettled);
        QString strCmd;
        pCard->BuildScreenCommand(&strCmd);
        QCOMPARE(CommandField(), strCmd);
    }

    void setButtonSendsTheShownCommand()
    {
        // Pressed right after typing: the text shown, built before the size
        // settled, is what goes out.
        TypeInto(Edit(1046), QStringLiteral("100"));
        ChooseByKeys(Combo(1043), 1);
        const QString strShown = CommandField();
        QCOMPARE(strShown, Cmd(CMD_SCREEN, QStringLiteral("0064x032,101001")));
        Click(Ctrl<QPushButton>(m_pDlg.get(), 1062));
        QCOMPARE(m_pFix->LastSent(), strShown);
        QCOMPARE(m_pFix->Boxes().size(), 1);
        QCOMPARE(m_pFix->Boxes().first().strText, CKxStr(42018).GetText());

        QTRY_COMPARE_WITH_TIMEOUT(m_pFix->Card()->GetWidth(), 96, 5000);
        Click(Ctrl<QPushButton>(m_pDlg.get(), 1062));
        QCOMPARE(m_pFix->LastSent(), Cmd(CMD_SCREEN, QStringLiteral("0096x032,101001")));
    }

    void spinStepsBySixteen()
    {
        auto* pSpin = Ctrl<CSpinButton>(m_pDlg.get(), 1059);
        QToolButton* pUp = pSpin->findChildren<QToolButton*>().first();
        Click(pUp);
        QCOMPARE(Edit(1046)->text(), QStringLiteral("80"));
        // Down key in the field steps too, within the range.
        Edit(1047)->setFocus();
        QTest::keyClick(Edit(1047), Qt::Key_Down);
        QCOMPARE(Edit(1047)->text(), QStringLiteral("16"));
        QTest::keyClick(Edit(1047), Qt::Key_Down);
        QCOMPARE(Edit(1047)->text(), QStringLiteral("16"));
        QTRY_COMPARE_WITH_TIMEOUT(m_pFix->Card()->GetHeight(), 16, 5000);
        QCOMPARE(m_pFix->Card()->GetWidth(), 80);
    }

    void showingNormalisesTheStoredSize()
    {
        // A size from elsewhere (a project file) is settled a second after
        // the panel shows it, even with nothing typed.
        m_pDlg->hide();
        m_pFix->Card()->SetWidth(100);
        Open();
        QCOMPARE(Edit(1046)->text(), QStringLiteral("100"));
        QTRY_COMPARE_WITH_TIMEOUT(m_pFix->Card()->GetWidth(), 96, 5000);
        QCOMPARE(Edit(1046)->text(), QStringLiteral("96"));
    }

    void leavingSettlesForThisCard()
    {
        // A size typed just before leaving belongs to the card it was typed
        // for, not to whichever card is current when the timer fires.
        CGsmCard* pFirst = m_pFix->Card();
        TypeInto(Edit(1046), QStringLiteral("200"));
        m_pDlg->hide();
        QCOMPARE(pFirst->GetWidth(), 192);

        auto* pSecond = new CGsmCard;
        g_cardList.append(pSecond);
        g_pCurCard = pSecond;
        QTest::qWait(1200);
        QCOMPARE(pSecond->GetWidth(), 64);
        QCOMPARE(pFirst->GetWidth(), 192);
    }

    void saveTargets()
    {
        CGsmCard* pCard = m_pFix->Card();
        TypeInto(Edit(1066), QStringLiteral("13800000001|13800000002"));
        Click(Ctrl<QPushButton>(m_pDlg.get(), 1067));
        QCOMPARE(pCard->GetDtuPhones(), QStringLiteral("13800000001|13800000002|"));
        QCOMPARE(pCard->GetDtuPhoneArray(),
                 (QStringList{QStringLiteral("13800000001"), QStringLiteral("13800000002")}));
        QCOMPARE(pCard->GetId(), 1);
        QCOMPARE(m_pFix->Boxes().size(), 1);
        QCOMPARE(m_pFix->Boxes().first().strText, QStringLiteral("号码已保存!"));
        QCOMPARE(m_pFix->Boxes().first().icon, KxMsgIcon::Information);
        QCOMPARE(m_pFix->Writes(), 0);

        // An empty text is stored too.
        TypeInto(Edit(1066), QString());
        Click(Ctrl<QPushButton>(m_pDlg.get(), 1067));
        QCOMPARE(pCard->GetDtuPhones(), QStringLiteral("|"));
        QCOMPARE(Edit(1066)->maxLength(), 511);
    }

    void enterIsIgnored()
    {
        Edit(1066)->setFocus();
        QTest::keyClick(Edit(1066), Qt::Key_Return);
        QVERIFY(m_pDlg->isVisible());
        QCOMPARE(m_pFix->Writes(), 0);
        QCOMPARE(m_pFix->Boxes().size(), 0);
    }

    void informationPanel()
    {
        CGsmCard* pCard = m_pFix->Card();
        pCard->SetColorType(1);
        pCard->SetRowOrder(2);
        pCard->SetDataPolarity(1);
        pCard->SetOePolarity(0);
        pCard->SetScanMode(11);
        pCard->SetWidth(320);
        pCard->SetHeight(-16);

        CDlgScrInfo info(nullptr);
        info.ShowCard(pCard);
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        const struct
        {
            int nId;
            int nIndex;
        } lists[] = {{1021, 1}, {1043, 2}, {1044, 1}, {1042, 0}, {1045, 11}};
        for (const auto& l : lists)
        {
            QComboBox* pCombo = Ctrl<QComboBox>(&info, l.nId);
            QCOMPARE(pCombo->currentIndex(), l.nIndex);
            QVERIFY(!pCombo->isEnabled());
        }
        QCOMPARE(Ctrl<QLineEdit>(&info, 1046)->text(), QStringLiteral("320"));
        QCOMPARE(Ctrl<QLineEdit>(&info, 1047)->text(), QStringLiteral("-16"));
        QVERIFY(!Ctrl<QLineEdit>(&info, 1046)->isEnabled());
        QCOMPARE(Ctrl<QLabel>(&info, 1056)->text(), QStringLiteral("更多请点击普通设置>>"));

        // "普通设置" asks the main window for the more settings panel.
        QSignalSpy spy(&info, &CDlgScrInfo::toolbarCommand);
        Click(Ctrl<QPushButton>(&info, 1048));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().at(0).toInt(), 1127);
        QCOMPARE(spy.first().at(1).toInt(), 0);
    }
};

QTEST_MAIN(TestPanelScreen)
#include "tst_panel_screen.moc"
