#pragma once
// How one exchange on a port ended. Every exchange ends as exactly one of
// these; only Answered means the peer took the command.
#include <QByteArray>
#include <QString>

namespace zx::channel {

enum class Outcome { Answered, Refused, NoAnswer, NotRecognised, PortError, Cancelled };

// "answered", "refused", "no answer", "not recognised", "port error", "cancelled"
QString outcomeName(Outcome outcome);

// A refusal line: "ERROR", "+CMS ERROR: n" or "+CME ERROR: n" (trimmed).
bool isRefusal(const QByteArray &line);
// The refusal in words: "ERROR" -> "the command was refused",
// "+CMS ERROR: 330" -> "SMS centre number unknown (+CMS ERROR: 330)".
QString refusalReason(const QByteArray &line);

} // namespace zx::channel
