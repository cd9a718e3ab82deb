#include "DlgPwd.h"

#include "DialogTexts.h"
#include "Pub/KxMsgBox.h"
#include "Pub/KxStr.h"
#include "ui_DlgPwd.h"

int g_bUnlocked = 0;

namespace
{
const int kPasswordGroup = 9;
const int kMaxCodeLength = 16;
const QString kAccessCode = QStringLiteral("735");
} // namespace

int CheckPassword(QWidget* pParent)
{
    if (g_bUnlocked)
        return g_bUnlocked;
    CDlgPwd dlg(pParent);
    dlg.exec();
    return g_bUnlocked;
}

CDlgPwd::CDlgPwd(QWidget* pParent) : QDialog(pParent), m_pUi(std::make_unique<Ui::CDlgPwd>())
{
    m_pUi->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(size());
    m_pUi->edtPassword->setMaxLength(kMaxCodeLength);
    ApplyDialogTexts(this, kPasswordGroup);
    m_pUi->edtPassword->setAccessibleName(m_pUi->lblPrompt->text());
    connect(m_pUi->btnOk, &QPushButton::clicked, this, &CDlgPwd::accept);
    connect(m_pUi->btnCancel, &QPushButton::clicked, this, &CDlgPwd::reject);
    m_pUi->edtPassword->setFocus();
}

CDlgPwd::~CDlgPwd() = default;

void CDlgPwd::accept()
{
    // The whole text, case and blanks included, must be the code.
    if (m_pUi->edtPassword->text() == kAccessCode)
    {
        g_bUnlocked = 1;
        QDialog::accept();
        return;
    }
    KxMessageBox(CKxStr(42034), KxMsgIcon::Error);
    m_pUi->edtPassword->setFocus();
}
