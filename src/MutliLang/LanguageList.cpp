#include "MutliLang/LanguageList.h"

#include "Pub/KxNumber.h"
#include "Pub/KxTrace.h"
#include "Pub/MarkupMSXML.h"

#include <QDir>
#include <QFileInfo>

QMap<int, CLanguageRecord> g_langMap;

void ScanLanguageFiles(const QString& strProgramDir)
{
    g_langMap.clear();
    int nNext = kFirstLanguageCommand;

    // Sorted by name, ignoring case, the order the files show in a folder
    // window, so the menu does not change between runs.
    const QDir dir(QDir(strProgramDir).filePath(QStringLiteral("Language")));
    const QFileInfoList files =
        dir.entryInfoList({QStringLiteral("*.dll")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : files)
    {
        const QString strPath = info.absoluteFilePath();
        qCDebug(kxLang, "lang path=%s \n", qUtf8Printable(QDir::toNativeSeparators(strPath)));

        CMarkupMSXML xml;
        if (!xml.LoadFile(strPath, kMaxLanguageFileBytes) ||
            !xml.FindNext(QStringLiteral("UIString")))
            continue;
        CLanguageRecord record;
        record.strPath = strPath;
        record.strName = xml.GetAttr(QStringLiteral("name"));
        // A file without a name would give a blank menu entry the user could
        // not tell apart; its file name is the next best label.
        if (record.strName.trimmed().isEmpty())
            record.strName = info.completeBaseName();
        record.strName.truncate(kMaxLanguageNameLength);
        record.nId = KxStrToInt(xml.GetAttr(QStringLiteral("id")));
        g_langMap.insert(nNext++, record);
    }

    if (!g_langMap.isEmpty())
        g_langMap.insert(
            nNext, CLanguageRecord{kBuiltinLanguageId, QStringLiteral("简体中文(CHS)"), QString()});
}

std::optional<QString> GetLanguagePath(int nCommand)
{
    auto it = g_langMap.constFind(nCommand);
    if (it == g_langMap.constEnd())
        return std::nullopt;
    return it->strPath;
}

int GetLanguageId(int nCommand)
{
    auto it = g_langMap.constFind(nCommand);
    return it == g_langMap.constEnd() ? 0 : it->nId;
}
