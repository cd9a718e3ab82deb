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
// forward. A value is either a text or an integer; integers are written as
// decimal text and read the forgiving way (KxStrToInt).
template <typename T> struct Field
{
    const char16_t* pszName;
    QString (*getText)(const T&);
    void (*setText)(T&, const QString&);
    int (*getInt)(const T&);
    void (*setInt)(T&, int);
};

template <typename T>
constexpr Field<T> Text(const char16_t* pszName, QString (*get)(const T&),
                        void (*set)(T&, const QString&))
{
    return {pszName, get, set, nullptr, nullptr};
}

template <typename T>
constexpr Field<T> Int(const char16_t* pszName, int (*get)(const T&), void (*set)(T&, int))
{
    return {pszName, nullptr, nullptr, get, set};
}

using C = CGsmCard;
using P = CGsmPage;

// Card type, send mode and ID go through their setters, which refuse values
// outside their ranges: such a value keeps the new card's default.
const Field<C> s_cardFields[] = {
    Text<C>(
        u"nm", [](const C& c) { return c.GetName(); },
        [](C& c, const QString& s) { c.SetName(s); }),
    Int<C>(
        u"id", [](const C& c) { return c.GetId(); }, [](C& c, int n) { c.SetId(n); }),
    Int<C>(
        u"ct", [](const C& c) { return c.GetCardType(); }, [](C& c, int n) { c.SetCardType(n); }),
    Int<C>(
        u"sm", [](const C& c) { return c.GetSendMode(); }, [](C& c, int n) { c.SetSendMode(n); }),
    Int<C>(
        u"chk", [](const C& c) { return c.IsChecked(); }, [](C& c, int n) { c.SetChecked(n); }),
    Int<C>(
        u"nw", [](const C& c) { return c.GetWidth(); }, [](C& c, int n) { c.SetWidth(n); }),
    Int<C>(
        u"nh", [](const C& c) { return c.GetHeight(); }, [](C& c, int n) { c.SetHeight(n); }),
    Int<C>(
        u"dp", [](const C& c) { return c.GetDataPolarity(); },
        [](C& c, int n) { c.SetDataPolarity(n); }),
    Int<C>(
        u"oe", [](const C& c) { return c.GetOePolarity(); },
        [](C& c, int n) { c.SetOePolarity(n); }),
    Int<C>(
        u"clr", [](const C& c) { return c.GetColorType(); },
        [](C& c, int n) { c.SetColorType(n); }),
    Int<C>(
        u"row", [](const C& c) { return c.GetRowOrder(); }, [](C& c, int n) { c.SetRowOrder(n); }),
    Int<C>(
        u"scan", [](const C& c) { return c.GetScanMode(); }, [](C& c, int n) { c.SetScanMode(n); }),
    // A text of fewer than 2 characters keeps the default (SetBindPhones).
    Text<C>(
        u"bph", [](const C& c) { return c.GetBindPhones(); },
        [](C& c, const QString& s) { c.SetBindPhones(s); }),
    // Stored with a closing "|" and split into the DTU targets (SetDtuPhones).
    Text<C>(
        u"dph", [](const C& c) { return c.GetDtuPhones(); },
        [](C& c, const QString& s) { c.SetDtuPhones(s); }),
};

struct ZoneField
{
    const char16_t* pszName;
    int (CDivObj::*get)() const;
    void (CDivObj::*set)(int);
};

const ZoneField s_zoneFields[] = {
    {u"x", &CDivObj::GetX, &CDivObj::SetX},
    {u"y", &CDivObj::GetY, &CDivObj::SetY},
    {u"cx", &CDivObj::GetCx, &CDivObj::SetCx},
    {u"cy", &CDivObj::GetCy, &CDivObj::SetCy},
};

// The caption "sum" is stored as it stands, not worked out again on load.
const Field<P> s_pageFields[] = {
    Int<P>(
        u"chk", [](const P& p) { return p.IsChecked(); }, [](P& p, int n) { p.SetChecked(n); }),
    Text<P>(
        u"nme", [](const P& p) { return p.GetName(); },
        [](P& p, const QString& s) { p.SetName(s); }),
    Text<P>(
        u"sum", [](const P& p) { return p.GetCaption(); },
        [](P& p, const QString& s) { p.SetCaption(s); }),
    Int<P>(
        u"clr", [](const P& p) { return p.GetColor(); }, [](P& p, int n) { p.SetColor(n); }),
    Int<P>(
        u"dly", [](const P& p) { return p.GetStay(); }, [](P& p, int n) { p.SetStay(n); }),
    Int<P>(
        u"div", [](const P& p) { return p.GetZone(); }, [](P& p, int n) { p.SetZone(n); }),
    Int<P>(
        u"edg", [](const P& p) { return p.GetBorder(); }, [](P& p, int n) { p.SetBorder(n); }),
    Int<P>(
        u"eff", [](const P& p) { return p.GetEffect(); }, [](P& p, int n) { p.SetEffect(n); }),
    Int<P>(
        u"ft", [](const P& p) { return p.GetFont(); }, [](P& p, int n) { p.SetFont(n); }),
    Int<P>(
        u"spd", [](const P& p) { return p.GetSpeed(); }, [](P& p, int n) { p.SetSpeed(n); }),
    Int<P>(
        u"type", [](const P& p) { return p.GetType(); }, [](P& p, int n) { p.SetType(n); }),
    Text<P>(
        u"cont", [](const P& p) { return p.GetContent(); },
        [](P& p, const QString& s) { p.SetContent(s); }),
    Text<P>(
        u"fmt", [](const P& p) { return p.GetTimeFormat(); },
        [](P& p, const QString& s) { p.SetTimeFormat(s); }),
};

template <typename T> void Apply(const Field<T>& f, T& target, const QString& strText)
{
    if (f.setText)
        f.setText(target, strText);
    else
        f.setInt(target, KxStrToInt(strText));
}

template <typename T> void Write(CMarkupMSXML& xml, const Field<T>& f, const T& source)
{
    if (f.getText)
        xml.AppendElem(f.pszName, f.getText(source));
    else
        xml.AppendElem(f.pszName, f.getInt(source));
}

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
    for (const Field<C>& f : s_cardFields)
    {
        if (xml.FindNext(f.pszName))
            Apply(f, *pCard, xml.GetText());
    }

    // The new card's default zone is not part of the project.
    pCard->RemoveAllZones();
    while (xml.FindNext(QStringLiteral("zone")))
    {
        auto* pZone = new CDivObj;
        pCard->AddZone(pZone);
        for (const ZoneField& f : s_zoneFields)
        {
            if (xml.FindNextChild(f.pszName))
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
        for (const Field<P>& f : s_pageFields)
        {
            if (xml.FindNextChild(f.pszName))
                Apply(f, *pPage, xml.GetChildText());
        }
    }
}
} // namespace

QString DefaultProjectPath(const QString& strProgramDir)
{
    return QDir(strProgramDir).filePath(QLatin1String(kProjectFileName));
}

KxProjectLoad LoadProject(const QString& strPath, bool bKeepAside)
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
        if (bKeepAside)
            result.strKeptAs = KeepAside(strPath, &strWhy);
        if (bKeepAside && result.strKeptAs.isEmpty())
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
        for (const Field<C>& f : s_cardFields)
            Write(xml, f, *pCard);
        for (const CDivObj* pZone : pCard->GetZoneList())
        {
            xml.AppendElem(QStringLiteral("zone"));
            xml.Enter();
            for (const ZoneField& f : s_zoneFields)
                xml.AppendElem(f.pszName, (pZone->*f.get)());
            xml.Leave();
        }
        for (const CGsmPage* pPage : pCard->GetPageList())
        {
            xml.AppendElem(QStringLiteral("gsmpage"));
            xml.Enter();
            for (const Field<P>& f : s_pageFields)
                Write(xml, f, *pPage);
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
