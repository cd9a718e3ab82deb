#include "Pub/KxPortList.h"

#include "Pub/Settings.h"

#include <QSerialPortInfo>

namespace
{
KxPortLister& Lister()
{
    static KxPortLister s_lister;
    return s_lister;
}
} // namespace

KxPortLister KxSetPortLister(KxPortLister lister)
{
    KxPortLister old = std::move(Lister());
    Lister() = std::move(lister);
    return old;
}

QStringList KxListPorts()
{
    if (Lister())
        return Lister()();
    if (g_bPortsSet)
        return KxSplitPortList(g_strPorts);
    return KxSystemPorts();
}

QStringList KxSystemPorts()
{
    QStringList ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos)
        ports.append(info.systemLocation());
    return ports;
}

QStringList KxSplitPortList(const QString& strPorts)
{
    QStringList ports;
    const QStringList pieces = strPorts.split(u'|');
    for (const QString& piece : pieces)
    {
        const QString strPath = piece.trimmed();
        if (!strPath.isEmpty())
            ports.append(strPath);
    }
    return ports;
}
