#include "link/ModemReplies.h"

namespace zx::link {
namespace {

// Positions are counted from 1; no scan goes past these.
constexpr qsizetype kLineLimit = 250;
constexpr qsizetype kCharSetLimit = 254;

char at(const QByteArray &s, qsizetype p) {
    return p >= 1 && p <= s.size() ? s[p - 1] : '\0';
}
bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}
bool inside(const QByteArray &s, qsizetype p) {
    return p >= 1 && p <= s.size();
}

// The first CR or LF from position 2 on (or where the scan stopped).
qsizetype lineBreakScan(const QByteArray &r) {
    qsizetype i = 2;
    while (i < kLineLimit && inside(r, i) && !isLineBreak(at(r, i)))
        ++i;
    return i;
}

struct SecondLine {
    bool exists = false;
    qsizetype start = 0;
};

SecondLine secondLine(const QByteArray &r) {
    const qsizetype brk = lineBreakScan(r);
    const bool found = inside(r, brk) && isLineBreak(at(r, brk)) && brk < kLineLimit;
    qsizetype j = brk + 1;
    while (j < kLineLimit && inside(r, j) && static_cast<unsigned char>(at(r, j)) < 0x20)
        ++j;
    return {found && j < kLineLimit, j};
}

// From position p up to the next-to-last character, cut before the first CR.
QByteArray textFrom(const QByteArray &r, qsizetype p) {
    const qsizetype count = r.size() - p; // positions p .. size - 1
    if (p < 1 || count <= 0)
        return {};
    QByteArray text = r.mid(p - 1, count);
    const qsizetype cr = text.indexOf('\r');
    return cr < 0 ? text : text.left(cr);
}

QByteArray secondLineText(const QByteArray &r) {
    const SecondLine line = secondLine(r);
    return line.exists ? textFrom(r, line.start) : QByteArray();
}

// After the line break, the first double quote or colon; a colon and one
// blank after it are stepped over, a quote is kept.
struct Quoted {
    qsizetype stop = 0;
    qsizetype textStart = 0;
};

Quoted quotedOrColon(const QByteArray &r, qsizetype limit) {
    qsizetype k = lineBreakScan(r) + 1;
    while (k < limit && inside(r, k) && at(r, k) != '"' && at(r, k) != ':')
        ++k;
    Quoted q{k, k};
    if (at(r, q.textStart) == ':') {
        ++q.textStart;
        if (at(r, q.textStart) == ' ')
            ++q.textStart;
    }
    return q;
}

std::optional<QByteArray> unlessEmpty(const QByteArray &text) {
    return text.isEmpty() ? std::nullopt : std::optional<QByteArray>(text);
}

} // namespace

ModemReply parseManufacturerReply(const QByteArray &chunk) {
    const QByteArray text = secondLineText(chunk);
    return {!text.isEmpty(), unlessEmpty(text)};
}

ModemReply parseModelReply(const QByteArray &chunk) {
    return {secondLine(chunk).exists, unlessEmpty(secondLineText(chunk))};
}

ModemReply parseClockReply(const QByteArray &chunk) {
    const Quoted q = quotedOrColon(chunk, kLineLimit);
    if (q.stop >= kLineLimit)
        return {};
    return {true, unlessEmpty(textFrom(chunk, q.textStart))};
}

ModemReply parseFormatReply(const QByteArray &chunk) {
    qsizetype k = lineBreakScan(chunk) + 1;
    while (k < kLineLimit && inside(chunk, k) && at(chunk, k) != ' ')
        ++k;
    if (k >= kLineLimit)
        return {};
    ModemReply reply{true, std::nullopt};
    if (at(chunk, k) == ' ' && inside(chunk, k + 1))
        reply.text = QByteArray(1, at(chunk, k + 1));
    return reply;
}

ModemReply parseCharSetReply(const QByteArray &chunk) {
    return {quotedOrColon(chunk, kCharSetLimit).stop < kCharSetLimit, std::nullopt};
}

ModemReply parseFormatSettingReply(const QByteArray &chunk) {
    return {secondLine(chunk).exists, std::nullopt};
}

} // namespace zx::link
