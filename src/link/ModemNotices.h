#pragma once
// What the modem says beside the answers the tool waits for: the message
// reference of an accepted submission, its own reports (a new message, a
// ring, the network) that can come in the middle of a reply, its refusals,
// and whether it is ready for messages yet.
#include <QByteArray>
#include <QString>

namespace zx::link {

// The reference n of a "+CMGS: n" result in the chunk; empty when there is none.
QByteArray submitReference(const QByteArray &chunk);

// The chunk holds a "+CMTI:" indication: a message has come into the store.
bool announcesNewMessage(const QByteArray &chunk);

// A reply with the modem's own reports taken out, and what they said.
struct ReplyWithoutReports {
    QByteArray reply;         // the rest, line ends as they came
    bool reportsOnly = false; // there was nothing but reports (or blank lines)
    bool newMessage = false;  // "+CMTI:"
    bool readyReport = false; // "SMS Ready" or "+CPIN: READY"
};
ReplyWithoutReports takeOutReports(const QByteArray &chunk);

// The reply's refusal line ("ERROR", "+CMS ERROR: n", "+CME ERROR: n"),
// trimmed; empty when it holds none.
QByteArray refusalIn(const QByteArray &reply);
// The reply holds the prompt for a PDU: ">" at the start of a line.
bool holdsPrompt(const QByteArray &reply);
// The reply ends with a final result code (OK or a refusal).
bool endsWithFinalCode(const QByteArray &reply);

// The modem says it is not ready for messages yet: a plain ERROR to
// everything, or a SIM that is missing, locked or still busy.
bool meansNotReady(const QByteArray &refusal);

// What a refused SMS means and what the user can do about it.
QString submitRefusalAdvice(const QByteArray &refusal);

} // namespace zx::link
