#include "link/ModemNotices.h"

namespace zx::link {

QByteArray submitReference(const QByteArray &chunk) {
    const qsizetype result = chunk.indexOf("+CMGS:");
    if (result < 0)
        return {};
    qsizetype p = result + 6;
    while (p < chunk.size() && chunk.at(p) == ' ')
        ++p;
    const qsizetype start = p;
    // A reference is 0..255; a longer run of digits is not one.
    while (p < chunk.size() && p - start < 4 && chunk.at(p) >= '0' && chunk.at(p) <= '9')
        ++p;
    if (p == start || p - start > 3)
        return {};
    return chunk.mid(start, p - start);
}

bool announcesNewMessage(const QByteArray &chunk) {
    return chunk.contains("+CMTI:");
}

} // namespace zx::link
