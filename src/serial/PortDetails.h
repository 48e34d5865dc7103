#pragma once
// What is known about the device behind a serial port: for a USB adapter or
// modem, its vendor and product, its serial number and its stable
// /dev/serial/by-id name. sysfs, udev or a recorded list of udev properties
// fill the same struct (see PortSource.h).
#include "serial/PortNames.h"

#include <QList>
#include <QMap>
#include <QString>

namespace zx::serial {

struct PortDetails {
    QString device;       // the device the port opens
    QString vendorId;     // four hexadecimal digits, "0403"; empty when not USB
    QString productId;    // "6001"
    QString manufacturer; // names as the device gives them, may be empty
    QString product;
    QString serialNumber;
    QString byId;     // /dev/serial/by-id/... link to the device; empty when none
    QString location; // sysfs path of the tty's parent: the same hub port gives the same path

    bool isUsb() const { return !vendorId.isEmpty(); }
    // "0403:6001", or empty.
    QString usbId() const;
    // One line for people: "ttyUSB0  FTDI FT232R USB UART  0403:6001  serial A50285BI".
    QString summary() const;
};

// The USB device above /sys/class/tty/<name of device>/device, if any, and
// the by-id link under devRoot/serial/by-id that points at the device.
PortDetails sysfsPortDetails(const QString &device,
                             const QString &sysRoot = QStringLiteral("/sys"),
                             const QString &devRoot = QStringLiteral("/dev"));

// The same from a udev property set (udevadm info --query=property): DEVNAME,
// DEVPATH, DEVLINKS, ID_VENDOR_ID, ID_MODEL_ID, ID_VENDOR_FROM_DATABASE or
// ID_VENDOR_ENC, ID_MODEL_FROM_DATABASE or ID_MODEL_ENC, ID_SERIAL_SHORT.
PortDetails udevPortDetails(const QMap<QString, QString> &properties);

// Whether a tty of this name is a serial port the tool offers (ttyUSB*,
// ttyACM*, ttyS*, ttyAMA*); the caller checks that a ttyS has a UART.
bool isSerialPortName(const QString &name);

// USB adapters, then USB modems (ACM), then on-board ports. Within a group by
// where the device sits (hub port), so that adapters on a hub keep their
// order whatever order they were plugged in; devices with no known place by
// their number.
void sortPorts(QList<PortDetails> &ports);

// The serial devices present under roots, with their details, in port order.
QList<PortDetails> scanSerialPorts(const PortSearchRoots &roots = {});

struct ComPort {
    int number = 0; // n of "ComN"
    PortDetails details;
};

// Com1..Com16 that open a device on this machine, in order.
QList<ComPort> listComPorts();
QList<ComPort> listComPorts(const PortSearchRoots &roots);

// The same for a known list of present devices (in port order): ComN is the
// device its port-map link names (a link to a by-id name or node of a listed
// device, or to any existing file), else the n-th listed device.
QList<ComPort> listComPorts(const QList<PortDetails> &ordered, const QString &portMap);
PortDetails comPortDevice(int n, const QList<PortDetails> &ordered, const QString &portMap);

} // namespace zx::serial
