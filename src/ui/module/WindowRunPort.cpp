#include "ui/module/WindowRunPort.h"

#include "provision/Engine.h"
#include "serial/CPDrv.h"
#include "ui/DriverPort.h"

namespace zx::ui {

bool WindowRunPort::write(const QByteArray &bytes) {
    return driver_.Connected() && bytePath_.send(bytes);
}

void WindowRunPort::beginRun(provision::Engine &engine, int pollMs) {
    if (!engine_)
        savedPollingDelay_ = driver_.PollingDelay();
    engine_ = &engine;
    driver_.SetPollingDelay(quint16(pollMs));
}

void WindowRunPort::endRun() {
    if (!engine_)
        return;
    engine_ = nullptr;
    driver_.SetPollingDelay(savedPollingDelay_);
}

bool WindowRunPort::takeReceived(const char *data, unsigned count) {
    if (!engine_)
        return false;
    engine_->receive(QByteArray(data, qsizetype(count)));
    return true;
}

void WindowRunPort::lost(const QString &reason) {
    if (engine_)
        engine_->portLost(reason);
}

} // namespace zx::ui
