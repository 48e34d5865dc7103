#include "EventLoopWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

bool runEventsUntil(const std::function<bool()> &condition, int timeoutMs) {
    // Wakes the loop even when no other timer is running.
    QTimer wake;
    wake.start(2);
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() >= timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void runEventsFor(int ms) {
    runEventsUntil([] { return false; }, ms);
}
