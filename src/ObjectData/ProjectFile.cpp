#include "ObjectData/ProjectFile.h"

#include "ObjectData/DivObj.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "Pub/KxNumber.h"
#include "Pub/MarkupMSXML.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

int g_nProjectVer = 0;

namespace
{
const char kProjectFileName[] = "default.gsmprj";

// The values of a card, a zone and a message, in the order they are written.
// The reader looks for them in the same order, because its searches only move
// forward.
struct CardField
{
    const char* pszName;
    QString (*get)(const CGsmCard&);
    void (*set)(CGsmCard&, const QString&);
};

QString Num(int n)
{
    return QString::number(n);
}

// Card type, send mode and ID go through their setters, which refuse values
// outside their ranges: such a value keeps the new card's default.
const CardField s_cardFields[] = {
    {"nm", [](const CGsmCard& c) { return c.GetName(); },
     [](CGsmCard& c, const QString& s) { c.SetName(s); }},
    {"id", [](const CGsmCard& c) { return Num(c.GetId()); },
     [](CGsmCard& c, const QString& s) { c.SetId(KxStrToInt(s)); }},
    {"ct", [](const CGsmCard& c) { return Num(c.GetCardType()); },
     [](CGsmCard& c, const QString& s) { c.SetCardType(KxStrToInt(s)); }},
    {"sm", [](const CGsmCard& c) { return Num(c.GetSendMode()); },
     [](CGsmCard& c, const QString& s) { c.SetSendMode(KxStrToInt(s)); }},
    {"chk", [](const CGsmCard& c) { return Num(c.IsChecked()); },
     [](CGsmCard& c, const QString& s) { c.SetChecked(KxStrToInt(s)); }},
    {"nw", [](const CGsmCard& c) { return Num(c.GetWidth()); },
     [](CGsmCard& c, const QString& s) { c.SetWidth(KxStrToInt(s)); }},
    {"nh", [](const CGsmCard& c) { return Num(c.GetHeight()); },
     [](CGsmCard& c, const QString& s) { c.SetHeight(KxStrToInt(s)); }},
    {"dp", [](const CGsmCard& c) { return Num(c.GetDataPolarity()); },
     [](CGsmCard& c, const QString& s) { c.SetDataPolarity(KxStrToInt(s)); }},
    {"oe", [](const CGsmCard& c) { return Num(c.GetOePolarity()); },
     [](CGsmCard& c, const QString& s) { c.SetOePolarity(KxStrToInt(s)); }},
    {"clr", [](const CGsmCard& c) { return Num(c.GetColorType()); },
     [](CGsmCard& c, const QString& s) { c.SetColorType(KxStrToInt(s)); }},
    {"row", [](const CGsmCard& c) { return Num(c.GetRowOrder()); },
     [](CGsmCard& c, const QString& s) { c.SetRowOrder(KxStrToInt(s)); }},
    {"scan", [](const CGsmCard& c) { return Num(c.GetScanMode()); },
     [](CGsmCard& c, const QString& s) { c.SetScanMode(KxStrToInt(s)); }},
    {"bph", [](const CGsmCard& c) { return c.GetBindPhones(); },
     [](CGsmCard& c, const QString& s) { c.SetBindPhones(s); }},
    {"dph", [](const CGsmCard& c) { return c.GetDtuPhones(); },
     [](CGsmCard& c, const QString& s) { c.SetDtuPhones(s); }},
};

struct ZoneField
{
    const char* pszName;
    int (CDivObj::*get)() const;
    void (CDivObj::*set)(int);
};

const ZoneField s_zoneFields[] = {
    {"x", &CDivObj::GetX, &CDivObj::SetX},
    {"y", &CDivObj::GetY, &CDivObj::SetY},
    {"cx", &CDivObj::GetCx, &CDivObj::SetCx},
    {"cy", &CDivObj::GetCy, &CDivObj::SetCy},
};

struct PageField
{
    const char* pszName;
    QString (*get)(const CGsmPage&);
    void (*set)(CGsmPage&, const QString&);
};

const PageField s_pageFields[] = {
    {"chk", [](const CGsmPage& p) { return Num(p.IsChecked()); },
     [](CGsmPage& p, const QString& s) { p.SetChecked(KxStrToInt(s)); }},
    {"nme", [](const CGsmPage& p) { return p.GetName(); },
     [](CGsmPage& p, const QString& s) { p.SetName(s); }},
    {"sum", [](const CGsmPage& p) { return p.GetCaption(); },
     [](CGsmPage& p, const QString& s) { p.SetCaption(s); }},
    {"clr", [](const CGsmPage& p) { return Num(p.GetColor()); },
     [](CGsmPage& p, const QString& s) { p.SetColor(KxStrToInt(s)); }},
    {"dly", [](const CGsmPage& p) { return Num(p.GetStay()); },
     [](CGsmPage& p, const QString& s) { p.SetStay(KxStrToInt(s)); }},
    {"div", [](const CGsmPage& p) { return Num(p.GetZone()); },
     [](CGsmPage& p, const QString& s) { p.SetZone(KxStrToInt(s)); }},
    {"edg", [](const CGsmPage& p) { return Num(p.GetBorder()); },
     [](CGsmPage& p, const QString& s) { p.SetBorder(KxStrToInt(s)); }},
    {"eff", [](const CGsmPage& p) { return Num(p.GetEffect()); },
     [](CGsmPage& p, const QString& s) { p.SetEffect(KxStrToInt(s)); }},
    {"ft", [](const CGsmPage& p) { return Num(p.GetFont()); },
     [](CGsmPage& p, const QString& s) { p.SetFont(KxStrToInt(s)); }},
    {"spd", [](const CGsmPage& p) { return Num(p.GetSpeed()); },
     [](CGsmPage& p, const QString& s) { p.SetSpeed(KxStrToInt(s)); }},
    {"type", [](const CGsmPage& p) { return Num(p.GetType()); },
     [](CGsmPage& p, const QString& s) { p.SetType(KxStrToInt(s)); }},
    {"cont", [](const CGsmPage& p) { return p.GetContent(); },
     [](CGsmPage& p, const QString& s) { p.SetContent(s); }},
    {"fmt", [](const CGsmPage& p) { return p.GetTimeFormat(); },
     [](CGsmPage& p, const QString& s) { p.SetTimeFormat(s); }},
};

void StartWithDefaultCard()
{
    RemoveAllCards();
    g_cardList.append(new CGsmCard);
    g_nProjectVer = 0;
}

// Moves a file that could not be used out of the way, so that saving at exit
// cannot overwrite what may be the user's only copy of the project.
QString KeepAside(const QString& strPath, QString* pError)
{
    const QString strBase =
        strPath + QStringLiteral(".unreadable-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QFile file(strPath);
    for (int n = 0; n < 100; ++n)
    {
        const QString strTarget = n == 0 ? strBase : strBase + u'-' + QString::number(n);
        if (QFileInfo::exists(strTarget))
            continue;
        if (file.rename(strTarget))
            return strTarget;
        break;
    }
    *pError = file.errorString();
    return QString();
}

void ReadCard(CMarkupMSXML& xml, CGsmCard* pCard)
{
    for (const CardField& f : s_cardFields)
    {
        if (xml.FindNext(QLatin1String(f.pszName)))
            f.set(*pCard, xml.GetText());
    }

    // The new card's default zone is not part of the project.
    pCard->RemoveAllZones();
    while (xml.FindNext(QStringLiteral("zone")))
    {
        auto* pZone = new CDivObj;
        pCard->AddZone(pZone);
        for (const ZoneField& f : s_zoneFields)
        {
            if (xml.FindNextChild(QLatin1String(f.pszName)))
                (pZone->*f.set)(KxStrToInt(xml.GetChildText()));
        }
    }

    pCard->RemoveAllPages();
    while (xml.FindNext(QStringLiteral("gsmpage")))
    {
        // Created before it is appended, so its default name counts the
        // messages loaded before it.
        auto* pPage = new CGsmPage(pCard);
        pCard->AddPage(pPage);
        for (const PageField& f : s_pageFields)
        {
            if (xml.FindNextChild(QLatin1String(f.pszName)))
                f.set(*pPage, xml.GetChildText());
        }
    }
}
} // namespace

QString DefaultProjectPath(const QString& strProgramDir)
{
    return QDir(strProgramDir).filePath(QLatin1String(kProjectFileName));
}

KxProjectLoad LoadProject(const QString& strPath)
{
    KxProjectLoad result;
    if (!QFileInfo(strPath).exists())
    {
        // First run: nothing to tell the user.
        result.eStatus = KxProjectLoad::Missing;
        StartWithDefaultCard();
        return result;
    }

    CMarkupMSXML xml;
    bool bUsable = xml.LoadFile(strPath);
    if (!bUsable)
        result.strError = xml.m_strError.trimmed();
    else if (!xml.FindNext(QStringLiteral("project")))
    {
        bUsable = false;
        result.strError = QStringLiteral("The file has no \"project\" element.");
    }
    if (!bUsable)
    {
        result.eStatus = KxProjectLoad::Unreadable;
        QString strWhy;
        result.strKeptAs = KeepAside(strPath, &strWhy);
        if (result.strKeptAs.isEmpty())
            result.strError += QStringLiteral(" It could not be kept aside: %1").arg(strWhy);
        StartWithDefaultCard();
        return result;
    }

    g_nProjectVer = KxStrToInt(xml.GetAttr(QStringLiteral("ver")));
    xml.Enter();
    RemoveAllCards();
    while (xml.FindNext(QStringLiteral("gsmcard")))
    {
        xml.Enter();
        // Appended at once, so its default name counts the cards before it.
        auto* pCard = new CGsmCard;
        g_cardList.append(pCard);
        ReadCard(xml, pCard);
        xml.Leave();
    }
    xml.Leave();
    result.eStatus = KxProjectLoad::Loaded;
    return result;
}

bool SaveProject(const QString& strPath, QString* pError)
{
    CMarkupMSXML xml;
    xml.AddDeclaration(QStringLiteral("xml version = \"1.0\""));
    xml.AppendElem(QStringLiteral("project"));
    xml.SetAttr(QStringLiteral("ver"), g_nProjectVer);
    xml.Enter();
    for (const CGsmCard* pCard : qAsConst(g_cardList))
    {
        xml.AppendElem(QStringLiteral("gsmcard"));
        xml.Enter();
        for (const CardField& f : s_cardFields)
            xml.AppendElem(QLatin1String(f.pszName), f.get(*pCard));
        for (const CDivObj* pZone : pCard->GetZoneList())
        {
            xml.AppendElem(QStringLiteral("zone"));
            xml.Enter();
            for (const ZoneField& f : s_zoneFields)
                xml.AppendElem(QLatin1String(f.pszName), (pZone->*f.get)());
            xml.Leave();
        }
        for (const CGsmPage* pPage : pCard->GetPageList())
        {
            xml.AppendElem(QStringLiteral("gsmpage"));
            xml.Enter();
            for (const PageField& f : s_pageFields)
                xml.AppendElem(QLatin1String(f.pszName), f.get(*pPage));
            xml.Leave();
        }
        xml.Leave();
    }
    xml.Leave();

    if (xml.SaveFile(strPath))
        return true;
    if (pError)
        *pError = xml.m_strError;
    return false;
}
