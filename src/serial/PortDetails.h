#pragma once
// What is known about the device behind a serial port: for a USB adapter or
// modem, its vendor and product and its serial number. Read from sysfs here;
// other sources (udev) can fill the same struct.
#include "serial/PortNames.h"

#include <QList>
#include <QString>

namespace zx::serial {

struct PortDetails {
    QString device;       // the device the port opens
    QString vendorId;     // four hexadecimal digits, "0403"; empty when not USB
    QString productId;    // "6001"
    QString manufacturer; // names as the device gives them, may be empty
    QString product;
    QString serialNumber;

    bool isUsb() const { return !vendorId.isEmpty(); }
};

// The USB device above /sys/class/tty/<name of device>/device, if any.
PortDetails sysfsPortDetails(const QString &device,
                             const QString &sysRoot = QStringLiteral("/sys"));

struct ComPort {
    int number = 0; // n of "ComN"
    PortDetails details;
};

// Com1..Com16 that open a device on this machine, in order.
QList<ComPort> listComPorts();
QList<ComPort> listComPorts(const PortSearchRoots &roots);

} // namespace zx::serial
