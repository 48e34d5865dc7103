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

} // namespace zx::link
