#include "link/ModemReplies.h"

#include <gtest/gtest.h>

using namespace zx::link;

namespace {

using Parser = ModemReply (*)(const QByteArray &);

struct Case {
    const char *name;
    Parser parse;
    QByteArray chunk;
    bool answered;
    std::optional<QByteArray> text;
};

} // namespace

TEST(ModemReplies, EchoOnAndEchoOffFindTheSameAnswer) {
    const Case cases[] = {
        {"manufacturer, echo on", parseManufacturerReply, "AT+CGMI\r\r\nSIEMENS\r\n\r\nOK\r\n",
         true, "SIEMENS"},
        {"manufacturer, echo off", parseManufacturerReply, "\r\nSIEMENS\r\n\r\nOK\r\n", true,
         "SIEMENS"},
        {"manufacturer, echo only", parseManufacturerReply, "AT+CGMI\r", false, std::nullopt},
        {"manufacturer, empty second line", parseManufacturerReply, "AT+CGMI\r\n\r\n", false,
         std::nullopt},
        {"manufacturer, no line break", parseManufacturerReply, "SIEMENS", false, std::nullopt},
        {"model, echo on", parseModelReply, "AT+CGMM\r\r\nMC35i\r\n\r\nOK\r\n", true, "MC35i"},
        {"model, echo off", parseModelReply, "\r\nMC35i\r\n\r\nOK\r\n", true, "MC35i"},
        // The line break alone counts as a second line for the model.
        {"model, echo only", parseModelReply, "AT+CGMM\r\n", true, std::nullopt},
        {"model, nothing", parseModelReply, "", false, std::nullopt},
        {"clock keeps its quotes", parseClockReply,
         "AT+CCLK?\r\r\n+CCLK: \"26/12/06,18:30:05+08\"\r\n\r\nOK\r\n", true,
         "\"26/12/06,18:30:05+08\""},
        {"clock, echo off", parseClockReply, "\r\n+CCLK: \"27/02/01,09:05:03\"\r\n\r\nOK\r\n", true,
         "\"27/02/01,09:05:03\""},
        {"clock, quote before any colon", parseClockReply, "\r\n\"27/02/01\"\r\nOK\r\n", true,
         "\"27/02/01\""},
        {"clock, colon without a blank", parseClockReply, "\r\n+CCLK:12:00\r\n", true, "12:00"},
        {"clock, nothing after the colon", parseClockReply, "\r\n+CCLK:\r\n", true, std::nullopt},
        {"format, echo on", parseFormatReply, "AT+CMGF?\r\r\n+CMGF: 0\r\n\r\nOK\r\n", true, "0"},
        {"format, echo off", parseFormatReply, "\r\n+CMGF: 1\r\n\r\nOK\r\n", true, "1"},
        {"format, no blank", parseFormatReply, "\r\nERROR\r\n", true, std::nullopt},
        {"format, blank at the end", parseFormatReply, "\r\n+CMGF: ", true, std::nullopt},
        {"character set", parseCharSetReply, "AT+CSCS?\r\r\n+CSCS: \"GSM\"\r\n\r\nOK\r\n", true,
         std::nullopt},
        {"format setting", parseFormatSettingReply, "AT+CMGF=0\r\r\nOK\r\n", true, std::nullopt},
        {"format setting, echo only", parseFormatSettingReply, "AT+CMGF=0", false, std::nullopt},
    };
    for (const auto &c : cases) {
        const ModemReply r = c.parse(c.chunk);
        EXPECT_EQ(r.answered, c.answered) << c.name;
        EXPECT_EQ(r.text, c.text) << c.name;
    }
}

TEST(ModemReplies, ScansStopAtPosition250) {
    // No line break among the first 250 characters: nothing is recognised.
    const QByteArray longLine = QByteArray(300, 'x') + "\r\nSIEMENS\r\n";
    for (Parser p : {parseManufacturerReply, parseModelReply, parseClockReply, parseFormatReply,
                     parseFormatSettingReply}) {
        const ModemReply r = p(longLine);
        EXPECT_FALSE(r.answered);
        EXPECT_FALSE(r.text.has_value());
    }
    // A break early, but the answer's colon beyond the limit.
    const QByteArray farColon = "\r\n" + QByteArray(260, 'y') + ": \"x\"\r\n";
    EXPECT_FALSE(parseClockReply(farColon).answered);
    EXPECT_FALSE(parseCharSetReply(farColon).answered);
    const QByteArray nearLimit = "\r\n" + QByteArray(249, 'y') + ": \"x\"\r\n";
    EXPECT_FALSE(parseClockReply(nearLimit).answered);
    EXPECT_TRUE(parseCharSetReply(nearLimit).answered); // its limit is 254
}
