#pragma once
// Reading the modem's answer to a message-list command: the first listed
// message's PDU line and its index in the store, or every listed message.
#include <QByteArray>
#include <QList>

namespace zx::link {

struct ListedMessage {
    bool found = false;    // a "CMGL:" header with a PDU line behind it
    QByteArray pduLine;    // the hex line of the first message
    QByteArray index;      // up to three digits right before the first comma; empty when none
};

ListedMessage parseListReply(const QByteArray &raw);

// Every message of the reply, in the order the modem lists them, each with
// the index from its own header line. A message whose PDU line the chunk cuts
// off (nothing follows it) is listed with found false.
QList<ListedMessage> parseListedMessages(const QByteArray &raw);

} // namespace zx::link
