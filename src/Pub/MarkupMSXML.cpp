#include "Pub/MarkupMSXML.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace
{
// Text is kept as it stands: a whitespace-only value survives when it is the
// element's only content (a name of blanks), while the indentation between
// elements is dropped; line ends inside values are not rewritten, so a text
// with CR LF comes back as it was saved.
const unsigned int kParseOptions =
    (pugi::parse_default & ~pugi::parse_eol) | pugi::parse_ws_pcdata_single;

// The declaration is written by AddDeclaration as a node of its own, so the
// library must not add a second one.
const unsigned int kSaveOptions = pugi::format_indent | pugi::format_no_declaration;

QString WithLineEnd(const QString& strText)
{
    return strText + QStringLiteral("\r\n");
}

// Streams the document into the temporary file and remembers a short write.
class CDeviceWriter : public pugi::xml_writer
{
public:
    explicit CDeviceWriter(QIODevice* pDevice) : m_pDevice(pDevice) {}
    void write(const void* pData, size_t nSize) override
    {
        if (m_bFailed)
            return;
        if (m_pDevice->write(static_cast<const char*>(pData), qint64(nSize)) != qint64(nSize))
            m_bFailed = true;
    }
    bool Failed() const { return m_bFailed; }

private:
    QIODevice* m_pDevice;
    bool m_bFailed = false;
};

// QSaveFile sometimes has no words for a failed rename; the system's own
// reason is more use to the person who has to fix the folder.
QString SaveFileReason(const QSaveFile& file, int nErrno)
{
    QString strReason = file.errorString();
    if ((strReason.isEmpty() || strReason == QLatin1String("Unknown error")) && nErrno != 0)
        strReason = QString::fromLocal8Bit(std::strerror(nErrno));
    if (strReason.isEmpty())
        strReason = QStringLiteral("Unknown error");
    return strReason;
}
} // namespace

CMarkupMSXML::CMarkupMSXML() : m_parent(m_doc) {}

CMarkupMSXML::~CMarkupMSXML() = default;

bool CMarkupMSXML::LoadFile(const QString& strPath, qint64 nMaxBytes)
{
    m_doc.reset();
    m_parent = m_doc;
    m_cur = pugi::xml_node();
    m_child = pugi::xml_node();
    m_strError.clear();

    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
    {
        m_strError = WithLineEnd(file.errorString());
        return false;
    }
    const qint64 nSize = file.size();
    if (nSize > nMaxBytes)
    {
        m_strError = WithLineEnd(QStringLiteral("The file is too large (%1 bytes, at most %2).")
                                     .arg(nSize)
                                     .arg(nMaxBytes));
        return false;
    }
    if (nSize == 0)
    {
        m_strError = WithLineEnd(QStringLiteral("The file is empty."));
        return false;
    }

    // The document takes the buffer over and parses it in place, so a large
    // project is held once, not twice.
    void* pBuffer = pugi::get_memory_allocation_function()(size_t(nSize));
    if (!pBuffer)
    {
        m_strError = WithLineEnd(QStringLiteral("Out of memory."));
        return false;
    }
    if (file.read(static_cast<char*>(pBuffer), nSize) != nSize)
    {
        pugi::get_memory_deallocation_function()(pBuffer);
        m_strError = WithLineEnd(file.errorString());
        return false;
    }

    const pugi::xml_parse_result result =
        m_doc.load_buffer_inplace_own(pBuffer, size_t(nSize), kParseOptions, pugi::encoding_auto);
    if (!result)
    {
        m_doc.reset();
        m_parent = m_doc;
        m_strError = WithLineEnd(QStringLiteral("%1 (at byte %2)")
                                     .arg(QString::fromUtf8(result.description()))
                                     .arg(qint64(result.offset)));
        return false;
    }
    return true;
}

bool CMarkupMSXML::SaveFile(const QString& strPath)
{
    m_strError.clear();
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
    {
        m_strError = SaveFileReason(file, errno);
        return false;
    }
    CDeviceWriter writer(&file);
    m_doc.save(writer, "  ", kSaveOptions, pugi::encoding_utf8);
    if (writer.Failed())
    {
        m_strError = SaveFileReason(file, errno);
        file.cancelWriting();
        return false;
    }
    errno = 0;
    if (!file.commit())
    {
        m_strError = SaveFileReason(file, errno);
        return false;
    }
    return true;
}

// The first element from node on (node included) whose name is strName, or
// any element when strName is empty. Names are compared without converting
// them, since the project reader asks for some hundred thousand of them.
pugi::xml_node CMarkupMSXML::FindElement(pugi::xml_node node, QStringView strName)
{
    bool bAscii = true;
    for (QChar ch : strName)
        bAscii = bAscii && ch.unicode() < 0x80;
    const QByteArray utf8 = bAscii ? QByteArray() : strName.toUtf8();

    for (; node; node = node.next_sibling())
    {
        if (node.type() != pugi::node_element)
            continue;
        if (strName.isEmpty())
            return node;
        const char* psz = node.name();
        if (!bAscii)
        {
            if (std::strcmp(psz, utf8.constData()) == 0)
                return node;
            continue;
        }
        qsizetype i = 0;
        while (i < strName.size() && psz[i] == char(strName[i].unicode()))
            ++i;
        if (i == strName.size() && psz[i] == '\0')
            return node;
    }
    return pugi::xml_node();
}

bool CMarkupMSXML::FindNext(QStringView strName)
{
    const pugi::xml_node node =
        FindElement(m_cur ? m_cur.next_sibling() : m_parent.first_child(), strName);
    if (!node)
        return false;
    m_cur = node;
    m_child = pugi::xml_node();
    return true;
}

bool CMarkupMSXML::FindNextChild(QStringView strName)
{
    if (!m_cur && m_parent == m_doc)
        m_cur = m_doc.document_element();
    if (!m_cur || m_cur.type() != pugi::node_element)
        return false;
    const pugi::xml_node node =
        FindElement(m_child ? m_child.next_sibling() : m_cur.first_child(), strName);
    if (!node)
        return false;
    m_child = node;
    return true;
}

bool CMarkupMSXML::Enter()
{
    if (!m_cur || m_cur.type() != pugi::node_element)
        return false;
    m_parent = m_cur;
    m_cur = m_child;
    m_child = pugi::xml_node();
    return true;
}

bool CMarkupMSXML::Leave()
{
    if (m_parent == m_doc || !m_parent)
        return false;
    m_child = m_cur;
    m_cur = m_parent;
    m_parent = m_parent.parent();
    return true;
}

QString CMarkupMSXML::TextOf(const pugi::xml_node& node)
{
    if (!node)
        return QString();
    const pugi::xml_node first = node.first_child();
    if (first && !first.next_sibling() &&
        (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return QString::fromUtf8(first.value()); // the usual case: one text, nothing else
    // Walk the subtree without recursion: a deeply nested file must not be
    // able to exhaust the stack.
    QByteArray text;
    pugi::xml_node cur = node.first_child();
    while (cur)
    {
        if (cur.type() == pugi::node_pcdata || cur.type() == pugi::node_cdata)
            text += cur.value();
        if (cur.first_child())
        {
            cur = cur.first_child();
            continue;
        }
        while (cur && cur != node && !cur.next_sibling())
            cur = cur.parent();
        if (!cur || cur == node)
            break;
        cur = cur.next_sibling();
    }
    return QString::fromUtf8(text);
}

QString CMarkupMSXML::GetText() const
{
    return TextOf(m_cur);
}

QString CMarkupMSXML::GetChildText() const
{
    return TextOf(m_child);
}

QString CMarkupMSXML::GetAttr(QStringView strName) const
{
    if (!m_cur)
        return QString();
    const pugi::xml_attribute attr = m_cur.attribute(strName.toUtf8().constData());
    if (!attr)
        return QString();
    return QString::fromUtf8(attr.value());
}

pugi::xml_node CMarkupMSXML::InsertElem(QStringView strName)
{
    if (!m_parent || strName.isEmpty())
        return pugi::xml_node();
    pugi::xml_node elem = m_cur ? m_parent.insert_child_after(pugi::node_element, m_cur)
                                : m_parent.append_child(pugi::node_element);
    if (!elem)
        return elem;
    // Element names are short and plain; they skip the general conversion.
    char szName[64];
    qsizetype i = 0;
    for (; i < strName.size() && i < qsizetype(sizeof(szName)) - 1; ++i)
    {
        if (strName[i].unicode() >= 0x80)
            break;
        szName[i] = char(strName[i].unicode());
    }
    if (i == strName.size())
    {
        szName[i] = '\0';
        elem.set_name(szName);
    }
    else
        elem.set_name(strName.toUtf8().constData());
    m_cur = elem;
    m_child = pugi::xml_node();
    return elem;
}

bool CMarkupMSXML::AppendElem(QStringView strName, const QString& strText)
{
    pugi::xml_node elem = InsertElem(strName);
    if (!elem)
        return false;
    if (!strText.isEmpty())
        elem.append_child(pugi::node_pcdata).set_value(strText.toUtf8().constData());
    return true;
}

bool CMarkupMSXML::AppendElem(QStringView strName, int nValue)
{
    pugi::xml_node elem = InsertElem(strName);
    return elem && elem.text().set(nValue); // decimal text, as "%d" writes it
}

bool CMarkupMSXML::SetAttr(QStringView strName, int nValue)
{
    if (!m_cur || m_cur.type() != pugi::node_element || strName.isEmpty())
        return false;
    const QByteArray name = strName.toUtf8();
    pugi::xml_attribute attr = m_cur.attribute(name.constData());
    if (!attr)
        attr = m_cur.append_attribute(name.constData());
    return attr.set_value(nValue);
}

bool CMarkupMSXML::AddDeclaration(const QString& strText)
{
    if (!m_parent)
        return false;
    qsizetype nSplit = 0;
    while (nSplit < strText.size() && strText[nSplit] != u' ' && strText[nSplit] != u'\t' &&
           strText[nSplit] != u'\r' && strText[nSplit] != u'\n')
        ++nSplit;
    const QString strTarget = strText.left(nSplit);
    const QString strData = strText.mid(nSplit + 1);
    if (strTarget.isEmpty())
        return false;

    pugi::xml_node pi = m_cur ? m_parent.insert_child_before(pugi::node_pi, m_cur)
                              : m_parent.prepend_child(pugi::node_pi);
    if (!pi)
        return false;
    pi.set_name(strTarget.toUtf8().constData());
    pi.set_value(strData.toUtf8().constData());
    m_cur = pi;
    m_child = pugi::xml_node();
    return true;
}
