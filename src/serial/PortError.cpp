#include "serial/PortError.h"

#include <cerrno>

namespace zx::serial {

PortErrorKind portErrorKindOf(int errorNumber) {
    switch (errorNumber) {
    case 0:
        return PortErrorKind::None;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return PortErrorKind::NoDevice;
    case EACCES:
    case EPERM:
        return PortErrorKind::PermissionDenied;
    case EBUSY:
    case EWOULDBLOCK:
        return PortErrorKind::Busy;
    default:
        return PortErrorKind::Other;
    }
}

QString portErrorText(const QString &portLabel, const PortError &error) {
    const QString start = QStringLiteral("%1 could not be opened: ").arg(portLabel);
    switch (error.kind) {
    case PortErrorKind::None:
        return {};
    case PortErrorKind::NoDevice:
        if (error.device.isEmpty())
            return start + QStringLiteral("no serial device stands for it on this machine. "
                                          "Plug the adapter in, or choose another port on "
                                          "\"Serial Port\".");
        return start + QStringLiteral("there is no device %1. Plug the adapter in, or choose "
                                      "another port on \"Serial Port\".")
                           .arg(error.device);
    case PortErrorKind::PermissionDenied:
        return start + QStringLiteral("permission denied (%1). Add your user to the \"dialout\" "
                                      "group (sudo adduser $USER dialout), then log out and in "
                                      "again.")
                           .arg(error.device);
    case PortErrorKind::Busy:
        return start + QStringLiteral("another program has %1 open. Close that program, then "
                                      "choose the port again on \"Serial Port\".")
                           .arg(error.device);
    case PortErrorKind::Other:
        break;
    }
    return start + QStringLiteral("%1. Choose the port again on \"Serial Port\", or another one.")
                       .arg(error.systemText.isEmpty() ? error.device : error.systemText);
}

} // namespace zx::serial
