#pragma once

#include <QDialog>

#include <memory>

namespace Ui
{
class CDlgInst;
}

// Asks before the command export whether only the checked content or the
// whole project is exported. On OK the caller's flag holds 1 for only the
// checked content and 0 for all of it; Cancel leaves it alone.
class CDlgInst : public QDialog
{
    Q_OBJECT

public:
    CDlgInst(int* pOnlySelected, QWidget* pParent = nullptr);
    ~CDlgInst() override;

    void accept() override;

private:
    std::unique_ptr<Ui::CDlgInst> m_pUi;
    int* m_pOnlySelected;
};
