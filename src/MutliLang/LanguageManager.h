#pragma once

#include <QMap>
#include <QString>

#include <optional>

// Holds the active language's texts, keyed by UI string id - 40000. The table
// is empty while the built-in language is active, so every lookup falls back
// to the program's own string table (see CKxStr).
class CLanguageManager
{
public:
    CLanguageManager();
    virtual ~CLanguageManager();

    std::optional<QString> FindString(int nKey) const;
    void SetString(int nKey, const QString& strText);
    void ClearStrings();
    int GetStringCount() const { return int(m_mapStrings.size()); }

private:
    QMap<int, QString> m_mapStrings;
};

// The one program-wide manager, constructed before the application starts.
extern CLanguageManager g_langManager;
