#pragma once
// The module's side of the SMS link, for the module simulator and tests:
// building the SMS-DELIVER a modem lists for an answer, and reading back the
// SMS-SUBMIT this tool sends.
#include <QByteArray>

namespace zx::gsm {

// Uppercase hex (no trailing NUL) of an SMS-DELIVER: service-centre field
// ("00" when serviceCentre is empty), first octet 04, the originating address
// (type 91 with a leading "+", else 81; characters other than digits are
// left out), PID 00, DCS 00, the time stamp as its 14 semi-octet digits in
// wire order, the user-data length and the packed text. Characters are
// mapped to the GSM code that GSMAlphabetTable shows as the same character
// (the plain code when several do), else sent as code AND 0x7F. Text beyond
// 255 characters is cut.
QByteArray buildDeliverPdu(const QByteArray &originator, const QByteArray &text,
                           const QByteArray &timestamp14digits = "62107021000000",
                           const QByteArray &serviceCentre = {});

struct SubmitPdu {
    QByteArray number; // with "+" when the type of address is international
    QByteArray text;   // the 7-bit codes as they are, no alphabet translation
    bool ok = false;
};

// Reads an SMS-SUBMIT in uppercase hex as TextToPDUConversion builds it
// (without the NUL). ok is false, with empty fields, for anything that is not
// a complete SMS-SUBMIT with 7-bit data and exactly its user data.
SubmitPdu parseSubmitPdu(const QByteArray &hexWithoutNul);

} // namespace zx::gsm
