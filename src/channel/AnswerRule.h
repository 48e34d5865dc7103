#pragma once
// What answer a command expects, and how one received line stands to it.
// Module answers are single lines; the read commands whose answer shape the
// tab parsers know start with a key ("NUM3:", "57:", "APN:"), so a line that
// does not is not the answer to that command (a late answer to an earlier
// one, noise, the echo of the command).
#include <QByteArray>

namespace zx::channel {

struct AnswerRule {
    enum class Kind {
        Keyed, // a line starting with key
        Final, // "OK" (a write the module acknowledges)
        Free,  // any line that is not the echo, a refusal or unsolicited
        // A modem command's reply: every line up to the final "OK".
        ModemFinal,
        // The modem's "> " (or bare ">") asking for an SMS's PDU.
        Prompt,
    };
    Kind kind = Kind::Free;
    QByteArray key;
};

// The rule for a module command line as built before framing.
AnswerRule moduleAnswerRule(const QByteArray &line);

enum class LineVerdict {
    Answer,      // completes the exchange as answered
    Refusal,     // completes it as refused
    Echo,        // the command itself, sent back by the peer
    Unsolicited, // a modem's own report (RING, +CREG:, +CMTI: ...)
    Blank,
    Foreign,     // some other line: not this command's answer
    Part,        // a line of a modem reply that goes on until its final code
};

// line without its CR LF. An answer may follow bytes of line noise: start
// is then where the answer itself starts.
LineVerdict judgeLine(const AnswerRule &rule, const QByteArray &command, const QByteArray &line,
                      qsizetype *start = nullptr);

// RING, NO CARRIER, +CREG:, +CGREG:, +CMTI:, +CDS:, +CDSI:, +CSQ:, +CUSD:,
// +CLIP:, +CRING:, "SMS Ready", "Call Ready", +CPIN:, ^... (vendor reports).
bool isUnsolicited(const QByteArray &line);

} // namespace zx::channel
