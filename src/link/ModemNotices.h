#pragma once
// What the modem says beside the answers the tool waits for: the message
// reference of an accepted submission, and the indication of a newly stored
// message.
#include <QByteArray>

namespace zx::link {

// The reference n of a "+CMGS: n" result in the chunk; empty when there is none.
QByteArray submitReference(const QByteArray &chunk);

// The chunk holds a "+CMTI:" indication: a message has come into the store.
bool announcesNewMessage(const QByteArray &chunk);

} // namespace zx::link
