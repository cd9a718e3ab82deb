#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The serial ports the link searches, in the order it tries them. In turn:
// the list of an installed lister (tests, the command-line tool's --port),
// the PORTS value of the settings file when the file has one, or the ports
// the system reports.
using KxPortLister = std::function<QStringList()>;

// Installs a lister (empty: none) and returns the one it replaces.
KxPortLister KxSetPortLister(KxPortLister lister);

QStringList KxListPorts();

// The system's serial ports as device paths (such as /dev/ttyUSB0), in the
// order the system reports them.
QStringList KxSystemPorts();

// The device paths of a "|"-separated list; blanks around a path are
// dropped and empty pieces skipped.
QStringList KxSplitPortList(const QString& strPorts);
