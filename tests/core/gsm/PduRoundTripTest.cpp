#include "gsm/DeliverHeader.h"
#include "gsm/PduDecoder.h"
#include "gsm/PduDeliver.h"
#include "gsm/PduEncoder.h"

#include <gtest/gtest.h>

using namespace zx::gsm;

namespace {

const QByteArray kCommandLines[] = {
    "GETVR\r",
    "GETOS1\r",
    "SETOU1\r",
    "CLRNR1\r",
    "SETTX01 Alarm input 1 active                    \r",
    "SETAP internet.provider.example\r",
    "SETME 0F3A\r",
    "OUTP 10101010\r",
    "GETTM\r",
    "SETTM 26/01/07,12:00:00\r",
    "1234567\r", // eight septets: the CR rides in the seventh octet
    "A\r",
    "\r",
};

const QByteArray kAnswers[] = {
    "OK",
    "VR: 2.17",
    "OS1=ON OS2=OFF\r\n",
    "NR1:+4917012345678",
    "TX01 Alarm input 1 @ 10:00",
    "PWR_FAIL $ 12",
    "ABCDEFG",
    "ABCDEFGH",
    "ABCDEFGHIJKLMNOP",
    "lowercase answer, too.",
    "",
};

} // namespace

TEST(PduRoundTrip, DeliverDecodesToTheAnswer) {
    const char *originators[] = {"+491710123456", "+4917101234567", "0171", "+"};
    for (const char *originator : originators)
        for (const QByteArray &answer : kAnswers) {
            EXPECT_EQ(PDUTextConversion(buildDeliverPdu(originator, answer)), answer)
                << originator << ' ' << answer.constData();
            EXPECT_EQ(PDUTextConversion(
                          buildDeliverPdu(originator, answer, "62107021000000", "+4917600403")),
                      answer)
                << originator << ' ' << answer.constData();
        }
}

TEST(PduRoundTrip, DeliverLayout) {
    // Service centre, first octet, originator, PID and DCS, time stamp, length, data.
    const QByteArray plain =
        QByteArray("00") + "04" + "05912143F5" + "0000" + "62107021000000" + "02" + "4121";
    EXPECT_EQ(buildDeliverPdu("+12345", "AB"), plain);
    const QByteArray withCentre =
        QByteArray("04919471F6") + "04" + "04811017" + "0000" + "99999999999999" + "01" + "00";
    EXPECT_EQ(buildDeliverPdu("0171", "@", "99999999999999", "+49176"), withCentre);
    // Characters the alphabet shows differently travel as their GSM codes.
    EXPECT_EQ(buildDeliverPdu("1", "$_\xE6", "62107021000000").right(8), QByteArray("03824807"));
}

TEST(PduRoundTrip, SubmitParsesBackToNumberAndCommand) {
    const char *numbers[] = {"+12345", "+491710123456", "0171", "01712", "+"};
    for (const char *number : numbers)
        for (const QByteArray &line : kCommandLines) {
            const QByteArray pdu = TextToPDUConversion(line, number);
            ASSERT_TRUE(pdu.endsWith('\0'));
            const SubmitPdu parsed = parseSubmitPdu(pdu.chopped(1));
            EXPECT_TRUE(parsed.ok) << number << ' ' << line.constData();
            EXPECT_EQ(parsed.number, QByteArray(number));
            EXPECT_EQ(parsed.text, line);
            // The tool's own decoder reads a stored SMS-SUBMIT the same way.
            EXPECT_EQ(PDUTextConversion(pdu.chopped(1)), line) << line.constData();
        }
}

TEST(PduRoundTrip, SubmitTextKeepsAnsiCodesWithoutBitSeven) {
    const SubmitPdu parsed = parseSubmitPdu(TextToPDUConversion("@$_\xE4\r", "+1").chopped(1));
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.text, QByteArray("@$_d\r"));
}

TEST(PduRoundTrip, SubmitParserRefusesWhatIsNotACompleteSubmit) {
    const QByteArray good = TextToPDUConversion("GETVR\r", "+12345").chopped(1);
    const QByteArray bad[] = {
        "",
        "00",
        good.chopped(2),                                  // user data cut short
        good + "00",                                      // trailing octet
        good.toLower(),                                   // not uppercase hex
        QByteArray(good).replace(2, 2, "04"),             // an SMS-DELIVER
        QByteArray(good).replace(18, 2, "08"),            // UCS2 data
        TextToPDUConversion("GETVR\r", "+4+").chopped(1), // malformed address
        buildDeliverPdu("+12345", "GETVR\r"),
    };
    for (const QByteArray &pdu : bad) {
        const SubmitPdu parsed = parseSubmitPdu(pdu);
        EXPECT_FALSE(parsed.ok) << pdu.constData();
        EXPECT_TRUE(parsed.number.isEmpty());
        EXPECT_TRUE(parsed.text.isEmpty());
    }
}

// Who sent an answer is read from its SMS-DELIVER, whatever the number's
// length, type or service-centre field; anything else is no sender.
TEST(PduRoundTrip, DeliverHeaderNamesTheSenderAndTimeStamp) {
    struct Case {
        QByteArray originator, centre, stamp;
        QByteArray sender; // empty: not read
    };
    const Case cases[] = {
        {"+4915111", {}, "62107021000000", "+4915111"},
        {"+491710123456", "+4917600403", "22019141720080", "+491710123456"},
        {"0171", {}, "9999999999999A", "0171"},
        {"+12345", "+49176", "62107021000000", "+12345"},
    };
    for (const Case &c : cases) {
        const QByteArray pdu = buildDeliverPdu(c.originator, "OK", c.stamp, c.centre);
        const DeliverHeader header = readDeliverHeader(pdu);
        EXPECT_TRUE(header.ok) << pdu.constData();
        EXPECT_EQ(header.sender, c.sender);
        EXPECT_EQ(header.timestamp, c.stamp);
        // Cut anywhere before the time stamp's end, it is not a message.
        for (qsizetype cut = 0; cut < pdu.size() - 6; cut += 3)
            EXPECT_FALSE(readDeliverHeader(pdu.left(cut)).ok) << cut;
    }
    // A stored SMS-SUBMIT, a letter in the address and a plain word are not
    // a received message.
    EXPECT_FALSE(readDeliverHeader(TextToPDUConversion("GETVR\r", "+4915111").chopped(1)).ok);
    EXPECT_FALSE(readDeliverHeader("0004059121A3F5000062107021000000024121").ok);
    EXPECT_FALSE(readDeliverHeader("OK").ok);
}
