#pragma once

#include <QString>

class QWidget;

// Puts the active language's texts on a dialog: group nGroup of the language
// manager's binding table names, for each control id, the UI string it shows;
// the caption entry (id 0xFFFF) is the dialog's own title. Controls keep the
// text of their template wherever the loaded language has none, so with the
// built-in language nothing changes. False for a null dialog or a group
// outside 0..14.
bool ApplyDialogTexts(QWidget* pDlg, int nGroup);

// Sets the text a control shows: a button's or label's text, a group box's
// title, an edit's contents, a window's title. An accessible name that
// repeated the old text follows the new one.
void SetCtrlText(QWidget* pCtrl, const QString& strText);

// A text the program shows that has no UI string id (progress, file errors):
// the Chinese form under the built-in language, the English form under any
// loaded language.
QString KxUiText(const char16_t* pszChinese, const char* pszEnglish);
