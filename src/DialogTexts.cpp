#include "DialogTexts.h"

#include "CtrlId.h"
#include "MutliLang/LanguageManager.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace
{
const int kGroupCount = 15;
const quint32 kSeparator = 0xFFFFFFFFu;

} // namespace

void SetCtrlText(QWidget* pCtrl, const QString& strText)
{
    if (!pCtrl)
        return;
    QString strOld;
    if (auto* pButton = qobject_cast<QAbstractButton*>(pCtrl))
    {
        strOld = pButton->text();
        pButton->setText(strText);
    }
    else if (auto* pLabel = qobject_cast<QLabel*>(pCtrl))
    {
        strOld = pLabel->text();
        pLabel->setText(strText);
    }
    else if (auto* pGroup = qobject_cast<QGroupBox*>(pCtrl))
    {
        strOld = pGroup->title();
        pGroup->setTitle(strText);
    }
    else if (auto* pEdit = qobject_cast<QLineEdit*>(pCtrl))
    {
        strOld = pEdit->text();
        pEdit->setText(strText);
    }
    else if (auto* pPlain = qobject_cast<QPlainTextEdit*>(pCtrl))
    {
        strOld = pPlain->toPlainText();
        pPlain->setPlainText(strText);
    }
    else if (auto* pRich = qobject_cast<QTextEdit*>(pCtrl))
    {
        strOld = pRich->toPlainText();
        pRich->setPlainText(strText);
    }
    else if (auto* pCombo = qobject_cast<QComboBox*>(pCtrl); pCombo && pCombo->isEditable())
    {
        strOld = pCombo->currentText();
        pCombo->setEditText(strText);
    }
    else
    {
        strOld = pCtrl->windowTitle();
        pCtrl->setWindowTitle(strText);
    }
    if (!pCtrl->accessibleName().isEmpty() && pCtrl->accessibleName() == strOld)
        pCtrl->setAccessibleName(strText);
}

bool ApplyDialogTexts(QWidget* pDlg, int nGroup)
{
    if (!pDlg || nGroup < 0 || nGroup >= kGroupCount)
        return false;

    const quint32 nWord = g_langManager.GetGroupWord(nGroup);
    const int nFirst = int(nWord & 0xFFFF);
    const int nEnd = nFirst + int(nWord >> 16);
    if (nFirst >= nEnd)
        return true;

    // The group's first entry is its caption, or a separator whose string id
    // (0xFFFF) no language defines.
    const quint32 nHead = g_langManager.GetBinding(nFirst);
    if ((nHead & 0xFFFF) == quint32(kCaptionCtrlId))
    {
        if (const auto text = g_langManager.FindString(int(nHead >> 16) - 40000))
            pDlg->setWindowTitle(*text);
    }
    for (int i = nFirst + 1; i < nEnd; ++i)
    {
        const quint32 nEntry = g_langManager.GetBinding(i);
        if (nEntry == kSeparator)
            continue;
        QWidget* pCtrl = FindCtrl(pDlg, int(nEntry & 0xFFFF));
        if (!pCtrl)
            continue;
        if (const auto text = g_langManager.FindString(int(nEntry >> 16) - 40000))
            SetCtrlText(pCtrl, *text);
    }
    return true;
}

QString KxUiText(const char16_t* pszChinese, const char* pszEnglish)
{
    if (g_langManager.GetStringCount() == 0)
        return QString::fromUtf16(pszChinese);
    return QString::fromUtf8(pszEnglish);
}
