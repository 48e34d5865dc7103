#pragma once
// SMS mode carries a module command and its answer as the hexadecimal octets
// of a PDU, where the plain-text password mask cannot see them. This finds
// the PDU lines in one direction's stream and replaces the hex of each PDU
// whose text holds a GPRS/FTP password keyword by one kMarker:
//  - written: the hex after an "AT+CMGS=<length>" line, up to Ctrl-Z;
//  - received: the hex after a "+CMGL:" or "+CMGR:" line (a listed
//    SMS-DELIVER) and after the "> " prompt (the modem's echo of the PDU).
// The hex of a PDU line is held back until its text decides: a keyword (the
// marker goes out and the rest of the line is dropped) or all of the text
// without one (the hex goes out as it came). A line that ends first, at the
// first character that is not a hex digit, goes out as it came too. So
// nothing is held past the end of the line, however the stream is cut into
// chunks. Everything outside PDU lines passes unchanged.
#include "traffic/Direction.h"

#include <QByteArray>
#include <QByteArrayView>

namespace zx::traffic {

class PduPasswordMask {
public:
    static constexpr char kMarker[] = "<PDU with a password, masked>";
    // More hex than any PDU has: such a line is passed on, never held further.
    static constexpr qsizetype kMaxHeldHex = 512;

    explicit PduPasswordMask(Direction direction) : direction_(direction) {}
    QByteArray apply(QByteArrayView chunk);

    // What the text of a PDU, as the tool would decode it, tells from the
    // hex so far (a whole PDU or its first part): a password keyword, none in
    // the whole text, or not known yet.
    enum class Verdict { Undecided, Password, NoPassword };
    static Verdict verdict(const QByteArray &hex);

private:
    // Passing: the rest of a PDU line whose hex already went out.
    enum class State { Text, PduAhead, InPdu, Masked, Passing };
    void text(char c, QByteArray &out);
    void endPdu(QByteArray &out);

    Direction direction_;
    State state_ = State::Text;
    QByteArray line_; // the start of the current line outside a PDU
    QByteArray held_; // the hex of the current PDU line, not yet given out
};

} // namespace zx::traffic
