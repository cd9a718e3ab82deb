#pragma once

#include <QString>
#include <QStringView>

#include <pugixml.hpp>

// Element-by-element access to one XML document, as the project file and the
// language files need it. The position is three nodes: the parent level, the
// current element at that level and the current child under it. Searches only
// move forward, so a reader that asks for names in a fixed order finds the
// elements written in that order, and a failed search leaves the position
// where it was.
//
// Each instance is a short-lived local object holding one document.
class CMarkupMSXML
{
public:
    // Files larger than this are refused by LoadFile unless the caller gives
    // its own limit: every file is untrusted input and the whole document is
    // held in memory.
    static constexpr qint64 kDefaultMaxFileBytes = 64 * 1024 * 1024;

    CMarkupMSXML();
    virtual ~CMarkupMSXML();
    CMarkupMSXML(const CMarkupMSXML&) = delete;
    CMarkupMSXML& operator=(const CMarkupMSXML&) = delete;

    // Parses the file into the document and resets the position to the
    // document level. False on any error (missing, unreadable, too large,
    // malformed), with the reason and "\r\n" in m_strError and an empty
    // document.
    bool LoadFile(const QString& strPath, qint64 nMaxBytes = kDefaultMaxFileBytes);

    // Writes the document to the file through a temporary file in the same
    // folder that is renamed into place, so the previous file survives any
    // failure. False on error, with the reason in m_strError.
    bool SaveFile(const QString& strPath);

    // Searches the elements of the parent level after the current element
    // (from the first node of the level when there is none) for one named
    // strName (any element when empty). A match becomes the current element
    // and clears the current child; without a match nothing changes.
    bool FindNext(QStringView strName = {});

    // The same search among the children of the current element, after the
    // current child. At the document level without a current element the
    // document's first element is made current first.
    bool FindNextChild(QStringView strName = {});

    // One level down: the current element becomes the parent level and the
    // current child the current element. False without a current element.
    bool Enter();

    // One level up: the current element becomes the current child again.
    // False at the document level.
    bool Leave();

    // All text inside the current element (or the current child); empty when
    // there is none.
    QString GetText() const;
    QString GetChildText() const;

    // The attribute's value on the current element; empty when absent.
    QString GetAttr(QStringView strName) const;

    // Inserts a new element at the parent level directly after the current
    // element (last at the level when there is none) and makes it current. A
    // non-empty text becomes its only child text; an empty one leaves the
    // element without content.
    bool AppendElem(QStringView strName, const QString& strText = QString());
    bool AppendElem(QStringView strName, int nValue);

    // Sets the attribute on the current element to the decimal text of
    // nValue. False without a current element.
    bool SetAttr(QStringView strName, int nValue);

    // Splits strText at its first blank, tab, CR or LF into target and data,
    // and inserts a processing instruction made of them before the current
    // node (first in an empty level); it becomes the current node.
    bool AddDeclaration(const QString& strText);

    QString m_strError; // reason of the last failed load or save

private:
    static QString TextOf(const pugi::xml_node& node);
    static pugi::xml_node FindElement(pugi::xml_node node, QStringView strName);
    pugi::xml_node InsertElem(QStringView strName);

    pugi::xml_document m_doc;
    pugi::xml_node m_parent; // the level being searched; the document itself at the top
    pugi::xml_node m_cur;    // current element at that level
    pugi::xml_node m_child;  // current child under the current element
    QString m_strNamespace;  // always empty: elements are created without one
};
