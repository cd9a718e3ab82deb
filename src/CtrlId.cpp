#include "CtrlId.h"

#include <QQueue>
#include <QVariant>
#include <QWidget>

QWidget* FindCtrl(QWidget* pDlg, int nId)
{
    if (!pDlg)
        return nullptr;
    // Breadth first: a control of the dialog itself wins over a control of
    // the same number deeper down (inside a group box or a child panel).
    QQueue<QWidget*> pending;
    pending.enqueue(pDlg);
    while (!pending.isEmpty())
    {
        QWidget* pParent = pending.dequeue();
        const QList<QWidget*> children =
            pParent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* pChild : children)
        {
            if (GetCtrlId(pChild) == nId)
                return pChild;
            pending.enqueue(pChild);
        }
    }
    return nullptr;
}

void SetCtrlId(QWidget* pCtrl, int nId)
{
    if (pCtrl)
        pCtrl->setProperty(kCtrlIdProperty, nId);
}

int GetCtrlId(const QWidget* pCtrl)
{
    if (!pCtrl)
        return 0;
    bool bOk = false;
    const int nId = pCtrl->property(kCtrlIdProperty).toInt(&bOk);
    return bOk ? nId : 0;
}
