#include "gsm/PduDeliver.h"

#include "gsm/HexOctets.h"
#include "gsm/PduDecoder.h"
#include "gsm/PduEncoder.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

namespace zx::gsm {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

QByteArray digitsOf(const QByteArray &number) {
    QByteArray digits;
    std::copy_if(number.cbegin(), number.cend(), std::back_inserter(digits), isDigit);
    return digits;
}

// Type of address and swapped semi-octets, "F" filling an odd last digit.
QByteArray typeAndSemiOctets(const QByteArray &number, const QByteArray &digits) {
    QByteArray field(number.startsWith('+') ? "91" : "81");
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        field.append(i + 1 < digits.size() ? digits.at(i + 1) : 'F');
        field.append(digits.at(i));
    }
    return field;
}

QByteArray serviceCentreField(const QByteArray &serviceCentre) {
    if (serviceCentre.isEmpty())
        return "00";
    const QByteArray digits = digitsOf(serviceCentre);
    QByteArray field;
    appendHexOctet(field, static_cast<unsigned>(1 + (digits.size() + 1) / 2) & 0xFFu);
    return field + typeAndSemiOctets(serviceCentre, digits);
}

// For each Windows-1252 character the GSM code shown as that character:
// the character's own code where the alphabet keeps it, else the first code
// that shows it; -1 where no code does.
const std::array<int, 256> &gsmCodeForCharacter() {
    static const std::array<int, 256> inverse = [] {
        std::array<int, 256> codes;
        codes.fill(-1);
        for (int code = 0; code < 128; ++code)
            if (GSMAlphabetTable[code] == code)
                codes[code] = code;
        for (int code = 0; code < 128; ++code)
            if (codes[GSMAlphabetTable[code]] < 0)
                codes[GSMAlphabetTable[code]] = code;
        return codes;
    }();
    return inverse;
}

QByteArray toGsmCodes(const QByteArray &text) {
    QByteArray codes;
    codes.reserve(text.size());
    for (const char c : text) {
        const auto ansi = static_cast<unsigned char>(c);
        const int code = gsmCodeForCharacter()[ansi];
        codes.append(static_cast<char>(code >= 0 ? code : ansi & 0x7F));
    }
    return codes;
}

// Reads octets from the front of an uppercase hex text.
class OctetReader {
public:
    explicit OctetReader(const QByteArray &hex) : hex_(hex) {}

    std::optional<unsigned> next() {
        if (position_ + 1 >= hex_.size())
            return std::nullopt;
        const int high = HexDigitValue(hex_.at(position_));
        const int low = HexDigitValue(hex_.at(position_ + 1));
        if (high < 0 || low < 0)
            return std::nullopt;
        position_ += 2;
        return static_cast<unsigned>(16 * high + low);
    }

    bool skip(unsigned count) {
        for (unsigned i = 0; i < count; ++i)
            if (!next())
                return false;
        return true;
    }

    qsizetype charactersLeft() const { return hex_.size() - position_; }

private:
    const QByteArray &hex_;
    qsizetype position_ = 0;
};

std::optional<QByteArray> readAddress(OctetReader &reader) {
    const auto digitCount = reader.next();
    const auto type = reader.next();
    if (!digitCount || !type)
        return std::nullopt;
    QByteArray number(*type == 0x91 ? "+" : "");
    for (unsigned i = 0; i < (*digitCount + 1) / 2; ++i) {
        const auto octet = reader.next();
        if (!octet)
            return std::nullopt;
        const unsigned pair[] = {*octet & 0x0Fu, *octet >> 4};
        for (unsigned j = 0; j < 2 && 2 * i + j < *digitCount; ++j) {
            if (pair[j] > 9)
                return std::nullopt;
            number.append(static_cast<char>('0' + pair[j]));
        }
    }
    return number;
}

// Septets as they are, no alphabet translation.
std::optional<QByteArray> readSeptets(OctetReader &reader, unsigned count) {
    QByteArray septets;
    unsigned bits = 0;
    unsigned accumulator = 0;
    while (static_cast<unsigned>(septets.size()) < count) {
        if (bits < 7) {
            const auto octet = reader.next();
            if (!octet)
                return std::nullopt;
            accumulator |= *octet << bits;
            bits += 8;
        }
        septets.append(static_cast<char>(accumulator & 0x7Fu));
        accumulator >>= 7;
        bits -= 7;
    }
    return septets;
}

std::optional<SubmitPdu> readSubmit(OctetReader &reader) {
    const auto serviceCentreLength = reader.next();
    if (!serviceCentreLength || !reader.skip(*serviceCentreLength))
        return std::nullopt;
    const auto firstOctet = reader.next();
    if (!firstOctet || (*firstOctet & 3) != 1 || !reader.skip(1)) // message reference
        return std::nullopt;
    const auto number = readAddress(reader);
    if (!number || !reader.skip(1)) // protocol identifier
        return std::nullopt;
    // Only uncompressed data in the default alphabet is 7-bit text.
    const auto dataCoding = reader.next();
    if (!dataCoding || (*dataCoding & 0xECu) != 0)
        return std::nullopt;
    const unsigned validityFormat = (*firstOctet >> 3) & 3;
    const unsigned validityOctets = validityFormat == 0 ? 0 : validityFormat == 2 ? 1 : 7;
    if (!reader.skip(validityOctets))
        return std::nullopt;
    const auto length = reader.next();
    if (!length)
        return std::nullopt;
    const auto text = readSeptets(reader, *length);
    if (!text || reader.charactersLeft() != 0)
        return std::nullopt;
    return SubmitPdu{*number, *text, true};
}

} // namespace

QByteArray buildDeliverPdu(const QByteArray &originator, const QByteArray &text,
                           const QByteArray &timestamp14digits, const QByteArray &serviceCentre) {
    const QByteArray digits = digitsOf(originator);
    const int length = static_cast<int>(std::min<qsizetype>(text.size(), 255));

    QByteArray pdu = serviceCentreField(serviceCentre);
    pdu.append("04");
    appendHexOctet(pdu, static_cast<unsigned>(digits.size()) & 0xFFu);
    pdu.append(typeAndSemiOctets(originator, digits));
    pdu.append("0000");
    pdu.append(timestamp14digits.left(14).leftJustified(14, '0'));
    appendHexOctet(pdu, static_cast<unsigned>(length));
    pdu.append(PackSeptets(toGsmCodes(text), length));
    return pdu;
}

SubmitPdu parseSubmitPdu(const QByteArray &hexWithoutNul) {
    OctetReader reader(hexWithoutNul);
    return readSubmit(reader).value_or(SubmitPdu{});
}

} // namespace zx::gsm
