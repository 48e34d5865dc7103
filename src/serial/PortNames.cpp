#include "serial/PortNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace zx::serial {
namespace {

constexpr int kMaxComPort = 16;

// Devices named prefix + number, in numeric order (ttyUSB2 before ttyUSB10).
QStringList numberedDevices(const QString &devRoot, const QString &prefix) {
    const QRegularExpression pattern(QStringLiteral("^%1(\\d+)$").arg(prefix));
    QList<std::pair<qulonglong, QString>> found;
    const QDir dir(devRoot);
    const QStringList names =
        dir.entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::System);
    for (const QString &name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch())
            found.append({match.captured(1).toULongLong(), dir.filePath(name)});
    }
    std::sort(found.begin(), found.end());
    QStringList paths;
    for (const auto &entry : found)
        paths.append(entry.second);
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

QString mapDirectoryOf(const PortSearchRoots &roots) {
    return roots.portMap.isEmpty() ? portMapDirectory() : roots.portMap;
}

} // namespace

QString portMapDirectory() {
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || QDir::isRelativePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/zentorix/ports");
}

QStringList presentSerialDevices() {
    return presentSerialDevices(PortSearchRoots{});
}

QStringList presentSerialDevices(const PortSearchRoots &roots) {
    QStringList devices = numberedDevices(roots.dev, QStringLiteral("ttyUSB"));
    devices += numberedDevices(roots.dev, QStringLiteral("ttyACM"));
    const QStringList onboard = numberedDevices(roots.dev, QStringLiteral("ttyS"));
    for (const QString &path : onboard) {
        if (hasUart(roots.sys, QFileInfo(path).fileName()))
            devices.append(path);
    }
    devices += numberedDevices(roots.dev, QStringLiteral("ttyAMA"));
    return devices;
}

int comPortNumber(const QString &portName) {
    static const QRegularExpression pattern(QStringLiteral("^\\\\\\\\\\.\\\\COM([1-9]\\d?)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(portName);
    if (!match.hasMatch())
        return 0;
    const int number = match.captured(1).toInt();
    return number >= 1 && number <= kMaxComPort ? number : 0;
}

QString resolvePortName(const QString &portName) {
    return resolvePortName(portName, PortSearchRoots{});
}

QString resolvePortName(const QString &portName, const PortSearchRoots &roots) {
    const int number = comPortNumber(portName);
    if (number == 0)
        return portName;
    // exists() follows the link, so a dangling one falls through.
    const QFileInfo mapped(QStringLiteral("%1/com%2").arg(mapDirectoryOf(roots)).arg(number));
    if (mapped.exists())
        return mapped.canonicalFilePath();
    const QStringList devices = presentSerialDevices(roots);
    return number <= devices.size() ? devices.at(number - 1) : QString();
}

QString describeComPort(int n) {
    return describeComPort(n, PortSearchRoots{});
}

QString describeComPort(int n, const PortSearchRoots &roots) {
    const QString device = n >= 1 && n <= kMaxComPort
                               ? resolvePortName(QStringLiteral("\\\\.\\COM%1").arg(n), roots)
                               : QString();
    return device.isEmpty() ? QStringLiteral("(none)") : device;
}

} // namespace zx::serial
