#include "ComboFill.h"

#include "ObjectData/Global.h"

#include <QComboBox>

int FillComboFromList(QComboBox* pCombo, const QString& strList)
{
    QStringList items;
    const int nCount = SplitComboList(strList, &items);
    if (pCombo)
    {
        pCombo->clear();
        pCombo->addItems(items);
    }
    return nCount;
}

int FillBorderCombo(QComboBox* pCombo, const QString& strList)
{
    QStringList items;
    const int nCount = SplitBorderList(strList, &items);
    if (pCombo)
    {
        pCombo->clear();
        pCombo->addItems(items);
    }
    return nCount;
}
