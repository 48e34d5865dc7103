#pragma once
// Windows-style port names ("\\.\COM1") on a POSIX machine: COMn is the
// device the user mapped in ~/.config/zentorix/ports/comN, or else the n-th
// serial device present. Any other name is a device path as it stands.
#include <QString>
#include <QStringList>

namespace zx::serial {

// Where the file system is looked at; tests point these into a temp dir.
struct PortSearchRoots {
    QString dev = QStringLiteral("/dev");
    QString sys = QStringLiteral("/sys");
    QString portMap; // empty: portMapDirectory()
};

// ${XDG_CONFIG_HOME:-~/.config}/zentorix/ports
QString portMapDirectory();

// Makes "ComN" open target from now on: portMap/comN becomes a symlink to
// it (the folder is made when missing). An existing link is replaced in one
// step; any other file there is kept and the call fails with the reason in
// error.
bool rememberComPort(int n, const QString &target, QString *error = nullptr,
                     const QString &portMap = portMapDirectory());

// USB serial adapters, then USB modems (ACM), then on-board ports (see
// sortPorts in PortDetails.h for the order within a group).
QStringList presentSerialDevices();
QStringList presentSerialDevices(const PortSearchRoots &roots);

// n for "\\.\COMn" with n in 1..16, otherwise 0.
int comPortNumber(const QString &portName);

// The device to open for portName; empty when a COM name has no device.
QString resolvePortName(const QString &portName);
QString resolvePortName(const QString &portName, const PortSearchRoots &roots);

// The device COMn stands for, or "(none)".
QString describeComPort(int n);
QString describeComPort(int n, const PortSearchRoots &roots);

} // namespace zx::serial
