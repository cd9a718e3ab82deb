#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>

class CDlgButton;
class CDlgLeft;
class CDlgMenu;
class CGsmCard;
class CGsmPage;
class QMenu;

namespace Ui
{
class CKX_GSMDlg;
}

// The program's only top-level window. It owns the nine panels, switches
// between the main view (toolbar, project tree, and the message editor or
// the screen information panel) and the settings view (card settings bar and
// one settings panel), owns the language menu, dispatches the toolbar's
// commands and carries out the project-wide send and export.
class CKX_GSMDlg : public QDialog
{
    Q_OBJECT

public:
    // The panels in their creation order.
    enum Panel
    {
        kMenu,
        kLeft,
        kMsg,
        kButton,
        kBind,
        kDiv,
        kScreen,
        kScrInfo,
        kMore,
        kPanelCount
    };

    // Views by the card settings bar's button ids.
    enum View
    {
        kViewMain = 1000,
        kViewScreen = 1001,
        kViewZones = 1002,
        kViewBind = 1003,
        kViewMore = 1004
    };

    static const int kBandHeight = 60;
    static const int kFirstLanguageItem = 1134;
    static const int kLastLanguageItem = 1154;

    // strProgramDir: where the exported listing goes (the program's folder).
    explicit CKX_GSMDlg(const QString& strProgramDir, QWidget* pParent = nullptr);
    ~CKX_GSMDlg() override;

    QWidget* GetPanel(int nPanel) const;
    CDlgMenu* GetMenu() const;
    CDlgLeft* GetLeft() const;
    CDlgButton* GetButtonBar() const;
    QMenu* GetLanguageMenu() const { return m_pLangMenu.get(); }
    int GetView() const { return m_nView; }
    QString GetExportPath() const;

public slots:
    // The card settings bar's request and the toolbar's settings buttons.
    void ShowView(int nView);
    // A toolbar button (1005..1013), or 1127 from the screen information
    // panel.
    void OnToolbarCommand(int wParam, int lParam);
    // A language menu entry (1134..1154).
    void SelectLanguage(int nCommand);
    void SendProject();
    void ExportCommands();

private:
    void OnInitDialog();
    bool CreatePanels();
    QWidget* CreatePanel(int nPanel);
    void LayoutPanels();
    void HideAllPanels();
    void ShowPanel(QWidget* pPanel);
    void PostRebuildTree();
    void CreateLanguageMenu();
    void OnTreeSelected(int nKind, CGsmCard* pCard, CGsmPage* pPage);
    void OnRefreshItemLabel();

    std::unique_ptr<Ui::CKX_GSMDlg> m_pUi;
    QString m_strProgramDir;
    std::array<QPointer<QWidget>, kPanelCount> m_arrPanels;
    // Every panel, for hiding them all.
    std::array<QWidget*, kPanelCount> m_arrPanelTable{};
    std::unique_ptr<QMenu> m_pLangMenu;
    int m_nView = kViewMain;
    int m_nCheckedLanguage = 0; // the ticked entry of the language menu
};
