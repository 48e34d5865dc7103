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

namespace {

enum class Act { Feed, Poll, StoreAnswers };

struct HabitStep {
    qint64 uptimeMs;
    Act act;
    QByteArray in; // Feed: the bytes; StoreAnswers: how many
    QByteArray out;
};

struct HabitCase {
    const char *name;
    std::function<void(zx::sim::ModemState &)> set;
    std::vector<HabitStep> steps;
    int storedAtEnd;
};

// "GETVR\r" to +12345 and the module's "VERSION 2.07" back, at the fixture's time.
const QByteArray kVersionSubmit = "00113005912143F500000B06C722D52A6D00\x1A";
const QByteArray kVersionDeliver = "000405912143F50000622160810350400CD6A2749A7C3A413217EC06";

} // namespace

TEST_F(ModemFixture, RealModemHabitsByteForByte) {
    const QByteArray listedVersion1 = "+CMGL: 1,0,,27\r\n" + kVersionDeliver + "\r\n";
    const QByteArray listedVersion2 = "+CMGL: 2,0,,27\r\n" + kVersionDeliver + "\r\n";
    const HabitCase cases[] = {
        {"a refused submission leaves the modem reading command lines",
         [](auto &s) { s.refuseSubmitCode = 500; },
         {{0, Act::Feed, "AT+CMGS=17\r", "AT+CMGS=17\r\r\n+CMS ERROR: 500\r\n"},
          {0, Act::Feed, kVersionSubmit, kVersionSubmit.chopped(1)},
          {0, Act::Feed, "\r", "\r"},
          {0, Act::Feed, "AT\r", "AT\r\r\nOK\r\n"}},
         0},
        {"bare prompt",
         [](auto &s) { s.echo = false; s.barePrompt = true; },
         {{0, Act::Feed, "AT+CMGS=17\r", ">"},
          {0, Act::Feed, kVersionSubmit, "\r\n+CMGS: 1\r\n\r\nOK\r\n"}},
         1},
        {"unsolicited lines inside the replies",
         [](auto &s) { s.echo = false; s.unsolicitedInReplies = true; },
         {{0, Act::Feed, "AT+CMGL=4\r", "\r\n+CREG: 1\r\n\r\nOK\r\n"},
          {0, Act::Feed, "AT+CMGS=17\r", "\r\n> "},
          {0, Act::Feed, kVersionSubmit, "\r\n+CMGS: 1\r\n\r\nRING\r\n\r\nOK\r\n"},
          {0, Act::Feed, "AT+CMGS=17\r" + kVersionSubmit, "\r\n> \r\n+CMGS: 2\r\n\r\nRING\r\n\r\nOK\r\n"},
          {0, Act::Feed, "AT+CMGL=4\r",
           "\r\n" + listedVersion1 + "\r\nRING\r\n" + listedVersion2 + "\r\n+CREG: 1\r\n\r\nOK\r\n"},
          {0, Act::Feed, "AT+CMGD=1\r", "\r\nRING\r\n\r\nOK\r\n"},
          {0, Act::Feed, "AT+CMGL=4\r",
           "\r\n+CMGL: 2,1,,27\r\n" + kVersionDeliver + "\r\n\r\n+CREG: 1\r\n\r\nOK\r\n"},
          {0, Act::Feed, "AT+CMGD=0,4\r", "\r\nRING\r\n\r\nOK\r\n"}},
         0},
        {"not ready at first, then announced once",
         [](auto &s) { s.echo = false; s.notReadyMs = 20000; },
         {{0, Act::Feed, "AT+CPIN?\r", "\r\nERROR\r\n"},
          {0, Act::Poll, {}, {}},
          {19999, Act::Feed, "AT+CMGS=17\r", "\r\nERROR\r\n"},
          {19999, Act::Feed, "ATE1\r", "\r\nERROR\r\n"},
          {20000, Act::Poll, {}, "\r\n+CPIN: READY\r\n\r\nSMS Ready\r\n"},
          {20000, Act::Poll, {}, {}},
          {20001, Act::Feed, "AT+CPIN?\r", "\r\n+CPIN: READY\r\n\r\nOK\r\n"}},
         0},
        {"ready announced before the first answer when nothing asked for it",
         [](auto &s) { s.notReadyMs = 1000; },
         {{999, Act::Feed, "AT\r", "AT\r\r\nERROR\r\n"},
          {5000, Act::Feed, "AT\r", "\r\n+CPIN: READY\r\n\r\nSMS Ready\r\nAT\r\r\nOK\r\n"},
          {6000, Act::Poll, {}, {}}},
         0},
        {"a full store refuses submissions",
         [](auto &s) { s.echo = false; s.storeCapacity = 1; s.refuseWhenFull = true; },
         {{0, Act::Feed, "AT+CMGS=17\r" + kVersionSubmit, "\r\n> \r\n+CMGS: 1\r\n\r\nOK\r\n"},
          {0, Act::Feed, "AT+CMGS=17\r", "\r\n+CMS ERROR: 322\r\n"},
          {0, Act::Feed, "AT+CMGD=1\r", "\r\nOK\r\n"},
          {0, Act::Feed, "AT+CMGS=17\r", "\r\n> "},
          {0, Act::Feed, "\x1B", "\r\nOK\r\n"}},
         0},
        {"answers stored before the start, announced",
         [](auto &s) { s.echo = false; },
         {{0, Act::StoreAnswers, "2", "\r\n+CMTI: \"SM\",1\r\n\r\n+CMTI: \"SM\",2\r\n"},
          {0, Act::Feed, "AT+CMGL=0\r",
           "\r\n+CMGL: 1,0,,32\r\n00040A9194710000000000622160810350400F53EA535A248282CEE9B52805C500"
           "\r\n+CMGL: 2,0,,32\r\n00040A9194710000000000622160810350400F53EA535A248282CEE9B52805C900"
           "\r\n\r\nOK\r\n"}},
         2},
    };
    // A network that does nothing to the SMS, there only to count them,
    // changes no byte.
    for (const bool counted : {false, true}) {
        for (const HabitCase &c : cases) {
            SCOPED_TRACE(counted ? "counted by the network" : "straight to the module");
            Module freshModule;
            Modem fresh(freshModule);
            qint64 uptime = 0;
            fresh.state().clock = [this] { return pc; };
            fresh.state().uptimeMs = [&uptime] { return uptime; };
            zx::sim::NetworkOptions network;
            network.counted = counted;
            fresh.network().setOptions(network);
            c.set(fresh.state());
            int accepted = 0;
            for (size_t i = 0; i < c.steps.size(); ++i) {
                const HabitStep &step = c.steps[i];
                uptime = step.uptimeMs;
                QByteArray out;
                if (step.act == Act::Feed)
                    out = fresh.feed(step.in);
                else if (step.act == Act::Poll)
                    out = fresh.poll();
                else
                    out = fresh.storeAnswers(step.in.toInt());
                EXPECT_EQ(out, step.out) << c.name << ", step " << i;
                accepted += int(out.count("+CMGS: "));
            }
            EXPECT_FALSE(fresh.awaitsPdu()) << c.name;
            EXPECT_EQ(fresh.store().size(), c.storedAtEnd) << c.name;
            EXPECT_EQ(fresh.network().counts(0).answersSent, counted ? accepted : 0) << c.name;
        }
    }
}

// With a store capacity set, the network keeps what does not fit and
// delivers it, in the order sent, as soon as deletions make room.
TEST_F(ModemFixture, FullStoreHoldsAnswersAndDeliversThemInABurst) {
    modem.state().echo = false;
    modem.state().newMessageIndications = true;
    modem.state().storeCapacity = 3;
    const QByteArray accepted = "\r\n> \r\n+CMGS: ";
    for (int output = 1; output <= 6; ++output) {
        const QByteArray reference = QByteArray::number(output) + "\r\n\r\nOK\r\n";
        const QByteArray indication =
            output <= 3 ? "\r\n+CMTI: \"SM\"," + QByteArray::number(output) + "\r\n" : "";
        EXPECT_EQ(submit("SETOU" + QByteArray::number(output) + '\r'),
                  accepted + reference + indication);
    }
    EXPECT_EQ(modem.store().size(), 3);
    EXPECT_EQ(modem.heldAnswers(), 3);

    EXPECT_EQ(modem.feed("AT+CMGD=2\r"), "\r\nOK\r\n\r\n+CMTI: \"SM\",2\r\n");
    EXPECT_EQ(modem.heldAnswers(), 2);
    EXPECT_EQ(modem.feed("AT+CMGD=0,4\r"),
              "\r\nOK\r\n\r\n+CMTI: \"SM\",1\r\n\r\n+CMTI: \"SM\",2\r\n");
    EXPECT_EQ(modem.heldAnswers(), 0);

    const QList<QByteArray> lines = modem.feed("AT+CMGL=4\r").split('\n');
    ASSERT_EQ(lines.size(), 8);
    const std::pair<QByteArray, QByteArray> expected[] = {
        {"+CMGL: 1,0,,", "OUT5 ON"}, {"+CMGL: 2,0,,", "OUT6 ON"}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_TRUE(lines[1 + 2 * i].startsWith(expected[i].first)) << lines[1 + 2 * i].constData();
        EXPECT_EQ(zx::gsm::PDUTextConversion(lines[2 + 2 * i].chopped(1)), expected[i].second);
    }
    // A third free slot stays free: nothing more was held.
    EXPECT_EQ(modem.feed("AT+CMGD=3\r"), "\r\nOK\r\n");
    EXPECT_EQ(modem.store().size(), 2);
}
