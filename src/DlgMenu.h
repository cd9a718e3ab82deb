#pragma once

#include <QWidget>

#include <memory>

class CButtonEx;
class CGsmCard;
class QComboBox;

namespace Ui
{
class CDlgMenu;
}

// The toolbar of the main view: nine image buttons for the project-wide
// commands and the two lists that show and change the current card's type
// and send mode. The buttons only tell the main window what was pressed.
class CDlgMenu : public QWidget
{
    Q_OBJECT

public:
    explicit CDlgMenu(QWidget* pParent = nullptr);
    ~CDlgMenu() override;

    // Enables and shows the language button, or disables and hides it; then
    // lays the buttons out again, so the advanced-settings button takes the
    // language button's slot when there is no language to choose.
    void ShowLanguageButton(bool bShow);

    // Puts the image buttons side by side, vertically centred in the band,
    // skipping disabled ones.
    void LayoutButtons();

    // Shows a card's type and send mode in the two lists (no card: no
    // selection).
    void ShowCardValues(const CGsmCard* pCard);

    CButtonEx* GetButton(int nId) const;
    QComboBox* GetCardTypeList() const;
    QComboBox* GetSendModeList() const;

signals:
    void toolbarCommand(int wParam, int lParam);

private:
    void OnCardTypeChanged(int nIndex);
    void OnSendModeChanged(int nIndex);

    std::unique_ptr<Ui::CDlgMenu> m_pUi;
};
