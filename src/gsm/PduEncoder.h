#pragma once
// SMS-SUBMIT PDU for a module command sent through a GSM modem in PDU mode.
#include <QByteArray>

namespace zx::gsm {

inline constexpr char kPhoneNumberErrorCaption[] = "Error";
inline constexpr char kPhoneNumberError[] =
    "Phone Number Error.\r\nPlease, check settings and try again.";

enum class NumberCheck { Ok, Empty, Malformed };

// Ok for decimal digits behind an optional single leading "+" ("+" alone
// included). Callers refuse to send on anything else.
NumberCheck checkModuleNumber(const QByteArray &number);

// Uppercase hex of the PDU (empty service-centre field, SMS-SUBMIT, validity
// one hour, 7-bit data) followed by exactly one NUL byte, so that
// size() / 2 - 1 is the octet count announced with AT+CMGS. Empty when the
// number is empty. Any other number and text is encoded as it is: characters
// keep their ANSI codes with bit 7 cleared, the length wraps at 256 and
// non-digits in the number only count in the address length.
QByteArray TextToPDUConversion(const QByteArray &text, const QByteArray &number);

// Uppercase hex of the first septetCount characters (code AND 0x7F) packed
// as GSM 7-bit user data: ceil(7 * septetCount / 8) octets.
QByteArray PackSeptets(const QByteArray &text, int septetCount);

} // namespace zx::gsm
