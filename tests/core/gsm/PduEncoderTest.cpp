#include "gsm/PduEncoder.h"

#include <gtest/gtest.h>

using namespace zx::gsm;

namespace {

QByteArray withNul(const char *hex) {
    return QByteArray(hex) + '\0';
}

} // namespace

TEST(PduEncoder, GetVersionCommandToInternationalNumber) {
    const QByteArray pdu = TextToPDUConversion("GETVR\r", "+12345");
    EXPECT_EQ(pdu, withNul("00113005912143F500000B06C722D52A6D00"));
    ASSERT_EQ(pdu.size(), 37);
    EXPECT_EQ(pdu.size() / 2 - 1, 17); // octets announced with AT+CMGS
}

TEST(PduEncoder, EmptyNumberBuildsNothing) {
    EXPECT_TRUE(TextToPDUConversion("GETVR\r", "").isEmpty());
}

TEST(PduEncoder, DestinationAddressForms) {
    struct Case {
        const char *number;
        const char *address;
    } const cases[] = {
        {"+12345", "05912143F5"}, {"+491", "039194F1"}, // odd digit count: F fill
        {"+4917", "04919471"},                          // even digit count: no fill
        {"0171", "04811017"},                           // national: type 81, same pairing
        {"01712", "05811017F2"},  {"+", "0091"},        // no digits at all
        {"+4+", "02914"},                               // non-digits count but are dropped
        {"12a3", "0481213"},      {"++1", "02911"},
    };
    for (const auto &c : cases) {
        const QByteArray expected = QByteArray("001130") + c.address + "00000B010D" + '\0';
        EXPECT_EQ(TextToPDUConversion("\r", c.number), expected) << c.number;
    }
    // The digit count wraps in its octet; a count of 0 writes no digits.
    EXPECT_EQ(TextToPDUConversion("\r", "+" + QByteArray(256, '1')), withNul("0011300091"
                                                                             "00000B010D"));
}

TEST(PduEncoder, PacksSeptetsIntoSevenEighthsOctets) {
    struct Case {
        QByteArray text;
        const char *lengthAndData;
    } const cases[] = {
        {"", "00"},
        {"ABCDEFG", "0741E19058341E01"},     // 7 octets, top seven bits of the last clear
        {"ABCDEFGH", "0841E19058341E91"},    // the eighth rides in the seventh octet
        {"ABCDEFGHI", "0941E19058341E9149"}, // the ninth starts an eighth octet
        {"GETOS11\r", "08C722F5398DC51A"},   // CR as the eighth septet: 0x1A >> 1
        {"@$_\r", "0440D2B701"},             // ANSI codes, no GSM translation
        {"\xE4\r", "02E406"},                // bit 7 is lost
    };
    for (const auto &c : cases) {
        const QByteArray expected = QByteArray("00113005912143F500000B") + c.lengthAndData + '\0';
        EXPECT_EQ(TextToPDUConversion(c.text, "+12345"), expected) << c.text.toHex().constData();
    }
}

TEST(PduEncoder, CarriageReturnIsTheLastSeptet) {
    // Six characters: the CR is septet 5, its top bits fill the sixth octet.
    const QByteArray pdu = TextToPDUConversion("GETNR1\r", "+12345");
    EXPECT_TRUE(pdu.endsWith(QByteArray("07C722D5298D3500") + '\0'));
}

TEST(PduEncoder, TextLengthWrapsAtOneOctet) {
    const QByteArray pdu = TextToPDUConversion(QByteArray(300, 'A'), "+12345");
    // 300 mod 256 = 44 characters in 39 octets.
    EXPECT_EQ(pdu, withNul("00113005912143F500000B2C"
                           "C16030180C0683C16030180C0683C16030180C0683C16030180C0683"
                           "C16030180C0683C1603008"));
}

TEST(PduEncoder, PackSeptetsIgnoresCharactersBeyondTheCount) {
    EXPECT_EQ(PackSeptets("ABCDEFGHI", 8), QByteArray("41E19058341E91"));
    EXPECT_EQ(PackSeptets("AB", 5), QByteArray("4121"));
    EXPECT_EQ(PackSeptets("AB", 0), QByteArray());
}

TEST(PduEncoder, ModuleNumberCheck) {
    struct Case {
        const char *number;
        NumberCheck expected;
    } const cases[] = {
        {"", NumberCheck::Empty},         {"+", NumberCheck::Ok},
        {"+491", NumberCheck::Ok},        {"0171", NumberCheck::Ok},
        {"+4+", NumberCheck::Malformed},  {"12a3", NumberCheck::Malformed},
        {" 123", NumberCheck::Malformed}, {"++1", NumberCheck::Malformed},
        {"123 ", NumberCheck::Malformed},
    };
    for (const auto &c : cases)
        EXPECT_EQ(checkModuleNumber(c.number), c.expected) << '"' << c.number << '"';
}
