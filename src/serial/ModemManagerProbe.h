#pragma once
// Whether ModemManager holds a serial device for one of its modems. On a
// Linux desktop it probes every USB modem it sees and keeps the ports open,
// so the tool finds the port busy, or the modem's answers taken, and the
// user is not told why.
#include "serial/PortDetails.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace zx::serial {

// A modem object as ModemManager lists it (org.freedesktop.ModemManager1.Modem).
struct ManagedModem {
    QString path;        // its D-Bus object path
    QString manufacturer;
    QString model;
    QString primaryPort; // "ttyUSB2"
    QString device;      // the sysfs path of the modem's USB device
    QStringList ports;   // every port it uses: "ttyUSB2", "wwan0", ...
};

struct ModemManagerOwner {
    bool owned = false;
    ManagedModem modem;
    QString port; // the owned port, as ModemManager names it

    // "Quectel EC25"; empty when the modem gives no names.
    QString modemName() const;
};

// The tty a device path stands for, symbolic links followed even when the
// device is absent: "/dev/serial/by-id/usb-..." -> "ttyUSB2".
QString ttyNameOf(const QString &device);

// The modem among modems that uses the tty.
ModemManagerOwner ownerOf(const QString &ttyName, const QList<ManagedModem> &modems);

// The status-bar advice when ModemManager owns the device: it names
// ModemManager and the modem and gives the udev rule that makes ModemManager
// leave the device alone (by USB vendor and product when details has them,
// else by the tty's name), and how to apply it. Nothing is changed here.
QString modemManagerAdvice(const ModemManagerOwner &owner, const PortDetails &details);

class ModemManagerProbe : public QObject {
    Q_OBJECT
public:
    explicit ModemManagerProbe(QObject *parent = nullptr);

    // Asks ModemManager on the system bus (DBUS_SYSTEM_BUS_ADDRESS, if set)
    // without waiting for the answer. answered() follows from the event loop,
    // "not owned" when there is no system bus, no ModemManager on it (it is
    // not started for the question) or no answer within timeoutMs.
    void probe(const QString &device, int timeoutMs = 5000);

signals:
    void answered(const QString &device, const zx::serial::ModemManagerOwner &owner);

private:
    void finish(const QString &device, const ModemManagerOwner &owner);
};

// Probes the device and, only when ModemManager owns it, hands the advice to
// show, with the device's details read from sysfs. The probe is a child of
// context until it has answered.
void adviseWhenModemManagerOwns(QObject *context, const QString &device,
                                const std::function<void(const QString &advice)> &show);

} // namespace zx::serial
