#include "PreviewFont.h"

#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"

namespace
{
const int kCardTypeLarge = 1; // VI-DAD-A21 carries the two big fonts

int CurrentCardType()
{
    return g_pCurCard ? g_pCurCard->GetCardType() : 0;
}
} // namespace

QColor ColorIndexToRgb(int nColor)
{
    switch (nColor)
    {
    case 1:
        return QColor(0, 255, 0);
    case 2:
        return QColor(255, 255, 0);
    default:
        return QColor(255, 0, 0);
    }
}

int FontIndexToHeight(int nFont)
{
    const bool bLarge = CurrentCardType() == kCardTypeLarge;
    int nBase = 16;
    switch (nFont)
    {
    case 1:
        nBase = 32;
        break;
    case 2:
        nBase = bLarge ? 48 : 16;
        break;
    case 3:
        nBase = bLarge ? 64 : 32;
        break;
    default:
        break;
    }
    return nBase * 20;
}

QString FontIndexToFace(int nFont)
{
    if (CurrentCardType() == kCardTypeLarge)
        return QString();
    switch (nFont)
    {
    case 0:
    case 1:
        return QStringLiteral("宋体");
    case 2:
    case 3:
        return QStringLiteral("黑体");
    default:
        return QString();
    }
}
