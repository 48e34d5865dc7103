#include "sim/Modem.h"

#include "gsm/PduDecoder.h"
#include "gsm/PduEncoder.h"
#include "link/ListReply.h"
#include "link/ModemReplies.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using zx::sim::Modem;
using zx::sim::Module;

namespace {

QByteArray pduWithoutNul(const QByteArray &text, const QByteArray &number) {
    QByteArray pdu = zx::gsm::TextToPDUConversion(text, number);
    pdu.chop(1);
    return pdu;
}

struct ModemFixture : ::testing::Test {
    Module module;
    Modem modem{module};
    QDateTime pc{QDate(2026, 12, 6), QTime(18, 30, 5), QTimeZone(3600)};

    void SetUp() override {
        modem.state().clock = [this] { return pc; };
    }

    // Submits one command as the tool does; returns the modem's answers.
    QByteArray submit(const QByteArray &commandWithCr, const QByteArray &number = "+12345") {
        const QByteArray pdu = pduWithoutNul(commandWithCr, number);
        QByteArray out = modem.feed("AT+CMGS=" + QByteArray::number(pdu.size() / 2 - 1) + '\r');
        out += modem.feed(pdu + '\x1A');
        return out;
    }
};

} // namespace

TEST_F(ModemFixture, QueryDialogueWithEchoOn) {
    const std::pair<QByteArray, QByteArray> dialogue[] = {
        {"AT\r", "AT\r\r\nOK\r\n"},
        {"AT+CGMI\r", "AT+CGMI\r\r\nZX Simulated GSM\r\n\r\nOK\r\n"},
        {"AT+CSCS?\r", "AT+CSCS?\r\r\n+CSCS: \"IRA\"\r\n\r\nOK\r\n"},
        {"AT+CGMM\r", "AT+CGMM\r\r\nZXS-900\r\n\r\nOK\r\n"},
        {"AT+CCLK?\r", "AT+CCLK?\r\r\n+CCLK: \"26/12/06,18:30:05+04\"\r\n\r\nOK\r\n"},
        {"AT+CMGF?\r", "AT+CMGF?\r\r\n+CMGF: 0\r\n\r\nOK\r\n"},
        {"AT+CMGF=0\r", "AT+CMGF=0\r\r\nOK\r\n"},
        {"AT+CSQ\r", "AT+CSQ\r\r\n+CSQ: 17,0\r\n\r\nOK\r\n"},
        {"AT#BND=3\r", "AT#BND=3\r\r\nOK\r\n"},
        {"AT#BND?\r", "AT#BND?\r\r\n#BND: 3\r\n\r\nOK\r\n"},
        {"AT#BND=?\r", "AT#BND=?\r\r\n#BND: (0-3)\r\n\r\nOK\r\n"},
        {"AT#BND=7\r", "AT#BND=7\r\r\nERROR\r\n"},
        {"AT+XYZ\r", "AT+XYZ\r\r\nERROR\r\n"},
        {"SETTM 26/12/06,18:30:05+02\r", "SETTM 26/12/06,18:30:05+02\r"}, // no AT: no answer
    };
    for (const auto &[sent, expected] : dialogue)
        EXPECT_EQ(modem.feed(sent), expected) << sent.constData();
}

TEST_F(ModemFixture, QueryDialogueWithEchoOff) {
    EXPECT_EQ(modem.feed("ATE0\r"), "ATE0\r\r\nOK\r\n"); // echoed before it takes effect
    const std::pair<QByteArray, QByteArray> dialogue[] = {
        {"AT+CGMI\r", "\r\nZX Simulated GSM\r\n\r\nOK\r\n"},
        {"AT+CMGF=1\r", "\r\nOK\r\n"},
        {"AT+CMGF?\r", "\r\n+CMGF: 1\r\n\r\nOK\r\n"},
        {"AT+CMGL=0\r", "\r\nERROR\r\n"}, // text mode lists by name, not number
        {"AT+CMGF=2\r", "\r\nERROR\r\n"},
        {"AT+CMGF=0\r", "\r\nOK\r\n"},
        {"AT+CMGL=0\r", "\r\nOK\r\n"},
        {"AT+CCLK=\"27/02/01,09:05:03+04\"\r", "\r\nOK\r\n"},
        {"AT+CCLK?\r", "\r\n+CCLK: \"27/02/01,09:05:03+04\"\r\n\r\nOK\r\n"},
        {"ATE1\r", "\r\nOK\r\n"}, // echo starts with the next byte
        {"AT\r", "AT\r\r\nOK\r\n"},
    };
    for (const auto &[sent, expected] : dialogue)
        EXPECT_EQ(modem.feed(sent), expected) << sent.constData();
}

TEST_F(ModemFixture, CommandLineMayArriveInPieces) {
    modem.state().echo = false;
    EXPECT_EQ(modem.feed("AT+C"), "");
    EXPECT_EQ(modem.feed("SQ"), "");
    EXPECT_EQ(modem.feed("\r"), "\r\n+CSQ: 17,0\r\n\r\nOK\r\n");
}

TEST_F(ModemFixture, SmsRoundTripThroughTheModule) {
    EXPECT_EQ(modem.feed("AT+CMGS=17\r"), "AT+CMGS=17\r\r\n> ");
    EXPECT_TRUE(modem.awaitsPdu());
    const QByteArray pdu = pduWithoutNul("GETVR\r", "+12345");
    ASSERT_EQ(pdu, "00113005912143F500000B06C722D52A6D00");
    EXPECT_EQ(modem.feed(pdu + '\x1A'), pdu + "\r\n+CMGS: 1\r\n\r\nOK\r\n");
    EXPECT_FALSE(modem.awaitsPdu());

    modem.state().echo = false;
    const QByteArray listing = modem.feed("AT+CMGL=0\r");
    const QByteArray head = "\r\n+CMGL: 1,0,,";
    ASSERT_TRUE(listing.startsWith(head)) << listing.constData();
    ASSERT_TRUE(listing.endsWith("\r\n\r\nOK\r\n"));
    const qsizetype pduStart = listing.indexOf("\r\n", head.size()) + 2;
    const QByteArray listedPdu = listing.mid(pduStart, listing.size() - 8 - pduStart);
    EXPECT_EQ(listing.mid(head.size(), pduStart - 2 - head.size()),
              QByteArray::number(listedPdu.size() / 2 - 1));
    EXPECT_EQ(zx::gsm::PDUTextConversion(listedPdu), "VERSION 2.07");
    // Sent from the number the command went to, at the modem's time.
    EXPECT_TRUE(listedPdu.startsWith("000405912143F5000062216081035040")) << listedPdu.constData();

    // Listed once as unread, it is now a read message.
    EXPECT_EQ(modem.feed("AT+CMGL=0\r"), "\r\nOK\r\n");
    EXPECT_TRUE(modem.feed("AT+CMGL=1\r").startsWith("\r\n+CMGL: 1,1,,"));
    EXPECT_EQ(modem.feed("AT+CMGD=1\r"), "\r\nOK\r\n");
    EXPECT_EQ(modem.store().size(), 0);
    EXPECT_EQ(modem.feed("AT+CMGL=1\r"), "\r\nOK\r\n");
}

TEST_F(ModemFixture, AnswersComeFromTheConfiguredModuleNumberInOrder) {
    modem.state().echo = false;
    modem.state().moduleNumber = "+4917099";
    EXPECT_EQ(submit("SETOU3\r"), "\r\n> \r\n+CMGS: 1\r\n\r\nOK\r\n");
    EXPECT_EQ(submit("GETOS3\r"), "\r\n> \r\n+CMGS: 2\r\n\r\nOK\r\n");
    EXPECT_TRUE(module.state().outputs[2]);
    const QByteArray listing = modem.feed("AT+CMGL=0\r");
    const QList<QByteArray> lines = listing.split('\n');
    ASSERT_EQ(lines.size(), 8) << listing.constData();
    EXPECT_TRUE(lines[1].startsWith("+CMGL: 1,0,,"));
    EXPECT_TRUE(lines[2].startsWith("00040791947190F9"));
    EXPECT_EQ(zx::gsm::PDUTextConversion(lines[2].chopped(1)), "OUT3 ON");
    EXPECT_TRUE(lines[3].startsWith("+CMGL: 2,0,,"));
    EXPECT_EQ(zx::gsm::PDUTextConversion(lines[4].chopped(1)), "OUT3 ON");
    // Deleting frees the index for the next answer.
    EXPECT_EQ(modem.feed("AT+CMGD=1\r"), "\r\nOK\r\n");
    submit("  GETVR\r");
    EXPECT_TRUE(modem.feed("AT+CMGL=0\r").startsWith("\r\n+CMGL: 1,0,,"));
}

TEST_F(ModemFixture, OptionalRealModemHabitsEmptyStoreErrorAndNewMessageIndications) {
    modem.state().echo = false;
    for (const bool habits : {false, true}) {
        modem.store().clear();
        modem.state().messageReference = 0;
        modem.state().emptyStoreError = habits;
        modem.state().newMessageIndications = habits;
        const QByteArray empty = habits ? "\r\n+CMS ERROR: 321\r\n" : "\r\nOK\r\n";
        EXPECT_EQ(modem.feed("AT+CMGL=0\r"), empty);
        EXPECT_EQ(modem.feed("AT+CMGL=4\r"), empty);
        const QByteArray indication = habits ? "\r\n+CMTI: \"SM\",1\r\n" : "";
        EXPECT_EQ(submit("GETVR\r"), "\r\n> \r\n+CMGS: 1\r\n\r\nOK\r\n" + indication);
        // Messages in the store, none unread: an empty listing, not an empty store.
        EXPECT_TRUE(modem.feed("AT+CMGL=0\r").startsWith("\r\n+CMGL: 1,0,,"));
        EXPECT_EQ(modem.feed("AT+CMGL=0\r"), "\r\nOK\r\n");
        // A full store announces nothing.
        modem.store().setCapacity(1);
        EXPECT_EQ(submit("GETVR\r"), "\r\n> \r\n+CMGS: 2\r\n\r\nOK\r\n");
        modem.store().setCapacity(30);
    }
}

TEST_F(ModemFixture, RefusesBadSubmissionsAndIndexes) {
    modem.state().echo = false;
    const QByteArray pdu = pduWithoutNul("GETVR\r", "+12345");
    // Announced length does not match the PDU.
    EXPECT_EQ(modem.feed("AT+CMGS=16\r"), "\r\n> ");
    EXPECT_EQ(modem.feed(pdu + '\x1A'), "\r\n+CMS ERROR: 304\r\n");
    // Not a PDU at all.
    EXPECT_EQ(modem.feed("AT+CMGS=2\r"), "\r\n> ");
    EXPECT_EQ(modem.feed("0011ZZ\x1A"), "\r\n+CMS ERROR: 304\r\n");
    // ESC cancels; nothing reaches the module.
    EXPECT_EQ(modem.feed("AT+CMGS=17\r"), "\r\n> ");
    EXPECT_EQ(modem.feed(pdu.left(10) + '\x1B'), "\r\nOK\r\n");
    EXPECT_EQ(modem.store().size(), 0);
    // An empty module number gives the tool's "AT+CMGS=-1".
    EXPECT_EQ(modem.feed("AT+CMGS=-1\r"), "\r\nERROR\r\n");
    EXPECT_EQ(modem.feed("\x1A"), "");
    EXPECT_EQ(modem.feed("AT+CMGD=0\r"), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(modem.feed("AT+CMGD=31\r"), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(modem.feed("AT+CMGD=5\r"), "\r\nOK\r\n"); // an empty slot
    EXPECT_EQ(modem.feed("AT+CMGL=7\r"), "\r\nERROR\r\n");
}

TEST_F(ModemFixture, FullStoreLosesFurtherAnswers) {
    modem.state().echo = false;
    modem.store().setCapacity(2);
    for (int i = 0; i < 3; ++i)
        submit("GETVR\r");
    EXPECT_EQ(modem.store().size(), 2);
    EXPECT_EQ(modem.feed("AT+CMGD=0,4\r"), "\r\nOK\r\n");
    EXPECT_EQ(modem.store().size(), 0);
}

TEST(DeliverTimestamp, SwapsDigitsAndSignsNegativeZones) {
    const QDate date(2026, 12, 6);
    const QTime time(18, 30, 5);
    EXPECT_EQ(zx::sim::deliverTimestamp(QDateTime(date, time, QTimeZone(3600))),
              "62216081035040");
    EXPECT_EQ(zx::sim::deliverTimestamp(QDateTime(date, time, QTimeZone(-5 * 3600))),
              "6221608103500A");
}

// The tool reads the first listed message and its index with its own reader.
TEST_F(ModemFixture, ListingIsReadableByTheToolsListReader) {
    for (const bool echo : {true, false}) {
        modem.state().echo = echo;
        modem.store().clear();
        for (int i = 0; i < 12; ++i)
            submit("GETVR\r");
        for (int i = 1; i < 12; ++i)
            modem.feed("AT+CMGD=" + QByteArray::number(i) + '\r');
        const zx::link::ListedMessage listed = zx::link::parseListReply(modem.feed("AT+CMGL=0\r"));
        ASSERT_TRUE(listed.found) << "echo " << echo;
        EXPECT_EQ(listed.index, "12");
        EXPECT_EQ(zx::gsm::PDUTextConversion(listed.pduLine), "VERSION 2.07");
    }
}

// The query answers as the tool's reply parsers cut them out of a chunk.
TEST_F(ModemFixture, QueryAnswersAreReadableByTheToolsReplyParsers) {
    for (const bool echo : {true, false}) {
        modem.state().echo = echo;
        EXPECT_EQ(zx::link::parseManufacturerReply(modem.feed("AT+CGMI\r")).text, "ZX Simulated GSM");
        EXPECT_EQ(zx::link::parseModelReply(modem.feed("AT+CGMM\r")).text, "ZXS-900");
        EXPECT_EQ(zx::link::parseClockReply(modem.feed("AT+CCLK?\r")).text,
                  "\"26/12/06,18:30:05+04\"");
        EXPECT_EQ(zx::link::parseFormatReply(modem.feed("AT+CMGF?\r")).text, "0");
        EXPECT_TRUE(zx::link::parseCharSetReply(modem.feed("AT+CSCS?\r")).answered);
        EXPECT_TRUE(zx::link::parseFormatSettingReply(modem.feed("AT+CMGF=0\r")).answered);
    }
}
