#pragma once
// Cutting the modem's answers to the AT queries out of a received chunk.
// With the command echo on the first line of the chunk is the echoed command
// and the answer is on the second line; with echo off the chunk starts with
// CR LF and the answer is found the same way.
#include <QByteArray>

#include <optional>

namespace zx::link {

// What one parser made of a chunk: whether the query counts as answered
// (its awaiting flag is cleared) and the text or value to keep, if any.
struct ModemReply {
    bool answered = false;
    std::optional<QByteArray> text;
};

// "AT+CGMI": the answer line; answered only when it is not empty.
ModemReply parseManufacturerReply(const QByteArray &chunk);
// "AT+CGMM": the answer line; answered whenever a second line exists.
ModemReply parseModelReply(const QByteArray &chunk);
// "AT+CCLK?": the text after "+CCLK: ", quotes kept.
ModemReply parseClockReply(const QByteArray &chunk);
// "AT+CMGF?": the one character after the first blank of the answer.
ModemReply parseFormatReply(const QByteArray &chunk);
// "AT+CSCS?": recognised like the clock answer, nothing kept.
ModemReply parseCharSetReply(const QByteArray &chunk);
// "AT+CMGF=": answered whenever a second line exists, nothing kept.
ModemReply parseFormatSettingReply(const QByteArray &chunk);

} // namespace zx::link
