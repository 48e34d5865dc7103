#pragma once
// Why a port could not be opened, in words a user can act on.
#include <QString>

namespace zx::serial {

enum class PortErrorKind {
    None,
    NoDevice,         // nothing stands for the port, or the device is gone
    PermissionDenied, // the user may not open serial devices
    Busy,             // another program holds the port
    Other,
};

struct PortError {
    PortErrorKind kind = PortErrorKind::None;
    QString device;      // what was opened; empty when no device stands for the port
    QString systemText;  // the system's own message, for the kinds without advice
};

// The kind of an errno value left by a failed open, lock or exclusive claim.
PortErrorKind portErrorKindOf(int errorNumber);

// The status-bar text for a port that could not be opened, e.g.
// "Com3 could not be opened: permission denied (/dev/ttyUSB0). Add your user
// to the \"dialout\" group ..."; portLabel is the port as the user chose it.
QString portErrorText(const QString &portLabel, const PortError &error);

} // namespace zx::serial
