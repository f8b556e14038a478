#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

// Processes events until `pronto` holds or `ms` pass; the result of the last test.
inline bool esperarAte(const std::function<bool()>& pronto, int ms = 20000) {
    QElapsedTimer t;
    t.start();
    while (!pronto()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}
