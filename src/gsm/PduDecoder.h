#pragma once
// Text of a received SMS from the PDU line the modem lists with AT+CMGL.
#include <QByteArray>

#include <array>

namespace zx::gsm {

// Value of an uppercase hex digit, -1 for any other character.
int HexDigitValue(char c);

// Windows-1252 character shown for each GSM 7-bit default-alphabet code.
extern const std::array<unsigned char, 128> GSMAlphabetTable;

// Where the user data of a PDU line lies. Positions are indexes into the
// line (from 0); on a short or garbled line they may point past its end.
struct PduLayout {
    bool plausible = false; // false: the line holds no message at all
    int firstOctet = 0;     // 8 bits
    qsizetype addressPosition = 0;
    qsizetype userDataLengthPosition = 0;
    int userDataLength = 0; // may be <= 0 on garbage
};

PduLayout locateUserData(const QByteArray &pduLine);

// Unpacks up to udl characters from the packed 7-bit octets that start at
// index userDataPosition and translates them through GSMAlphabetTable. Stops
// at the end of the line; whenever a group of seven octets ends, full or cut
// short by the end of the line, with fewer than udl characters produced, the
// last octet read shifted right by one is appended as one more character.
QByteArray UnpackSeptets(const QByteArray &pduLine, qsizetype userDataPosition, int udl);

// The message text, or empty when the line is not a message ("OK", "") or
// carries no user data. The data coding scheme is not examined: the data is
// always read as 7-bit characters. Never reads outside the line.
QByteArray PDUTextConversion(const QByteArray &pduLine);

} // namespace zx::gsm
