// Every panel by keyboard and screen reader: each control has a name that
// is read out, and Tab reaches every control that can take the focus.
#include "tst_panel_fixture.h"

#include "DivWnd.h"
#include "DlgAuto.h"
#include "DlgBind.h"
#include "DlgDiv.h"
#include "DlgMore.h"
#include "DlgMsg.h"
#include "DlgScrInfo.h"
#include "DlgScreen.h"
#include "SpinButton.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <functional>

namespace
{
bool IsControl(QWidget* p)
{
    if (qobject_cast<QComboBox*>(p->parentWidget()) ||
        qobject_cast<QAbstractSpinBox*>(p->parentWidget()))
        return false; // the inner edit of a list or time picker; the outer one is named
    return qobject_cast<QAbstractButton*>(p) || qobject_cast<QComboBox*>(p) ||
           qobject_cast<QLineEdit*>(p) || qobject_cast<QAbstractSpinBox*>(p) ||
           qobject_cast<QPlainTextEdit*>(p) || qobject_cast<QTextEdit*>(p) ||
           qobject_cast<CSpinButton*>(p) || qobject_cast<CDivWnd*>(p);
}

// The control a focus widget belongs to.
QWidget* Owner(QWidget* p)
{
    if (p && (qobject_cast<QComboBox*>(p->parentWidget()) ||
              qobject_cast<QAbstractSpinBox*>(p->parentWidget())))
        return p->parentWidget();
    return p;
}
} // namespace

class TestPanelAccess : public QObject
{
    Q_OBJECT

    std::unique_ptr<CPanelFixture> m_pFix;

private slots:
    void init()
    {
        m_pFix = std::make_unique<CPanelFixture>();
        auto* pPage = new CGsmPage(m_pFix->Card());
        m_pFix->Card()->AddPage(pPage);
        auto* pZone = new CDivObj;
        pZone->SetX(32);
        m_pFix->Card()->AddZone(pZone);
    }
    void cleanup() { m_pFix.reset(); }

    void panels_data()
    {
        QTest::addColumn<int>("nPanel");
        QTest::addColumn<QString>("strShot");
        QTest::newRow("message editor") << 0 << "msg";
        QTest::newRow("screen parameters") << 1 << "screen";
        QTest::newRow("screen information") << 2 << "scrinfo";
        QTest::newRow("zone editor") << 3 << "div";
        QTest::newRow("number binding") << 4 << "bind";
        QTest::newRow("more settings") << 5 << "more";
        QTest::newRow("timed brightness") << 6 << "auto-brightness";
        QTest::newRow("timed power") << 7 << "auto-power";
    }
    void panels()
    {
        QFETCH(int, nPanel);
        QFETCH(QString, strShot);
        CGsmCard* pCard = m_pFix->Card();
        std::unique_ptr<QWidget> pPanel;
        switch (nPanel)
        {
        case 0:
        {
            auto* p = new CDlgMsg(nullptr);
            p->SetPage(pCard->GetPageList().first());
            pPanel.reset(p);
            break;
        }
        case 1:
            pPanel.reset(new CDlgScreen(nullptr));
            break;
        case 2:
        {
            auto* p = new CDlgScrInfo(nullptr);
            p->ShowCard(pCard);
            pPanel.reset(p);
            break;
        }
        case 3:
            pPanel.reset(new CDlgDiv(nullptr));
            break;
        case 4:
            pPanel.reset(new CDlgBind(nullptr));
            break;
        case 5:
            pPanel.reset(new CDlgMore(nullptr));
            break;
        default:
            pPanel.reset(new CDlgAuto(nPanel == 6 ? CDlgAuto::Brightness : CDlgAuto::Power));
            break;
        }
        pPanel->show();
        QMetaObject::invokeMethod(pPanel.get(), "OnShowPanel");
        QVERIFY(QTest::qWaitForWindowExposed(pPanel.get()));
        pPanel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pPanel.get()));

        // Screenshots for the documentation, when asked for (run under a real
        // display: KX_SHOT_DIR=docs xvfb-run -a <this test> -platform xcb).
        const QString strShotDir = qEnvironmentVariable("KX_SHOT_DIR");
        if (!strShotDir.isEmpty())
            QVERIFY(pPanel->grab().save(strShotDir + QStringLiteral("/panel-%1.png").arg(strShot)));

        // Every control has a name a screen reader reads out.
        QList<QWidget*> tabStops;
        const QList<QWidget*> all = pPanel->findChildren<QWidget*>();
        int nControls = 0;
        for (QWidget* p : all)
        {
            if (!IsControl(p) || !p->isVisibleTo(pPanel.get()))
                continue;
            ++nControls;
            QAccessibleInterface* pAcc = QAccessible::queryAccessibleInterface(p);
            QVERIFY(pAcc);
            const QString strName = pAcc->text(QAccessible::Name);
            QVERIFY2(!strName.trimmed().isEmpty(),
                     qPrintable(QStringLiteral("%1 (id %2) has no name")
                                    .arg(p->metaObject()->className())
                                    .arg(GetCtrlId(p))));
            if (p->isEnabled() && (p->focusPolicy() & Qt::TabFocus))
                tabStops.append(p);
        }
        QVERIFY(nControls > 3);

        // Tab from the first stop reaches every stop (none traps the key).
        QVERIFY(!tabStops.isEmpty());
        tabStops.first()->setFocus(Qt::TabFocusReason);
        QSet<QWidget*> reached;
        for (int i = 0; i < 3 * all.size() && reached.size() < tabStops.size(); ++i)
        {
            QWidget* pFocus = Owner(QApplication::focusWidget());
            QVERIFY(pFocus);
            if (tabStops.contains(pFocus))
                reached.insert(pFocus);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QWidget* p : tabStops)
        {
            // Tab enters a group of radio buttons once; the arrow keys move
            // within it.
            auto* pRadio = qobject_cast<QAbstractButton*>(p);
            if (pRadio && pRadio->group())
            {
                bool bGroupReached = false;
                for (QAbstractButton* pOther : pRadio->group()->buttons())
                    bGroupReached = bGroupReached || reached.contains(pOther);
                QVERIFY(bGroupReached);
                continue;
            }
            QVERIFY2(reached.contains(p),
                     qPrintable(QStringLiteral("%1 (id %2) is not reached by Tab")
                                    .arg(p->metaObject()->className())
                                    .arg(GetCtrlId(p))));
        }
    }
};

QTEST_MAIN(TestPanelAccess)
#include "tst_panel_access.moc"
