#include "ObjectData/GsmCard.h"

#include "ObjectData/CardCommands.h"
#include "ObjectData/DivObj.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmPage.h"
#include "ObjectData/Vocabulary.h"
#include "Pub/KxStr.h"
#include "Pub/KxTrace.h"

CGsmCard::CGsmCard()
{
    Reset();
}

CGsmCard::~CGsmCard()
{
    RemoveAllPages();
    RemoveAllZones();
    qCDebug(kxModel, "CGsmCard::~CGsmCard() \r\n");
}

void CGsmCard::Reset()
{
    m_bChecked = 1;
    m_nId = 1;
    m_nSendMode = 0;
    m_nCardType = 0;
    m_nWidth = 64;
    m_nHeight = 32;
    m_nColorType = 0;
    m_nRowOrder = 0;
    m_nDataPolarity = 0;
    m_nOePolarity = 1;
    m_nScanMode = 0;
    // The prefix follows the active language; the number counts the cards
    // already in the project, whatever they are called.
    m_strName = CKxStr(42035).GetText() + QString::number(g_cardList.size() + 1);
    m_strDtuPhones.clear();
    m_szBindPhones.clear();
    RemoveAllPages();
    RemoveAllZones();
    AddZone(new CDivObj);

    m_brightSlots.fill(CBrightSlot());
    m_powerSlots.fill(CPowerSlot());
    m_brightSlots[0] = CBrightSlot{0, 23, 0, 1};
    m_powerSlots[0] = CPowerSlot{0, 0, 23, 59, 1};
}

void CGsmCard::SetId(int nId)
{
    if (nId >= 1)
        m_nId = nId;
}

int CGsmCard::SetCardType(int nType)
{
    const int nOld = m_nCardType;
    if (nType == 0 || nType == 1)
        m_nCardType = nType;
    return nOld;
}

int CGsmCard::SetSendMode(int nMode)
{
    const int nOld = m_nSendMode;
    if (nMode >= 0 && nMode <= 3)
        m_nSendMode = nMode;
    return nOld;
}

void CGsmCard::SetBindPhones(const QString& strPhones)
{
    if (strPhones.size() < 2)
        return;
    m_szBindPhones = strPhones.left(kMaxBindPhones);
}

void CGsmCard::SetDtuPhones(const QString& strPhones)
{
    m_strDtuPhones = strPhones;
    if (!m_strDtuPhones.endsWith(u'|'))
        m_strDtuPhones += u'|';

    m_arrDtuPhones.clear();
    qsizetype nStart = 0;
    for (qsizetype nBar = m_strDtuPhones.indexOf(u'|'); nBar >= 0;
         nBar = m_strDtuPhones.indexOf(u'|', nStart))
    {
        m_arrDtuPhones.append(m_strDtuPhones.mid(nStart, nBar - nStart));
        nStart = nBar + 1;
    }
}

void CGsmCard::AddZone(CDivObj* pZone)
{
    if (!pZone)
        return;
    pZone->m_nIndex = GetZoneCount();
    m_lstZones.append(pZone);
}

void CGsmCard::RemoveZone(CDivObj* pZone)
{
    if (!pZone || !m_lstZones.removeOne(pZone))
        return;
    delete pZone; // takes its editing window with it
    for (int i = 0; i < m_lstZones.size(); ++i)
        m_lstZones[i]->m_nIndex = i;
}

void CGsmCard::RemoveAllZones()
{
    qDeleteAll(m_lstZones);
    m_lstZones.clear();
}

void CGsmCard::AddPage(CGsmPage* pPage)
{
    if (pPage)
        m_lstPages.append(pPage);
}

void CGsmCard::RemovePage(CGsmPage* pPage)
{
    if (pPage && m_lstPages.removeOne(pPage))
        delete pPage;
}

void CGsmCard::RemoveAllPages()
{
    qDeleteAll(m_lstPages);
    m_lstPages.clear();
}

int CGsmCard::ScanCode(int nScanMode)
{
    static const int s_codes[12] = {0, 80, 81, 82, 41, 42, 43, 44, 45, 46, 47, 48};
    if (nScanMode < 1 || nScanMode > 11)
        return 0;
    return s_codes[nScanMode];
}

int CGsmCard::BuildScreenCommand(QString* pCmd) const
{
    return KxEmitCommand(pCmd, KxCommandHead(CMD_SCREEN) +
                                   QString::asprintf("%04dx%03d,%d%d%d%02d%d", m_nWidth, m_nHeight,
                                                     m_nColorType + 1, m_nDataPolarity,
                                                     m_nOePolarity, ScanCode(m_nScanMode),
                                                     m_nRowOrder));
}

int CGsmCard::BuildZoneCommand(QString* pCmd) const
{
    QString text = KxCommandHead(CMD_ZONE) + QString::asprintf("%d:", GetZoneCount());
    for (const CDivObj* pZone : m_lstZones)
        text += QString::asprintf("%d,%d,%d,%d|", pZone->GetX(), pZone->GetY(), pZone->GetCx(),
                                  pZone->GetCy());
    return KxEmitCommand(pCmd, text);
}

int CGsmCard::BuildBindCommand(QString* pCmd, int nOption) const
{
    return KxEmitCommand(pCmd, KxCommandHead(CMD_BIND) + QString::number(nOption) + m_szBindPhones);
}

int CGsmCard::BuildTimedBrightnessCommand(QString* pCmd) const
{
    if (!pCmd)
        return -1;
    int nCount = 0;
    QString periods;
    for (const CBrightSlot& slot : m_brightSlots)
    {
        if (!slot.m_bEnabled)
            continue;
        ++nCount;
        periods += QString::asprintf("%d,%d,%d|", slot.m_nStartHour, slot.m_nEndHour, slot.m_nLevel);
    }
    if (nCount == 0)
        return -1;
    return KxEmitCommand(pCmd, KxCommandHead(CMD_TIMED_BRIGHTNESS) + QString::number(nCount) +
                                   u':' + periods);
}

int CGsmCard::BuildTimedPowerCommand(QString* pCmd) const
{
    if (!pCmd)
        return -1;
    int nCount = 0;
    QString periods;
    for (const CPowerSlot& slot : m_powerSlots)
    {
        if (!slot.m_bEnabled)
            continue;
        ++nCount;
        periods += QString::asprintf("%d:%02d,%d:%02d|", slot.m_nStartHour, slot.m_nStartMinute,
                                     slot.m_nEndHour, slot.m_nEndMinute);
    }
    if (nCount == 0)
        return -1;
    return KxEmitCommand(pCmd, KxCommandHead(CMD_TIMED_POWER) + QString::number(nCount) + u':' +
                                   periods);
}
