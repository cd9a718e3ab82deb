#pragma once

#include "KxPanel.h"

#include <memory>

class CGsmPage;

namespace Ui
{
class CDlgMsg;
}

// The message editor: edits one message of the current card. Every change
// goes into the message at once; the panel then shows the message's
// commands and a preview of the text in the sign's colour and font.
class CDlgMsg : public CKxPanel
{
    Q_OBJECT

public:
    explicit CDlgMsg(QWidget* pParent = nullptr);
    ~CDlgMsg() override;

    // Loads a message into the panel (the main window does this just before
    // it shows the panel). A null message is refused.
    void SetPage(CGsmPage* pPage);
    CGsmPage* GetPage() const { return m_pPage; }

public slots:
    // The main window shows the panel: the card's zone count may have
    // changed in the zone editor, so the zone list is filled again.
    void OnShowPanel();

signals:
    // The message's caption changed; the tree relabels its item.
    void refreshItemLabel();

private:
    void FillZoneList();
    void ApplyToPage();
    void UpdateCommandPreview();
    void UpdateTextPreview();
    void UpdateTypeLayout();
    void OnTimeFormatChosen(int nIndex);
    void OnTimeFormatEdited(const QString& strText);

    std::unique_ptr<Ui::CDlgMsg> m_pUi;
    CGsmPage* m_pPage = nullptr;
    // While 0 the change handlers do nothing: the panel is filling its own
    // controls, and Qt reports programmatic changes as well as the user's.
    int m_bReady = 0;
};
