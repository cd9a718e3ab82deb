#pragma once

#include "Pub/KxIO.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class CDivObj;
class CGsmPage;

// One timed-brightness period: from start hour to end hour at a level.
struct CBrightSlot
{
    int m_nStartHour = 0; // 0..23
    int m_nEndHour = 0;   // 0..23
    int m_nLevel = 0;     // 0..9
    int m_bEnabled = 0;
};

// One timed-power period: the screen is on from start to end.
struct CPowerSlot
{
    int m_nStartHour = 0;   // 0..23
    int m_nStartMinute = 0; // 0..59
    int m_nEndHour = 0;     // 0..23
    int m_nEndMinute = 0;   // 0..59
    int m_bEnabled = 0;
};

// One LED control card of the project: name and ID, model, how commands reach
// it, its screen parameters, the numbers to bind, the timed slots, its zones,
// its messages in play order and its own link. The card list owns the card;
// the card owns its zones, messages and link.
class CGsmCard
{
public:
    static const int kSlotCount = 4;
    static const int kMaxBindPhones = 167; // characters kept of the bind text

    CGsmCard();
    virtual ~CGsmCard();
    CGsmCard(const CGsmCard&) = delete;
    CGsmCard& operator=(const CGsmCard&) = delete;

    const QString& GetName() const { return m_strName; }
    void SetName(const QString& strName) { m_strName = strName; }

    int GetId() const { return m_nId; }
    // Only IDs of at least 1 are taken; any other value keeps the current ID.
    void SetId(int nId);

    int GetCardType() const { return m_nCardType; }
    // Takes 0 or 1 and returns the previous type; any other value changes
    // nothing and returns the current type.
    int SetCardType(int nType);

    int GetSendMode() const { return m_nSendMode; }
    // Takes 0..3 and returns the previous mode; any other value changes
    // nothing and returns the current mode.
    int SetSendMode(int nMode);

    int IsChecked() const { return m_bChecked; }
    void SetChecked(int bChecked) { m_bChecked = bChecked; }
    int GetWidth() const { return m_nWidth; }
    void SetWidth(int n) { m_nWidth = n; }
    int GetHeight() const { return m_nHeight; }
    void SetHeight(int n) { m_nHeight = n; }
    int GetColorType() const { return m_nColorType; }
    void SetColorType(int n) { m_nColorType = n; }
    int GetRowOrder() const { return m_nRowOrder; }
    void SetRowOrder(int n) { m_nRowOrder = n; }
    int GetDataPolarity() const { return m_nDataPolarity; }
    void SetDataPolarity(int n) { m_nDataPolarity = n; }
    int GetOePolarity() const { return m_nOePolarity; }
    void SetOePolarity(int n) { m_nOePolarity = n; }
    int GetScanMode() const { return m_nScanMode; }
    void SetScanMode(int n) { m_nScanMode = n; }

    const QString& GetBindPhones() const { return m_szBindPhones; }
    // A text of fewer than 2 characters keeps the stored numbers; a longer
    // one replaces them, cut to its first 167 characters.
    void SetBindPhones(const QString& strPhones);

    const QString& GetDtuPhones() const { return m_strDtuPhones; }
    const QStringList& GetDtuPhoneArray() const { return m_arrDtuPhones; }
    // Stores the text with a closing "|" and splits it into one target
    // number per "|" (empty pieces included).
    void SetDtuPhones(const QString& strPhones);

    std::array<CBrightSlot, kSlotCount>& GetBrightSlots() { return m_brightSlots; }
    const std::array<CBrightSlot, kSlotCount>& GetBrightSlots() const { return m_brightSlots; }
    std::array<CPowerSlot, kSlotCount>& GetPowerSlots() { return m_powerSlots; }
    const std::array<CPowerSlot, kSlotCount>& GetPowerSlots() const { return m_powerSlots; }

    CKxIO& GetLink() { return m_link; }

    // Zones: the list position is the zone number.
    void AddZone(CDivObj* pZone);
    void RemoveZone(CDivObj* pZone);
    void RemoveAllZones();
    const QList<CDivObj*>& GetZoneList() const { return m_lstZones; }
    int GetZoneCount() const { return int(m_lstZones.size()); }

    // Messages in play order.
    void AddPage(CGsmPage* pPage);
    void RemovePage(CGsmPage* pPage);
    void RemoveAllPages();
    const QList<CGsmPage*>& GetPageList() const { return m_lstPages; }
    QList<CGsmPage*>& GetPageList() { return m_lstPages; }
    int GetPageCount() const { return int(m_lstPages.size()); }

    // Card commands. Each writes the command text into *pCmd and returns its
    // length, or -1 when pCmd is null or there is nothing to build.
    int BuildScreenCommand(QString* pCmd) const;
    int BuildZoneCommand(QString* pCmd) const;
    int BuildBindCommand(QString* pCmd, int nOption) const;
    int BuildTimedBrightnessCommand(QString* pCmd) const; // -1: no slot enabled
    int BuildTimedPowerCommand(QString* pCmd) const;      // -1: no slot enabled

    // The two-digit code the card expects for a scan-mode entry.
    static int ScanCode(int nScanMode);

    // Sending through the card's link, to every target of its send mode (the
    // DTU numbers in the DTU modes, the card itself otherwise). Each opens
    // the link, sends, closes it and tells the user the outcome in one
    // message box. 1 when every target accepted everything, else 0. A
    // cancelled action stops at once and reports what was not sent.
    //
    // One command (a settings panel's command box); pReply, when given,
    // receives the raw reply bytes as CKxIO::SendCmd copies them.
    int SendCommand(const QString& strCmd, int nLength, char* pReply = nullptr, int nReplySize = 0);
    // A list of commands (the message commands in g_cmdList); a command
    // that fails is tried once more.
    int SendCommandList(const QStringList* pList);

private:
    void Reset();

    std::array<CBrightSlot, kSlotCount> m_brightSlots;
    std::array<CPowerSlot, kSlotCount> m_powerSlots;
    CKxIO m_link;
    int m_bChecked = 1;
    int m_nId = 1;
    QString m_strDtuPhones;
    QStringList m_arrDtuPhones;
    QString m_szBindPhones;
    QString m_strName;
    int m_nSendMode = 0;
    int m_nCardType = 0;
    QList<CDivObj*> m_lstZones;
    QList<CGsmPage*> m_lstPages;
    int m_nWidth = 64;
    int m_nHeight = 32;
    int m_nColorType = 0;
    int m_nRowOrder = 0;
    int m_nDataPolarity = 0;
    int m_nOePolarity = 1;
    int m_nScanMode = 0;
};
