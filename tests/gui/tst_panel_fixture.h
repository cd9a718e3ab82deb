#pragma once

// What the panel tests share: a project with one current card, a recorder
// for message boxes, a scripted card on a fake serial port (virtual time, so
// sends finish at once), and the small steps a user takes with the mouse and
// the keyboard.

#include "../tst_link_fake.h"

#include "CtrlId.h"
#include "ObjectData/CardCommands.h"
#include "ObjectData/DivObj.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "ObjectData/Vocabulary.h"
#include "Pub/KxCodePage.h"
#include "Pub/KxMsgBox.h"
#include "Pub/KxStr.h"
#include "SendProgress.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QtTest>

#include <memory>

// A command of this build: header and keyword, then the parameters.
inline QString Cmd(const char16_t* pszKeyword, const QString& strParams = QString())
{
    return QString::fromUtf16(CMD_HEADER) + QString::fromUtf16(pszKeyword) + strParams;
}

struct KxShownBox
{
    QString strText;
    KxMsgIcon icon;
};

class CPanelFixture
{
public:
    CPanelFixture()
    {
        m_oldSink = KxSetMsgSink(
            [this](const QString& strText, KxMsgIcon icon) {
                m_boxes.append({strText, icon});
            });
        m_pWorld = std::make_unique<CFakeWorld>();
        m_pScope = std::make_unique<CFakeWorldScope>(m_pWorld.get());
        m_pWorld->m_lstPorts = {QStringLiteral("/dev/ttyKX0")};
        m_pDevice = m_pWorld->Add(QStringLiteral("/dev/ttyKX0"));
        m_pDevice->fnAnswer = CardAnswers();
        // The progress dialog's pauses pass on the fake clock.
        CSendProgress::SetWaitOnPreviousClock(true);

        RemoveAllCards();
        m_pCard = new CGsmCard;
        g_cardList.append(m_pCard);
        g_pCurCard = m_pCard;
    }
    ~CPanelFixture()
    {
        CSendProgress::SetWaitOnPreviousClock(false);
        RemoveAllCards();
        m_pScope.reset();
        KxSetMsgSink(m_oldSink);
    }
    CPanelFixture(const CPanelFixture&) = delete;
    CPanelFixture& operator=(const CPanelFixture&) = delete;

    CGsmCard* Card() const { return m_pCard; }
    CFakeDevice& Device() const { return *m_pDevice; }
    QList<KxShownBox>& Boxes() { return m_boxes; }

    // The last text the card received, as this build sends it in serial
    // mode (the probe before it is the version query).
    QString LastSent() const
    {
        return m_pDevice->writes.isEmpty() ? QString() : KxFromAnsi(m_pDevice->writes.last());
    }
    int Writes() const { return int(m_pDevice->writes.size()); }

private:
    KxMsgSink m_oldSink;
    std::unique_ptr<CFakeWorld> m_pWorld;
    std::unique_ptr<CFakeWorldScope> m_pScope;
    std::shared_ptr<CFakeDevice> m_pDevice;
    QList<KxShownBox> m_boxes;
    CGsmCard* m_pCard = nullptr;
};

// The control of a panel by its template id, of the expected class.
template <typename T> T* Ctrl(QWidget* pPanel, int nId)
{
    return qobject_cast<T*>(FindCtrl(pPanel, nId));
}

// Chooses an entry of a drop-down list with the keyboard, as a user does on
// the closed list: Home, then Down to the entry.
inline void ChooseByKeys(QComboBox* pCombo, int nIndex)
{
    pCombo->setFocus();
    QTest::keyClick(pCombo, Qt::Key_Home);
    for (int i = 0; i < nIndex; ++i)
        QTest::keyClick(pCombo, Qt::Key_Down);
}

// Chooses an entry with the mouse: opens the list and clicks the entry.
inline bool ChooseByMouse(QComboBox* pCombo, int nIndex)
{
    pCombo->showPopup();
    QAbstractItemView* pView = pCombo->view();
    if (!QTest::qWaitForWindowExposed(pView->window()))
        return false;
    const QModelIndex index = pView->model()->index(nIndex, 0);
    pView->scrollTo(index);
    const QRect rc = pView->visualRect(index);
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, {}, rc.center());
    return pCombo->currentIndex() == nIndex;
}

// Replaces the text of an edit by typing: select all, then type.
inline void TypeInto(QLineEdit* pEdit, const QString& strText)
{
    pEdit->setFocus();
    QTest::keyClick(pEdit, Qt::Key_A, Qt::ControlModifier);
    if (strText.isEmpty())
        QTest::keyClick(pEdit, Qt::Key_Delete);
    else
        QTest::keyClicks(pEdit, strText);
}

// Brings a panel up as the main window does: shown, then told so.
template <typename T> bool BringUp(T* pPanel)
{
    pPanel->show();
    pPanel->OnShowPanel();
    return QTest::qWaitForWindowExposed(pPanel);
}

// Clicks a button the way the user does.
inline void Click(QWidget* pButton)
{
    QTest::mouseClick(pButton, Qt::LeftButton, {}, pButton->rect().center());
}
