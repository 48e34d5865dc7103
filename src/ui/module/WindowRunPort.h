#pragma once
// A provisioning run on the window's own serial port. While a run lasts the
// bytes the port receives go to the run and not to the link, so the link's
// state and memos stay as they were; what goes out still passes the window's
// byte path and so the traffic log.
#include "provision/Port.h"

class TCommPortDriver;

namespace zx::ui {

class DriverPort;

class WindowRunPort final : public provision::Port {
public:
    WindowRunPort(TCommPortDriver &driver, DriverPort &bytePath)
        : driver_(driver), bytePath_(bytePath) {}

    bool write(const QByteArray &bytes) override;
    void beginRun(provision::Engine &engine, int pollMs) override;
    void endRun() override;

    bool running() const { return engine_ != nullptr; }
    // From the driver's events: true when a run took the bytes.
    bool takeReceived(const char *data, unsigned count);
    void lost(const QString &reason);

private:
    TCommPortDriver &driver_;
    DriverPort &bytePath_;
    provision::Engine *engine_ = nullptr;
    quint16 savedPollingDelay_ = 0;
};

} // namespace zx::ui
