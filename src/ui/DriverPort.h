#pragma once
#include "link/LinkPort.h"
#include "traffic/TrafficLog.h"

#include <functional>

class TCommPortDriver;

namespace zx::ui {

// The link's view of the real serial port driver, and the window's one byte
// path: what goes out here and what the driver hands to received() is kept in
// the traffic log.
class DriverPort : public link::LinkPort {
public:
    DriverPort(TCommPortDriver &driver, traffic::TrafficLog &traffic)
        : driver_(driver), traffic_(traffic) {}
    bool connect() override;
    bool connected() const override;
    void write(const QByteArray &bytes) override;
    bool send(const QByteArray &bytes) override;
    void writeByte(char byte) override;
    void setPollingDelay(int ms) override;
    void setOutputTimeout(int ms) override;
    // While a vanished port is awaited, nothing opens a port by itself: the
    // same name may lead to another device meanwhile.
    void hold(bool held) { held_ = held; }
    // A chunk the driver read, before the link sees it.
    void received(const char *data, unsigned count);
    // Called whenever bytes go out or come in.
    std::function<void()> onActivity;

private:
    TCommPortDriver &driver_;
    traffic::TrafficLog &traffic_;
    bool held_ = false;
};

} // namespace zx::ui
