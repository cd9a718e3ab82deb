#include "Pub/KxStr.h"

#include "MutliLang/LanguageManager.h"
#include "Pub/KxStrTable.h"

CKxStr::CKxStr(int nId, int nCapacity)
{
    if (auto text = g_langManager.FindString(nId - 40000))
    {
        m_strText = *text;
        return;
    }
    if (const char16_t* builtin = KxBuiltinString(nId))
    {
        QString text = QString::fromUtf16(builtin);
        m_strText = text.left(qMax(0, nCapacity - 1));
    }
}

CKxStr::~CKxStr() = default;
