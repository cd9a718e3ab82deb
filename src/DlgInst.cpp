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
    ApplyDialogTexts(this, kExportGroup);
    // A language's texts may be longer than the template's: the choices and
    // the dialog grow to show them whole.
    int nRight = width();
    for (QRadioButton* pRadio : {m_pUi->rdoSelected, m_pUi->rdoAll})
    {
        pRadio->resize(qMax(pRadio->width(), pRadio->sizeHint().width()), pRadio->height());
        nRight = qMax(nRight, pRadio->geometry().right() + pRadio->x());
    }
    setFixedSize(nRight, height());
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
