#include "DlgBind.h"

#include "ComboFill.h"
#include "DialogTexts.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "Pub/KxStr.h"
#include "ui_DlgBind.h"

namespace
{
const int kGroupBind = 7;
} // namespace

CDlgBind::CDlgBind(QWidget* pParent) : CKxPanel(pParent), m_pUi(std::make_unique<Ui::CDlgBind>())
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kGroupBind);

    QCheckBox* const checks[kPhoneCount] = {m_pUi->chkPhone1, m_pUi->chkPhone2, m_pUi->chkPhone3,
                                            m_pUi->chkPhone4, m_pUi->chkPhone5, m_pUi->chkPhone6,
                                            m_pUi->chkPhone7, m_pUi->chkPhone8};
    QLineEdit* const phones[kPhoneCount] = {m_pUi->edtPhone1, m_pUi->edtPhone2, m_pUi->edtPhone3,
                                            m_pUi->edtPhone4, m_pUi->edtPhone5, m_pUi->edtPhone6,
                                            m_pUi->edtPhone7, m_pUi->edtPhone8};
    for (int i = 0; i < kPhoneCount; ++i)
    {
        m_pChecks[i] = checks[i];
        m_pPhones[i] = phones[i];
        // The number field has no label of its own; its check box names it.
        m_pPhones[i]->setAccessibleName(m_pChecks[i]->text());
        connect(m_pChecks[i], &QCheckBox::clicked, this, [this]() { UpdateCommandPreview(); });
    }

    FillComboFromList(m_pUi->cboOption, CKxStr(42011).GetText());
    m_pUi->cboOption->setCurrentIndex(0);

    connect(m_pUi->chkAll, &QCheckBox::clicked, this, &CDlgBind::OnSelectAll);
    connect(m_pUi->cboOption, &QComboBox::currentIndexChanged, this,
            [this]() { UpdateCommandPreview(); });
    connect(m_pUi->btnBind, &QPushButton::clicked, this, [this]() { SendBindCommand(); });
}

CDlgBind::~CDlgBind() = default;

void CDlgBind::OnSelectAll(bool bChecked)
{
    for (QCheckBox* pCheck : m_pChecks)
        pCheck->setChecked(bChecked);
    UpdateCommandPreview();
}

void CDlgBind::UpdateCommandPreview()
{
    QString strPhones;
    bool bAny = false;
    for (int i = 0; i < kPhoneCount; ++i)
    {
        if (!m_pChecks[i]->isChecked())
            continue;
        bAny = true;
        const QString strPhone = m_pPhones[i]->text().left(kMaxPhoneLength);
        if (!strPhone.isEmpty())
            strPhones += strPhone + u'|';
    }
    if (!bAny)
        m_pUi->chkAll->setChecked(false);

    CGsmCard* pCard = g_pCurCard;
    if (!pCard)
        return;
    // With nothing ticked the card keeps the numbers it had (the card
    // ignores a text that short), so the command still shows them.
    pCard->SetBindPhones(strPhones.left(CGsmCard::kMaxBindPhones));
    QString strCmd;
    if (pCard->BuildBindCommand(&strCmd, m_pUi->cboOption->currentIndex()) > 0)
        m_pUi->edtCommand->setText(strCmd);
}

void CDlgBind::SendBindCommand()
{
    SendShownCommand(m_pUi->edtCommand->text());
}
