#pragma once
// The line settings the driver hands to a backend in one piece.
#include "serial/SerialTypes.h"

namespace zx::serial {

struct LineSettings {
    quint32 speed = 0; // bits per second
    TDataBits dataBits = db8BITS;
    TParity parity = ptNONE;
    TStopBits stopBits = sb1BITS;
    bool dtr = false;
    bool rts = false;
    bool ctsFlow = false; // RTS/CTS handshake
    bool xonXoff = false; // on output and on input
    char xonChar = 0x11;
    char xoffChar = 0x13;
    quint32 xonLimit = 0; // kept for backends that have such limits
    quint32 xoffLimit = 0;

    bool operator==(const LineSettings &) const = default;
};

} // namespace zx::serial
