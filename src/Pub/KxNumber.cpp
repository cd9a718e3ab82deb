#include "Pub/KxNumber.h"

#include <limits>

int KxStrToInt(const QString& strText)
{
    int i = 0;
    const int n = int(strText.size());
    while (i < n && (strText[i] == u' ' || strText[i] == u'\t' || strText[i] == u'\r' ||
                     strText[i] == u'\n' || strText[i] == u'\v' || strText[i] == u'\f'))
        ++i;
    bool bNegative = false;
    if (i < n && (strText[i] == u'+' || strText[i] == u'-'))
    {
        bNegative = strText[i] == u'-';
        ++i;
    }
    long long value = 0;
    const long long limit = bNegative ? -(long long)std::numeric_limits<int>::min()
                                      : std::numeric_limits<int>::max();
    for (; i < n && strText[i] >= u'0' && strText[i] <= u'9'; ++i)
    {
        value = value * 10 + (strText[i].unicode() - u'0');
        if (value > limit)
            value = limit;
    }
    return int(bNegative ? -value : value);
}
