#pragma once

#include <QMap>
#include <QString>

#include <array>
#include <optional>

// Holds the active language's texts, keyed by UI string id - 40000, and the
// fixed table that tells for each dialog which control shows which UI string.
// The text table is empty while the built-in language is active, so every
// lookup falls back to the program's own string table (see CKxStr) and every
// dialog keeps its template texts.
class CLanguageManager
{
public:
    static constexpr int kBindingSize = 200; // entries of the binding table (120 used)
    static constexpr int kGroupCount = 15;   // dialog groups 0..14
    // A binding entry: UI string id in the high 16 bits, control id in the
    // low 16 bits; control id kCaptionControl stands for the dialog's own
    // caption. An entry with all bits set separates the groups.
    static constexpr quint32 kSeparator = 0xFFFFFFFFu;
    static constexpr quint16 kCaptionControl = 0xFFFF;
    // Longest text taken from a language file; a real one is a few hundred
    // characters, and every text is held in memory.
    static constexpr int kMaxTextLength = 16384;

    CLanguageManager();
    virtual ~CLanguageManager();
    CLanguageManager(const CLanguageManager&) = delete;
    CLanguageManager& operator=(const CLanguageManager&) = delete;

    std::optional<QString> FindString(int nKey) const;
    void SetString(int nKey, const QString& strText);
    void ClearStrings();
    int GetStringCount() const { return int(m_mapStrings.size()); }

    // Makes the language behind a menu command (see g_langMap) the active one
    // and sets g_nLang to its id, or to 2052 when its file cannot be loaded
    // (the built-in texts then show). False only for an unknown command.
    bool ActivateLanguage(int nCommand);

    // Adds one file's texts to the table, a later item replacing an earlier
    // one of the same key. False for an empty path (the built-in language),
    // a file that is no XML document or whose root is not "UIString".
    bool LoadLanguageFile(const QString& strPath);

    // Entry nIndex of the binding table (0 outside it).
    quint32 GetBinding(int nIndex) const;
    // The directory word of a dialog group: index of its first entry in the
    // low 16 bits, its entry count (the leading separator or caption entry
    // included) in the high 16 bits; 0 for an empty group or outside 0..14.
    quint32 GetGroupWord(int nGroup) const;

private:
    QMap<int, QString> m_mapStrings;
    std::array<quint32, kBindingSize> m_arrBindings{};
    std::array<quint32, kGroupCount> m_arrGroups{};
};

// The one program-wide manager, constructed before the application starts.
extern CLanguageManager g_langManager;
