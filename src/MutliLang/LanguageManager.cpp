#include "MutliLang/LanguageManager.h"

#include "MutliLang/LanguageList.h"
#include "Pub/KxNumber.h"
#include "Pub/MarkupMSXML.h"
#include "Pub/Settings.h"

#include <initializer_list>

namespace
{
struct Binding
{
    quint16 nCtrl;
    quint16 nString;
};

// One dialog's part of the binding table. nCaption is the UI string of the
// dialog's own caption, or 0 for a group that starts with a separator.
struct BindingGroup
{
    int nGroup;
    quint16 nCaption;
    std::initializer_list<Binding> bindings;
};

// The groups in table order; each one's entries follow the previous group's
// without a gap. Groups 0, 13 and 14 are empty, and the main window uses none.
const BindingGroup s_groups[] = {
    // toolbar (CDlgMenu)
    {1,
     0,
     {{1005, 41003},
      {1006, 41004},
      {1007, 41005},
      {1012, 41006},
      {1013, 41007},
      {1008, 41008},
      {1009, 41009},
      {1010, 41010},
      {1011, 41011},
      {1016, 41012},
      {1017, 41013}}},
    // card settings bar (CDlgButton)
    {2, 0, {{1000, 41014}, {1001, 41015}, {1002, 41016}, {1003, 41017}, {1004, 41018}}},
    // project tree (CDlgLeft)
    {3, 0, {}},
    // message editor (CDlgMsg)
    {4,
     0,
     {{1027, 41019},
      {1028, 41020},
      {1029, 41021},
      {1030, 41022},
      {1031, 41023},
      {1032, 41024},
      {1033, 41025},
      {1034, 41026},
      {1036, 41027},
      {1040, 41028},
      {1057, 41029},
      {1058, 41030},
      {1133, 41031},
      {1134, 41032}}},
    // screen parameters panel (CDlgScreen)
    {5,
     0,
     {{1029, 41021},
      {1050, 41033},
      {1052, 41034},
      {1053, 41035},
      {1055, 41036},
      {1051, 41037},
      {1054, 41038},
      {1062, 41039},
      {1036, 41027},
      {1068, 41040},
      {1069, 41041},
      {1067, 41042}}},
    // zone editor (CDlgDiv)
    {6,
     0,
     {{1119, 41043},
      {1120, 41044},
      {1125, 41045},
      {1127, 41046},
      {1126, 41047},
      {1128, 41048},
      {1036, 41027},
      {1129, 41039},
      {1131, 41049},
      {1138, 41077},
      {1139, 41078},
      {1141, 41079},
      {1184, 41087}}},
    // number binding panel (CDlgBind)
    {7,
     0,
     {{1070, 41050},
      {1090, 41051},
      {1071, 41052},
      {1073, 41053},
      {1075, 41054},
      {1077, 41055},
      {1079, 41056},
      {1081, 41057},
      {1083, 41058},
      {1085, 41059},
      {1091, 41060},
      {1088, 41061},
      {1036, 41027}}},
    // more settings panel (CDlgMore)
    {8,
     0,
     {{1092, 41062},
      {1112, 41063},
      {1095, 41064},
      {1096, 41005},
      {1113, 41065},
      {1100, 41066},
      {1114, 41067},
      {1103, 41039},
      {1115, 41068},
      {1106, 41039},
      {1116, 41069},
      {1117, 41070},
      {1110, 41039},
      {1142, 41080},
      {1140, 41081},
      {1144, 41080},
      {1143, 41081},
      {1182, 41086}}},
    // password dialog (CDlgPwd)
    {9, 41071, {{1, 41002}, {2, 41072}, {1136, 41073}}},
    // screen information panel (CDlgScrInfo)
    {10,
     0,
     {{1049, 41074},
      {1029, 41021},
      {1050, 41033},
      {1052, 41034},
      {1053, 41035},
      {1055, 41036},
      {1051, 41037},
      {1054, 41038},
      {1056, 41075},
      {1048, 41076}}},
    // timed settings dialog (CDlgAuto)
    {11, 41085, {{1, 41002}, {2, 41072}, {1162, 41082}, {1163, 41083}, {1164, 41084}}},
    // export dialog (CDlgInst)
    {12, 41088, {{1, 41002}, {2, 41072}, {1185, 41089}, {1186, 41090}}},
};

quint32 Entry(quint16 nString, quint16 nCtrl)
{
    return (quint32(nString) << 16) | nCtrl;
}
} // namespace

// Defined after the table it is built from, which this file initialises first.
CLanguageManager g_langManager;

CLanguageManager::CLanguageManager()
{
    int nIndex = 0;
    for (const BindingGroup& g : s_groups)
    {
        const int nFirst = nIndex;
        m_arrBindings[nIndex++] = g.nCaption ? Entry(g.nCaption, kCaptionControl) : kSeparator;
        for (const Binding& b : g.bindings)
            m_arrBindings[nIndex++] = Entry(b.nString, b.nCtrl);
        m_arrGroups[g.nGroup] = (quint32(nIndex - nFirst) << 16) | quint32(nFirst);
    }
}

CLanguageManager::~CLanguageManager()
{
    ClearStrings();
}

std::optional<QString> CLanguageManager::FindString(int nKey) const
{
    auto it = m_mapStrings.constFind(nKey);
    if (it == m_mapStrings.constEnd())
        return std::nullopt;
    return *it;
}

void CLanguageManager::SetString(int nKey, const QString& strText)
{
    m_mapStrings.insert(nKey, strText);
}

void CLanguageManager::ClearStrings()
{
    m_mapStrings.clear();
}

bool CLanguageManager::ActivateLanguage(int nCommand)
{
    const std::optional<QString> strPath = GetLanguagePath(nCommand);
    if (!strPath)
        return false;
    ClearStrings();
    const bool bLoaded = LoadLanguageFile(*strPath);
    // A file that fails to load leaves the built-in texts showing, so the
    // language saved at exit must be the built-in one too.
    g_nLang = bLoaded ? GetLanguageId(nCommand) : kBuiltinLanguageId;
    return true;
}

bool CLanguageManager::LoadLanguageFile(const QString& strPath)
{
    if (strPath.isEmpty())
        return false; // the built-in language has no file

    CMarkupMSXML xml;
    if (!xml.LoadFile(strPath, kMaxLanguageFileBytes) || !xml.FindNext(QStringLiteral("UIString")))
        return false;

    const QString strItems = QStringLiteral("Items");
    const QString strItem = QStringLiteral("Item");
    const QString strId = QStringLiteral("id");
    xml.Enter();
    while (xml.FindNext(strItems))
    {
        xml.Enter();
        while (xml.FindNext(strItem))
        {
            // An item without a usable id lands under key 0, which no text uses.
            const int nKey = KxStrToInt(xml.GetAttr(strId));
            QString strText = xml.GetText();
            strText.truncate(kMaxTextLength);
            SetString(nKey, strText);
        }
        xml.Leave();
    }
    xml.Leave();
    return true;
}

quint32 CLanguageManager::GetBinding(int nIndex) const
{
    if (nIndex < 0 || nIndex >= kBindingSize)
        return 0;
    return m_arrBindings[size_t(nIndex)];
}

quint32 CLanguageManager::GetGroupWord(int nGroup) const
{
    if (nGroup < 0 || nGroup >= kGroupCount)
        return 0;
    return m_arrGroups[size_t(nGroup)];
}
