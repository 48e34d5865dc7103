#pragma once
// Whether a serial port that vanished under the tool may be opened again by
// itself: only the same device (same by-id name, or same USB serial number),
// only within a time window after it went, and with the line settings it
// had. A different device on the node is reported, never taken. No I/O: the
// caller hands in what is present and the clock.
#include <QList>
#include <QString>

#include <functional>

namespace zx::serial {

struct PortIdentity {
    QString device;     // the node that was open, "/dev/ttyUSB0"
    QString stableName; // its /dev/serial/by-id name, or the port-map link it was opened through
    QString usbId;      // "0403:6001", or empty
    QString serialNumber;

    // Something that can tell this device from another one.
    bool recognisable() const { return !stableName.isEmpty() || !serialNumber.isEmpty(); }
};

struct LineChoice {
    quint32 speed = 0;
    bool evenParity = false;
    bool operator==(const LineChoice &) const = default;
};

class ReconnectPolicy {
public:
    using Clock = std::function<qint64()>; // milliseconds, never going back
    static constexpr qint64 kDefaultWindowMs = 60000;

    explicit ReconnectPolicy(Clock clock, qint64 windowMs = kDefaultWindowMs);

    // The open port went away; wait for it (when it can be recognised).
    void lost(const PortIdentity &port, const LineChoice &line);
    // Reopen was decided but the device would not open: wait on, within the
    // same window.
    void openFailed() { waiting_ = true; }
    // The user chose a port himself: nothing is waited for any more.
    void cancel();
    bool waiting() const { return waiting_; }
    const PortIdentity &awaited() const { return port_; }
    qint64 windowMs() const { return windowMs_; }

    struct Decision {
        enum Kind {
            Idle,     // nothing is awaited
            Wait,     // not back yet
            Reopen,   // the same device is back: open device with line
            Stranger, // another device sits on the node (said once per device)
            GiveUp,   // the window has passed
        } kind = Idle;
        QString device;
        LineChoice line;
        PortIdentity found; // for Reopen and Stranger
    };
    // Looks at the ports present now. Reopen and GiveUp end the wait.
    Decision consider(const QList<PortIdentity> &present);

    static bool sameDevice(const PortIdentity &a, const PortIdentity &b);

private:
    Clock clock_;
    qint64 windowMs_;
    bool waiting_ = false;
    qint64 lostAt_ = 0;
    PortIdentity port_;
    LineChoice line_;
    QString strangerReported_; // stable name or serial of the last stranger reported
};

} // namespace zx::serial
