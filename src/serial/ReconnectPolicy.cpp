#include "serial/ReconnectPolicy.h"

namespace zx::serial {

ReconnectPolicy::ReconnectPolicy(Clock clock, qint64 windowMs)
    : clock_(std::move(clock)), windowMs_(windowMs) {}

void ReconnectPolicy::lost(const PortIdentity &port, const LineChoice &line) {
    waiting_ = port.recognisable();
    port_ = port;
    line_ = line;
    lostAt_ = clock_();
    strangerReported_.clear();
}

void ReconnectPolicy::cancel() {
    waiting_ = false;
    strangerReported_.clear();
}

bool ReconnectPolicy::sameDevice(const PortIdentity &a, const PortIdentity &b) {
    // Known USB ids or serial numbers that differ tell two devices apart
    // whatever the link they are reached through.
    if (!a.usbId.isEmpty() && !b.usbId.isEmpty() && a.usbId != b.usbId)
        return false;
    if (!a.serialNumber.isEmpty() && !b.serialNumber.isEmpty())
        return a.serialNumber == b.serialNumber;
    return !a.stableName.isEmpty() && a.stableName == b.stableName;
}

ReconnectPolicy::Decision ReconnectPolicy::consider(const QList<PortIdentity> &present) {
    Decision decision;
    if (!waiting_)
        return decision;
    if (clock_() - lostAt_ > windowMs_) {
        waiting_ = false;
        decision.kind = Decision::GiveUp;
        return decision;
    }
    for (const PortIdentity &candidate : present) {
        if (sameDevice(port_, candidate)) {
            waiting_ = false;
            decision.kind = Decision::Reopen;
            decision.device = candidate.device;
            decision.line = line_;
            decision.found = candidate;
            return decision;
        }
    }
    decision.kind = Decision::Wait;
    for (const PortIdentity &candidate : present) {
        if (candidate.device != port_.device)
            continue;
        const QString who = candidate.device + QLatin1Char('|') + candidate.stableName +
                            QLatin1Char('|') + candidate.usbId + QLatin1Char('|') +
                            candidate.serialNumber;
        if (who == strangerReported_)
            break;
        strangerReported_ = who;
        decision.kind = Decision::Stranger;
        decision.device = candidate.device;
        decision.found = candidate;
        break;
    }
    return decision;
}

} // namespace zx::serial
