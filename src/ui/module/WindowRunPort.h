#pragma once
// A run on the window's own serial port: a provisioning run in setting mode,
// or an SMS job that has the modem. While either lasts the bytes the port
// receives go to the run and not to the link, so the link's state and memos
// stay as they were; what goes out still passes the window's byte path and
// so the traffic log.
#include "channel/CommandChannel.h"
#include "provision/Port.h"

class TCommPortDriver;

namespace zx::remote {
class ModemLink;
}

namespace zx::ui {

class DriverPort;

class WindowRunPort final : public provision::Port, public channel::ChannelPort {
public:
    WindowRunPort(TCommPortDriver &driver, DriverPort &bytePath)
        : driver_(driver), bytePath_(bytePath) {}

    bool write(const QByteArray &bytes) override;
    void beginRun(provision::Engine &engine, int pollMs) override;
    void endRun() override;
    // The modem link of an SMS job takes what the port receives until
    // endModem().
    void beginModem(remote::ModemLink &modem, int pollMs);
    void endModem();

    bool running() const { return engine_ != nullptr; }
    bool modemTaken() const { return modem_ != nullptr; }
    // From the driver's events: true when a run took the bytes.
    bool takeReceived(const char *data, unsigned count);
    void lost(const QString &reason);

private:
    void takePolling(int pollMs);
    void givePollingBack();

    TCommPortDriver &driver_;
    DriverPort &bytePath_;
    provision::Engine *engine_ = nullptr;
    remote::ModemLink *modem_ = nullptr;
    quint16 savedPollingDelay_ = 0;
};

} // namespace zx::ui
