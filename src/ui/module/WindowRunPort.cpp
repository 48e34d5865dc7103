#include "ui/module/WindowRunPort.h"

#include "provision/Engine.h"
#include "remote/ModemLink.h"
#include "serial/CPDrv.h"
#include "ui/DriverPort.h"

namespace zx::ui {

bool WindowRunPort::write(const QByteArray &bytes) {
    return driver_.Connected() && bytePath_.send(bytes);
}

void WindowRunPort::takePolling(int pollMs) {
    if (!engine_ && !modem_)
        savedPollingDelay_ = driver_.PollingDelay();
    driver_.SetPollingDelay(quint16(pollMs));
}

void WindowRunPort::givePollingBack() {
    if (!engine_ && !modem_)
        driver_.SetPollingDelay(savedPollingDelay_);
}

void WindowRunPort::beginRun(provision::Engine &engine, int pollMs) {
    takePolling(pollMs);
    engine_ = &engine;
}

void WindowRunPort::endRun() {
    if (!engine_)
        return;
    engine_ = nullptr;
    givePollingBack();
}

void WindowRunPort::beginModem(remote::ModemLink &modem, int pollMs) {
    takePolling(pollMs);
    modem_ = &modem;
}

void WindowRunPort::endModem() {
    if (!modem_)
        return;
    modem_ = nullptr;
    givePollingBack();
}

bool WindowRunPort::takeReceived(const char *data, unsigned count) {
    if (engine_)
        engine_->receive(QByteArray(data, qsizetype(count)));
    else if (modem_)
        modem_->receive(QByteArray(data, qsizetype(count)));
    else
        return false;
    return true;
}

void WindowRunPort::lost(const QString &reason) {
    if (engine_)
        engine_->portLost(reason);
    else if (modem_)
        modem_->portLost(reason);
}

} // namespace zx::ui
