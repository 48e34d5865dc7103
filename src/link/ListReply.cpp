#include "link/ListReply.h"

#include <algorithm>

namespace zx::link {
namespace {

// Positions are counted from 1, as the modem's reply is read; nothing past
// position 254 is examined.
constexpr int kLastHeaderColon = 252;
constexpr int kLastExamined = 254;
constexpr int kLastCommaForIndex = 35;

unsigned char at(const QByteArray &r, int pos) { return static_cast<unsigned char>(r.at(pos - 1)); }

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// Up to three digits right before the first comma of a header line.
QByteArray headerIndex(const QByteArray &header) {
    const qsizetype comma = header.indexOf(',');
    if (comma < 1)
        return {};
    qsizetype d = comma;
    while (d > 0 && comma - d < 3 && isDigit(static_cast<unsigned char>(header.at(d - 1))))
        --d;
    return header.mid(d, comma - d);
}

} // namespace

ListedMessage parseListReply(const QByteArray &raw) {
    ListedMessage result;
    const int len = int(raw.size());
    if (len == 0)
        return result;

    const int header = int(raw.indexOf("CMGL:"));
    if (header < 0)
        return result;
    const int colon = header + 5;
    if (colon > kLastHeaderColon || len - colon < 2)
        return result;

    int p = colon + 1;
    while (p <= len && p < kLastExamined && at(raw, p) > 0x0D)
        ++p;
    while (p <= len && p < kLastExamined && at(raw, p) <= 0x20)
        ++p;
    if (p > len || p >= kLastExamined)
        return result;

    const int start = p;
    while (p < len && p <= kLastExamined && at(raw, p) > 0x20)
        ++p;
    result.pduLine = raw.mid(start - 1, p - start);
    result.found = true;

    const int lastComma = std::min(len, kLastCommaForIndex);
    for (int c = 2; c <= lastComma; ++c) {
        if (at(raw, c) != ',')
            continue;
        int d = c - 1;
        while (d >= 1 && c - d <= 3 && isDigit(at(raw, d)))
            --d;
        result.index = raw.mid(d, c - 1 - d);
        break;
    }
    return result;
}

QList<ListedMessage> parseListedMessages(const QByteArray &raw) {
    QList<ListedMessage> listed;
    const qsizetype len = raw.size();
    qsizetype from = 0;
    for (;;) {
        const qsizetype header = raw.indexOf("CMGL:", from);
        if (header < 0)
            break;
        qsizetype p = header + 5;
        while (p < len && static_cast<unsigned char>(raw.at(p)) > 0x0D)
            ++p;
        ListedMessage message;
        message.index = headerIndex(raw.mid(header + 5, p - header - 5));
        while (p < len && isBlank(raw.at(p)))
            ++p;
        const qsizetype start = p;
        while (p < len && !isBlank(raw.at(p)))
            ++p;
        message.pduLine = raw.mid(start, p - start);
        message.found = !message.pduLine.isEmpty() && p < len;
        listed.append(message);
        from = p;
    }
    return listed;
}

} // namespace zx::link
