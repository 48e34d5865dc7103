#pragma once
// The AT commands a GSM engine answers the same way whether it sits in the
// modem on the tool's port or inside the module (raw "  AT..." lines).
#include "sim/ModemState.h"

#include <QByteArray>
#include <QList>

namespace zx::sim {

struct AtReply {
    QList<QByteArray> information; // lines before the result code
    QByteArray result = "OK";      // "OK", "ERROR", "+CMS ERROR: 321", ...
};

// command: the line from "AT" on, without the CR. Commands this engine does
// not know answer "ERROR".
AtReply answerAtCommand(ModemState &state, const QByteArray &command);

// "yy/MM/dd,hh:mm:ss+zz" with zz in quarter hours, as +CCLK shows it.
QByteArray formatModemClock(const QDateTime &time);

// Verbose framing: each information line and the result code between CR LF.
QByteArray frameVerbose(const AtReply &reply);

} // namespace zx::sim
