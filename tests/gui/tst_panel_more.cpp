// kx-gui-test: both command sets
// The more settings panel and the timed settings dialog behind its "..."
// buttons.
#include "tst_main_modal.h"
#include "tst_panel_fixture.h"

#include "DlgAuto.h"
#include "DlgMore.h"
#include "SpinButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QToolButton>

namespace
{
void ClickArrow(CSpinButton* pSpin, bool bUp, int nTimes = 1)
{
    const QList<QToolButton*> arrows = pSpin->findChildren<QToolButton*>();
    QToolButton* pArrow = arrows.at(bUp ? 0 : 1);
    for (int i = 0; i < nTimes; ++i)
        Click(pArrow);
}

} // namespace

class TestPanelMore : public QObject
{
    Q_OBJECT

    std::unique_ptr<CPanelFixture> m_pFix;
    std::unique_ptr<CDlgMore> m_pDlg;

    QLineEdit* Edit(int nId) { return Ctrl<QLineEdit>(m_pDlg.get(), nId); }
    QComboBox* Combo(int nId) { return Ctrl<QComboBox>(m_pDlg.get(), nId); }
    QWidget* W(int nId) { return FindCtrl(m_pDlg.get(), nId); }
    CGsmCard* Card() { return m_pFix->Card(); }

    // The time a clock command sets, and its day of the week.
    static QDateTime ClockOf(const QString& strCmd, int* pDay)
    {
        const QString strHead = Cmd(CMD_CLOCK);
        if (!strCmd.startsWith(strHead) || strCmd.size() != strHead.size() + 15)
            return QDateTime();
        const QString strDigits = strCmd.mid(strHead.size());
        *pDay = strDigits.right(1).toInt();
        return QDateTime::fromString(strDigits.left(14), QStringLiteral("yyyyMMddHHmmss"));
    }

private slots:
    void init()
    {
        m_pFix = std::make_unique<CPanelFixture>();
        m_pDlg = std::make_unique<CDlgMore>(nullptr);
        QVERIFY(BringUp(m_pDlg.get()));
    }
    void cleanup()
    {
        EndWatches();
        m_pDlg.reset();
        m_pFix.reset();
    }

    void initialFields()
    {
        QCOMPARE(Edit(1093)->text(), Cmd(CMD_VERSION));
        QCOMPARE(Edit(1147)->text(), Cmd(CMD_RESET_ALL));
        QCOMPARE(Edit(1097)->text(), Cmd(CMD_CLEAR_ALL));
        QCOMPARE(Edit(1094)->text(), QStringLiteral("0"));
        QCOMPARE(Edit(1098)->text(), Cmd(CMD_DELETE, QStringLiteral("000")));
        QCOMPARE(Edit(1099)->text(), QStringLiteral("5"));
        QVERIFY(Edit(1099)->isReadOnly());
        QCOMPARE(Edit(1104)->text(), Cmd(CMD_BRIGHTNESS, QStringLiteral("0")));
        QCOMPARE(Edit(1107)->text(), CMD_POWER_TAKES_STATE
                                         ? Cmd(CMD_POWER_OFF, QStringLiteral("000"))
                                         : Cmd(CMD_POWER_OFF));
        QCOMPARE(Edit(1111)->text(), Cmd(CMD_ECHO, QStringLiteral("00")));
        for (int nId : {1093, 1097, 1098, 1101, 1104, 1107, 1111, 1147})
        {
            QVERIFY(Edit(nId)->isReadOnly());
            QCOMPARE(Edit(nId)->palette().color(QPalette::Text), QColor(255, 0, 0));
        }

        // Both modes start manual.
        QVERIFY(Ctrl<QRadioButton>(m_pDlg.get(), 1140)->isChecked());
        QVERIFY(Ctrl<QRadioButton>(m_pDlg.get(), 1143)->isChecked());
        QVERIFY(!W(1145)->isEnabled() && !W(1146)->isEnabled());
        QVERIFY(W(1102)->isEnabled() && W(1105)->isEnabled());

        QCOMPARE(Combo(1102)->count(), 16);
        QCOMPARE(Combo(1102)->itemText(0), QStringLiteral("0(暗)"));
        QCOMPARE(Combo(1102)->itemText(15), QStringLiteral("F(最亮)"));
        QCOMPARE(Combo(1108)->count(), 4);
        QCOMPARE(Combo(1109)->count(), 4);
        QCOMPARE(Combo(1108)->view()->minimumWidth(), 330);
        QCOMPARE(Combo(1109)->view()->minimumWidth(), 300);
        QVERIFY(W(1142)->toolTip().contains(QStringLiteral("定时调亮度")));
        QVERIFY(W(1144)->toolTip().contains(QStringLiteral("定时屏幕关机")));
    }

    void messageId_data()
    {
        QTest::addColumn<QString>("strTyped");
        QTest::addColumn<QString>("strField");
        QTest::addColumn<QString>("strId");
        QTest::newRow("12") << "12"
                            << "12"
                            << "012";
        QTest::newRow("399") << "399"
                             << "399"
                             << "399";
        QTest::newRow("400 turns into 0") << "400"
                                          << "0"
                                          << "000";
        QTest::newRow("empty") << ""
                               << ""
                               << "000";
        QTest::newRow("letters refused") << "a5"
                                         << "5"
                                         << "005";
    }
    void messageId()
    {
        QFETCH(QString, strTyped);
        QFETCH(QString, strField);
        QFETCH(QString, strId);
        TypeInto(Edit(1094), strTyped);
        QCOMPARE(Edit(1094)->text(), strField);
        QCOMPARE(Edit(1098)->text(), Cmd(CMD_DELETE, strId));
        Click(W(1096));
        QCOMPARE(m_pFix->LastSent(), Cmd(CMD_DELETE, strId));
    }

    void clockFollowsThePcTime()
    {
        int nDay = 0;
        const QString strFirst = Edit(1101)->text();
        const QDateTime first = ClockOf(strFirst, &nDay);
        QVERIFY2(first.isValid(), qPrintable(strFirst));
        QCOMPARE(nDay, first.date().dayOfWeek());
        QVERIFY(qAbs(QDateTime::currentDateTime().addSecs(5).secsTo(first)) <= 2);

        // A new time every second, also without any input.
        QTRY_VERIFY_WITH_TIMEOUT(Edit(1101)->text() != strFirst, 5000);

        // The advance follows the spin; the field cannot be typed into.
        ClickArrow(Ctrl<CSpinButton>(m_pDlg.get(), 1059), true, 70);
        QCOMPARE(Edit(1099)->text(), QStringLiteral("60"));
        const QDateTime later = ClockOf(Edit(1101)->text(), &nDay);
        QVERIFY(qAbs(QDateTime::currentDateTime().addSecs(60).secsTo(later)) <= 2);
        ClickArrow(Ctrl<CSpinButton>(m_pDlg.get(), 1059), false, 61);
        QCOMPARE(Edit(1099)->text(), QStringLiteral("0"));
        Edit(1099)->setFocus();
        QTest::keyClicks(Edit(1099), QStringLiteral("9"));
        QCOMPARE(Edit(1099)->text(), QStringLiteral("0"));
        QTest::keyClick(Edit(1099), Qt::Key_Up);
        QCOMPARE(Edit(1099)->text(), QStringLiteral("1"));

        // "校时" sends the text shown at that moment.
        const QString strShown = Edit(1101)->text();
        Click(W(1100));
        QCOMPARE(m_pFix->LastSent(), strShown);
    }

    void manualBrightnessAndPower()
    {
        ChooseByKeys(Combo(1102), 15);
        QCOMPARE(Edit(1104)->text(), Cmd(CMD_BRIGHTNESS, QStringLiteral("F")));
        ChooseByKeys(Combo(1102), 9);
        QCOMPARE(Edit(1104)->text(), Cmd(CMD_BRIGHTNESS, QStringLiteral("9")));
        Click(W(1103));
        QCOMPARE(m_pFix->LastSent(), Cmd(CMD_BRIGHTNESS, QStringLiteral("9")));

        ChooseByKeys(Combo(1105), 1);
        const QString strOn =
            CMD_POWER_TAKES_STATE ? Cmd(CMD_POWER_ON, QStringLiteral("001")) : Cmd(CMD_POWER_ON);
        QCOMPARE(Edit(1107)->text(), strOn);
        Click(W(1106));
        QCOMPARE(m_pFix->LastSent(), strOn);
    }

    void echoAndBuzzer()
    {
        ChooseByKeys(Combo(1109), 1);
        ChooseByKeys(Combo(1108), 3);
        QCOMPARE(Edit(1111)->text(), Cmd(CMD_ECHO, QStringLiteral("13")));
        Click(W(1110));
        QCOMPARE(m_pFix->LastSent(), Cmd(CMD_ECHO, QStringLiteral("13")));
    }

    void resetAndClear()
    {
        Click(W(1182));
        QCOMPARE(m_pFix->LastSent(), Cmd(CMD_RESET_ALL));
        Click(W(1095));
        QCOMPARE(m_pFix->LastSent(), Cmd(CMD_CLEAR_ALL));
        QCOMPARE(m_pFix->Boxes().size(), 2);
    }

    void automaticBrightness()
    {
        Card()->GetBrightSlots()[2] = CBrightSlot{8, 18, 5, 1};
        Click(W(1142));
        QVERIFY(m_pDlg->IsBrightnessAuto());
        QVERIFY(!W(1102)->isEnabled() && W(1145)->isEnabled());
        const QString strTimed = Cmd(CMD_TIMED_BRIGHTNESS, QStringLiteral("2:0,23,0|8,18,5|"));
        QCOMPARE(Edit(1104)->text(), strTimed);
        Click(W(1103));
        QCOMPARE(m_pFix->LastSent(), strTimed); // whole, though longer than 30 characters

        // Back to manual: the level's command again.
        Click(W(1140));
        QVERIFY(W(1102)->isEnabled() && !W(1145)->isEnabled());
        QCOMPARE(Edit(1104)->text(), Cmd(CMD_BRIGHTNESS, QStringLiteral("0")));
    }

    void automaticWithNothingEnabledSendsNothing()
    {
        for (CPowerSlot& slot : Card()->GetPowerSlots())
            slot.m_bEnabled = 0;
        Click(W(1144));
        QCOMPARE(Edit(1107)->text(), QString());
        Click(W(1106));
        QCOMPARE(m_pFix->Writes(), 0);
        QCOMPARE(m_pFix->Boxes().size(), 0);
    }

    void timedDialogCancelStillSwitches()
    {
        Click(W(1144));
        QCOMPARE(Edit(1107)->text(), Cmd(CMD_TIMED_POWER, QStringLiteral("1:0:00,23:59|")));
        Click(W(1143)); // manual again; "..." is off
        QVERIFY(!W(1146)->isEnabled());
        Click(W(1144));

        const auto before = Card()->GetPowerSlots();
        WhenModal<CDlgAuto>(
            [](CDlgAuto* pDlg)
            {
                QCOMPARE(pDlg->GetKind(), int(CDlgAuto::Power));
                Click(FindCtrl(pDlg, 1159)); // tick row 2
                Click(FindCtrl(pDlg, 2));    // Cancel
            });
        Click(W(1146));
        QCOMPARE(Card()->GetPowerSlots()[1].m_bEnabled, before[1].m_bEnabled);
        QVERIFY(m_pDlg->IsPowerAuto());
        QCOMPARE(Edit(1107)->text(), Cmd(CMD_TIMED_POWER, QStringLiteral("1:0:00,23:59|")));
    }

    void timedDialogOkUpdatesTheCommand()
    {
        Click(W(1142));
        WhenModal<CDlgAuto>(
            [](CDlgAuto* pDlg)
            {
                QCOMPARE(pDlg->GetKind(), int(CDlgAuto::Brightness));
                Click(FindCtrl(pDlg, 1160)); // tick row 3
                ClickArrow(Ctrl<CSpinButton>(pDlg, 1060 + 6), false,
                           1); // its end hour 0 - 1: stays 0
                ClickArrow(Ctrl<CSpinButton>(pDlg, 1059 + 6), true, 6);  // start 6
                ClickArrow(Ctrl<CSpinButton>(pDlg, 1061 + 6), true, 12); // value 9 at most
                Click(FindCtrl(pDlg, 1));                                // OK
            });
        Click(W(1145));
        QVERIFY(m_pDlg->IsBrightnessAuto());
        QCOMPARE(Edit(1104)->text(), Cmd(CMD_TIMED_BRIGHTNESS, QStringLiteral("2:0,23,0|6,0,9|")));
    }

    void versionQueryShowsTheReply()
    {
        Click(W(1092));
        QCOMPARE(m_pFix->LastSent(), Cmd(CMD_VERSION));
        QCOMPARE(Ctrl<QLabel>(m_pDlg.get(), 1137)->text(),
                 QStringLiteral("VER:VI-DAR RI-ZOR-O21 V1.0"));
        QCOMPARE(m_pFix->Boxes().size(), 1);
        QCOMPARE(m_pFix->Boxes().first().icon, KxMsgIcon::Information);

        // A silent card: the reply field empties.
        m_pFix->Device().fnAnswer = [](const QByteArray&) { return CFakeAnswer{}; };
        Click(W(1092));
        QCOMPARE(Ctrl<QLabel>(m_pDlg.get(), 1137)->text(), QString());
    }

    void withoutACardNothingIsSent()
    {
        g_pCurCard = nullptr;
        for (int nId : {1092, 1182, 1095, 1096, 1100, 1103, 1106, 1110})
            Click(W(nId));
        QCOMPARE(m_pFix->Writes(), 0);
        QCOMPARE(m_pFix->Boxes().size(), 0);
    }
};

// The timed settings dialog on its own.
class TestTimedDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<CPanelFixture> m_pFix;

    static QCheckBox* Box(CDlgAuto* p, int i) { return Ctrl<QCheckBox>(p, 1158 + i); }
    static QString Num(CDlgAuto* p, int nId) { return Ctrl<QLineEdit>(p, nId)->text(); }
    static QTime From(CDlgAuto* p, int i) { return Ctrl<QDateTimeEdit>(p, 1170 + i)->time(); }
    static QTime To(CDlgAuto* p, int i) { return Ctrl<QDateTimeEdit>(p, 1174 + i)->time(); }

private slots:
    void init() { m_pFix = std::make_unique<CPanelFixture>(); }
    void cleanup() { m_pFix.reset(); }

    void brightnessDefaults()
    {
        CDlgAuto dlg(CDlgAuto::Brightness);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("定时设置"));
        QVERIFY(Box(&dlg, 0)->isChecked());
        QCOMPARE(Num(&dlg, 1146), QStringLiteral("0"));
        QCOMPARE(Num(&dlg, 1147), QStringLiteral("23"));
        QCOMPARE(Num(&dlg, 1148), QStringLiteral("0"));
        for (int i = 1; i < 4; ++i)
        {
            QVERIFY(!Box(&dlg, i)->isChecked());
            for (int nId : {1146, 1147, 1148})
                QCOMPARE(Num(&dlg, nId + 3 * i), QStringLiteral("0"));
        }
        QVERIFY(FindCtrl(&dlg, 1146)->isVisible() && FindCtrl(&dlg, 1061)->isVisible());
        QVERIFY(!FindCtrl(&dlg, 1170)->isVisible() && !FindCtrl(&dlg, 1178)->isVisible());
        QVERIFY(FindCtrl(&dlg, 1164)->isVisible());
        QVERIFY(Ctrl<QLineEdit>(&dlg, 1146)->isReadOnly());
    }

    void powerDefaultsAndCaptions()
    {
        CDlgAuto dlg(CDlgAuto::Power);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(Box(&dlg, 0)->isChecked());
        QCOMPARE(From(&dlg, 0), QTime(0, 0));
        QCOMPARE(To(&dlg, 0), QTime(23, 59));
        for (int i = 1; i < 4; ++i)
        {
            QVERIFY(!Box(&dlg, i)->isChecked());
            QCOMPARE(From(&dlg, i), QTime(0, 0));
            QCOMPARE(To(&dlg, i), QTime(0, 0));
        }
        auto* pFrom = Ctrl<QDateTimeEdit>(&dlg, 1170);
        QCOMPARE(pFrom->displayFormat(), QStringLiteral("HH:mm"));
        QCOMPARE(pFrom->date(), QDate(2010, 1, 1));
        QVERIFY(pFrom->isVisible() && FindCtrl(&dlg, 1178)->isVisible());
        QVERIFY(!FindCtrl(&dlg, 1146)->isVisible() && !FindCtrl(&dlg, 1059)->isVisible());
        // No value column; "结束" stands over the end pickers.
        QVERIFY(!FindCtrl(&dlg, 1164)->isVisible());
        QCOMPARE(FindCtrl(&dlg, 1163)->x(), FindCtrl(&dlg, 1174)->x());
        QCOMPARE(FindCtrl(&dlg, 1163)->y(), FindCtrl(&dlg, 1162)->y());
    }

    void okStoresTheRowsOfItsKind()
    {
        CGsmCard* pCard = m_pFix->Card();
        const auto bright = pCard->GetBrightSlots();
        CDlgAuto dlg(CDlgAuto::Power);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        // Rows 1 and 3 ticked; row 3 from 22:00 to 06:00, across midnight.
        Click(Box(&dlg, 2));
        auto* pFrom = Ctrl<QDateTimeEdit>(&dlg, 1172);
        auto* pTo = Ctrl<QDateTimeEdit>(&dlg, 1176);
        pFrom->setFocus();
        pFrom->setSelectedSection(QDateTimeEdit::HourSection);
        QTest::keyClicks(pFrom, QStringLiteral("22"));
        pTo->setFocus();
        pTo->setSelectedSection(QDateTimeEdit::HourSection);
        QTest::keyClicks(pTo, QStringLiteral("06"));
        QCOMPARE(pFrom->time(), QTime(22, 0));
        QCOMPARE(pTo->time(), QTime(6, 0));
        Click(FindCtrl(&dlg, 1));
        QCOMPARE(dlg.result(), int(QDialog::Accepted));

        const auto& power = pCard->GetPowerSlots();
        QCOMPARE(power[0].m_bEnabled, 1);
        QCOMPARE(power[1].m_bEnabled, 0);
        QCOMPARE(power[2].m_bEnabled, 1);
        QCOMPARE(power[3].m_bEnabled, 0);
        QCOMPARE(power[2].m_nStartHour, 22);
        QCOMPARE(power[2].m_nEndHour, 6);
        QString strCmd;
        QVERIFY(pCard->BuildTimedPowerCommand(&strCmd) > 0);
        QCOMPARE(strCmd, Cmd(CMD_TIMED_POWER, QStringLiteral("2:0:00,23:59|22:00,6:00|")));
        // The other schedule is left alone.
        for (int i = 0; i < 4; ++i)
            QCOMPARE(pCard->GetBrightSlots()[i].m_bEnabled, bright[i].m_bEnabled);
    }

    void brightnessValueStopsAtNine()
    {
        CDlgAuto dlg(CDlgAuto::Brightness);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        ClickArrow(Ctrl<CSpinButton>(&dlg, 1061), true, 15);
        QCOMPARE(Num(&dlg, 1148), QStringLiteral("9"));
        ClickArrow(Ctrl<CSpinButton>(&dlg, 1060), true, 3);
        QCOMPARE(Num(&dlg, 1147), QStringLiteral("23"));
        Ctrl<QLineEdit>(&dlg, 1146)->setFocus();
        QTest::keyClick(Ctrl<QLineEdit>(&dlg, 1146), Qt::Key_Up);
        QTest::keyClick(&dlg, Qt::Key_Return); // OK is the default button
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const CBrightSlot& slot = m_pFix->Card()->GetBrightSlots()[0];
        QCOMPARE(slot.m_nLevel, 9);
        QCOMPARE(slot.m_nStartHour, 1);
        QCOMPARE(slot.m_nEndHour, 23);
    }

    void cancelLeavesTheCard()
    {
        CDlgAuto dlg(CDlgAuto::Brightness);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        Click(Box(&dlg, 0));
        Click(Box(&dlg, 3));
        ClickArrow(Ctrl<CSpinButton>(&dlg, 1059), true, 4);
        Click(FindCtrl(&dlg, 2));
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        const auto& schedule = m_pFix->Card()->GetBrightSlots();
        QCOMPARE(schedule[0].m_bEnabled, 1);
        QCOMPARE(schedule[0].m_nStartHour, 0);
        QCOMPARE(schedule[3].m_bEnabled, 0);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestPanelMore more;
    TestTimedDialog timed;
    int nFailed = QTest::qExec(&more, argc, argv);
    nFailed += QTest::qExec(&timed, argc, argv);
    return nFailed;
}

#include "tst_panel_more.moc"
