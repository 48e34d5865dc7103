#include "LinkDoubles.h"
#include "gsm/PduDeliver.h"
#include "link/ListReply.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace zx::link;
using namespace zx::link::testing;

namespace {

QByteArray listReply(const QByteArray &header, const QByteArray &pdu) {
    return "\r\n+CMGL: " + header + "\r\n" + pdu + "\r\n\r\nOK\r\n";
}

} // namespace

TEST(Tick, ListPollsAlternateEveryPollFactorTimesThirtyPlusOneTicks) {
    LinkFixture f;
    f.view.sms = true;
    f.link.setPollFactor(1);
    f.ticks(30);
    EXPECT_TRUE(f.port.wire.isEmpty());
    f.ticks(1);
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=1\r"));
    EXPECT_TRUE(f.link.flags().ListPolling);
    EXPECT_TRUE(f.link.flags().ListReplyExpected);
    f.receive("\r\nOK\r\n");
    f.ticks(30);
    EXPECT_TRUE(f.port.wire.isEmpty());
    f.ticks(1);
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=0\r"));
}

TEST(Tick, PollFactorIsClampedToOneToTwenty) {
    struct Case {
        int stored, used;
    } const cases[] = {{0, 1}, {-5, 1}, {1, 1}, {20, 20}, {25, 20}, {50, 20}};
    for (const auto &c : cases) {
        LinkFixture f;
        f.link.setPollFactor(c.stored);
        EXPECT_EQ(f.link.flags().PollFactor, c.used) << c.stored;
    }
}

TEST(Tick, NoListPollWhileACommandIsUnderway) {
    LinkFixture f;
    f.view.sms = true;
    f.link.SendSMS("GETVR");
    f.port.take();
    f.ticks(40);
    EXPECT_TRUE(f.port.wire.isEmpty());
}

TEST(Tick, ListReplyIsDecodedShownAndDeleted) {
    LinkFixture f;
    f.view.sms = true;
    f.link.SendCMGL("AT+CMGL=1");
    f.port.take();
    const QByteArray pdu = zx::gsm::buildDeliverPdu("+4917012345", "OUT1 ON");
    f.receive(listReply("12,1,,25", pdu));
    EXPECT_EQ(f.link.LastSMSText(), QByteArray("OUT1 ON"));
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGD=12\r"));
    EXPECT_FALSE(f.link.flags().ListReplyExpected);
    EXPECT_TRUE(f.view.reception.content.contains(QStringLiteral("OUT1 ON")));
}

TEST(Tick, ListReplyWithoutDeletionOrIndexDeletesNothing) {
    const QByteArray pdu = zx::gsm::buildDeliverPdu("+4917012345", "OK");
    {
        LinkFixture f;
        f.view.sms = true;
        f.link.setDeleteAfterRead(false);
        f.link.SendCMGL("AT+CMGL=1");
        f.port.take();
        f.receive(listReply("3,1,,25", pdu));
        EXPECT_TRUE(f.port.wire.isEmpty());
        EXPECT_EQ(f.link.LastSMSText(), QByteArray("OK"));
    }
    {
        // The first comma lies beyond position 35 of the chunk.
        LinkFixture f;
        f.view.sms = true;
        f.link.SendCMGL("AT+CMGL=1");
        f.port.take();
        f.receive(QByteArray(30, ' ') + listReply("12,1,,25", pdu));
        EXPECT_TRUE(f.port.wire.isEmpty());
        EXPECT_FALSE(f.link.flags().ListReplyExpected);
    }
}

TEST(ListReply, FindsTheFirstMessageAndItsIndex) {
    struct Case {
        QByteArray raw;
        bool found;
        QByteArray pdu, index;
    } const cases[] = {
        {"\r\n+CMGL: 12,1,,25\r\n0791ABCD\r\n\r\nOK\r\n", true, "0791ABCD", "12"},
        {"AT+CMGL=1\r\r\n+CMGL: 1234,1,,25\r\nABCD\r\nOK\r\n", true, "ABCD", "234"},
        {"\r\nOK\r\n", false, "", ""},
        {"", false, "", ""},
        {"+CMGL: 1", false, "", ""},
        {"+CMGL: 5,1\r\n", false, "", ""},
        {"\r\n+CMGL: 7,1,,25\r\nABC", true, "AB", "7"},
        {"\r\n+CMGL: x,1,,25\r\nABCD\r\n", true, "ABCD", ""},
    };
    for (const auto &c : cases) {
        const ListedMessage m = parseListReply(c.raw);
        EXPECT_EQ(m.found, c.found) << c.raw.toHex().constData();
        EXPECT_EQ(m.pduLine, c.pdu) << c.raw.toHex().constData();
        EXPECT_EQ(m.index, c.index) << c.raw.toHex().constData();
    }
}

TEST(ListReply, LongRepliesAreReadOnlyUpToPosition254) {
    const QByteArray raw = "\r\n+CMGL: 1,1,,25\r\n" + QByteArray(600, 'A') + "\r\n";
    const ListedMessage m = parseListReply(raw);
    ASSERT_TRUE(m.found);
    EXPECT_LE(m.pduLine.size(), 254);
    EXPECT_FALSE(parseListReply(QByteArray(260, ' ') + "+CMGL: 1,1\r\nAB\r\n").found);
}

TEST(Tick, NightlyCommandGoesOutOnceAtTwoMinutesPastMidnight) {
    LinkFixture f;
    f.view.sms = true;
    f.link.setPollFactor(20);
    int sent = 0;
    const auto runMinutes = [&](int fromSecondsOfDay, int seconds) {
        for (int s = 0; s < seconds; ++s) {
            f.now = QDateTime(QDate(2027, 2, 1), QTime(0, 0).addSecs(fromSecondsOfDay + s));
            f.link.Timer1Timer();
            const QByteArray wire = f.port.take();
            if (wire.startsWith("AT+CMGS=")) {
                ++sent;
                // The modem prompts and confirms at once.
                f.receive("> ");
                f.port.take();
                f.link.Timer1Timer();
                f.receive("\r\n+CMGS: 1\r\n\r\nOK\r\n");
            }
        }
    };
    runMinutes(23 * 3600 + 59 * 60, 60); // 23:59
    EXPECT_EQ(sent, 0);
    runMinutes(0, 4 * 60); // 00:00 .. 00:03:59
    EXPECT_EQ(sent, 1);
    runMinutes(0, 4 * 60); // the next night
    EXPECT_EQ(sent, 2);
}

TEST(Tick, SilentModemEndsTheQuerySequenceWithOneMessage) {
    LinkFixture f;
    f.view.sms = true;
    std::vector<int> steps;
    f.link.setModemHooks({[&](int step) {
                              steps.push_back(step);
                              f.link.setModemBusy(true); // the query went out
                          },
                          {},
                          {},
                          {}});
    f.link.armQuerySequence();
    f.ticks(98);
    EXPECT_TRUE(f.view.errors.isEmpty());
    f.ticks(1);
    ASSERT_EQ(f.view.errors.size(), 1);
    EXPECT_EQ(f.view.errors[0], QStringLiteral("Cell Phone not connected"));
    EXPECT_FALSE(f.link.flags().QuerySequenceActive);
    EXPECT_TRUE(f.link.flags().ModemNotConnected);
    EXPECT_EQ(f.view.colours.back(), StatusColour::Black);
    EXPECT_EQ(steps, std::vector<int>{1});
    f.ticks(200);
    EXPECT_EQ(f.view.errors.size(), 1);
}

TEST(Tick, QuerySequenceStepsOnePerAnswerAndEnds) {
    LinkFixture f;
    f.view.sms = true;
    std::vector<int> steps;
    f.link.setModemHooks({[&](int step) {
                              steps.push_back(step);
                              if (step < 7)
                                  f.link.setModemBusy(true);
                          },
                          {},
                          {},
                          {}});
    f.link.armQuerySequence();
    for (int i = 0; i < 6; ++i) {
        f.ticks(2);
        f.receive("\r\nOK\r\n");
    }
    f.ticks(1);
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(f.link.flags().QuerySequenceActive);
    EXPECT_EQ(f.view.statusText, QStringLiteral(" "));
}

TEST(Tick, SettingModeHandsTheAnswerToTheOpenTab) {
    LinkFixture f;
    f.view.tab = 5;
    f.link.Clear();
    f.receive("ANALOG 1: 12\r\n");
    f.ticks(1);
    ASSERT_EQ(f.view.tabAnswers.size(), 1u);
    EXPECT_EQ(f.view.tabAnswers[0].first, 5);
    EXPECT_EQ(f.view.tabAnswers[0].second, QByteArray("ANALOG 1: 12\r\n"));
    f.ticks(1);
    EXPECT_EQ(f.view.tabAnswers.size(), 1u);
}

// The window sleeps through ticks that would only count and counts them when
// it wakes. Over ten minutes across midnight, with listings answered or not,
// that gives the same bytes at the same seconds as a tick every second.
TEST(Tick, SleepingThroughIdleTicksKeepsPollsAndTheNightlyCommandOnTime) {
    struct Case {
        QTime start;
        int pollFactor;
        bool answerListings;
        bool smsMode;
    } const cases[] = {
        {QTime(23, 58, 0), 1, true, true},
        {QTime(23, 57, 30), 3, false, true},
        {QTime(12, 0, 0), 5, true, true},
        {QTime(23, 59, 0), 1, true, false},
    };
    using Timeline = std::vector<std::pair<int, QByteArray>>;
    constexpr int kSeconds = 600;
    for (const auto &c : cases) {
        const QDateTime t0(QDate(2027, 2, 1), c.start);
        const auto run = [&](bool sleeping, int *wakes) {
            LinkFixture f;
            f.view.sms = c.smsMode;
            f.link.setPollFactor(c.pollFactor);
            Timeline sent;
            int second = 0;
            int idle = 0;
            while (second < kSeconds) {
                f.now = t0.addSecs(second);
                f.link.skipIdleTicks(idle);
                f.ticks(1);
                ++*wakes;
                if (const QByteArray out = f.port.take(); !out.isEmpty()) {
                    sent.emplace_back(second, out);
                    if (c.answerListings && out.startsWith("AT+CMGL"))
                        f.receive("\r\nOK\r\n");
                }
                idle = sleeping ? std::clamp(f.link.idleTicks(), 0, 59) : 0;
                second += idle + 1;
            }
            return sent;
        };
        int everySecond = 0;
        int asleep = 0;
        const Timeline expected = run(false, &everySecond);
        const Timeline got = run(true, &asleep);
        EXPECT_EQ(got, expected) << c.start.toString().toStdString();
        EXPECT_EQ(everySecond, kSeconds);
        EXPECT_EQ(expected.empty(), !c.smsMode);
        // Awake only for what is due: the polls, the nightly minutes, and
        // once a minute otherwise.
        EXPECT_LT(asleep, c.start.hour() == 12 ? 30 : 300) << c.start.toString().toStdString();
        if (c.smsMode && c.start.hour() == 23) {
            const auto nightly = std::find_if(expected.begin(), expected.end(), [](const auto &e) {
                return e.second.startsWith("AT+CMGS=");
            });
            ASSERT_NE(nightly, expected.end());
            EXPECT_EQ(t0.addSecs(nightly->first).time().toString(), QStringLiteral("00:02:00"));
        }
    }
}
