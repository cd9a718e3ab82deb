#pragma once

#include <QDialog>

#include <memory>

namespace Ui
{
class CDlgPwd;
}

// Set once the access code has been entered; it lasts for the run and is
// never saved.
extern int g_bUnlocked;

// The gate in front of the screen parameters and number binding panels:
// non-zero when the panel may be shown. Asks for the access code only until
// it has been entered once in this run.
int CheckPassword(QWidget* pParent = nullptr);

// Asks for the access code. OK with the right code unlocks and closes; a
// wrong code says so and lets the user try again with the text kept.
class CDlgPwd : public QDialog
{
    Q_OBJECT

public:
    explicit CDlgPwd(QWidget* pParent = nullptr);
    ~CDlgPwd() override;

    void accept() override;

private:
    std::unique_ptr<Ui::CDlgPwd> m_pUi;
};
