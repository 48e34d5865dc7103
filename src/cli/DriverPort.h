#pragma once
// A provisioning run's port: the serial port driver, opened by the name a
// user gives ("Com3" or a device path).
#include "provision/Port.h"
#include "serial/CPDrv.h"

#include <QString>

#include <functional>

namespace zx::cli {

struct PortChoice {
    QString name; // as given: "Com3", "/dev/ttyUSB0"
    quint32 baud = 9600;
    bool evenParity = false;
};

class DriverPort final : public provision::Port {
public:
    DriverPort() = default;
    ~DriverPort() override;

    // Empty, or one line saying why the port cannot be opened.
    QString open(const PortChoice &choice);

    bool write(const QByteArray &bytes) override;
    void beginRun(provision::Engine &engine, int pollMs) override;
    void endRun() override;
    // Outside provisioning runs: what the port receives, and its loss.
    void forward(std::function<void(const QByteArray &)> receive,
                 std::function<void(const QString &)> lost);

    QString device() const { return m_driver.DeviceName(); }

private:
    TCommPortDriver m_driver;
    provision::Engine *m_engine = nullptr; // during a run
    quint16 m_savedPollingDelay = 0;
};

// "Com3" (any case) -> "\\.\COM3"; anything else stands as it is.
QString driverPortName(const QString &name);

} // namespace zx::cli
