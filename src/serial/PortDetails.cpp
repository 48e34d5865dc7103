#include "serial/PortDetails.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

} // namespace

PortDetails sysfsPortDetails(const QString &device, const QString &sysRoot) {
    PortDetails details;
    details.device = device;
    const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    const QString root = QFileInfo(sysRoot).canonicalFilePath();
    const QString link = QStringLiteral("%1/class/tty/%2/device").arg(sysRoot, name);
    QString path = QFileInfo(link).canonicalFilePath();
    for (int level = 0; level < kLevelsToUsbDevice && !name.isEmpty() && !root.isEmpty() &&
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
    return details;
}

QList<ComPort> listComPorts() {
    return listComPorts(PortSearchRoots{});
}

QList<ComPort> listComPorts(const PortSearchRoots &roots) {
    QList<ComPort> ports;
    for (int n = 1; n <= kMaxComPort; ++n) {
        const QString device = resolvePortName(QStringLiteral("\\\\.\\COM%1").arg(n), roots);
        if (!device.isEmpty())
            ports.append({n, sysfsPortDetails(device, roots.sys)});
    }
    return ports;
}

} // namespace zx::serial
