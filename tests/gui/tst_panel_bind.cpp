// kx-gui-test: both command sets
// The number binding panel: ticked numbers into the card, the option, the
// command field and the bind button.
#include "tst_panel_fixture.h"

#include "DlgBind.h"

#include <QCheckBox>
#include <QPushButton>

class TestPanelBind : public QObject
{
    Q_OBJECT

    std::unique_ptr<CPanelFixture> m_pFix;
    std::unique_ptr<CDlgBind> m_pDlg;

    QCheckBox* Box(int i) { return Ctrl<QCheckBox>(m_pDlg.get(), 1069 + 2 * i); }
    QLineEdit* Number(int i) { return Ctrl<QLineEdit>(m_pDlg.get(), 1070 + 2 * i); }
    QCheckBox* All() { return Ctrl<QCheckBox>(m_pDlg.get(), 1070); }
    QString CommandField() { return Ctrl<QLineEdit>(m_pDlg.get(), 1035)->text(); }

private slots:
    void init()
    {
        m_pFix = std::make_unique<CPanelFixture>();
        m_pDlg = std::make_unique<CDlgBind>(nullptr);
        QVERIFY(BringUp(m_pDlg.get()));
    }
    void cleanup()
    {
        m_pDlg.reset();
        m_pFix.reset();
    }

    void startsEmpty()
    {
        QComboBox* pOption = Ctrl<QComboBox>(m_pDlg.get(), 1087);
        QCOMPARE(pOption->count(), 2);
        QCOMPARE(pOption->currentIndex(), 0);
        QCOMPARE(pOption->itemText(1), QStringLiteral("更新绑定"));
        QCOMPARE(CommandField(), QString());
        for (int i = 1; i <= 8; ++i)
            QCOMPARE(Box(i)->text(), QStringLiteral("号码%1").arg(i));
    }

    void tickedNumbersGoIntoTheCard()
    {
        TypeInto(Number(1), QStringLiteral("+8613800000001"));
        TypeInto(Number(2), QStringLiteral("+8613800000002"));
        TypeInto(Number(3), QStringLiteral("+8613800000003"));
        // Typing alone changes nothing.
        QCOMPARE(CommandField(), QString());
        Click(Box(1));
        Click(Box(3));
        Click(Box(4)); // ticked but empty: adds nothing, not even a bar
        QCOMPARE(m_pFix->Card()->GetBindPhones(), QStringLiteral("+8613800000001|+8613800000003|"));
        QCOMPARE(CommandField(), Cmd(CMD_BIND, QStringLiteral("0+8613800000001|+8613800000003|")));

        QVERIFY(ChooseByMouse(Ctrl<QComboBox>(m_pDlg.get(), 1087), 1));
        QCOMPARE(CommandField(), Cmd(CMD_BIND, QStringLiteral("1+8613800000001|+8613800000003|")));

        // The shown command goes out.
        Click(Ctrl<QPushButton>(m_pDlg.get(), 1088));
        QCOMPARE(m_pFix->LastSent(), CommandField());
        QCOMPARE(m_pFix->Boxes().first().strText, CKxStr(42018).GetText());
    }

    void longNumberIsCut()
    {
        TypeInto(Number(5), QStringLiteral("1234567890123456789012"));
        Click(Box(5));
        QCOMPARE(m_pFix->Card()->GetBindPhones(), QStringLiteral("123456789012345678|"));
    }

    void selectAll()
    {
        for (int i = 1; i <= 8; ++i)
            TypeInto(Number(i), QStringLiteral("10%1").arg(i));
        Click(All());
        for (int i = 1; i <= 8; ++i)
            QVERIFY(Box(i)->isChecked());
        QCOMPARE(m_pFix->Card()->GetBindPhones(),
                 QStringLiteral("101|102|103|104|105|106|107|108|"));

        // Unticking one of several leaves "全选"; unticking the last clears it.
        Click(Box(2));
        QVERIFY(All()->isChecked());
        for (int i = 1; i <= 8; ++i)
            if (i != 2 && i != 6)
                Click(Box(i));
        QVERIFY(All()->isChecked());
        QCOMPARE(m_pFix->Card()->GetBindPhones(), QStringLiteral("106|"));
        Click(Box(6));
        QVERIFY(!All()->isChecked());

        // "全选" cleared clears every box.
        Click(All());
        Click(All());
        for (int i = 1; i <= 8; ++i)
            QVERIFY(!Box(i)->isChecked());
    }

    void nothingTickedKeepsTheCardsNumbers()
    {
        TypeInto(Number(1), QStringLiteral("101"));
        Click(Box(1));
        QCOMPARE(CommandField(), Cmd(CMD_BIND, QStringLiteral("0101|")));
        Click(Box(1));
        QCOMPARE(m_pFix->Card()->GetBindPhones(), QStringLiteral("101|"));
        QCOMPARE(CommandField(), Cmd(CMD_BIND, QStringLiteral("0101|")));
    }

    void keyboardTicks()
    {
        TypeInto(Number(8), QStringLiteral("108"));
        Box(8)->setFocus();
        QTest::keyClick(Box(8), Qt::Key_Space);
        QCOMPARE(CommandField(), Cmd(CMD_BIND, QStringLiteral("0108|")));
        QTest::keyClick(Number(8), Qt::Key_Return);
        QVERIFY(m_pDlg->isVisible());
        QCOMPARE(m_pFix->Writes(), 0);
    }
};

QTEST_MAIN(TestPanelBind)
#include "tst_panel_bind.moc"
