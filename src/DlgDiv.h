#pragma once

#include "KxPanel.h"

#include <memory>

class CDivObj;
class CDivWnd;
class CGsmCard;

namespace Ui
{
class CDlgDiv;
}

// The zone editor: the current card's zones drawn on a canvas at the scale
// of the sign, moved and sized with the mouse or with four number fields,
// one of four zone layouts, and the zone command to send.
class CDlgDiv : public CKxPanel
{
    Q_OBJECT

public:
    static const int kMaxZones = 4;
    // Layouts, by the id of their radio button.
    static const int kLayoutNormal = 1138;
    static const int kLayoutClock = 1139;
    static const int kLayoutTime = 1141;
    static const int kLayoutReset = 1184;

    explicit CDlgDiv(QWidget* pParent = nullptr);
    ~CDlgDiv() override;

    // The selected zone; always a zone of the current card, or null.
    CDivObj* GetSelectedZone() const;
    QWidget* GetCanvas() const;

public slots:
    // The main window shows the panel: show the current card's zones.
    void OnShowPanel();

protected:
    void hideEvent(QHideEvent* pEvent) override;

private:
    void LoadZones();
    void UpdateEditsFromSelection();
    void SelectLayout(int nLayout);
    void UpdateCommandPreview(int nLayout);
    void OnAddZone();
    void OnDeleteZone();
    void ApplyEditsToZone();
    void SendZoneCommand();
    void OnZoneClicked(CDivWnd* pWnd);
    void Select(CDivObj* pZone);
    CDivWnd* WindowOf(CDivObj* pZone) const;
    CDivWnd* MakeWindow(CDivObj* pZone);
    void ShowZoneCount();

    std::unique_ptr<Ui::CDlgDiv> m_pUi;
    CDivObj* m_pSelected = nullptr; // checked against the current card before use
    int m_bReady = 0;
};
