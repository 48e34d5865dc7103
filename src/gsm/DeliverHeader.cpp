#include "gsm/DeliverHeader.h"

#include "gsm/PduDecoder.h"

namespace zx::gsm {
namespace {

int octetAt(const QByteArray &line, qsizetype index) {
    if (index < 0 || index + 1 >= line.size())
        return -1;
    const int high = HexDigitValue(line.at(index));
    const int low = HexDigitValue(line.at(index + 1));
    return high < 0 || low < 0 ? -1 : 16 * high + low;
}

// count semi-octets from position, each octet's digits swapped; an 'F'
// fills the last one. Empty when one is not a digit.
QByteArray semiOctets(const QByteArray &line, qsizetype position, int count) {
    QByteArray digits;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = position + 2 * (i / 2) + (i % 2 == 0 ? 1 : 0);
        if (at >= line.size())
            return {};
        const char c = line.at(at);
        if (c < '0' || c > '9')
            return {};
        digits.append(c);
    }
    return digits;
}

} // namespace

DeliverHeader readDeliverHeader(const QByteArray &line) {
    DeliverHeader header;
    const int smsc = octetAt(line, 0);
    if (smsc < 0)
        return header;
    const qsizetype tpdu = 2 + 2 * qsizetype(smsc);
    const int first = octetAt(line, tpdu);
    if (first < 0 || (first & 3) != 0)
        return header;
    const qsizetype address = tpdu + 2;
    const int digits = octetAt(line, address);
    const int type = octetAt(line, address + 2);
    if (digits <= 0 || digits > 20 || type < 0)
        return header;
    const QByteArray number = semiOctets(line, address + 4, digits);
    const qsizetype stamp = address + 4 + 2 * ((digits + 1) / 2) + 4;
    const QByteArray time = line.mid(stamp, 14);
    if (number.isEmpty() || time.size() != 14)
        return header;
    for (const char c : time)
        if (HexDigitValue(c) < 0)
            return header;
    header.ok = true;
    header.sender = ((type & 0x70) == 0x10 ? "+" : "") + number;
    header.timestamp = time;
    return header;
}

} // namespace zx::gsm
