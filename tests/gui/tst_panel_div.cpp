// kx-gui-test: both command sets
// The zone editor: scale, zone windows dragged and sized with the mouse, the
// snap to the grid, selection, adding and deleting, layouts and commands.
#include "tst_panel_fixture.h"

#include "DivWnd.h"
#include "DlgDiv.h"

#include <QPushButton>
#include <QRadioButton>

class TestPanelDiv : public QObject
{
    Q_OBJECT

    std::unique_ptr<CPanelFixture> m_pFix;
    std::unique_ptr<CDlgDiv> m_pDlg;

    CGsmCard* Card() { return m_pFix->Card(); }
    CDivObj* Zone(int i) { return Card()->GetZoneList().at(i); }
    static CDivWnd* Wnd(CDivObj* pZone) { return qobject_cast<CDivWnd*>(pZone->GetWindow()); }
    QLineEdit* Edit(int nId) { return Ctrl<QLineEdit>(m_pDlg.get(), nId); }
    QWidget* W(int nId) { return FindCtrl(m_pDlg.get(), nId); }
    QString CommandField() { return Edit(1035)->text(); }
    QList<CDivWnd*> CanvasWindows()
    {
        return m_pDlg->GetCanvas()->findChildren<CDivWnd*>(QString(), Qt::FindDirectChildrenOnly);
    }

    void Open() { QVERIFY(BringUp(m_pDlg.get())); }
    void SetScreen(int nWidth, int nHeight)
    {
        m_pDlg->hide();
        Card()->SetWidth(nWidth);
        Card()->SetHeight(nHeight);
        Open();
    }

    // The mouse on a zone window: press at a point of the window, move to
    // points of the canvas, release. Moves go to the window that holds the
    // button, in its own coordinates as it moves along.
    static void Press(CDivWnd* pWnd, const QPoint& ptLocal)
    {
        QTest::mouseMove(pWnd, ptLocal);
        QTest::mousePress(pWnd, Qt::LeftButton, {}, ptLocal);
    }
    static void MoveInCanvas(CDivWnd* pWnd, const QPoint& ptCanvas)
    {
        QTest::mouseMove(pWnd, ptCanvas - pWnd->pos());
    }
    static void Release(CDivWnd* pWnd)
    {
        QTest::mouseRelease(pWnd, Qt::LeftButton, {}, pWnd->mapFromGlobal(QCursor::pos()));
    }
    static void Drag(CDivWnd* pWnd, const QPoint& ptLocal, const QPoint& delta)
    {
        Press(pWnd, ptLocal);
        const QPoint ptStart = pWnd->pos() + ptLocal;
        // A few steps, as a hand moves.
        for (int i = 1; i <= 4; ++i)
            MoveInCanvas(pWnd, ptStart + delta * i / 4);
        Release(pWnd);
    }
    // Types a number into a field, as into "左起".
    void TypeNumber(int nId, int n) { TypeInto(Edit(nId), QString::number(n)); }
    // Waits until the zone window has snapped (no timing asserted).
    static bool WaitSnapped(CDivWnd* pWnd)
    {
        return QTest::qWaitFor([pWnd]() { return !pWnd->IsSettling(); }, 5000);
    }

private slots:
    void init()
    {
        m_pFix = std::make_unique<CPanelFixture>();
        m_pDlg = std::make_unique<CDlgDiv>(nullptr);
        Open();
        QVERIFY(WaitSnapped(Wnd(Zone(0))));
    }
    void cleanup()
    {
        m_pDlg.reset();
        m_pFix.reset();
    }

    void loadsTheCard()
    {
        QCOMPARE(m_pDlg->GetCanvas()->geometry(), QRect(10, 10, 416, 192));
        QCOMPARE(CanvasWindows().size(), 1);
        QVERIFY(Wnd(Zone(0))->isVisible());
        QCOMPARE(m_pDlg->GetSelectedZone(), Zone(0));
        QCOMPARE(Edit(1121)->text(), QStringLiteral("0"));
        QCOMPARE(Edit(1123)->text(), QStringLiteral("32"));
        QCOMPARE(Edit(1124)->text(), QStringLiteral("16"));
        QCOMPARE(Edit(1130)->text(), QStringLiteral("1"));
        QVERIFY(!W(1120)->isEnabled()); // one zone cannot be deleted
        QVERIFY(W(1119)->isEnabled());
        QVERIFY(Ctrl<QRadioButton>(m_pDlg.get(), 1138)->isChecked());
        QCOMPARE(CommandField(), Cmd(CMD_ZONE, QStringLiteral("1:0,0,32,16|")));
        QCOMPARE(Edit(1035)->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(m_pDlg->GetCanvas()->palette().color(QPalette::Window), QColor(192, 192, 192));
    }

    void scale_data()
    {
        QTest::addColumn<int>("nWidth");
        QTest::addColumn<int>("nHeight");
        QTest::addColumn<QRect>("zone");   // x, y, cx, cy in LED pixels
        QTest::addColumn<QRect>("window"); // on the canvas
        QTest::newRow("256 x 96") << 256 << 96 << QRect(16, 16, 32, 16) << QRect(26, 32, 52, 32);
        QTest::newRow("320 x 160") << 320 << 160 << QRect(16, 16, 32, 16) << QRect(20, 19, 42, 19);
        QTest::newRow("64 x 32") << 64 << 32 << QRect(0, 0, 32, 16) << QRect(0, 0, 208, 96);
    }
    void scale()
    {
        QFETCH(int, nWidth);
        QFETCH(int, nHeight);
        QFETCH(QRect, zone);
        QFETCH(QRect, window);
        Zone(0)->SetX(zone.x());
        Zone(0)->SetY(zone.y());
        Zone(0)->SetCx(zone.width());
        Zone(0)->SetCy(zone.height());
        SetScreen(nWidth, nHeight);
        QCOMPARE(Wnd(Zone(0))->geometry(), window);
    }

    void typedPositionSnaps_data()
    {
        QTest::addColumn<int>("nWidth");
        QTest::addColumn<int>("nHeight");
        QTest::addColumn<int>("nTyped");
        QTest::addColumn<int>("nSettled");
        QTest::newRow("256: 23 settles to 16") << 256 << 96 << 23 << 16;
        QTest::newRow("256: 24 settles to 32") << 256 << 96 << 24 << 32;
        QTest::newRow("320: 24 settles to 16") << 320 << 160 << 24 << 16;
        QTest::newRow("320: 40 settles to 48") << 320 << 160 << 40 << 48;
    }
    void typedPositionSnaps()
    {
        QFETCH(int, nWidth);
        QFETCH(int, nHeight);
        QFETCH(int, nTyped);
        QFETCH(int, nSettled);
        SetScreen(nWidth, nHeight);
        QVERIFY(WaitSnapped(Wnd(Zone(0))));

        TypeNumber(1121, nTyped);
        // Stored as typed at once, snapped 400 ms after the last change.
        QCOMPARE(Zone(0)->GetX(), nTyped);
        QCOMPARE(CommandField(), Cmd(CMD_ZONE, QStringLiteral("1:%1,0,32,16|").arg(nTyped)));
        QVERIFY(WaitSnapped(Wnd(Zone(0))));
        QCOMPARE(Zone(0)->GetX(), nSettled);
        QCOMPARE(Edit(1121)->text(), QString::number(nSettled));
        QCOMPARE(CommandField(), Cmd(CMD_ZONE, QStringLiteral("1:%1,0,32,16|").arg(nSettled)));
    }

    void dragStopsAtTheCanvasEdge()
    {
        // 64 x 32: the zone is 208 x 96 canvas pixels.
        CDivWnd* pWnd = Wnd(Zone(0));
        Drag(pWnd, QPoint(100, 50), QPoint(300, 40));
        QCOMPARE(pWnd->geometry(), QRect(208, 40, 208, 96));
        QVERIFY(WaitSnapped(pWnd));
        QCOMPARE(Zone(0)->GetX(), 32);
        QCOMPARE(Zone(0)->GetY(), 0); // 40 / 6 = 6, nearest multiple of 16: 0
        QCOMPARE(Edit(1121)->text(), QStringLiteral("32"));
        QCOMPARE(CommandField(), Cmd(CMD_ZONE, QStringLiteral("1:32,0,32,16|")));
        QCOMPARE(pWnd->geometry(), QRect(208, 0, 208, 96));

        Drag(pWnd, QPoint(100, 50), QPoint(-500, 300));
        QCOMPARE(pWnd->geometry(), QRect(0, 96, 208, 96));
        QVERIFY(WaitSnapped(pWnd));
        QCOMPARE(Zone(0)->GetX(), 0);
        QCOMPARE(Zone(0)->GetY(), 16);
    }

    void resizeToTheSmallestZone()
    {
        // 256 x 96: drag the bottom-right corner until the zone is 10 by 5
        // LED pixels; it settles to 16 by 16.
        SetScreen(256, 96);
        CDivWnd* pWnd = Wnd(Zone(0));
        QVERIFY(WaitSnapped(pWnd));
        QCOMPARE(pWnd->geometry(), QRect(0, 0, 52, 32));
        Drag(pWnd, QPoint(51, 31), QPoint(-36, -22));
        QCOMPARE(pWnd->size(), QSize(16, 10));
        QVERIFY(WaitSnapped(pWnd));
        QCOMPARE(Zone(0)->GetCx(), 16);
        QCOMPARE(Zone(0)->GetCy(), 16);
        QCOMPARE(pWnd->geometry(), QRect(0, 0, 26, 32));
        QCOMPARE(Edit(1123)->text(), QStringLiteral("16"));
    }

    void hitTest_data()
    {
        QTest::addColumn<QPoint>("pt");
        QTest::addColumn<bool>("bSelected");
        QTest::addColumn<int>("nCode");
        QTest::addColumn<int>("nCursor");
        // The window is 48 x 32.
        QTest::newRow("top-left") << QPoint(1, 1) << true << int(CDivWnd::HitTopLeft)
                                  << int(Qt::SizeFDiagCursor);
        QTest::newRow("top-right")
            << QPoint(47, 1) << true << int(CDivWnd::HitTopRight) << int(Qt::SizeBDiagCursor);
        QTest::newRow("bottom-left")
            << QPoint(1, 31) << false << int(CDivWnd::HitBottomLeft) << int(Qt::SizeBDiagCursor);
        QTest::newRow("bottom-right")
            << QPoint(46, 30) << true << int(CDivWnd::HitBottomRight) << int(Qt::SizeFDiagCursor);
        QTest::newRow("left") << QPoint(4, 16) << true << int(CDivWnd::HitLeft)
                              << int(Qt::SizeHorCursor);
        QTest::newRow("right") << QPoint(44, 16) << false << int(CDivWnd::HitRight)
                               << int(Qt::SizeHorCursor);
        QTest::newRow("top") << QPoint(20, 4) << true << int(CDivWnd::HitTop)
                             << int(Qt::SizeVerCursor);
        QTest::newRow("bottom") << QPoint(20, 28) << true << int(CDivWnd::HitBottom)
                                << int(Qt::SizeVerCursor);
        QTest::newRow("inside, not selected")
            << QPoint(20, 16) << false << int(CDivWnd::HitClient) << int(Qt::SizeAllCursor);
        QTest::newRow("inside, selected")
            << QPoint(20, 16) << true << int(CDivWnd::HitCaption) << int(Qt::SizeAllCursor);
        QTest::newRow("on the band's inner line")
            << QPoint(5, 16) << false << int(CDivWnd::HitCaption) << int(Qt::SizeAllCursor);
    }
    void hitTest()
    {
        QFETCH(QPoint, pt);
        QFETCH(bool, bSelected);
        QFETCH(int, nCode);
        QFETCH(int, nCursor);
        Zone(0)->SetCx(48);
        Zone(0)->SetCy(32);
        SetScreen(416, 192);
        CDivWnd* pWnd = Wnd(Zone(0));
        QCOMPARE(pWnd->size(), QSize(48, 32));
        pWnd->SetSelected(bSelected);
        QCOMPARE(pWnd->HitTest(pt), nCode);
        // From elsewhere, so the move is reported.
        QTest::mouseMove(pWnd, QPoint(24, 16));
        QTest::mouseMove(pWnd, QPoint(pt.x() < 24 ? pt.x() + 1 : pt.x() - 1, pt.y()));
        QTest::mouseMove(pWnd, pt);
        QCOMPARE(int(pWnd->cursor().shape()), nCursor);
        QCOMPARE(pWnd->GetHitCode(), nCode);
    }

    void selectionAndBorders()
    {
        // Two zones side by side on 64 x 32; the new one is selected.
        Click(W(1119));
        QCOMPARE(m_pDlg->GetSelectedZone(), Zone(1));
        TypeNumber(1121, 32);
        QVERIFY(WaitSnapped(Wnd(Zone(1))));
        CDivWnd* p0 = Wnd(Zone(0));
        CDivWnd* p1 = Wnd(Zone(1));
        QVERIFY(!p0->IsSelected() && p1->IsSelected());

        // A drag on the border of the other zone sizes it without
        // selecting it; the fields keep showing the selected zone.
        Drag(p0, QPoint(2, 48), QPoint(13, 0));
        QCOMPARE(p0->geometry(), QRect(13, 0, 195, 96));
        QCOMPARE(m_pDlg->GetSelectedZone(), Zone(1));
        QVERIFY(WaitSnapped(p0));
        QCOMPARE(Zone(0)->GetX(), 0);
        QCOMPARE(Zone(0)->GetCx(), 32);
        QCOMPARE(Edit(1121)->text(), QStringLiteral("32"));

        // A click inside it selects it.
        Press(p0, QPoint(100, 48));
        Release(p0);
        QCOMPARE(m_pDlg->GetSelectedZone(), Zone(0));
        QVERIFY(p0->IsSelected() && !p1->IsSelected());
        QCOMPARE(Edit(1121)->text(), QStringLiteral("0"));

        // The keyboard reaches the zones too: Tab onto a zone selects it.
        p1->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_pDlg->GetSelectedZone(), Zone(1));
        QCOMPARE(Edit(1121)->text(), QStringLiteral("32"));
    }

    void addAndDelete()
    {
        // Four zones in a square, numbered in the order of adding.
        const QPoint places[] = {{32, 0}, {0, 16}, {32, 16}};
        for (const QPoint& pt : places)
        {
            Click(W(1119));
            TypeNumber(1121, pt.x());
            TypeNumber(1122, pt.y());
        }
        QCOMPARE(Card()->GetZoneCount(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Zone(i)->GetIndex(), i);
        QVERIFY(!W(1119)->isEnabled());
        QVERIFY(W(1120)->isEnabled());
        QCOMPARE(Edit(1130)->text(), QStringLiteral("4"));
        QCOMPARE(CanvasWindows().size(), 4);
        for (int i = 1; i < 4; ++i)
            QVERIFY(WaitSnapped(Wnd(Zone(i))));
        QCOMPARE(CommandField(),
                 Cmd(CMD_ZONE, QStringLiteral("4:0,0,32,16|32,0,32,16|0,16,32,16|32,16,32,16|")));

        // Delete zone 1: the window goes with it, the others are renumbered.
        CDivObj* pThird = Zone(2);
        CDivWnd* pWnd1 = Wnd(Zone(1));
        Press(pWnd1, QPoint(100, 48));
        Release(pWnd1);
        QCOMPARE(m_pDlg->GetSelectedZone(), Zone(1));
        QPointer<CDivWnd> pGone = pWnd1;
        Click(W(1120));
        QVERIFY(pGone.isNull());
        QCOMPARE(Card()->GetZoneCount(), 3);
        QCOMPARE(Zone(1), pThird);
        QCOMPARE(pThird->GetIndex(), 1);
        QCOMPARE(m_pDlg->GetSelectedZone(), nullptr);
        QVERIFY(W(1120)->isEnabled());
        QVERIFY(W(1119)->isEnabled());
        QVERIFY(!Edit(1121)->isEnabled()); // nothing selected to edit
        QCOMPARE(Edit(1130)->text(), QStringLiteral("3"));
        QCOMPARE(CommandField(),
                 Cmd(CMD_ZONE, QStringLiteral("3:0,0,32,16|0,16,32,16|32,16,32,16|")));
        Click(W(1120)); // no selection: nothing happens
        QCOMPARE(Card()->GetZoneCount(), 3);
    }

    void oneZoneCannotBeDeleted()
    {
        Click(W(1119));
        QVERIFY(W(1120)->isEnabled());
        Click(W(1120));
        QCOMPARE(Card()->GetZoneCount(), 1);
        QVERIFY(!W(1120)->isEnabled());
        Click(W(1139));
        Click(W(1138));
        QVERIFY(!W(1120)->isEnabled());
    }

    void layouts_data()
    {
        QTest::addColumn<int>("nRadio");
        QTest::addColumn<QString>("strCommand");
        QTest::addColumn<int>("nTip");
        QTest::newRow("clock face") << 1139 << Cmd(CMD_CLOCK_ZONE) << 42040;
        QTest::newRow("text time") << 1141 << Cmd(CMD_TIME_ZONE) << 42041;
        QTest::newRow("reset") << 1184 << Cmd(CMD_RESET_ZONE) << 42042;
    }
    void layouts()
    {
        QFETCH(int, nRadio);
        QFETCH(QString, strCommand);
        QFETCH(int, nTip);
        QVERIFY(W(nRadio)->toolTip().contains(CKxStr(nTip).GetText().toHtmlEscaped()));

        Click(W(nRadio));
        QCOMPARE(CommandField(), strCommand);
        for (int nId : {1119, 1120, 1121, 1122, 1123, 1124, 1059, 1062})
            QVERIFY2(!W(nId)->isEnabled(), qPrintable(QString::number(nId)));
        QVERIFY(!m_pDlg->GetCanvas()->isEnabled());
        QCOMPARE(Card()->GetZoneCount(), 1); // the card's own list is untouched

        // The command shown is the command sent.
        Click(W(1129));
        QCOMPARE(m_pFix->LastSent(), strCommand);
        QCOMPARE(m_pFix->Boxes().size(), 1);

        Click(W(1138));
        QCOMPARE(CommandField(), Cmd(CMD_ZONE, QStringLiteral("1:0,0,32,16|")));
        QVERIFY(W(1119)->isEnabled() && W(1121)->isEnabled());
        QVERIFY(m_pDlg->GetCanvas()->isEnabled());
    }

    void canvasShowsTheCurrentCardOnly()
    {
        Click(W(1119));
        QCOMPARE(CanvasWindows().size(), 2);
        CGsmCard* pFirst = Card();

        auto* pSecond = new CGsmCard;
        g_cardList.append(pSecond);
        g_pCurCard = pSecond;
        m_pDlg->hide();
        Open();
        QCOMPARE(CanvasWindows().size(), 1);
        QCOMPARE(CanvasWindows().first()->GetZone(), pSecond->GetZoneList().first());
        QCOMPARE(m_pDlg->GetSelectedZone(), pSecond->GetZoneList().first());
        // Adding and deleting work on this card only.
        Click(W(1119));
        QCOMPARE(pSecond->GetZoneCount(), 2);
        QCOMPARE(pFirst->GetZoneCount(), 2);

        // The first card's zones come back when it is current again.
        g_pCurCard = pFirst;
        m_pDlg->hide();
        Open();
        QCOMPARE(CanvasWindows().size(), 2);
        QVERIFY(pFirst->GetZoneList().contains(m_pDlg->GetSelectedZone()));

        // A card removed from the project takes its windows along.
        RemoveCard(pFirst);
        g_pCurCard = pSecond;
        QCOMPARE(CanvasWindows().size(), 0);
        m_pDlg->hide();
        Open();
        QCOMPARE(CanvasWindows().size(), 2);
        QCOMPARE(m_pDlg->GetSelectedZone(), pSecond->GetZoneList().first());
    }

    void windowsComeBackWithANewPanel()
    {
        // A language switch destroys the panel and makes a new one.
        CDivObj* pZone = Zone(0);
        QVERIFY(pZone->GetWindow());
        m_pDlg.reset();
        QVERIFY(!pZone->GetWindow());
        m_pDlg = std::make_unique<CDlgDiv>(nullptr);
        Open();
        QVERIFY(Wnd(pZone));
        QCOMPARE(Wnd(pZone)->parentWidget(), m_pDlg->GetCanvas());
        QVERIFY(Wnd(pZone)->isVisible());
    }

    void damagedSizesStayOnTheCanvas()
    {
        // A project file may hold a screen of width 0 and zones far away;
        // the window still lands inside the canvas.
        Zone(0)->SetX(2000000000);
        Zone(0)->SetCx(16);
        SetScreen(0, 32);
        const QRect rc = Wnd(Zone(0))->geometry();
        QVERIFY(m_pDlg->GetCanvas()->rect().contains(rc.topRight()));
        TypeNumber(1121, 99999999);
        QVERIFY(m_pDlg->GetCanvas()->rect().contains(Wnd(Zone(0))->geometry().topRight()));
    }

    void hiddenPanelIgnoresFields()
    {
        m_pDlg->hide();
        Edit(1121)->setText(QStringLiteral("48"));
        QCOMPARE(Zone(0)->GetX(), 0);
    }

    void sendNormalLayout()
    {
        Click(W(1129));
        QCOMPARE(m_pFix->LastSent(), Cmd(CMD_ZONE, QStringLiteral("1:0,0,32,16|")));
        QCOMPARE(m_pFix->Boxes().first().strText, CKxStr(42018).GetText());
    }
};

QTEST_MAIN(TestPanelDiv)
#include "tst_panel_div.moc"
