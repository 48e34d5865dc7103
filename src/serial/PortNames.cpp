#include "serial/PortNames.h"

#include "serial/PortDetails.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zx::serial {
namespace {

constexpr int kMaxComPort = 16;

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

bool rememberComPort(int n, const QString &target, QString *error, const QString &portMap) {
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (n < 1 || n > kMaxComPort)
        return fail(QStringLiteral("there is no Com%1").arg(n));
    if (!QDir().mkpath(portMap))
        return fail(QStringLiteral("cannot make the folder %1").arg(portMap));
    const QString path = QStringLiteral("%1/com%2").arg(portMap).arg(n);
    const QFileInfo existing(path);
    if (!existing.isSymLink() && (existing.exists() || existing.isDir()))
        return fail(QStringLiteral("%1 is not a link; it was left as it is").arg(path));
    const QString temporary = path + QStringLiteral(".new");
    QFile::remove(temporary);
    if (!QFile::link(target, temporary))
        return fail(QStringLiteral("cannot write %1").arg(temporary));
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temporary);
        return fail(QStringLiteral("cannot write %1: %2").arg(path, why));
    }
    return true;
}

QStringList presentSerialDevices() {
    return presentSerialDevices(PortSearchRoots{});
}

QStringList presentSerialDevices(const PortSearchRoots &roots) {
    QStringList devices;
    for (const PortDetails &port : scanSerialPorts(roots))
        devices.append(port.device);
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
