#pragma once

class QWidget;

// Every control built from a dialog template carries its template id in this
// dynamic property, so code finds controls by the numbers the string bindings
// and the command handlers use.
inline constexpr char kCtrlIdProperty[] = "ctrlId";

// The template id of the caption entry: the dialog's own window title.
inline constexpr int kCaptionCtrlId = 0xFFFF;

// The descendant of pDlg whose "ctrlId" is nId, nearer levels first, or null
// when there is none (or pDlg is null). Nested panels are searched too, so a
// dialog never reuses an id of one of its own child panels.
QWidget* FindCtrl(QWidget* pDlg, int nId);

// Tags a control with its template id.
void SetCtrlId(QWidget* pCtrl, int nId);

// The template id of a control, or 0 when it has none.
int GetCtrlId(const QWidget* pCtrl);

// Dialog units of the templates (font at 10 points) in pixels: 7 / 4 of a
// unit, for both directions, which keeps the template's proportions.
constexpr int KxDlu(int nUnits)
{
    return nUnits * 7 / 4;
}
