// Reading the modem's store: every listed message taken once, in order, the
// store listed again at once while it holds more, and on "+CMTI:".
#include "LinkDoubles.h"
#include "gsm/PduDeliver.h"
#include "link/ListReply.h"

#include <gtest/gtest.h>

#include <utility>

using namespace zx::link;
using namespace zx::link::testing;

namespace {

QByteArray pduOf(const QByteArray &text) {
    return zx::gsm::buildDeliverPdu("+4917012345", text);
}

// A list reply as a modem writes it, the messages by store index.
QByteArray listing(const QList<std::pair<int, QByteArray>> &messages) {
    QByteArray reply = messages.isEmpty() ? QByteArray() : QByteArray("\r\n");
    for (const auto &[index, text] : messages)
        reply += "+CMGL: " + QByteArray::number(index) + ",1,,25\r\n" + pduOf(text) + "\r\n";
    return reply + "\r\nOK\r\n";
}

const QList<std::pair<int, QByteArray>> kThree = {{1, "ONE"}, {2, "TWO"}, {3, "THREE"}};

struct SmsLink : LinkFixture {
    explicit SmsLink(bool deleteAfterRead) {
        view.sms = true;
        link.setPollFactor(1);
        link.setDeleteAfterRead(deleteAfterRead);
    }
};

} // namespace

TEST(ListReply, ReadsEveryListedMessageInOrder) {
    const QByteArray one = pduOf("ONE"), two = pduOf("TWO");
    const QByteArray twoListed = listing({{1, "ONE"}, {2, "TWO"}});
    struct Case {
        QByteArray raw;
        QList<QByteArray> indexes;
        QList<QByteArray> pdus;
        QList<bool> complete;
    } const cases[] = {
        {twoListed, {"1", "2"}, {one, two}, {true, true}},
        {"AT+CMGL=1\r" + listing({{17, "ONE"}, {1234, "TWO"}}),
         {"17", "234"},
         {one, two},
         {true, true}},
        // The port delivered the reply in two chunks: the second PDU is cut.
        {twoListed.left(twoListed.indexOf(two) + 6), {"1", "2"}, {one, two.left(6)}, {true, false}},
        {"\r\n+CMGL: 4,1\r\n", {"4"}, {""}, {false}},
        {"\r\nOK\r\n", {}, {}, {}},
        {"\r\n+CMS ERROR: 321\r\n", {}, {}, {}},
        {"", {}, {}, {}},
    };
    for (const auto &c : cases) {
        const QList<ListedMessage> listed = parseListedMessages(c.raw);
        ASSERT_EQ(listed.size(), c.indexes.size()) << c.raw.constData();
        for (qsizetype i = 0; i < listed.size(); ++i) {
            EXPECT_EQ(listed[i].index, c.indexes[i]) << c.raw.constData();
            EXPECT_EQ(listed[i].pduLine, c.pdus[i]) << c.raw.constData();
            EXPECT_EQ(listed[i].found, c.complete[i]) << c.raw.constData();
        }
    }
}

TEST(Listing, WithoutDeletionEachMessageIsShownOnceInOrderAndListedAgainAtOnce) {
    SmsLink f(false);
    f.ticks(31);
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=1\r"));
    const char *const expected[] = {"SMS: ONE\n", "SMS: ONE\nSMS: TWO\n",
                                    "SMS: ONE\nSMS: TWO\nSMS: THREE\n"};
    for (int shown = 1; shown <= 3; ++shown) {
        f.receive(listing(kThree));
        EXPECT_EQ(f.view.reception.content, QString::fromLatin1(expected[shown - 1]));
        // The store is left as it is, and listed again at once while it
        // holds messages not shown yet.
        EXPECT_EQ(f.port.take(), shown < 3 ? QByteArray("AT+CMGL=1\r") : QByteArray()) << shown;
    }
    f.ticks(1);
    EXPECT_EQ(f.link.LastSMSText(), QByteArray("THREE"));
    // Nothing new: the normal period resumes, counted from the last listing.
    EXPECT_TRUE(f.port.wire.isEmpty());
    f.ticks(29);
    EXPECT_TRUE(f.port.wire.isEmpty());
    f.ticks(1);
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=0\r"));
    f.receive(listing(kThree));
    EXPECT_EQ(f.view.reception.content, QString::fromLatin1(expected[2]));
    f.ticks(1);
    EXPECT_TRUE(f.port.wire.isEmpty());
    // A slot that now holds another message is shown again.
    f.ticks(30);
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=1\r"));
    f.receive(listing({{1, "ONE"}, {2, "FOUR"}, {3, "THREE"}}));
    EXPECT_TRUE(f.view.reception.content.endsWith(QStringLiteral("SMS: THREE\nSMS: FOUR\n")));
}

TEST(Listing, WithDeletionEachIndexIsDeletedInTurnAndTheNextListedOnceTheModemHasAnswered) {
    SmsLink f(true);
    f.ticks(31);
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=1\r"));
    QList<std::pair<int, QByteArray>> store = kThree;
    while (!store.isEmpty()) {
        const auto [index, text] = store.takeFirst();
        f.receive(listing(QList{std::pair{index, text}} + store));
        EXPECT_EQ(f.port.take(), "AT+CMGD=" + QByteArray::number(index) + '\r');
        EXPECT_TRUE(f.view.reception.content.endsWith(QString::fromLatin1("SMS: " + text + '\n')));
        // No listing before the deletion is answered.
        f.ticks(1);
        EXPECT_TRUE(f.port.wire.isEmpty()) << index;
        // The deletion's answer is followed at once by the next listing.
        f.receive("\r\nOK\r\n");
        EXPECT_EQ(f.port.take(), store.isEmpty() ? QByteArray() : QByteArray("AT+CMGL=1\r"))
            << index;
    }
    f.ticks(1);
    // The normal period resumes: 31 ticks after the last listing.
    f.ticks(28);
    EXPECT_TRUE(f.port.wire.isEmpty());
    f.ticks(1);
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=0\r"));
}

TEST(Listing, RepliesThatYieldNothingNewNeverListAtEveryTick) {
    struct Case {
        bool deleteAfterRead;
        QByteArray reply;
    } const cases[] = {
        // The index lies beyond where it is looked for: nothing can be deleted.
        {true, QByteArray(30, ' ') + listing(kThree)},
        {true, "\r\n+CMS ERROR: 321\r\n"},
        {false, "\r\n+CMS ERROR: 321\r\n"},
        {false, "\r\n+CMGL: 1,1,,25\r\n"},
    };
    for (const auto &c : cases) {
        SmsLink f(c.deleteAfterRead);
        f.ticks(31);
        f.port.take();
        f.receive(c.reply);
        EXPECT_FALSE(f.link.flags().ListReplyExpected);
        f.ticks(30);
        EXPECT_TRUE(f.port.wire.isEmpty()) << c.reply.constData();
    }
}

TEST(Listing, NewMessageIndicationListsUnreadMessagesAtTheNextIdleTick) {
    struct Case {
        bool sms;
        QByteArray chunk;
        QByteArray listed; // at the next tick
    } const cases[] = {
        {true, "\r\n+CMTI: \"SM\",3\r\n", "AT+CMGL=0\r"},
        {true, "\r\n+CMGS: 4\r\n\r\nOK\r\n\r\n+CMTI: \"SM\",1\r\n", "AT+CMGL=0\r"},
        {false, "\r\n+CMTI: \"SM\",3\r\n", ""},
    };
    for (const auto &c : cases) {
        SmsLink f(true);
        f.view.sms = c.sms;
        f.receive(c.chunk);
        f.ticks(1);
        EXPECT_EQ(f.port.take(), c.listed) << c.chunk.constData();
        if (!c.sms)
            continue;
        // The periodic listing keeps its own order and period.
        f.receive("\r\nOK\r\n");
        f.ticks(31);
        EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=1\r"));
    }
}

TEST(Listing, EveryLineAddedToTheReceptionMemoStartsALineOfItsOwn) {
    struct Case {
        QString before, after;
    } const cases[] = {
        {QStringLiteral(""), QStringLiteral("SMS: OUT3 ON\n")},
        {QStringLiteral("AT+CMGF=0"), QStringLiteral("AT+CMGF=0\nSMS: OUT3 ON\n")},
        {QStringLiteral("\n"), QStringLiteral("\nSMS: OUT3 ON\n")},
    };
    for (const auto &c : cases) {
        SmsLink f(true);
        f.view.reception.content = c.before;
        f.link.SendCMGL("AT+CMGL=1");
        f.receive(listing({{1, "OUT3 ON"}}));
        EXPECT_EQ(f.view.reception.content, c.after);
    }
}

// What the port receives in SMS mode is paired with the line it answers: a
// listing's reply that comes once an SMS has started is not the prompt's
// answer, and nothing is written between the prompt and its PDU.
TEST(Listing, RepliesArePairedWithTheirLinesWhileAnSmsGoesOut) {
    SmsLink f(true);
    f.link.SendCMGL("AT+CMGL=1");
    f.link.SendSMS("GETVR");
    const QByteArray pdu = f.link.PendingPdu().chopped(1);
    const QByteArray submit = "AT+CMGS=" + QByteArray::number(pdu.size() / 2 - 1) + '\r';
    EXPECT_EQ(f.port.take(), "AT+CMGL=1\r" + submit);

    f.link.receive(listing({{1, "OUT3 ON"}}));
    f.link.receive(submit + "\r\n");
    EXPECT_EQ(f.port.take(), QByteArray()) << "no deletion, no PDU before the prompt";
    EXPECT_FALSE(f.view.reception.content.contains(QStringLiteral("SMS:")));

    f.link.receive("> ");
    EXPECT_EQ(f.port.take(), pdu + '\x1A');

    // The modem's echo of the PDU, its result in pieces and a new message's
    // report in the middle of them.
    f.link.receive(pdu + "\x1A\r\n+CMG");
    f.link.receive("S: 7\r\n\r\n+CMTI: \"SM\",2\r\n");
    EXPECT_EQ(f.port.take(), QByteArray()) << "nothing before the submission's result";
    f.link.receive("\r\nOK\r\n");
    EXPECT_TRUE(f.view.statusBar.contains(QStringLiteral("(reference 7)"))) << f.view.statusBar.toStdString();
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=0\r"));

    // The first message, still in the store, is listed with the new one.
    f.link.receive("AT+CMGL=0\r" + listing({{1, "OUT3 ON"}, {2, "VERSION 2.07"}}));
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGD=1\r"));
    EXPECT_TRUE(f.view.reception.content.endsWith(QStringLiteral("SMS: OUT3 ON\n")));
    EXPECT_FALSE(f.link.flags().ModemBusy);
}
