#include "gsm/PduEncoder.h"

#include "gsm/HexOctets.h"

#include <algorithm>

namespace zx::gsm {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Address length, type and swapped semi-octets of the destination number.
QByteArray destinationAddress(const QByteArray &number) {
    const bool international = number.startsWith('+');
    // The digit count travels in one octet.
    const unsigned digitCount =
        static_cast<unsigned>(international ? number.size() - 1 : number.size()) & 0xFFu;

    QByteArray work = number;
    qsizetype scan = 0;
    if (international) {
        if (work.size() % 2 == 0)
            work.append('F');
        scan = 1;
    } else if (work.size() % 2 == 1) {
        work.append('F');
    }

    QByteArray address;
    appendHexOctet(address, digitCount);
    address.append(international ? "91" : "81");
    if (digitCount == 0)
        return address;
    // The fill makes the scanned part even, so scan + 1 stays inside work.
    // A non-digit is dropped without re-pairing the digits after it.
    for (; scan + 1 < work.size(); scan += 2) {
        const char high = work.at(scan + 1);
        const char low = work.at(scan);
        if (isDigit(high) || high == 'F')
            address.append(high);
        if (isDigit(low))
            address.append(low);
    }
    return address;
}

} // namespace

NumberCheck checkModuleNumber(const QByteArray &number) {
    if (number.isEmpty())
        return NumberCheck::Empty;
    const QByteArray digits = number.startsWith('+') ? number.mid(1) : number;
    return std::all_of(digits.cbegin(), digits.cend(), isDigit) ? NumberCheck::Ok
                                                                : NumberCheck::Malformed;
}

QByteArray TextToPDUConversion(const QByteArray &text, const QByteArray &number) {
    if (number.isEmpty())
        return {};
    const int length = static_cast<int>(text.size() % 256);

    QByteArray pdu("001130");
    pdu.append(destinationAddress(number));
    pdu.append("00000B");
    appendHexOctet(pdu, static_cast<unsigned>(length));
    pdu.append(PackSeptets(text, length));
    pdu.append('\0');
    return pdu;
}

QByteArray PackSeptets(const QByteArray &text, int septetCount) {
    const qsizetype count = std::clamp<qsizetype>(septetCount, 0, text.size());
    const auto septet = [&](qsizetype i) -> unsigned {
        return i < count ? static_cast<unsigned char>(text.at(i)) & 0x7Fu : 0u;
    };

    QByteArray hex;
    for (qsizetype i = 0; i < count; ++i) {
        const unsigned j = static_cast<unsigned>(i % 8);
        // The eighth septet of a group rides wholly in the group's seventh octet.
        if (j == 7)
            continue;
        const unsigned carried = septet(i + 1) & ((1u << (j + 1)) - 1u);
        appendHexOctet(hex, ((septet(i) >> j) | (carried << (7 - j))) & 0xFFu);
    }
    return hex;
}

} // namespace zx::gsm
