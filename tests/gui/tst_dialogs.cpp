// The small pieces of the main window: the export and password dialogs, the
// image button, the toolbar and the card settings bar, and the helpers every
// dialog uses (finding controls by id, language texts, list filling).
#include "tst_main_modal.h"

#include "ButtonEx.h"
#include "ComboFill.h"
#include "CtrlId.h"
#include "DialogTexts.h"
#include "DlgButton.h"
#include "DlgInst.h"
#include "DlgMenu.h"
#include "DlgPwd.h"
#include "MutliLang/LanguageManager.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "Pub/KxMsgBox.h"
#include "Pub/KxStr.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{
template <typename T> T* Ctrl(QWidget* pDlg, int nId)
{
    return qobject_cast<T*>(FindCtrl(pDlg, nId));
}

void SendMouse(QWidget* pWidget, QEvent::Type type, Qt::MouseButton button,
               Qt::MouseButtons buttons, QPoint pt = QPoint(10, 10))
{
    QMouseEvent event(type, pt, pWidget->mapToGlobal(pt), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}

// How far a colour is from grey.
int Saturation(QRgb rgb)
{
    return QColor(rgb).hsvSaturation();
}
} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

    QList<QString> m_boxes;
    KxMsgSink m_oldSink;

private slots:
    void init()
    {
        m_boxes.clear();
        m_oldSink = KxSetMsgSink([this](const QString& strText, KxMsgIcon) { m_boxes << strText; });
        g_bUnlocked = 0;
        g_langManager.ClearStrings();
    }
    void cleanup()
    {
        EndWatches();
        KxSetMsgSink(m_oldSink);
        g_langManager.ClearStrings();
        RemoveAllCards();
    }

    // --- export dialog ---

    void exportDialog_data()
    {
        QTest::addColumn<bool>("chooseAll");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("flag");
        QTest::newRow("OK without a change: only the checked content") << false << true << 1;
        QTest::newRow("all content") << true << true << 0;
        QTest::newRow("cancel leaves the flag") << true << false << 7;
    }
    void exportDialog()
    {
        QFETCH(bool, chooseAll);
        QFETCH(bool, ok);
        QFETCH(int, flag);
        int nFlag = 7;
        CDlgInst dlg(&nFlag);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("导出指令对话框"));
        bool bDefault = false;
        WhenModal<CDlgInst>(
            [&](CDlgInst* pDlg)
            {
                bDefault = Ctrl<QRadioButton>(pDlg, 1185)->isChecked();
                if (chooseAll)
                    QTest::mouseClick(Ctrl<QRadioButton>(pDlg, 1186), Qt::LeftButton);
                QTest::mouseClick(Ctrl<QPushButton>(pDlg, ok ? 1 : 2), Qt::LeftButton);
            });
        QCOMPARE(dlg.exec(), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QVERIFY(bDefault);
        QCOMPARE(nFlag, flag);
    }

    // --- password gate ---

    void passwordCodes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("unlocks");
        QTest::newRow("the code") << QStringLiteral("735") << true;
        QTest::newRow("leading blank") << QStringLiteral(" 735") << false;
        QTest::newRow("trailing blank") << QStringLiteral("735 ") << false;
        QTest::newRow("longer") << QStringLiteral("7350") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void passwordCodes()
    {
        QFETCH(QString, typed);
        QFETCH(bool, unlocks);
        bool bStayedOpen = false;
        QString strKept;
        WhenModal<CDlgPwd>(
            [&](CDlgPwd* pDlg)
            {
                auto* pEdit = Ctrl<QLineEdit>(pDlg, 1135);
                QTest::keyClicks(pEdit, typed);
                QTest::keyClick(pEdit, Qt::Key_Return);
                bStayedOpen = pDlg->isVisible();
                strKept = pEdit->text();
                if (bStayedOpen)
                    QTest::mouseClick(Ctrl<QPushButton>(pDlg, 2), Qt::LeftButton);
            });
        QCOMPARE(CheckPassword(), unlocks ? 1 : 0);
        QCOMPARE(g_bUnlocked, unlocks ? 1 : 0);
        QCOMPARE(bStayedOpen, !unlocks);
        if (!unlocks)
        {
            // Said once, with the text kept for another try.
            QCOMPARE(m_boxes, QList<QString>{QStringLiteral("输入的密码不正确！请重新输入。")});
            QCOMPARE(strKept, typed);
        }
    }

    void passwordRetryCancelAndOnce()
    {
        // A wrong code, then the right one in the same dialog.
        WhenModal<CDlgPwd>(
            [](CDlgPwd* pDlg)
            {
                auto* pEdit = Ctrl<QLineEdit>(pDlg, 1135);
                QVERIFY(pEdit->echoMode() == QLineEdit::Password);
                QTest::keyClicks(pEdit, QStringLiteral("12345678901234567890"));
                QTest::mouseClick(Ctrl<QPushButton>(pDlg, 1), Qt::LeftButton);
                // At most 16 characters go in.
                if (pEdit->text().size() != 16)
                    return;
                pEdit->setText(QStringLiteral("735"));
                QTest::mouseClick(Ctrl<QPushButton>(pDlg, 1), Qt::LeftButton);
            });
        QCOMPARE(CheckPassword(), 1);
        QCOMPARE(m_boxes.size(), 1);
        // Unlocked for the run: no dialog any more.
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(CheckPassword(), 1);

        // Cancel refuses, and the next request asks again.
        g_bUnlocked = 0;
        int nAsked = 0;
        std::function<void(CDlgPwd*)> cancel = [&](CDlgPwd* pDlg)
        {
            ++nAsked;
            QTest::keyClick(pDlg, Qt::Key_Escape);
        };
        WhenModal<CDlgPwd>(cancel);
        QCOMPARE(CheckPassword(), 0);
        WhenModal<CDlgPwd>(cancel);
        QCOMPARE(CheckPassword(), 0);
        QCOMPARE(nAsked, 2);
        QCOMPARE(g_bUnlocked, 0);
    }

    // --- image button ---

    void buttonStates()
    {
        QWidget parent;
        parent.resize(100, 100);
        auto* pButton = new CButtonEx(&parent);
        pButton->setGeometry(10, 10, 42, 42);
        pButton->SetIcons(140, 0);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QCOMPARE(pButton->GetState(), int(CButtonEx::Normal));

        SendMouse(pButton, QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
        QCOMPARE(pButton->GetState(), int(CButtonEx::Hover));
        QVERIFY(pButton->IsHover());
        SendMouse(pButton, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(pButton->GetState(), int(CButtonEx::Pressed));
        SendMouse(pButton, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        // Released stays until the pointer leaves.
        QCOMPARE(pButton->GetState(), int(CButtonEx::Released));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(pButton, &leave);
        QCOMPARE(pButton->GetState(), int(CButtonEx::Normal));
        QVERIFY(!pButton->IsHover());

        // A drag with the left button held changes no hover.
        SendMouse(pButton, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        SendMouse(pButton, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(20, 20));
        QCOMPARE(pButton->GetState(), int(CButtonEx::Pressed));
        QVERIFY(!pButton->IsHover());
        SendMouse(pButton, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);

        // A disabled button never hovers.
        QApplication::sendEvent(pButton, &leave);
        pButton->setEnabled(false);
        SendMouse(pButton, QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
        QCOMPARE(pButton->GetState(), int(CButtonEx::Normal));
        QVERIFY(!pButton->IsHover());
    }

    void buttonDrawing()
    {
        QWidget parent;
        parent.resize(100, 100);
        auto* pButton = new CButtonEx(&parent);
        pButton->setGeometry(0, 0, 42, 42);
        pButton->setFocusPolicy(Qt::NoFocus);
        pButton->SetIcons(140, 0); // the red cross
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        const QSize icon = pButton->GetIconSize();

        const QImage normal = pButton->grab().toImage();
        QCOMPARE(pButton->GetIconPos(), QPoint((42 - icon.width()) / 2, (42 - icon.height()) / 2));
        const QRgb clrLight = pButton->palette().color(QPalette::Light).rgb();
        const QRgb clrDark = pButton->palette().color(QPalette::Dark).rgb();
        // Flat and normal: no frame.
        QVERIFY(normal.pixel(0, 21) != clrLight && normal.pixel(0, 21) != clrDark);

        SendMouse(pButton, QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
        QImage img = pButton->grab().toImage();
        QCOMPARE(img.pixel(0, 21), clrLight); // raised
        QCOMPARE(img.pixel(41, 21), clrDark);
        SendMouse(pButton, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        img = pButton->grab().toImage();
        QCOMPARE(img.pixel(0, 21), clrDark); // sunken
        QCOMPARE(img.pixel(41, 21), clrLight);
        SendMouse(pButton, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);

        // Disabled: no frame, the icon greyed.
        pButton->setEnabled(false);
        const QImage disabled = pButton->grab().toImage();
        QVERIFY(disabled.pixel(0, 21) != clrLight);
        int nMaxNormal = 0;
        int nMaxDisabled = 0;
        for (int y = 0; y < 42; ++y)
        {
            for (int x = 0; x < 42; ++x)
            {
                nMaxNormal = qMax(nMaxNormal, Saturation(normal.pixel(x, y)));
                nMaxDisabled = qMax(nMaxDisabled, Saturation(disabled.pixel(x, y)));
            }
        }
        QVERIFY(nMaxNormal > 150);
        QVERIFY(nMaxDisabled < 60);
    }

    void buttonTextPlacement()
    {
        CButtonEx button;
        button.resize(80, 80);
        button.SetIcons(147, 0);
        button.SetFlatAndText(true, true);
        const QSize icon = button.GetIconSize();
        // An empty caption leaves no text gap: the icon is centred.
        button.grab();
        QCOMPARE(button.GetIconPos(), QPoint((80 - icon.width()) / 2, (80 - icon.height()) / 2));

        button.setText(QStringLiteral("添加卡"));
        button.grab();
        const int nText = QFontMetrics(button.font()).height();
        QCOMPARE(button.GetIconPos(),
                 QPoint((80 - icon.width()) / 2, (80 - icon.height() - nText) / 2));
        QCOMPARE(button.GetTextPos(),
                 QPoint((80 - icon.width()) / 2, button.GetIconPos().y() + icon.height()));
    }

    // --- toolbar and card settings bar ---

    void toolbarButtonsAndLayout()
    {
        CDlgMenu menu;
        menu.resize(800, 60);
        QSignalSpy spy(&menu, &CDlgMenu::toolbarCommand);
        const int ids[] = {1005, 1006, 1007, 1012, 1013, 1008, 1009, 1010, 1011};
        const int names[] = {41003, 41004, 41005, 41006, 41007, 41008, 41009, 41010, 41011};
        menu.LayoutButtons();
        int x = -35;
        for (int i = 0; i < 9; ++i)
        {
            CButtonEx* pButton = menu.GetButton(ids[i]);
            QVERIFY(pButton);
            QVERIFY(pButton->HasIcon());
            QCOMPARE(pButton->toolTip(), CKxStr(names[i]).GetText());
            QCOMPARE(pButton->accessibleName(), CKxStr(names[i]).GetText());
            x += pButton->width() + 6;
            QCOMPARE(pButton->pos(), QPoint(x, (60 - pButton->height()) / 2 + 6));
            QTest::mouseClick(pButton, Qt::LeftButton);
            QCOMPARE(spy.last().at(0).toInt(), ids[i]);
        }
        // The template caption stays under the built-in language.
        QCOMPARE(menu.GetButton(1005)->text(), QStringLiteral("显示屏"));

        // Without languages the advanced-settings button takes the language
        // button's slot.
        const QPoint slot = menu.GetButton(1010)->pos();
        menu.ShowLanguageButton(false);
        QVERIFY(!menu.GetButton(1010)->isEnabled());
        QVERIFY(menu.GetButton(1010)->isHidden());
        QCOMPARE(menu.GetButton(1011)->pos(), slot);
        menu.ShowLanguageButton(true);
        QVERIFY(menu.GetButton(1011)->pos().x() > slot.x());
    }

    void toolbarListsWriteTheCurrentCard()
    {
        CDlgMenu menu;
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        QComboBox* pType = menu.GetCardTypeList();
        QComboBox* pMode = menu.GetSendModeList();
        QCOMPARE(pType->count(), 2);
        QCOMPARE(pMode->count(), 4);
        QCOMPARE(pMode->itemText(3), QStringLiteral("DTU模式 -U"));
        QCOMPARE(pType->currentIndex(), -1);
        QVERIFY(!pType->accessibleName().isEmpty());

        // No current card: the choice changes nothing and breaks nothing.
        g_pCurCard = nullptr;
        pMode->setFocus();
        QTest::keyClick(pMode, Qt::Key_Down);

        auto* pCard = new CGsmCard;
        g_cardList.append(pCard);
        g_pCurCard = pCard;
        menu.ShowCardValues(pCard);
        QCOMPARE(pMode->currentIndex(), 0);
        // Setting the lists for a card writes nothing back.
        pCard->SetSendMode(2);
        menu.ShowCardValues(pCard);
        QCOMPARE(pCard->GetSendMode(), 2);
        QTest::keyClick(pMode, Qt::Key_Down);
        QCOMPARE(pCard->GetSendMode(), 3);
        pType->setFocus();
        QTest::keyClick(pType, Qt::Key_Down);
        QCOMPARE(pCard->GetCardType(), 1);
        g_pCurCard = nullptr;
    }

    void cardSettingsBar()
    {
        CDlgButton bar;
        QSignalSpy spy(&bar, &CDlgButton::showPanel);
        for (int nId = 1000; nId <= 1004; ++nId)
        {
            QTest::mouseClick(Ctrl<QPushButton>(&bar, nId), Qt::LeftButton);
            QCOMPARE(spy.last().at(0).toInt(), nId);
        }
        QCOMPARE(Ctrl<QPushButton>(&bar, 1004)->text(), QStringLiteral("更多设置"));
        g_langManager.SetString(1018, QStringLiteral("More settings"));
        CDlgButton barEnglish;
        QCOMPARE(Ctrl<QPushButton>(&barEnglish, 1004)->text(), QStringLiteral("More settings"));
        QCOMPARE(Ctrl<QPushButton>(&barEnglish, 1000)->text(), QStringLiteral("返回"));
    }

    // --- helpers ---

    void dialogTexts()
    {
        // A language with a few texts of the password group and one of the
        // toolbar.
        g_langManager.SetString(1071, QStringLiteral("Password"));
        g_langManager.SetString(1002, QStringLiteral("OK"));
        g_langManager.SetString(1073, QStringLiteral("Enter the password"));
        g_langManager.SetString(1003, QStringLiteral("Add card"));

        CDlgPwd dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Password"));
        QCOMPARE(Ctrl<QPushButton>(&dlg, 1)->text(), QStringLiteral("OK"));
        QCOMPARE(Ctrl<QLabel>(&dlg, 1136)->text(), QStringLiteral("Enter the password"));
        QCOMPARE(Ctrl<QPushButton>(&dlg, 2)->text(), QStringLiteral("取消")); // no text: kept
        QCOMPARE(Ctrl<QLineEdit>(&dlg, 1135)->accessibleName(),
                 QStringLiteral("Enter the password"));

        // Key 1003 alone changes the add-card button's caption and tooltip
        // and nothing else.
        CDlgMenu menu;
        QCOMPARE(menu.GetButton(1005)->text(), QStringLiteral("Add card"));
        QCOMPARE(menu.GetButton(1005)->toolTip(), QStringLiteral("Add card"));
        QCOMPARE(menu.GetButton(1006)->text(), QStringLiteral("文本"));
        QCOMPARE(menu.GetButton(1006)->toolTip(), QStringLiteral("添加文本"));

        // Groups without entries change nothing; bad arguments are refused.
        QWidget plain;
        plain.setWindowTitle(QStringLiteral("x"));
        for (int nGroup : {0, 3, 13, 14})
            QVERIFY(ApplyDialogTexts(&plain, nGroup));
        QCOMPARE(plain.windowTitle(), QStringLiteral("x"));
        QVERIFY(!ApplyDialogTexts(&plain, 15));
        QVERIFY(!ApplyDialogTexts(&plain, -1));
        QVERIFY(!ApplyDialogTexts(nullptr, 9));
    }

    void findCtrl()
    {
        QWidget dlg;
        auto* pOuter = new QLabel(&dlg);
        auto* pBox = new QWidget(&dlg);
        auto* pInner = new QLabel(pBox);
        SetCtrlId(pInner, 7);
        SetCtrlId(pOuter, 7);
        auto* pDeep = new QLabel(pBox);
        SetCtrlId(pDeep, 8);
        QCOMPARE(FindCtrl(&dlg, 7), pOuter); // the nearer one wins
        QCOMPARE(FindCtrl(&dlg, 8), pDeep);
        QCOMPARE(FindCtrl(&dlg, 9), nullptr);
        QCOMPARE(FindCtrl(nullptr, 7), nullptr);
        QCOMPARE(GetCtrlId(pDeep), 8);
        QCOMPARE(GetCtrlId(pBox), 0);
    }

    void comboFill_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("closed") << QStringLiteral("a|b|") << QStringList{"a", "b"};
        QTest::newRow("open end") << QStringLiteral("a|b") << QStringList{"a", "b"};
        QTest::newRow("empty piece") << QStringLiteral("a||b|") << QStringList{"a", "", "b"};
        QTest::newRow("leading bar") << QStringLiteral("|a|") << QStringList{};
    }
    void comboFill()
    {
        QFETCH(QString, list);
        QFETCH(QStringList, items);
        QComboBox combo;
        combo.addItem(QStringLiteral("old"));
        QCOMPARE(FillComboFromList(&combo, list), int(items.size()));
        QStringList got;
        for (int i = 0; i < combo.count(); ++i)
            got << combo.itemText(i);
        QCOMPARE(got, items);
    }

    void borderFill()
    {
        QComboBox combo;
        QCOMPARE(FillBorderCombo(&combo, CKxStr(42005)), 10);
        QCOMPARE(combo.count(), 55);
        QCOMPARE(combo.itemText(0), QStringLiteral("无"));
        QCOMPARE(combo.itemText(54), QStringLiteral("慢速，闪烁，黄色 6"));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
