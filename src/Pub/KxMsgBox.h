#pragma once

#include <QString>

#include <functional>

enum class KxMsgIcon
{
    Information,
    Warning,
    Error
};

// Every message box of the program goes through here. The GUI installs a sink
// that shows a real box, the command-line tool one that prints a record, and
// tests one that records what would have been shown.
using KxMsgSink = std::function<void(const QString& strText, KxMsgIcon icon)>;

// Installs a sink and returns the one it replaces (an empty sink writes to
// the debug output).
KxMsgSink KxSetMsgSink(KxMsgSink sink);
void KxMessageBox(const QString& strText, KxMsgIcon icon);
