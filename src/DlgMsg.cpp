#include "DlgMsg.h"

#include "ComboFill.h"
#include "DialogTexts.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "PreviewFont.h"
#include "Pub/KxStr.h"
#include "ui_DlgMsg.h"

#include <QLineEdit>
#include <QTextCursor>

namespace
{
const int kGroupMsg = 4;
const int kTypeText = 0;
const int kTypeClockFace = 1;
const int kTypeDigitalClock = 2;
} // namespace

CDlgMsg::CDlgMsg(QWidget* pParent) : CKxPanel(pParent), m_pUi(std::make_unique<Ui::CDlgMsg>())
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kGroupMsg);

    // The preview is the sign: lit text on black, enabled or not.
    QPalette pal = m_pUi->edtPreview->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(g, QPalette::Base, Qt::black);
    m_pUi->edtPreview->setPalette(pal);

    FillComboFromList(m_pUi->cboSpeed, SpeedOptionList());
    FillComboFromList(m_pUi->cboColor, CKxStr(42002).GetText());
    FillComboFromList(m_pUi->cboEffect, CKxStr(42004, 512).GetText());
    FillComboFromList(m_pUi->cboType, CKxStr(42003).GetText());
    FillBorderCombo(m_pUi->cboBorder, CKxStr(42005, 512).GetText());
    FillComboFromList(m_pUi->cboTimeFormat, CKxStr(42033, 512).GetText());
    m_pUi->cboStay->clear();
    m_pUi->cboStay->addItems(StayOptionItems());

    // Content and time format share one place; a plain text shows the
    // content until a message says otherwise.
    m_pUi->lblTimeFormat->hide();
    m_pUi->cboTimeFormat->hide();
    m_pUi->lblTimeHelp->hide();

    const auto onCommand = [this]() { UpdateCommandPreview(); };
    const auto onText = [this]() { UpdateTextPreview(); };
    for (QComboBox* pCombo :
         {m_pUi->cboZone, m_pUi->cboEffect, m_pUi->cboStay, m_pUi->cboSpeed, m_pUi->cboBorder})
        connect(pCombo, &QComboBox::currentIndexChanged, this, onCommand);
    for (QComboBox* pCombo : {m_pUi->cboFont, m_pUi->cboColor})
        connect(pCombo, &QComboBox::currentIndexChanged, this, onText);
    connect(m_pUi->edtContent, &QPlainTextEdit::textChanged, this, onText);
    connect(m_pUi->cboType, &QComboBox::currentIndexChanged, this,
            [this]() { UpdateTypeLayout(); });
    connect(m_pUi->cboTimeFormat, &QComboBox::activated, this, &CDlgMsg::OnTimeFormatChosen);
    connect(m_pUi->cboTimeFormat->lineEdit(), &QLineEdit::textEdited, this,
            &CDlgMsg::OnTimeFormatEdited);
}

CDlgMsg::~CDlgMsg() = default;

void CDlgMsg::SetPage(CGsmPage* pPage)
{
    Q_ASSERT(pPage);
    if (!pPage)
        return;
    m_bReady = 0;
    m_pPage = pPage;
    FillZoneList();

    m_pUi->cboFont->setCurrentIndex(pPage->GetFont());
    m_pUi->cboColor->setCurrentIndex(pPage->GetColor());
    m_pUi->cboEffect->setCurrentIndex(pPage->GetEffect());
    m_pUi->cboStay->setCurrentIndex(pPage->GetStay());
    m_pUi->cboType->setCurrentIndex(pPage->GetType());
    m_pUi->cboSpeed->setCurrentIndex(pPage->GetSpeed());
    m_pUi->cboBorder->setCurrentIndex(pPage->GetBorder());
    m_pUi->edtContent->setPlainText(pPage->GetContent());
    m_pUi->cboTimeFormat->setEditText(pPage->GetTimeFormat());

    m_bReady = 1;
    UpdateTypeLayout();
    UpdateTextPreview();
}

void CDlgMsg::OnShowPanel()
{
    m_bReady = 0;
    FillZoneList();
    m_bReady = 1;
}

void CDlgMsg::FillZoneList()
{
    QComboBox* pZone = m_pUi->cboZone;
    pZone->clear();
    const int nCount = (m_pPage && m_pPage->GetCard()) ? m_pPage->GetCard()->GetZoneCount() : 0;
    for (int i = 0; i < nCount; ++i)
        pZone->addItem(IntToText(i));
    // The message's own zone, not simply the first entry: the next edit
    // stores the selection, and the first entry would move the message to
    // zone 0. A zone the card no longer has falls back to the first entry.
    if (m_pPage && m_pPage->GetZone() >= 0 && m_pPage->GetZone() < nCount)
        pZone->setCurrentIndex(m_pPage->GetZone());
    else
        pZone->setCurrentIndex(nCount > 0 ? 0 : -1);
}

void CDlgMsg::ApplyToPage()
{
    if (!m_pPage)
        return;
    m_pPage->SetZone(m_pUi->cboZone->currentIndex());
    m_pPage->SetFont(m_pUi->cboFont->currentIndex());
    m_pPage->SetColor(m_pUi->cboColor->currentIndex());
    m_pPage->SetEffect(m_pUi->cboEffect->currentIndex());
    m_pPage->SetStay(m_pUi->cboStay->currentIndex());
    m_pPage->SetType(m_pUi->cboType->currentIndex());
    m_pPage->SetSpeed(m_pUi->cboSpeed->currentIndex());
    m_pPage->SetBorder(m_pUi->cboBorder->currentIndex());
    m_pPage->SetContent(m_pUi->edtContent->toPlainText());
    m_pPage->UpdateCaption();
    emit refreshItemLabel();
}

void CDlgMsg::UpdateCommandPreview()
{
    if (!m_bReady || !m_pPage)
        return;
    ApplyToPage();
    const QStringList& commands = m_pPage->RefreshCommands(true);
    // The commands run together, as the card would read them one by one.
    m_pUi->edtCommand->setPlainText(commands.join(QString()));
}

void CDlgMsg::UpdateTextPreview()
{
    if (!m_bReady)
        return;
    const int nFont = m_pUi->cboFont->currentIndex();
    const int nColor = m_pUi->cboColor->currentIndex();

    QTextEdit* pPreview = m_pUi->edtPreview;
    pPreview->setPlainText(m_pUi->edtContent->toPlainText());

    // One format for the whole text: the sign shows a message in one colour
    // and one font.
    QTextCharFormat format;
    format.setForeground(ColorIndexToRgb(nColor));
    format.setFontPointSize(FontIndexToHeight(nFont) / 20.0);
    const QString strFace = FontIndexToFace(nFont);
    if (!strFace.isEmpty())
        format.setFontFamilies({strFace});
    QTextCursor cursor(pPreview->document());
    cursor.select(QTextCursor::Document);
    cursor.setCharFormat(format);
    // Text typed later into an empty preview would take the default format.
    pPreview->setCurrentCharFormat(format);

    UpdateCommandPreview();
}

void CDlgMsg::UpdateTypeLayout()
{
    if (!m_bReady)
        return;
    const int nType = m_pUi->cboType->currentIndex();
    m_pUi->edtPreview->setEnabled(nType == kTypeText);

    QWidget* const content[] = {m_pUi->lblContent, m_pUi->edtContent};
    QWidget* const timeFormat[] = {m_pUi->lblTimeFormat, m_pUi->lblTimeHelp, m_pUi->cboTimeFormat};
    if (nType == kTypeText)
    {
        for (QWidget* p : content)
        {
            p->setEnabled(true);
            p->show();
        }
        for (QWidget* p : timeFormat)
            p->hide();
    }
    else if (nType == kTypeClockFace)
    {
        // A clock face has neither text nor format; both stay where they
        // are, greyed.
        for (QWidget* p : content)
            p->setEnabled(false);
        for (QWidget* p : timeFormat)
            p->setEnabled(false);
    }
    else if (nType == kTypeDigitalClock)
    {
        for (QWidget* p : content)
            p->hide();
        for (QWidget* p : timeFormat)
        {
            p->setEnabled(true);
            p->show();
        }
    }
    UpdateCommandPreview();
}

void CDlgMsg::OnTimeFormatChosen(int nIndex)
{
    if (!m_bReady || !m_pPage)
        return;
    m_pPage->SetTimeFormat(m_pUi->cboTimeFormat->itemText(nIndex));
    UpdateCommandPreview();
}

void CDlgMsg::OnTimeFormatEdited(const QString& strText)
{
    if (!m_bReady || !m_pPage)
        return;
    m_pPage->SetTimeFormat(strText);
    UpdateCommandPreview();
}
