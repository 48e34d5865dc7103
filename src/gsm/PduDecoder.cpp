#include "gsm/PduDecoder.h"

namespace zx::gsm {

namespace {

// A position outside the line counts as a non-hex character.
int digitAt(const QByteArray &line, qsizetype index) {
    return index >= 0 && index < line.size() ? HexDigitValue(line.at(index)) : -1;
}

// Non-hex characters make this negative or garble it; callers keep that.
int octetAt(const QByteArray &line, qsizetype index) {
    return 16 * digitAt(line, index) + digitAt(line, index + 1);
}

unsigned char alphabet(unsigned code) {
    return GSMAlphabetTable[code & 0x7Fu];
}

} // namespace

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// clang-format off
const std::array<unsigned char, 128> GSMAlphabetTable = {
    0x40, 0x20, 0x24, 0x59, 0xE8, 0xE9, 0xF9, 0xEC, // 0x00
    0xF2, 0xE7, 0x0A, 0x20, 0xF8, 0x0D, 0x20, 0xE5, // 0x08
    0x20, 0x5F, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, // 0x10
    0x20, 0x20, 0x20, 0x20, 0xC6, 0xE6, 0xDF, 0xE6, // 0x18
    0x20, 0x21, 0x22, 0x23, 0xA4, 0x25, 0x26, 0x27, // 0x20
    0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, // 0x28
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, // 0x30
    0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, // 0x38
    0xA1, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, // 0x40
    0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, // 0x48
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, // 0x50
    0x58, 0x59, 0x5A, 0x2A, 0x2A, 0x2A, 0x2A, 0x2A, // 0x58
    0xBF, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, // 0x60
    0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F, // 0x68
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, // 0x70
    0x78, 0x79, 0x7A, 0xE4, 0xF5, 0xF1, 0xFC, 0xE0, // 0x78
};
// clang-format on

PduLayout locateUserData(const QByteArray &line) {
    PduLayout layout;
    if (digitAt(line, 2) + digitAt(line, 3) + digitAt(line, 6) + digitAt(line, 7) <= 0)
        return layout;
    layout.plausible = true;

    // A garbled service-centre length counts as no service-centre field.
    const int smsc = octetAt(line, 0);
    const qsizetype tpdu = smsc > 0 ? 2 * qsizetype(smsc) + 2 : 2;
    layout.firstOctet = octetAt(line, tpdu) & 0xFF;

    // An SMS-DELIVER has the originating address right after the first
    // octet; a stored SMS-SUBMIT has the message reference first.
    const bool deliver = (layout.firstOctet & 3) == 0;
    layout.addressPosition = tpdu + (deliver ? 2 : 4);
    const int digits = octetAt(line, layout.addressPosition);
    // Before the length: the address, then PID and DCS, then the 7-octet
    // time stamp (DELIVER) or the 1-octet validity period (SUBMIT).
    layout.userDataLengthPosition =
        layout.addressPosition + 2 * ((digits + 1) / 2) + (deliver ? 22 : 10);
    layout.userDataLength = octetAt(line, layout.userDataLengthPosition);
    return layout;
}

QByteArray UnpackSeptets(const QByteArray &line, qsizetype userDataPosition, int udl) {
    QByteArray text;
    qsizetype position = userDataPosition;
    const auto digitsLeft = [&] { return position >= 0 && position < line.size(); };

    while (text.size() < udl && digitsLeft()) {
        unsigned previous = 0;
        for (unsigned k = 0; k < 7 && text.size() < udl && digitsLeft(); ++k) {
            const unsigned octet = static_cast<unsigned>(octetAt(line, position)) & 0xFFu;
            position += 2;
            const unsigned code =
                ((octet & (0x7Fu >> k)) << k) | (k > 0 ? previous >> (8 - k) : 0u);
            text.append(static_cast<char>(alphabet(code)));
            previous = octet;
        }
        if (text.size() < udl)
            text.append(static_cast<char>(alphabet(previous >> 1)));
    }
    return text;
}

QByteArray PDUTextConversion(const QByteArray &pduLine) {
    const PduLayout layout = locateUserData(pduLine);
    if (!layout.plausible || layout.userDataLength <= 0)
        return {};
    return UnpackSeptets(pduLine, layout.userDataLengthPosition + 2, layout.userDataLength);
}

} // namespace zx::gsm
