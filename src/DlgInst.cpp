#include "DlgInst.h"

#include "DialogTexts.h"
#include "ui_DlgInst.h"

namespace
{
const int kExportGroup = 12;
}

CDlgInst::CDlgInst(int* pOnlySelected, QWidget* pParent)
    : QDialog(pParent), m_pUi(std::make_unique<Ui::CDlgInst>()), m_pOnlySelected(pOnlySelected)
{
    m_pUi->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(size());
    ApplyDialogTexts(this, kExportGroup);
    // Exporting only what is checked is the default.
    m_pUi->rdoSelected->setChecked(true);
    connect(m_pUi->btnOk, &QPushButton::clicked, this, &CDlgInst::accept);
    connect(m_pUi->btnCancel, &QPushButton::clicked, this, &CDlgInst::reject);
}

CDlgInst::~CDlgInst() = default;

void CDlgInst::accept()
{
    if (m_pOnlySelected)
        *m_pOnlySelected = m_pUi->rdoSelected->isChecked() ? 1 : 0;
    QDialog::accept();
}
