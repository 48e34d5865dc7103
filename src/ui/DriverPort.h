#pragma once
#include "link/LinkPort.h"

class TCommPortDriver;

namespace zx::ui {

// The link's view of the real serial port driver.
class DriverPort : public link::LinkPort {
public:
    explicit DriverPort(TCommPortDriver &driver) : driver_(driver) {}
    bool connect() override;
    bool connected() const override;
    void write(const QByteArray &bytes) override;
    void writeByte(char byte) override;
    void setPollingDelay(int ms) override;
    void setOutputTimeout(int ms) override;
    // While a vanished port is awaited, nothing opens a port by itself: the
    // same name may lead to another device meanwhile.
    void hold(bool held) { held_ = held; }

private:
    TCommPortDriver &driver_;
    bool held_ = false;
};

} // namespace zx::ui
