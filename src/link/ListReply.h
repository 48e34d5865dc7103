#pragma once
// Reading the modem's answer to a message-list command: the first listed
// message's PDU line and its index in the store.
#include <QByteArray>

namespace zx::link {

struct ListedMessage {
    bool found = false;    // a "CMGL:" header with a PDU line behind it
    QByteArray pduLine;    // the hex line of the first message
    QByteArray index;      // up to three digits right before the first comma; empty when none
};

ListedMessage parseListReply(const QByteArray &raw);

} // namespace zx::link
