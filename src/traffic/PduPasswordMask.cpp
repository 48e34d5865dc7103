#include "traffic/PduPasswordMask.h"

#include "gsm/PduDecoder.h"
#include "traffic/TrafficLog.h"

#include <algorithm>

namespace zx::traffic {
namespace {

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool endsLine(char c) {
    return c == '\r' || c == '\n';
}

// The line before the PDU line: what the tool writes to submit one, and the
// headers of the modem's listing and reading of a stored message.
bool announcesPdu(Direction direction, const QByteArray &lineStart) {
    if (direction == Direction::Sent)
        return lineStart.toUpper().startsWith("AT+CMGS=");
    return lineStart.startsWith("+CMGL:") || lineStart.startsWith("+CMGR:");
}

// As much of a line's start as announcesPdu() and the prompt need.
constexpr qsizetype kLineStartKept = 8;

} // namespace

PduPasswordMask::Verdict PduPasswordMask::verdict(const QByteArray &hex) {
    const QByteArray upper = hex.toUpper();
    const gsm::PduLayout layout = gsm::locateUserData(upper);
    // Only a layout read wholly from octets already there is the PDU's own.
    if (!layout.plausible || layout.addressPosition + 2 > upper.size() ||
        layout.userDataLengthPosition + 2 > upper.size())
        return Verdict::Undecided;
    if (layout.userDataLength <= 0)
        return Verdict::NoPassword;
    const qsizetype userData = layout.userDataLengthPosition + 2;
    // The septets that the octets so far fully determine.
    const qsizetype octets = (upper.size() - userData) / 2;
    const int septets = int(std::min<qsizetype>(layout.userDataLength, octets * 8 / 7));
    const QByteArray text = gsm::UnpackSeptets(upper, userData, septets);
    const QList<QByteArray> &keywords = PasswordMask::keywords();
    if (std::any_of(keywords.cbegin(), keywords.cend(),
                    [&](const QByteArray &keyword) { return text.contains(keyword); }))
        return Verdict::Password;
    return septets == layout.userDataLength ? Verdict::NoPassword : Verdict::Undecided;
}

QByteArray PduPasswordMask::apply(QByteArrayView chunk) {
    QByteArray out;
    out.reserve(chunk.size());
    for (const char c : chunk) {
        switch (state_) {
        case State::Text:
            break;
        case State::PduAhead:
            if (endsLine(c)) {
                out.append(c);
                continue;
            }
            if (isHex(c)) {
                state_ = State::InPdu;
                held_ = QByteArray(1, c);
                continue;
            }
            state_ = State::Text;
            break;
        case State::InPdu:
            if (isHex(c)) {
                held_.append(c);
                const Verdict v = held_.size() % 2 ? Verdict::Undecided : verdict(held_);
                if (v == Verdict::Password) {
                    out.append(kMarker);
                    held_.clear();
                    state_ = State::Masked;
                } else if (v == Verdict::NoPassword || held_.size() >= kMaxHeldHex) {
                    out.append(held_);
                    line_ = held_.left(kLineStartKept);
                    held_.clear();
                    state_ = State::Passing;
                }
                continue;
            }
            endPdu(out);
            break;
        case State::Masked:
            if (isHex(c))
                continue;
            state_ = State::Text;
            break;
        case State::Passing:
            if (isHex(c)) {
                out.append(c);
                continue;
            }
            state_ = State::Text;
            break;
        }
        text(c, out);
    }
    return out;
}

void PduPasswordMask::endPdu(QByteArray &out) {
    // Not a PDU with a password: it goes out as it came, and is the start of
    // the line the next character continues.
    out.append(held_);
    line_ = held_.left(kLineStartKept);
    held_.clear();
    state_ = State::Text;
}

void PduPasswordMask::text(char c, QByteArray &out) {
    out.append(c);
    if (endsLine(c)) {
        if (announcesPdu(direction_, line_))
            state_ = State::PduAhead;
        line_.clear();
        return;
    }
    if (line_.size() < kLineStartKept)
        line_.append(c);
    // The modem echoes the PDU typed after its prompt.
    if (direction_ == Direction::Received && line_ == "> ")
        state_ = State::PduAhead;
}

} // namespace zx::traffic
