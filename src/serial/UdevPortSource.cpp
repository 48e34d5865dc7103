#include "serial/UdevPortSource.h"

#include <QFileInfo>
#include <QSocketNotifier>

#include <libudev.h>

namespace zx::serial {
namespace {

QString text(const char *value) { return value ? QString::fromUtf8(value) : QString(); }

} // namespace

bool UdevPortSource::running() {
    // What libudev itself looks at to tell whether udevd runs.
    return QFileInfo::exists(QStringLiteral("/run/udev/control"));
}

UdevPortSource::UdevPortSource(QObject *parent) : PortSource(parent) {
    udev_ = udev_new();
    if (!udev_)
        return;
    udev_monitor *monitor = udev_monitor_new_from_netlink(udev_, "udev");
    if (!monitor)
        return;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        return;
    }
    monitor_ = monitor;
    notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &UdevPortSource::receive);

    // The monitor listens before the enumeration, so that nothing falls between.
    udev_enumerate *enumerate = udev_enumerate_new(udev_);
    if (!enumerate)
        return;
    udev_enumerate_add_match_subsystem(enumerate, "tty");
    udev_enumerate_scan_devices(enumerate);
    udev_list_entry *entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
        udev_device *device = udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry));
        if (!device)
            continue;
        QMap<QString, QString> properties;
        if (serialPortProperties(device, properties))
            add(udevPortDetails(properties));
        udev_device_unref(device);
    }
    udev_enumerate_unref(enumerate);
}

UdevPortSource::~UdevPortSource() {
    delete notifier_;
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
}

bool UdevPortSource::serialPortProperties(udev_device *device,
                                          QMap<QString, QString> &properties) const {
    const QString node = text(udev_device_get_devnode(device));
    const QString name = QFileInfo(node).fileName();
    if (!isSerialPortName(name))
        return false;
    // Every possible 8250 port has a node; only those with a UART are ports.
    if (name.startsWith(QStringLiteral("ttyS"))) {
        const QString type = text(udev_device_get_sysattr_value(device, "type"));
        if (type.trimmed().toInt() == 0)
            return false;
    }
    udev_list_entry *entry = nullptr;
    udev_list_entry_foreach(entry, udev_device_get_properties_list_entry(device))
        properties.insert(text(udev_list_entry_get_name(entry)),
                          text(udev_list_entry_get_value(entry)));
    properties.insert(QStringLiteral("DEVNAME"), node);
    return true;
}

void UdevPortSource::receive() {
    udev_device *device = udev_monitor_receive_device(monitor_);
    if (!device)
        return;
    const QString action = text(udev_device_get_action(device));
    if (action == QStringLiteral("remove")) {
        remove(text(udev_device_get_devnode(device)));
    } else if (action == QStringLiteral("add") || action == QStringLiteral("change")) {
        QMap<QString, QString> properties;
        if (serialPortProperties(device, properties))
            add(udevPortDetails(properties));
    }
    udev_device_unref(device);
}

} // namespace zx::serial
