#pragma once

#include <QString>

// One UI text fetched by its id: the active language's text when it has one,
// the built-in text otherwise. Built-in texts are cut to (capacity - 1)
// characters, as a fixed buffer would cut them; a language text is always
// returned whole. An id known to neither table gives an empty text.
class CKxStr
{
public:
    explicit CKxStr(int nId, int nCapacity = 256);
    virtual ~CKxStr();

    const QString& GetText() const { return m_strText; }
    operator const QString&() const { return m_strText; }

private:
    QString m_strText;
};
