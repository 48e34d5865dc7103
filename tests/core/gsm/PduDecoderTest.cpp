#include "gsm/PduDecoder.h"

#include <gtest/gtest.h>

#include <map>

using namespace zx::gsm;

namespace {

// Service centre +4917600403 (7 octets), SMS-DELIVER from +49171012345 6.
const QByteArray kCentre = "0791947106004030";
const QByteArray kDeliverHeader = "040B919471012345F6";
const QByteArray kTimestamp = "62107021000000";

QByteArray deliver(const QByteArray &centre, const char *dcs, const char *udlAndData) {
    return centre + kDeliverHeader + "00" + dcs + kTimestamp + udlAndData;
}

} // namespace

TEST(PduDecoder, HexDigitValueIsUppercaseOnly) {
    EXPECT_EQ(HexDigitValue('0'), 0);
    EXPECT_EQ(HexDigitValue('9'), 9);
    EXPECT_EQ(HexDigitValue('A'), 10);
    EXPECT_EQ(HexDigitValue('F'), 15);
    for (const char c : {'a', 'f', 'G', '/', ':', '@', ' ', '\0', '\xC1'})
        EXPECT_EQ(HexDigitValue(c), -1) << int(c);
}

TEST(PduDecoder, DeliverWithAndWithoutServiceCentre) {
    EXPECT_EQ(PDUTextConversion(deliver(kCentre, "00", "024121")), QByteArray("AB"));
    EXPECT_EQ(PDUTextConversion(deliver("00", "00", "024121")), QByteArray("AB"));
    // A service-centre length that is not hex counts as none.
    EXPECT_EQ(PDUTextConversion(deliver("G0", "00", "024121")), QByteArray("AB"));
}

TEST(PduDecoder, CodingSchemeIsNotExamined) {
    EXPECT_EQ(PDUTextConversion(deliver(kCentre, "04", "024121")), QByteArray("AB")); // 8-bit
    EXPECT_EQ(PDUTextConversion(deliver(kCentre, "08", "024121")), QByteArray("AB")); // UCS2
}

TEST(PduDecoder, StoredSubmitUsesTheAddressAfterTheMessageReference) {
    // Message reference 00, validity period AA.
    const QByteArray submit = "11000B919471012345F60000AA024121";
    EXPECT_EQ(PDUTextConversion("00" + submit), QByteArray("AB"));
    EXPECT_EQ(PDUTextConversion(kCentre + submit), QByteArray("AB"));
    // Only the two low bits of the first octet choose the layout.
    for (const char *firstOctet : {"01", "02", "03", "C1"})
        EXPECT_EQ(PDUTextConversion(kCentre + firstOctet + submit.mid(2)), QByteArray("AB"))
            << firstOctet;
    for (const char *firstOctet : {"00", "24", "44", "FC"})
        EXPECT_EQ(PDUTextConversion(kCentre + firstOctet + kDeliverHeader.mid(2) + "0000" +
                                    kTimestamp + "024121"),
                  QByteArray("AB"))
            << firstOctet;
    const PduLayout layout = locateUserData(kCentre + submit);
    EXPECT_EQ(layout.firstOctet, 0x11);
    EXPECT_EQ(layout.addressPosition, 20);
    EXPECT_EQ(layout.userDataLengthPosition, 42);
}

TEST(PduDecoder, SevenAndEightCharactersFromSevenOctets) {
    EXPECT_EQ(PDUTextConversion(deliver("00", "00", "07CF2A155AA5C600")), QByteArray("OUTPUT1"));
    EXPECT_EQ(PDUTextConversion(deliver("00", "00", "08CF2A155AA5C664")), QByteArray("OUTPUT12"));
}

TEST(PduDecoder, AlphabetSpecialCodes) {
    // Codes 00 1F 5B 5C 5D 5E 5F.
    EXPECT_EQ(PDUTextConversion(deliver("00", "00", "0780CF96DBF57E01")), QByteArray("@\xE6*****"));
}

TEST(PduDecoder, EveryCodeThroughTheAlphabet) {
    // Codes 0x00..0x7F in order, 16 full groups.
    const char *packed =
        "8080604028180E888462C168381E90886442A9582E988C66C3E9783EA09068442A994EA8946AC56AB95EB0"
        "986C46ABD96EB89C6EC7EBF97EC0A070482C1A8FC8A472C96C3A9FD0A8744AAD5AAFD8AC76CBED7ABFE0B0"
        "784C2E9BCFE8B47ACD6EBBDFF0B87C4EAFDBEFF8BC7ECFEFFBFF";
    const std::map<int, int> shownAs = {
        {0x00, 0x40}, {0x01, 0x20}, {0x02, 0x24}, {0x03, 0x59}, {0x04, 0xE8}, {0x05, 0xE9},
        {0x06, 0xF9}, {0x07, 0xEC}, {0x08, 0xF2}, {0x09, 0xE7}, {0x0B, 0x20}, {0x0C, 0xF8},
        {0x0E, 0x20}, {0x0F, 0xE5}, {0x10, 0x20}, {0x11, 0x5F}, {0x12, 0x20}, {0x13, 0x20},
        {0x14, 0x20}, {0x15, 0x20}, {0x16, 0x20}, {0x17, 0x20}, {0x18, 0x20}, {0x19, 0x20},
        {0x1A, 0x20}, {0x1B, 0x20}, {0x1C, 0xC6}, {0x1D, 0xE6}, {0x1E, 0xDF}, {0x1F, 0xE6},
        {0x24, 0xA4}, {0x40, 0xA1}, {0x5B, 0x2A}, {0x5C, 0x2A}, {0x5D, 0x2A}, {0x5E, 0x2A},
        {0x5F, 0x2A}, {0x60, 0xBF}, {0x7B, 0xE4}, {0x7C, 0xF5}, {0x7D, 0xF1}, {0x7E, 0xFC},
        {0x7F, 0xE0},
    };
    const QByteArray text = PDUTextConversion(deliver("00", "00", "80") + packed);
    ASSERT_EQ(text.size(), 128);
    for (int code = 0; code < 128; ++code) {
        const auto special = shownAs.find(code);
        const int expected = special != shownAs.end() ? special->second : code;
        EXPECT_EQ(static_cast<unsigned char>(text.at(code)), expected) << "code " << code;
        EXPECT_EQ(GSMAlphabetTable[code], expected) << "code " << code;
    }
}

TEST(PduDecoder, LinesWithoutAMessageGiveNoText) {
    const QByteArray noText[] = {
        "",
        "OK",
        "000000000000" + kTimestamp + "024121",  // zeros at the plausibility positions
        deliver(kCentre, "00", "00"),            // no user data
        deliver(kCentre, "00", "0"),             // length cut after its first digit
        deliver(kCentre, "00", "1"),             // length of 15 but no data
        deliver(kCentre, "00", "G24121"),        // length not hex
        kCentre + kDeliverHeader + "0000621070", // cut in the time stamp
        "07919471",
    };
    for (const QByteArray &line : noText)
        EXPECT_EQ(PDUTextConversion(line), QByteArray()) << line.constData();
}

TEST(PduDecoder, EarlyEndOfDataAddsOneCharacterAndStops) {
    struct Case {
        const char *udlAndData;
        QByteArray expected;
    } const cases[] = {
        {"0A4121", "AB "},          // 0x21 >> 1 = 0x10 shown as space
        {"0A412", "A>\xE5"},        // a lone last digit 2 reads as 0x1F
        {"0141", "A"},              // length reached: nothing extra
        {"02CF2A155AA5C664", "OU"}, // never more than the length
        {"09CF2A155AA5C664", "OUTPUT12"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PDUTextConversion(deliver(kCentre, "00", c.udlAndData)), c.expected)
            << c.udlAndData;
}

TEST(PduDecoder, GarbageInsideTheDataIsDecodedAnyway) {
    // "xx" reads as -17, of which the low eight bits 0xEF are used.
    EXPECT_EQ(PDUTextConversion(deliver(kCentre, "00", "02xx21")), QByteArray("oC"));
    EXPECT_EQ(PDUTextConversion(deliver(kCentre, "00", "024121\r\nOK\r\n")), QByteArray("AB"));
}
