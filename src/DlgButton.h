#pragma once

#include <QWidget>

#include <memory>

namespace Ui
{
class CDlgButton;
}

// The card settings bar of the settings view: back to the main view and the
// four settings panels of the current card. Each button only asks the main
// window for its view.
class CDlgButton : public QWidget
{
    Q_OBJECT

public:
    explicit CDlgButton(QWidget* pParent = nullptr);
    ~CDlgButton() override;

signals:
    // The view id: 1000 back, 1001 screen parameters, 1002 zones,
    // 1003 number binding, 1004 more settings.
    void showPanel(int wParam, int lParam);

private:
    std::unique_ptr<Ui::CDlgButton> m_pUi;
};
