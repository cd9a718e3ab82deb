#include "KX_GSMDlg.h"

#include "DialogTexts.h"
#include "DlgBind.h"
#include "DlgButton.h"
#include "DlgDiv.h"
#include "DlgInst.h"
#include "DlgLeft.h"
#include "DlgMenu.h"
#include "DlgMore.h"
#include "DlgMsg.h"
#include "DlgPwd.h"
#include "DlgScrInfo.h"
#include "DlgScreen.h"
#include "MutliLang/LanguageList.h"
#include "MutliLang/LanguageManager.h"
#include "ObjectData/ExportList.h"
#include "ObjectData/Global.h"
#include "ObjectData/ProjectSend.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "Pub/KxMsgBox.h"
#include "Pub/KxStr.h"
#include "Pub/Settings.h"
#include "SendProgress.h"
#include "ui_KX_GSMDlg.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QSaveFile>
#include <QTreeWidget>
#include <QUrl>

namespace
{
// The maker's address in the title; a placeholder under the reserved domain.
const char kTitle[] = "VI-DAR V5.5 - www.vi-dar.example";
const char kExportFile[] = "gsm_inst.txt";

// The panel table's order: the order in which all panels are hidden.
const int kPanelTableOrder[CKX_GSMDlg::kPanelCount] = {
    CKX_GSMDlg::kButton, CKX_GSMDlg::kBind,    CKX_GSMDlg::kDiv,
    CKX_GSMDlg::kScreen, CKX_GSMDlg::kMsg,     CKX_GSMDlg::kLeft,
    CKX_GSMDlg::kMenu,   CKX_GSMDlg::kScrInfo, CKX_GSMDlg::kMore,
};

// Calls a panel's "panel shown" slot when it has one.
void NotifyShown(QWidget* pPanel)
{
    if (pPanel && pPanel->metaObject()->indexOfMethod("OnShowPanel()") >= 0)
        QMetaObject::invokeMethod(pPanel, "OnShowPanel", Qt::DirectConnection);
}

} // namespace

CKX_GSMDlg::CKX_GSMDlg(const QString& strProgramDir, QWidget* pParent)
    : QDialog(pParent), m_pUi(std::make_unique<Ui::CKX_GSMDlg>()), m_strProgramDir(strProgramDir)
{
    m_pUi->setupUi(this);
    // Minimize box, no maximize box: the panels have fixed places.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/icons/128.svg")));
    setAccessibleName(QString::fromLatin1(kTitle));

    // A message numbers its preview from the commands of the messages in
    // front of it in the tree.
    g_fnPageNumberBase = [this](const CGsmPage* pPage)
    {
        CDlgLeft* pLeft = GetLeft();
        return pLeft ? pLeft->CountCommandsBefore(pPage) : 0;
    };

    OnInitDialog();
}

CKX_GSMDlg::~CKX_GSMDlg()
{
    g_fnPageNumberBase = nullptr;
}

QWidget* CKX_GSMDlg::GetPanel(int nPanel) const
{
    if (nPanel < 0 || nPanel >= kPanelCount)
        return nullptr;
    return m_arrPanels[size_t(nPanel)];
}

CDlgMenu* CKX_GSMDlg::GetMenu() const
{
    return qobject_cast<CDlgMenu*>(GetPanel(kMenu));
}

CDlgLeft* CKX_GSMDlg::GetLeft() const
{
    return qobject_cast<CDlgLeft*>(GetPanel(kLeft));
}

CDlgButton* CKX_GSMDlg::GetButtonBar() const
{
    return qobject_cast<CDlgButton*>(GetPanel(kButton));
}

QString CKX_GSMDlg::GetExportPath() const
{
    return QDir(m_strProgramDir).filePath(QString::fromLatin1(kExportFile));
}

void CKX_GSMDlg::OnInitDialog()
{
    setWindowTitle(QString::fromLatin1(kTitle));

    if (!CreatePanels())
    {
        KxMessageBox(QStringLiteral("Create dialog error."), KxMsgIcon::Error);
        return;
    }

    m_pLangMenu.reset();
    const int nLanguages = int(g_langMap.size());
    GetMenu()->ShowLanguageButton(nLanguages > 1);
    if (nLanguages <= 1)
    {
        g_nLang = kBuiltinLanguageId;
        PostRebuildTree();
        return;
    }
    CreateLanguageMenu();
}

void CKX_GSMDlg::CreateLanguageMenu()
{
    m_pLangMenu = std::make_unique<QMenu>(this);
    m_nCheckedLanguage = 0;
    m_pLangMenu->setAccessibleName(CKxStr(41010).GetText());
    int nMatch = 0;
    int nFallback = 0;
    for (auto it = g_langMap.cbegin(); it != g_langMap.cend(); ++it)
    {
        const int nCommand = it.key();
        QAction* pAction = m_pLangMenu->addAction(it.value().strName);
        pAction->setData(nCommand);
        pAction->setCheckable(true);
        // Only 21 entries have command ids of their own.
        pAction->setEnabled(nCommand >= kFirstLanguageItem && nCommand <= kLastLanguageItem);
        connect(pAction, &QAction::triggered, this,
                [this, nCommand]()
                {
                    if (nCommand >= kFirstLanguageItem && nCommand <= kLastLanguageItem)
                        SelectLanguage(nCommand);
                });
        if (it.value().nId == g_nLang)
            nMatch = nCommand;
        if (it.value().nId == kBuiltinLanguageId)
            nFallback = nCommand;
        // The last language whose id is LANG wins, else the built-in one,
        // which comes last.
        SelectLanguage(nMatch ? nMatch : nFallback);
    }
}

bool CKX_GSMDlg::CreatePanels()
{
    for (int n = 0; n < kPanelCount; ++n)
    {
        if (QWidget* pOld = m_arrPanels[size_t(n)])
        {
            // The old panel may be the sender of the signal being handled
            // (the toolbar's language button): let it finish first.
            pOld->hide();
            pOld->disconnect(this);
            pOld->deleteLater();
            m_arrPanels[size_t(n)] = nullptr;
        }
        QWidget* pPanel = CreatePanel(n);
        if (!pPanel)
            return false;
        m_arrPanels[size_t(n)] = pPanel;
    }
    LayoutPanels();
    for (int i = 0; i < kPanelCount; ++i)
        m_arrPanelTable[size_t(i)] = m_arrPanels[size_t(kPanelTableOrder[i])];
    ShowView(kViewMain);
    return true;
}

QWidget* CKX_GSMDlg::CreatePanel(int nPanel)
{
    switch (nPanel)
    {
    case kMenu:
    {
        auto* pMenu = new CDlgMenu(this);
        connect(pMenu, &CDlgMenu::toolbarCommand, this, &CKX_GSMDlg::OnToolbarCommand);
        return pMenu;
    }
    case kLeft:
    {
        auto* pLeft = new CDlgLeft(this);
        connect(pLeft, &CDlgLeft::treeSelected, this, &CKX_GSMDlg::OnTreeSelected);
        return pLeft;
    }
    case kMsg:
    {
        auto* pMsg = new CDlgMsg(this);
        connect(pMsg, &CDlgMsg::refreshItemLabel, this, &CKX_GSMDlg::OnRefreshItemLabel);
        return pMsg;
    }
    case kButton:
    {
        auto* pButton = new CDlgButton(this);
        connect(pButton, &CDlgButton::showPanel, this, [this](int nView, int) { ShowView(nView); });
        return pButton;
    }
    case kBind:
        return new CDlgBind(this);
    case kDiv:
        return new CDlgDiv(this);
    case kScreen:
        return new CDlgScreen(this);
    case kScrInfo:
    {
        auto* pInfo = new CDlgScrInfo(this);
        connect(pInfo, &CDlgScrInfo::toolbarCommand, this, &CKX_GSMDlg::OnToolbarCommand);
        return pInfo;
    }
    case kMore:
        return new CDlgMore(this);
    default:
        return nullptr;
    }
}

void CKX_GSMDlg::LayoutPanels()
{
    const int T = kBandHeight;
    QWidget* pLeft = GetPanel(kLeft);
    QWidget* pMsg = GetPanel(kMsg);
    QWidget* pMenu = GetPanel(kMenu);
    const int nTreeWidth = pLeft->width();

    pLeft->move(0, T);
    pMsg->move(nTreeWidth, T);
    GetPanel(kScrInfo)->move(nTreeWidth + 40, T + 40);

    const int W = qMax(nTreeWidth + pMsg->width(), pMenu->width());
    const int H = qMax(pLeft->height(), pMsg->height()) + T;

    pMenu->resize(W, T);
    GetMenu()->LayoutButtons();
    QWidget* pButton = GetPanel(kButton);
    pButton->move(0, H - T);
    pButton->resize(W, T);
    for (int n : {kScreen, kDiv, kBind, kMore})
        GetPanel(n)->move(70, 40);

    // The client area; the window system adds its frame around it.
    setFixedSize(W, H);
}

void CKX_GSMDlg::HideAllPanels()
{
    for (QWidget* pPanel : m_arrPanelTable)
    {
        Q_ASSERT(pPanel);
        if (pPanel)
            pPanel->hide();
    }
}

void CKX_GSMDlg::ShowPanel(QWidget* pPanel)
{
    if (!pPanel)
        return;
    pPanel->show();
    NotifyShown(pPanel);
}

void CKX_GSMDlg::ShowView(int nView)
{
    if ((nView == kViewScreen || nView == kViewBind) && !CheckPassword(this))
        return;

    HideAllPanels();
    ShowPanel(GetPanel(kButton));
    m_nView = nView;
    switch (nView)
    {
    case kViewScreen:
        ShowPanel(GetPanel(kScreen));
        return;
    case kViewZones:
        ShowPanel(GetPanel(kDiv));
        return;
    case kViewBind:
        ShowPanel(GetPanel(kBind));
        return;
    case kViewMore:
        ShowPanel(GetPanel(kMore));
        return;
    default:
        break;
    }

    // Back to the main view.
    m_nView = kViewMain;
    GetPanel(kButton)->hide();
    ShowPanel(GetPanel(kMenu));
    ShowPanel(GetPanel(kLeft));
    if (GetLeft()->GetSelectionKind() == CDlgLeft::MessageItem)
        ShowPanel(GetPanel(kMsg));
    else
        ShowPanel(GetPanel(kScrInfo));
    GetLeft()->GetTree()->setFocus();
}

void CKX_GSMDlg::PostRebuildTree()
{
    // After the handler under way (and any panel re-creation) has finished.
    QMetaObject::invokeMethod(GetLeft(), &CDlgLeft::Rebuild, Qt::QueuedConnection);
}

void CKX_GSMDlg::OnTreeSelected(int nKind, CGsmCard* pCard, CGsmPage* pPage)
{
    const bool bMainView = m_nView == kViewMain;
    auto* pMsg = qobject_cast<CDlgMsg*>(GetPanel(kMsg));
    auto* pInfo = qobject_cast<CDlgScrInfo*>(GetPanel(kScrInfo));
    if (nKind == CDlgLeft::MessageItem && pPage)
    {
        g_pCurCard = pPage->GetCard();
        // The lists follow the current card on every selection, so a change
        // in them always goes to the card they show.
        GetMenu()->ShowCardValues(g_pCurCard);
        pMsg->SetPage(pPage);
        if (bMainView)
            ShowPanel(pMsg);
        pInfo->hide();
        return;
    }
    if (nKind == CDlgLeft::CardItem && pCard)
    {
        g_pCurCard = pCard;
        GetMenu()->ShowCardValues(pCard);
        pInfo->ShowCard(pCard);
        if (bMainView)
            ShowPanel(pInfo);
        pMsg->hide();
        return;
    }
    // Nothing selected any more: the editor must not keep a message that is
    // about to go.
    pMsg->hide();
    if (bMainView)
        ShowPanel(pInfo);
}

void CKX_GSMDlg::OnRefreshItemLabel()
{
    GetLeft()->RefreshItemLabel();
}

void CKX_GSMDlg::OnToolbarCommand(int wParam, int)
{
    CDlgLeft* pLeft = GetLeft();
    switch (wParam)
    {
    case 1005:
        pLeft->AddCard();
        break;
    case 1006:
        pLeft->AddText();
        break;
    case 1007:
        pLeft->DeleteItem();
        break;
    case 1012:
        pLeft->MoveUp();
        break;
    case 1013:
        pLeft->MoveDown();
        break;
    case 1008:
        SendProject();
        break;
    case 1009:
        ExportCommands();
        break;
    case 1010:
        if (m_pLangMenu)
            m_pLangMenu->exec(QCursor::pos() + QPoint(0, 12));
        break;
    case 1011:
        if (g_pCurCard)
            ShowView(kViewScreen);
        break;
    case 1127:
        if (g_pCurCard)
            ShowView(kViewMore);
        break;
    default:
        break;
    }
}

void CKX_GSMDlg::SelectLanguage(int nCommand)
{
    if (!m_pLangMenu)
        return;
    // The menu ticks an entry itself as it is chosen, so which entry was
    // ticked before is kept here.
    if (nCommand == m_nCheckedLanguage)
        return;
    m_nCheckedLanguage = nCommand;
    const QList<QAction*> actions = m_pLangMenu->actions();
    for (QAction* pAction : actions)
        pAction->setChecked(pAction->data().toInt() == nCommand);
    if (!g_langManager.ActivateLanguage(nCommand))
        return;
    // Every panel is made anew, so each shows the new language's texts; the
    // new tree is filled once this handler is done.
    CreatePanels();
    PostRebuildTree();
}

void CKX_GSMDlg::SendProject()
{
    bool bOk = false;
    {
        CSendProgress progress(this);
        bOk = SendCheckedCards(g_cardList);
    }
    FreeCommandList();
    if (bOk)
        KxMessageBox(QString::fromUtf16(kSendDoneText), KxMsgIcon::Information);
}

void CKX_GSMDlg::ExportCommands()
{
    int nOnlySelected = 1;
    CDlgInst dlg(&nOnlySelected, this);
    if (dlg.exec() != QDialog::Accepted)
        return;

    const QString strPath = GetExportPath();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int nMessages = 0;
    const QByteArray data = ExportListing(g_cardList, nOnlySelected == 0, &nMessages);
    FreeCommandList();
    // Written whole or not at all: a failed write leaves the previous file.
    QSaveFile file(strPath);
    bool bWritten = file.open(QIODevice::WriteOnly);
    bWritten = bWritten && file.write(data) == data.size();
    bWritten = bWritten && file.commit();
    const QString strError = file.errorString();
    QApplication::restoreOverrideCursor();

    if (!bWritten)
    {
        KxMessageBox(KxUiText(u"无法写入文件 %1：%2", "The file %1 could not be written: %2")
                         .arg(QDir::toNativeSeparators(strPath), strError),
                     KxMsgIcon::Error);
        return;
    }
    if (nMessages == 0)
    {
        KxMessageBox(QStringLiteral("未选中内容!"), KxMsgIcon::Warning);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(strPath)))
    {
        KxMessageBox(KxUiText(u"指令已导出到 %1，但没有程序可以打开它。",
                              "The commands were exported to %1, but no program could open it.")
                         .arg(QDir::toNativeSeparators(strPath)),
                     KxMsgIcon::Information);
    }
}
