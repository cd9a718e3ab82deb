#pragma once

// Driving a modal dialog from a test: the dialog's exec() holds the test
// until the dialog closes, so the steps inside it run from a timer that
// waits for the dialog to be open.

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

// Owns the pending watches; EndWatches() drops those that found no dialog,
// so none of them acts in a later test.
inline QObject* Watches()
{
    static QObject* s_pWatches = new QObject;
    return s_pWatches;
}
inline void EndWatches()
{
    qDeleteAll(Watches()->children());
}

// Runs fn on the modal dialog of type T as soon as it is open.
template <typename T> void WhenModal(std::function<void(T*)> fn)
{
    auto* pTimer = new QTimer(Watches());
    pTimer->setInterval(5);
    QObject::connect(pTimer, &QTimer::timeout, pTimer,
                     [pTimer, fn]()
                     {
                         T* pDlg = qobject_cast<T*>(QApplication::activeModalWidget());
                         if (!pDlg || !pDlg->isVisible())
                             return;
                         pTimer->stop();
                         pTimer->deleteLater();
                         fn(pDlg);
                     });
    pTimer->start();
}
