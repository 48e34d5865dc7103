#pragma once
// The serial ports as udev knows them: an enumeration of the tty subsystem,
// then a udev monitor whose socket is watched on the event loop.
#include "serial/PortSource.h"

class QSocketNotifier;
struct udev;
struct udev_device;
struct udev_monitor;

namespace zx::serial {

class UdevPortSource : public PortSource {
    Q_OBJECT
public:
    // Check isValid(): without udev running, there is nothing to monitor.
    explicit UdevPortSource(QObject *parent = nullptr);
    ~UdevPortSource() override;
    bool isValid() const { return monitor_ != nullptr; }
    QString kind() const override { return QStringLiteral("udev"); }

    // Whether udev runs on this machine.
    static bool running();

private:
    void receive();
    // The device's properties when it is a serial port the tool offers.
    bool serialPortProperties(udev_device *device, QMap<QString, QString> &properties) const;

    udev *udev_ = nullptr;
    udev_monitor *monitor_ = nullptr;
    QSocketNotifier *notifier_ = nullptr;
};

} // namespace zx::serial
