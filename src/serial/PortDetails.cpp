#include "serial/PortDetails.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace zx::serial {
namespace {

constexpr int kMaxComPort = 16;
// Port, interface, device: the USB device is a few levels above the tty.
constexpr int kLevelsToUsbDevice = 6;

QString attribute(const QDir &dir, const QString &name) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(256)).trimmed();
}

// Devices named prefix + number (the number is not checked here).
QStringList numberedDevices(const QString &devRoot, const QString &prefix) {
    const QRegularExpression pattern(QStringLiteral("^%1\\d+$").arg(prefix));
    QStringList paths;
    const QDir dir(devRoot);
    const QStringList names =
        dir.entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::System);
    for (const QString &name : names)
        if (pattern.match(name).hasMatch())
            paths.append(dir.filePath(name));
    return paths;
}

// The 8250 driver creates ttyS nodes for every possible port; those without
// hardware behind them have UART type 0.
bool hasUart(const QString &sysRoot, const QString &deviceName) {
    QFile type(QStringLiteral("%1/class/tty/%2/type").arg(sysRoot, deviceName));
    if (!type.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const int value = type.readAll().trimmed().toInt(&ok);
    return ok && value != 0;
}

const char *const kGroups[] = {"ttyUSB", "ttyACM", "ttyS", "ttyAMA"};
constexpr int kUsbGroups = 2;

struct NodeName {
    int group = int(std::size(kGroups));
    qulonglong number = 0;
};

NodeName nodeName(const QString &device) {
    static const QRegularExpression pattern(QStringLiteral("^(ttyUSB|ttyACM|ttyS|ttyAMA)(\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(QFileInfo(device).fileName());
    NodeName name;
    if (!match.hasMatch())
        return name;
    for (int i = 0; i < int(std::size(kGroups)); ++i)
        if (match.captured(1) == QLatin1String(kGroups[i]))
            name.group = i;
    name.number = match.captured(2).toULongLong();
    return name;
}

// "1-2.10" after "1-2.9": runs of digits compare by value.
int naturalCompare(const QString &a, const QString &b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            // Leading zeros do not count; then the longer run is the larger number.
            qsizetype si = i, sj = j;
            while (si + 1 < ei && a[si] == QLatin1Char('0'))
                ++si;
            while (sj + 1 < ej && b[sj] == QLatin1Char('0'))
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj ? -1 : 1;
            const int c = QStringView(a).mid(si, ei - si).compare(QStringView(b).mid(sj, ej - sj));
            if (c != 0)
                return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    return (i < a.size()) - (j < b.size());
}

// "FT232R\x20USB\x20UART" as udev escapes a device's own string.
QString decodeUdevString(const QString &encoded) {
    QByteArray bytes;
    const QByteArray raw = encoded.toUtf8();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 3 < raw.size() && raw[i + 1] == 'x') {
            bool ok = false;
            const int value = raw.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                bytes.append(char(value));
                i += 3;
                continue;
            }
        }
        bytes.append(raw[i]);
    }
    return QString::fromUtf8(bytes).trimmed();
}

QString firstOf(const QMap<QString, QString> &properties, std::initializer_list<const char *> keys,
                bool encoded = false) {
    for (const char *key : keys) {
        const QString value = properties.value(QLatin1String(key));
        if (!value.isEmpty())
            return encoded ? decodeUdevString(value) : value;
    }
    return {};
}

QString byIdLinkTo(const QString &device, const QString &devRoot) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QDir byId(devRoot + QStringLiteral("/serial/by-id"));
    const QStringList names = byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        const QString link = byId.filePath(name);
        if (QFileInfo(link).canonicalFilePath() == target)
            return link;
    }
    return {};
}

} // namespace

QString PortDetails::usbId() const {
    return isUsb() ? QStringLiteral("%1:%2").arg(vendorId, productId) : QString();
}

QString PortDetails::summary() const {
    QStringList parts{device};
    if (isUsb()) {
        QStringList names;
        for (const QString &name : {manufacturer, product})
            if (!name.isEmpty())
                names << name;
        if (!names.isEmpty())
            parts << names.join(QLatin1Char(' '));
        parts << usbId();
        if (!serialNumber.isEmpty())
            parts << QStringLiteral("serial ") + serialNumber;
    }
    return parts.join(QStringLiteral("  "));
}

PortDetails sysfsPortDetails(const QString &device, const QString &sysRoot, const QString &devRoot) {
    PortDetails details;
    details.device = device;
    const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    const QString root = QFileInfo(sysRoot).canonicalFilePath();
    const QString link = QStringLiteral("%1/class/tty/%2/device").arg(sysRoot, name);
    QString path = QFileInfo(link).canonicalFilePath();
    if (!name.isEmpty() && !root.isEmpty() && path.startsWith(root + QLatin1Char('/')))
        details.location = path.mid(root.size());
    for (int level = 0; level < kLevelsToUsbDevice && !details.location.isEmpty() &&
                        path.startsWith(root + QLatin1Char('/'));
         ++level) {
        const QDir dir(path);
        if (dir.exists(QStringLiteral("idVendor"))) {
            details.vendorId = attribute(dir, QStringLiteral("idVendor"));
            details.productId = attribute(dir, QStringLiteral("idProduct"));
            details.manufacturer = attribute(dir, QStringLiteral("manufacturer"));
            details.product = attribute(dir, QStringLiteral("product"));
            details.serialNumber = attribute(dir, QStringLiteral("serial"));
            break;
        }
        path = QFileInfo(path).path();
    }
    details.byId = byIdLinkTo(device, devRoot);
    return details;
}

PortDetails udevPortDetails(const QMap<QString, QString> &properties) {
    PortDetails details;
    details.device = properties.value(QStringLiteral("DEVNAME"));
    details.vendorId = firstOf(properties, {"ID_USB_VENDOR_ID", "ID_VENDOR_ID"}).toLower();
    if (!details.vendorId.isEmpty()) {
        details.productId = firstOf(properties, {"ID_USB_MODEL_ID", "ID_MODEL_ID"}).toLower();
        // Cheap adapters give no maker's name; udev then puts the vendor id there.
        details.manufacturer = firstOf(properties, {"ID_USB_VENDOR_ENC", "ID_VENDOR_ENC"}, true);
        if (details.manufacturer.isEmpty() || details.manufacturer.toLower() == details.vendorId)
            details.manufacturer = firstOf(properties, {"ID_VENDOR_FROM_DATABASE"});
        details.product = firstOf(properties, {"ID_USB_MODEL_ENC", "ID_MODEL_ENC"}, true);
        if (details.product.isEmpty())
            details.product = firstOf(properties, {"ID_MODEL_FROM_DATABASE"});
        details.serialNumber = firstOf(properties, {"ID_USB_SERIAL_SHORT", "ID_SERIAL_SHORT"});
    }
    const QStringList links =
        properties.value(QStringLiteral("DEVLINKS")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &link : links)
        if (link.startsWith(QStringLiteral("/dev/serial/by-id/")))
            details.byId = link;
    // DEVPATH is the tty itself; its parent is what sysfs links as "device".
    QString devPath = properties.value(QStringLiteral("DEVPATH"));
    const QString ttySuffix = QStringLiteral("/tty/") + QFileInfo(details.device).fileName();
    if (devPath.endsWith(ttySuffix))
        devPath.chop(ttySuffix.size());
    else if (!devPath.isEmpty())
        devPath = QFileInfo(devPath).path();
    details.location = devPath;
    return details;
}

bool isSerialPortName(const QString &name) {
    return nodeName(name).group < int(std::size(kGroups));
}

void sortPorts(QList<PortDetails> &ports) {
    std::stable_sort(ports.begin(), ports.end(), [](const PortDetails &a, const PortDetails &b) {
        const NodeName na = nodeName(a.device);
        const NodeName nb = nodeName(b.device);
        if (na.group != nb.group)
            return na.group < nb.group;
        if (na.group < kUsbGroups) {
            // A known place first; two known places by hub port.
            if (a.location.isEmpty() != b.location.isEmpty())
                return !a.location.isEmpty();
            const int place = naturalCompare(a.location, b.location);
            if (place != 0)
                return place < 0;
        }
        if (na.number != nb.number)
            return na.number < nb.number;
        return a.device < b.device;
    });
}

QList<PortDetails> scanSerialPorts(const PortSearchRoots &roots) {
    QStringList devices;
    for (const char *prefix : kGroups)
        devices += numberedDevices(roots.dev, QLatin1String(prefix));
    QList<PortDetails> ports;
    for (const QString &device : devices) {
        const QString name = QFileInfo(device).fileName();
        if (name.startsWith(QStringLiteral("ttyS")) && !hasUart(roots.sys, name))
            continue;
        ports.append(sysfsPortDetails(device, roots.sys, roots.dev));
    }
    sortPorts(ports);
    return ports;
}

QList<ComPort> listComPorts() {
    return listComPorts(PortSearchRoots{});
}

QList<ComPort> listComPorts(const PortSearchRoots &roots) {
    QList<ComPort> ports;
    for (int n = 1; n <= kMaxComPort; ++n) {
        const QString device = resolvePortName(QStringLiteral("\\\\.\\COM%1").arg(n), roots);
        if (!device.isEmpty())
            ports.append({n, sysfsPortDetails(device, roots.sys, roots.dev)});
    }
    return ports;
}

PortDetails comPortDevice(int n, const QList<PortDetails> &ordered, const QString &portMap) {
    if (n < 1 || n > kMaxComPort)
        return {};
    const QFileInfo mapped(QStringLiteral("%1/com%2").arg(portMap).arg(n));
    if (mapped.isSymLink() || mapped.exists()) {
        // The link names a listed device by its by-id name or node.
        const QString target = mapped.symLinkTarget();
        for (const PortDetails &port : ordered)
            if (!target.isEmpty() && (target == port.byId || target == port.device))
                return port;
        if (mapped.exists()) {
            const QString device = mapped.canonicalFilePath();
            for (const PortDetails &port : ordered)
                if (QFileInfo(port.device).canonicalFilePath() == device)
                    return port;
            PortDetails other;
            other.device = device;
            return other;
        }
    }
    return n <= ordered.size() ? ordered.at(n - 1) : PortDetails{};
}

QList<ComPort> listComPorts(const QList<PortDetails> &ordered, const QString &portMap) {
    QList<ComPort> ports;
    for (int n = 1; n <= kMaxComPort; ++n) {
        const PortDetails port = comPortDevice(n, ordered, portMap);
        if (!port.device.isEmpty())
            ports.append({n, port});
    }
    return ports;
}

} // namespace zx::serial
