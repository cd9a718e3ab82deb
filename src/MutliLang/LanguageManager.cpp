#include "MutliLang/LanguageManager.h"

CLanguageManager g_langManager;

CLanguageManager::CLanguageManager() = default;

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
