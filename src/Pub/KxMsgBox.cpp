#include "Pub/KxMsgBox.h"

#include <QDebug>

namespace
{
KxMsgSink& Sink()
{
    static KxMsgSink s_sink;
    return s_sink;
}
} // namespace

KxMsgSink KxSetMsgSink(KxMsgSink sink)
{
    KxMsgSink old = std::move(Sink());
    Sink() = std::move(sink);
    return old;
}

void KxMessageBox(const QString& strText, KxMsgIcon icon)
{
    if (Sink())
    {
        Sink()(strText, icon);
        return;
    }
    qWarning().noquote() << strText;
}
