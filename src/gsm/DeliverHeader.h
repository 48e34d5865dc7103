#pragma once
// Who sent a received SMS, and when the service centre took it: read from
// the SMS-DELIVER the modem lists, so that answers of several modules over
// one modem can be told apart.
#include <QByteArray>

namespace zx::gsm {

struct DeliverHeader {
    bool ok = false;
    QByteArray sender;    // digits, with "+" for an international number
    QByteArray timestamp; // the time stamp's 14 semi-octets as on the wire
};

// ok is false for anything that is not a whole SMS-DELIVER with a numeric
// originating address.
DeliverHeader readDeliverHeader(const QByteArray &pduLine);

} // namespace zx::gsm
