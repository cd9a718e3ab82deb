#include "SimCard.h"

#include "SimVocabulary.h"

#include <QDate>
#include <QJsonArray>
#include <QTime>

#include <cstring>

namespace
{
const QByteArray kOk = "E:000";
const QByteArray kUnknown = "E:002";       // no such keyword
const QByteArray kBadValue = "E:004";      // readable, but outside what the protocol allows
const QByteArray kUnreadable = "E:005";    // a letter where a digit belongs, missing separators
const QByteArray kNarrowTime = "E:006";    // time layout on a screen narrower than 80
const QByteArray kTooWide = "E:007";       // screen wider than the card drives
const QByteArray kTooHigh = "E:008";       // screen higher than the card drives
const QByteArray kTooManyPoints = "E:009"; // width x height beyond the card's memory
const QByteArray kBadLength = "E:010";     // a fixed-length command of the wrong length
const QByteArray kBadZone = "E:020";       // zone under 16 x 16 or off the screen
const QByteArray kOverlap = "E:021";       // zones overlap
const QByteArray kOrder = "E:110";         // a message whose predecessor the card lacks

const int kMaxMessageLength = 200;
const int kMaxMessageId = 399;
const int kMaxBound = 8;

bool IsDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

int ToInt(QStringView text)
{
    return text.toInt();
}

bool InSet(QChar c, const char* pszAllowed)
{
    return c.unicode() < 0x80 && std::strchr(pszAllowed, char(c.unicode())) != nullptr;
}

// Digits, "a".."z", capitals: the 36-symbol (and longer) codes of the
// message attributes, cut to how many values the field has.
QString Symbols(int nCount)
{
    static const QString s_all =
        QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return s_all.left(nCount);
}

bool Overlaps(const CSimCard::Zone& a, const CSimCard::Zone& b)
{
    return a.nX < b.nX + b.nCx && b.nX < a.nX + a.nCx && a.nY < b.nY + b.nCy && b.nY < a.nY + a.nCy;
}

// "n:" then n pieces, each ended by "|", with n from 1 to 4. Returns the
// reply code of what is wrong with that shape, or an empty code.
QByteArray SplitList(QStringView params, QList<QStringView>* pPieces)
{
    const qsizetype nColon = params.indexOf(u':');
    if (nColon <= 0 || !IsDigits(params.left(nColon)))
        return kUnreadable;
    const int nCount = ToInt(params.left(nColon));
    if (nCount < 1 || nCount > 4)
        return kBadValue;
    QStringView rest = params.mid(nColon + 1);
    if (!rest.endsWith(u'|'))
        return kUnreadable;
    rest.chop(1);
    pPieces->clear();
    for (QStringView piece : rest.split(u'|'))
        pPieces->append(piece);
    return pPieces->size() == nCount ? QByteArray() : kUnreadable;
}

// Splits "a,b,c" into digit fields; false when a field is no number.
bool Numbers(QStringView piece, QChar sep, int nFields, QList<int>* pValues)
{
    const QList<QStringView> fields = piece.split(sep);
    if (fields.size() != nFields)
        return false;
    pValues->clear();
    for (QStringView field : fields)
    {
        if (!IsDigits(field))
            return false;
        pValues->append(ToInt(field));
    }
    return true;
}

// "h:mm": hour of one or two digits, minutes of two.
bool HourMinute(QStringView text, int* pHour, int* pMinute)
{
    const qsizetype nColon = text.indexOf(u':');
    if (nColon < 1 || nColon > 2 || text.size() - nColon - 1 != 2)
        return false;
    if (!IsDigits(text.left(nColon)) || !IsDigits(text.mid(nColon + 1)))
        return false;
    *pHour = ToInt(text.left(nColon));
    *pMinute = ToInt(text.mid(nColon + 1));
    return true;
}
} // namespace

CSimCard::CSimCard() : CSimCard(0, QStringLiteral("V5.5"), Limits()) {}

CSimCard::CSimCard(int nCardType, const QString& strVersion, const Limits& limits)
    : m_nCardType(nCardType), m_strVersion(strVersion), m_limits(limits)
{
    Reset();
}

void CSimCard::Reset()
{
    m_nWidth = 64;
    m_nHeight = 32;
    m_nColorType = 1;
    m_nDataPolarity = 0;
    m_nOePolarity = 1;
    m_nScanCode = 0;
    m_nRowOrder = 0;
    m_lstZones = {Zone{0, 0, m_nWidth, m_nHeight}};
    m_mapMessages.clear();
    m_lstBound.clear();
    m_strClock.clear();
    m_nDayOfWeek = 0;
    m_nBrightness = 15;
    m_bPowerOn = true;
    m_lstTimedBrightness.clear();
    m_lstTimedPower.clear();
    m_nBuzzer = 0;
    m_nEcho = 2;
}

QByteArray CSimCard::Execute(const QString& strText, bool bExecute)
{
    const QByteArray reply = Run(strText, bExecute);
    if (bExecute && (reply == kOk || reply.startsWith("VER:")))
        ++m_nAccepted;
    return reply;
}

QByteArray CSimCard::Run(const QString& strText, bool bExecute)
{
    const SimCommandSet* pSet = nullptr;
    for (const SimCommandSet& set : SimCommandSets())
        if (strText.startsWith(set.strHeader))
            pSet = &set;
    if (!pSet)
        return QByteArray(); // not meant for this card: no answer
    m_strLastSet = pSet->strName;

    const QStringView rest = QStringView(strText).mid(pSet->strHeader.size());
    const SimKeyword* pKeyword = nullptr;
    for (const SimKeyword& keyword : pSet->keywords)
        if (rest.startsWith(keyword.strWord))
        {
            pKeyword = &keyword;
            break;
        }
    if (!pKeyword)
        return kUnknown;
    const QStringView params = rest.mid(pKeyword->strWord.size());

    switch (pKeyword->eCmd)
    {
    case SimCmd::Version:
        if (!params.isEmpty())
            return kBadLength;
        return "VER:VI-DAR " + QByteArray(m_nCardType == 1 ? "VI-DAD-A21" : "RI-ZOR-O21") + ' ' +
               m_strVersion.toLatin1();

    case SimCmd::Screen:
    {
        // "%04dx%03d,%d%d%d%02d%d"
        if (params.size() != 15)
            return kBadLength;
        if (!IsDigits(params.mid(0, 4)) || params[4] != u'x' || !IsDigits(params.mid(5, 3)) ||
            params[8] != u',' || !IsDigits(params.mid(9, 6)))
            return kUnreadable;
        const int nWidth = ToInt(params.mid(0, 4));
        const int nHeight = ToInt(params.mid(5, 3));
        const int nColor = params[9].digitValue();
        const int nData = params[10].digitValue();
        const int nOe = params[11].digitValue();
        const int nScan = ToInt(params.mid(12, 2));
        const int nRow = params[14].digitValue();
        const bool bScanKnown =
            nScan == 0 || (nScan >= 80 && nScan <= 82) || (nScan >= 41 && nScan <= 48);
        if (nWidth < 1 || nHeight < 1 || nColor < 1 || nColor > 3 || nData > 1 || nOe > 1 ||
            !bScanKnown || nRow > 2)
            return kBadValue;
        if (nWidth > m_limits.nMaxWidth)
            return kTooWide;
        if (nHeight > m_limits.nMaxHeight)
            return kTooHigh;
        if (qint64(nWidth) * nHeight > m_limits.nMaxPoints)
            return kTooManyPoints;
        if (bExecute)
        {
            m_nWidth = nWidth;
            m_nHeight = nHeight;
            m_nColorType = nColor;
            m_nDataPolarity = nData;
            m_nOePolarity = nOe;
            m_nScanCode = nScan;
            m_nRowOrder = nRow;
            // A new screen size starts again with one whole-screen zone.
            m_lstZones = {Zone{0, 0, nWidth, nHeight}};
        }
        return kOk;
    }

    case SimCmd::Zone:
    {
        QList<QStringView> pieces;
        if (const QByteArray error = SplitList(params, &pieces); !error.isEmpty())
            return error;
        QList<Zone> zones;
        for (QStringView piece : pieces)
        {
            QList<int> v;
            if (!Numbers(piece, u',', 4, &v))
                return kUnreadable;
            zones.append(Zone{v[0], v[1], v[2], v[3]});
        }
        for (const Zone& zone : zones)
            if (zone.nCx < 16 || zone.nCy < 16 || zone.nX + zone.nCx > m_nWidth ||
                zone.nY + zone.nCy > m_nHeight)
                return kBadZone;
        for (int i = 0; i < zones.size(); ++i)
            for (int j = i + 1; j < zones.size(); ++j)
                if (Overlaps(zones[i], zones[j]))
                    return kOverlap;
        if (bExecute)
            m_lstZones = zones;
        return kOk;
    }

    case SimCmd::ClockZone:
        if (!params.isEmpty())
            return kBadLength;
        if (m_nWidth - m_nHeight < 16)
            return kBadZone;
        if (bExecute)
        {
            // Zone 1 the square on the left, zone 0 the rest; a clock face at 000.
            m_lstZones = {Zone{m_nHeight, 0, m_nWidth - m_nHeight, m_nHeight},
                          Zone{0, 0, m_nHeight, m_nHeight}};
            m_mapMessages.insert(0, Message{QStringLiteral("A1101100"), QString()});
        }
        return kOk;

    case SimCmd::TimeZone:
        if (!params.isEmpty())
            return kBadLength;
        if (m_nWidth < 80)
            return kNarrowTime;
        if (bExecute)
        {
            m_lstZones = {Zone{64, 0, m_nWidth - 64, m_nHeight}, Zone{0, 0, 64, m_nHeight}};
            m_mapMessages.insert(0,
                                 Message{QStringLiteral("B1101100"), QStringLiteral("%H:%m:%S")});
        }
        return kOk;

    case SimCmd::ResetZone:
        if (!params.isEmpty())
            return kBadLength;
        if (bExecute)
            m_lstZones = {Zone{0, 0, m_nWidth, m_nHeight}};
        return kOk;

    case SimCmd::ResetAll:
        if (!params.isEmpty())
            return kBadLength;
        if (bExecute)
            Reset();
        return kOk;

    case SimCmd::Bind:
    {
        if (params.isEmpty())
            return kBadLength;
        if (!params[0].isDigit())
            return kUnreadable;
        const int nOption = params[0].digitValue();
        if (nOption > 1)
            return kBadValue;
        QStringList numbers;
        for (QStringView number : params.mid(1).split(u'|', Qt::SkipEmptyParts))
        {
            const QStringView digits = number.startsWith(u'+') ? number.mid(1) : number;
            if (!IsDigits(digits) || digits.size() > 20)
                return kUnreadable;
            numbers.append(number.toString());
        }
        if (numbers.size() > kMaxBound)
            return kBadValue;
        if (bExecute)
            m_lstBound = nOption == 1 ? numbers : QStringList();
        return kOk;
    }

    case SimCmd::Delete:
    {
        if (params.size() != 3)
            return kBadLength;
        if (!IsDigits(params))
            return kUnreadable;
        const int nId = ToInt(params);
        if (nId > kMaxMessageId)
            return kBadValue;
        if (bExecute)
            m_mapMessages.remove(nId);
        return kOk;
    }

    case SimCmd::ClearAll:
        if (!params.isEmpty())
            return kBadLength;
        if (bExecute)
            m_mapMessages.clear();
        return kOk;

    case SimCmd::Clock:
    {
        // "%04d%02d%02d%02d%02d%02d%d"
        if (params.size() != 15)
            return kBadLength;
        if (!IsDigits(params))
            return kUnreadable;
        const QDate date(ToInt(params.mid(0, 4)), ToInt(params.mid(4, 2)), ToInt(params.mid(6, 2)));
        const QTime time(ToInt(params.mid(8, 2)), ToInt(params.mid(10, 2)),
                         ToInt(params.mid(12, 2)));
        const int nDay = params[14].digitValue();
        if (!date.isValid() || !time.isValid() || nDay < 1 || nDay > 7)
            return kBadValue;
        if (bExecute)
        {
            m_strClock = date.toString(Qt::ISODate) + u' ' + time.toString(Qt::ISODate);
            m_nDayOfWeek = nDay;
        }
        return kOk;
    }

    case SimCmd::Brightness:
    {
        if (params.size() != 1)
            return kBadLength;
        const QChar c = params[0];
        int nLevel = -1;
        if (c >= u'0' && c <= u'9')
            nLevel = c.digitValue();
        else if (c >= u'A' && c <= u'F')
            nLevel = 10 + (c.unicode() - u'A');
        if (nLevel < 0)
            return kBadValue;
        if (bExecute)
            m_nBrightness = nLevel;
        return kOk;
    }

    case SimCmd::PowerOn:
    case SimCmd::PowerOff:
        if (!params.isEmpty())
            return kBadLength;
        if (bExecute)
            m_bPowerOn = pKeyword->eCmd == SimCmd::PowerOn;
        return kOk;

    case SimCmd::Power:
    {
        if (params.size() != 3)
            return kBadLength;
        if (!IsDigits(params))
            return kUnreadable;
        const int nState = ToInt(params);
        if (nState > 1)
            return kBadValue;
        if (bExecute)
            m_bPowerOn = nState == 1;
        return kOk;
    }

    case SimCmd::TimedBrightness:
    {
        QList<QStringView> pieces;
        if (const QByteArray error = SplitList(params, &pieces); !error.isEmpty())
            return error;
        QList<QList<int>> periods;
        for (QStringView piece : pieces)
        {
            QList<int> v;
            if (!Numbers(piece, u',', 3, &v))
                return kUnreadable;
            if (v[0] > 23 || v[1] > 23 || v[2] > 9)
                return kBadValue;
            periods.append(v);
        }
        if (bExecute)
            m_lstTimedBrightness = periods;
        return kOk;
    }

    case SimCmd::TimedPower:
    {
        QList<QStringView> pieces;
        if (const QByteArray error = SplitList(params, &pieces); !error.isEmpty())
            return error;
        QStringList periods;
        for (QStringView piece : pieces)
        {
            const QList<QStringView> ends = piece.split(u',');
            int h1 = 0, m1 = 0, h2 = 0, m2 = 0;
            if (ends.size() != 2 || !HourMinute(ends[0], &h1, &m1) ||
                !HourMinute(ends[1], &h2, &m2))
                return kUnreadable;
            if (h1 > 23 || h2 > 23 || m1 > 59 || m2 > 59)
                return kBadValue;
            periods.append(QString::asprintf("%d:%02d-%d:%02d", h1, m1, h2, m2));
        }
        if (bExecute)
            m_lstTimedPower = periods;
        return kOk;
    }

    case SimCmd::Echo:
    {
        if (params.size() != 2)
            return kBadLength;
        if (!IsDigits(params))
            return kUnreadable;
        const int nBuzzer = params[0].digitValue();
        const int nEcho = params[1].digitValue();
        if (nBuzzer > 3 || nEcho > 3)
            return kBadValue;
        if (bExecute)
        {
            m_nBuzzer = nBuzzer;
            m_nEcho = nEcho;
        }
        return kOk;
    }

    case SimCmd::Message:
    {
        if (params.size() < 11 || strText.size() > kMaxMessageLength)
            return kBadLength;
        if (!IsDigits(params.left(3)))
            return kUnreadable;
        const int nId = ToInt(params.left(3));
        const QStringView attributes = params.mid(3, 8);
        const QChar cType = attributes[0];
        const bool bKnown =
            InSet(cType, "0AB") && Symbols(45).contains(attributes[1]) &&
            Symbols(36).contains(attributes[2]) &&
            QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWX").contains(attributes[3]) &&
            InSet(attributes[4], "123") && InSet(attributes[5], "0123") &&
            InSet(attributes[6], "0123") && Symbols(55).contains(attributes[7]);
        if (!bKnown)
            return kBadValue;
        if (nId > 0 && !m_mapMessages.contains(nId - 1))
            return kOrder;
        if (bExecute)
            m_mapMessages.insert(nId, Message{attributes.toString(), params.mid(11).toString()});
        return kOk;
    }
    }
    return kUnknown;
}

QJsonObject CSimCard::ToJson() const
{
    QJsonObject screen{{QStringLiteral("width"), m_nWidth},
                       {QStringLiteral("height"), m_nHeight},
                       {QStringLiteral("colorType"), m_nColorType},
                       {QStringLiteral("dataPolarity"), m_nDataPolarity},
                       {QStringLiteral("oePolarity"), m_nOePolarity},
                       {QStringLiteral("scanCode"), m_nScanCode},
                       {QStringLiteral("rowOrder"), m_nRowOrder}};
    QJsonArray zones;
    for (const Zone& zone : m_lstZones)
        zones.append(QJsonObject{{QStringLiteral("x"), zone.nX},
                                 {QStringLiteral("y"), zone.nY},
                                 {QStringLiteral("cx"), zone.nCx},
                                 {QStringLiteral("cy"), zone.nCy}});
    QJsonObject messages;
    for (auto it = m_mapMessages.cbegin(); it != m_mapMessages.cend(); ++it)
    {
        const QString& a = it->strAttributes;
        messages.insert(QString::asprintf("%03d", it.key()),
                        QJsonObject{{QStringLiteral("attributes"), a},
                                    {QStringLiteral("type"), a.mid(0, 1)},
                                    {QStringLiteral("effect"), a.mid(1, 1)},
                                    {QStringLiteral("speed"), a.mid(2, 1)},
                                    {QStringLiteral("stay"), a.mid(3, 1)},
                                    {QStringLiteral("color"), a.mid(4, 1)},
                                    {QStringLiteral("zone"), a.mid(5, 1)},
                                    {QStringLiteral("font"), a.mid(6, 1)},
                                    {QStringLiteral("border"), a.mid(7, 1)},
                                    {QStringLiteral("body"), it->strBody}});
    }
    QJsonArray brightness;
    for (const QList<int>& period : m_lstTimedBrightness)
        brightness.append(QJsonArray{period[0], period[1], period[2]});
    return QJsonObject{
        {QStringLiteral("cardType"), m_nCardType == 1 ? "VI-DAD-A21" : "RI-ZOR-O21"},
        {QStringLiteral("commandSet"), m_strLastSet},
        {QStringLiteral("accepted"), m_nAccepted},
        {QStringLiteral("screen"), screen},
        {QStringLiteral("zones"), zones},
        {QStringLiteral("messages"), messages},
        {QStringLiteral("bound"), QJsonArray::fromStringList(m_lstBound)},
        {QStringLiteral("clock"), m_strClock},
        {QStringLiteral("dayOfWeek"), m_nDayOfWeek},
        {QStringLiteral("brightness"), m_nBrightness},
        {QStringLiteral("power"), m_bPowerOn ? "on" : "off"},
        {QStringLiteral("timedBrightness"), brightness},
        {QStringLiteral("timedPower"), QJsonArray::fromStringList(m_lstTimedPower)},
        {QStringLiteral("buzzer"), m_nBuzzer},
        {QStringLiteral("echo"), m_nEcho},
    };
}

QString CSimCard::RulesText()
{
    return QStringLiteral(
        "How the simulated card answers (our reading of the card's reply codes):\n"
        "  A text that does not begin with a command header (\"朔禾\" or \"*#1\") gets\n"
        "  no answer. Both command sets are understood, in GBK and in UTF-16LE.\n"
        "  Version query: \"VER:VI-DAR <card type> <version>\".\n"
        "  E:000  accepted and carried out.\n"
        "  E:002  unknown keyword after the header.\n"
        "  E:010  wrong length: screen (15 parameter characters), clock (15), delete (3),\n"
        "         brightness (1), echo (2), English power (3); parameters after a\n"
        "         command that takes none; a message command under 11 parameter\n"
        "         characters or over 200 characters in all.\n"
        "  E:005  unreadable: a non-digit where a number belongs, missing \"x\", \",\",\n"
        "         \":\" or \"|\", a list whose count and entries differ.\n"
        "  E:004  outside the protocol: colour type not 1..3, polarity not 0/1, unknown\n"
        "         scan code, row order over 2, size 0, brightness not 0-9/A-F, power\n"
        "         state not 0/1, zone or period count not 1..4, hour over 23, minute\n"
        "         over 59, level over 9, buzzer or echo over 3, invalid date or day of\n"
        "         week, bind option not 0/1 or more than 8 numbers, delete ID over 399,\n"
        "         a message attribute character outside its table.\n"
        "  E:007/E:008/E:009  screen wider than --max-width, higher than --max-height,\n"
        "         or with more points than --max-points.\n"
        "  E:020  a zone under 16x16 or reaching off the screen (also the clock-face\n"
        "         layout when less than 16 columns would remain).\n"
        "  E:021  two zones overlap.\n"
        "  E:006  time layout on a screen narrower than 80.\n"
        "  E:110  message ID n > 0 while the card holds no message n-1.\n"
        "  New screen parameters leave one whole-screen zone. The clock-face layout\n"
        "  makes zone 1 a square on the left and zone 0 the rest, the time layout\n"
        "  zone 1 64 wide on the left; both put a message of zone 1 at ID 000.\n"
        "  The echo level is kept in the state but every command is answered.\n");
}
