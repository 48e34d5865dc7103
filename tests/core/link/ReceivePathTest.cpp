#include "LinkDoubles.h"
#include "link/ModemNotices.h"
#include "gsm/PduDeliver.h"

#include <gtest/gtest.h>

using namespace zx::link;
using namespace zx::link::testing;

TEST(ReceivePath, SettingModeShowsEachChunkAtTheNextTick) {
    struct Case {
        bool skip;
        QString shown;
    } const cases[] = {{true, QStringLiteral("\nOK  \n")}, {false, QStringLiteral("\nOK\n\n")}};
    for (const auto &c : cases) {
        LinkFixture f;
        f.view.skip = c.skip;
        f.link.Clear();
        f.link.DisplayOnMemo("GETST");
        f.receive("OK\r\n");
        EXPECT_EQ(f.view.reception.content, QStringLiteral("\n")) << "shown before the tick";
        f.ticks(1);
        EXPECT_EQ(f.view.reception.content, c.shown) << c.skip;
        EXPECT_TRUE(f.link.DisplayText().isEmpty());
        EXPECT_FALSE(f.link.flags().DisplayPending);
        f.ticks(3);
        EXPECT_EQ(f.view.reception.content, c.shown) << "shown only once";
    }
}

TEST(ReceivePath, UncheckedSkipBoxTakesTheSavedState) {
    LinkFixture f;
    f.link.SkipCRLFcbClick(true);
    f.view.skip = false;
    f.receive("OK\r\n");
    EXPECT_TRUE(f.view.skip);
}

TEST(ReceivePath, ChunkOfOnlyNulBytesChangesNoFlag) {
    LinkFixture f;
    f.view.sms = true;
    f.link.SendSMS("GETVR");
    const LinkFlags before = f.link.flags();
    f.port.take();
    f.port.pollingDelay = 5000;
    f.receive(QByteArray(4, '\0'));
    const LinkFlags &after = f.link.flags();
    EXPECT_EQ(after.AwaitPrompt, before.AwaitPrompt);
    EXPECT_EQ(after.ModemBusy, before.ModemBusy);
    EXPECT_EQ(after.SmsActivity, before.SmsActivity);
    EXPECT_EQ(after.ChunkArrived, before.ChunkArrived);
    EXPECT_EQ(after.DisplayPending, before.DisplayPending);
    EXPECT_TRUE(f.port.wire.isEmpty());
    EXPECT_EQ(f.port.pollingDelay, 4000);
}

TEST(ReceivePath, AnswerToARawLineIsShownAsReceived) {
    LinkFixture f;
    f.link.SendRawLine("  AT", false);
    f.receive("OK");
    EXPECT_FALSE(f.link.flags().RawLine);
    f.ticks(1);
    EXPECT_EQ(f.view.reception.content, QStringLiteral("OK"));
}

TEST(ReceivePath, SmsSubmissionRunsToIdle) {
    LinkFixture f;
    f.view.sms = true;
    f.link.SendSMS("GETVR");
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGS=17\r"));
    f.receive("\r\n> ");
    EXPECT_EQ(f.port.take(), QByteArray("00113005912143F500000B06C722D52A6D00\x1A"));
    EXPECT_FALSE(f.link.flags().AwaitPrompt);
    EXPECT_TRUE(f.link.flags().AwaitSubmitResult);
    EXPECT_FALSE(f.link.flags().ModemBusy);
    EXPECT_EQ(f.view.echo.content, QStringLiteral("00113005912143F500000B06C722D52A6D00\n"));
    f.ticks(1);
    EXPECT_TRUE(f.link.flags().SubmitResultArmed);
    f.receive("\r\n+CMGS: 7\r\n\r\nOK\r\n");
    const LinkFlags &s = f.link.flags();
    EXPECT_FALSE(s.SubmitPending || s.AwaitPrompt || s.AwaitSubmitResult || s.SubmitResultArmed ||
                 s.ModemBusy || s.SmsActivity);
    // The link takes the next command.
    f.link.SendSMS("GETST");
    EXPECT_EQ(f.port.take().left(8), QByteArray("AT+CMGS="));
}

TEST(ReceivePath, ModemWithoutPromptIsGivenUpAndTheUserTold) {
    LinkFixture f;
    f.view.sms = true;
    f.link.SendSMS("GETVR");
    f.port.take();
    f.ticks(98);
    EXPECT_TRUE(f.link.flags().AwaitPrompt);
    f.ticks(1);
    const LinkFlags &s = f.link.flags();
    EXPECT_FALSE(s.AwaitPrompt || s.ModemBusy || s.SubmitPending);
    EXPECT_EQ(f.view.colours.back(), StatusColour::Black);
    ASSERT_FALSE(f.view.statusMessages.isEmpty());
    EXPECT_TRUE(f.view.statusMessages.last().contains(QStringLiteral("not sent")));
    // A late prompt releases nothing.
    f.receive("> ");
    EXPECT_TRUE(f.port.take().isEmpty());
    f.link.SendSMS("GETST");
    EXPECT_EQ(f.port.take().left(8), QByteArray("AT+CMGS="));
}

TEST(ReceivePath, ClearButtonRestoresSkipStateAndEmptiesReception) {
    LinkFixture f;
    f.link.SkipCRLFcbClick(true);
    f.view.skip = false;
    f.view.busy = true;
    f.view.reception.content = QStringLiteral("x");
    f.view.echo.content = QStringLiteral("GETST");
    f.link.ClearBtnClick();
    EXPECT_TRUE(f.view.skip);
    EXPECT_FALSE(f.view.busy);
    EXPECT_TRUE(f.view.reception.content.isEmpty());
    EXPECT_EQ(f.view.echo.content, QStringLiteral("GETST"));
}

TEST(ReceivePath, ModemRefusalsOfASubmissionAreReportedAndTheNextIsConfirmed) {
    struct Case {
        bool afterPrompt; // the error answers the PDU rather than AT+CMGS=
        bool tickFirst;
        QByteArray reply;
        const char *words; // what the status bar says it means
    } const cases[] = {
        {false, false, "\r\nERROR\r\n", "may not be ready"},
        {false, true, "\r\n+CMS ERROR: 330\r\n", "no SMS centre number is set"},
        {false, false, "RING\r\n\r\n+CMS ERROR: 322\r\n", "Delete messages"},
        {true, true, "\r\n+CMS ERROR: 500\r\n", "often the number or the network"},
        {true, false, "\r\n+CMS ERROR: 304\r\n", "the PDU was refused"},
    };
    for (const auto &c : cases) {
        LinkFixture f;
        f.view.sms = true;
        f.link.SendSMS("GETVR");
        const QByteArray announce = f.port.take();
        if (c.afterPrompt)
            f.receive("> ");
        if (c.tickFirst)
            f.ticks(1);
        f.receive(c.reply);
        // Refused instead of the prompt: nothing but the announcement went out.
        EXPECT_EQ(f.port.take().isEmpty(), !c.afterPrompt) << c.reply.constData();
        const QString said = f.view.statusBar;
        EXPECT_TRUE(said.startsWith(QStringLiteral("The modem refused the SMS \"GETVR\""))) << said.toStdString();
        EXPECT_TRUE(said.contains(QString::fromLatin1(c.reply.split('\n').at(c.reply.count('\n') - 1).trimmed())))
            << said.toStdString();
        EXPECT_TRUE(said.contains(QLatin1String(c.words))) << said.toStdString();
        const LinkFlags &s = f.link.flags();
        EXPECT_FALSE(s.ModemBusy || s.AwaitPrompt || s.AwaitSubmitResult || s.SubmitPending ||
                     s.SubmitResultArmed)
            << c.reply.constData();
        // The next SMS goes out whole and its confirmation is shown; after a
        // plain ERROR once the modem says it is ready.
        f.link.SendSMS("GETST");
        if (c.reply == "\r\nERROR\r\n") {
            EXPECT_EQ(f.port.take(), QByteArray("AT+CPIN?\r"));
            EXPECT_TRUE(f.link.waitingForReadyModem());
            f.receive("\r\n+CPIN: READY\r\n\r\nOK\r\n");
        }
        EXPECT_EQ(f.port.take(), announce);
        f.receive("\r\n> ");
        EXPECT_TRUE(f.port.take().endsWith('\x1A'));
        f.receive("\r\n+CMGS: 9\r\n\r\nOK\r\n");
        EXPECT_TRUE(f.view.statusBar.contains(QStringLiteral("(reference 9)")))
            << f.view.statusBar.toStdString();
    }
}

TEST(ReceivePath, EachSubmissionsOutcomeReplacesTheNoticeBeforeIt) {
    LinkFixture f;
    f.view.sms = true;
    f.link.SendSMS("GETVR");
    f.link.SendSMS("GETST");
    EXPECT_EQ(f.view.statusBar, QStringLiteral("The modem is busy: \"GETST\" was not sent."));
    f.receive("\r\n> ");
    // The modem is idle again once the PDU is out: the busy notice is over.
    EXPECT_TRUE(f.view.statusBar.isEmpty());
    f.ticks(1);
    f.receive("\r\n+CMGS: 7\r\n\r\nOK\r\n");
    EXPECT_EQ(
        f.view.statusBar,
        QStringLiteral("The SMS \"GETVR\" to +12345 was accepted by the modem (reference 7)."));
    // The next command starts with an empty status bar and ends with its own outcome.
    f.view.number = "+4915200000001";
    f.link.SendSMS("GETST");
    EXPECT_TRUE(f.view.statusBar.isEmpty());
    f.receive("\r\n> ");
    f.receive("\r\n+CMS ERROR: 500\r\n");
    EXPECT_EQ(f.view.statusBar,
              QStringLiteral("The modem refused the SMS \"GETST\": unknown error, often the "
                             "number or the network (+CMS ERROR: 500). Check the module number "
                             "and the signal, then send again."));
    f.link.SendSMS("GETOS1");
    f.receive("AT+CMGS=16\r\r\n> ");
    f.receive(f.link.PendingPdu().chopped(1) + "\x1A\r\n+CMGS: 255\r\n\r\nOK\r\n");
    EXPECT_EQ(f.view.statusBar, QStringLiteral("The SMS \"GETOS1\" to +4915200000001 was accepted "
                                               "by the modem (reference 255)."));
}

TEST(ModemNotices, SubmitReferenceAndNewMessageIndication) {
    struct Case {
        QByteArray chunk;
        QByteArray reference;
        bool newMessage;
    } const cases[] = {
        {"\r\n+CMGS: 7\r\n\r\nOK\r\n", "7", false},
        {"+CMGS:12\r\n", "12", false},
        {"\r\n+CMGS: 0\r\n\r\nOK\r\n\r\n+CMTI: \"SM\",2\r\n", "0", true},
        {"\r\n+CMGS: \r\n", "", false},
        {"\r\n+CMGS: 1234\r\n", "", false},
        {"\r\nOK\r\n", "", false},
        {"\r\n+CMTI: \"ME\",14\r\n", "", true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(submitReference(c.chunk), c.reference) << c.chunk.constData();
        EXPECT_EQ(announcesNewMessage(c.chunk), c.newMessage) << c.chunk.constData();
    }
}

// A modem that answers ERROR to everything until it has found its SIM and
// the network: the SMS waits, the modem is asked every few seconds, and the
// SMS goes out once it says it is ready, or is given up after a minute.
TEST(ReceivePath, AnSmsWaitsForANotReadyModemAndIsGivenUpAfterAMinute) {
    struct Case {
        QByteArray readyAt; // what the modem says when ready; empty: never
    } const cases[] = {{"\r\nSMS Ready\r\n"}, {"\r\n+CPIN: READY\r\n\r\nOK\r\n"}, {""}};
    for (const auto &c : cases) {
        LinkFixture f;
        f.view.sms = true;
        f.receive("\r\nERROR\r\n"); // to a query at start-up
        EXPECT_EQ(f.link.readiness(), ModemReadiness::NotReady);
        f.link.SendSMS("GETVR");
        EXPECT_EQ(f.port.take(), QByteArray("AT+CPIN?\r"));
        EXPECT_TRUE(f.view.statusBar.startsWith(QStringLiteral("Waiting up to 60 s")));
        f.receive("\r\nERROR\r\n");
        // A second command meanwhile is not taken.
        f.link.SendSMS("GETST");
        EXPECT_TRUE(f.view.statusBar.contains(QStringLiteral("busy")));
        f.ticks(3);
        EXPECT_EQ(f.port.take(), QByteArray("AT+CPIN?\r"));
        f.receive("\r\nERROR\r\n");
        if (!c.readyAt.isEmpty()) {
            f.receive(c.readyAt);
            EXPECT_EQ(f.port.take(), QByteArray("AT+CMGS=17\r")) << c.readyAt.constData();
            EXPECT_FALSE(f.link.waitingForReadyModem());
            continue;
        }
        QByteArray asked;
        for (int tick = 4; tick < 60; ++tick) {
            f.ticks(1);
            const QByteArray sent = f.port.take();
            asked += sent;
            if (!sent.isEmpty())
                f.receive("\r\nERROR\r\n");
        }
        EXPECT_TRUE(f.link.waitingForReadyModem());
        f.ticks(1);
        EXPECT_FALSE(f.link.waitingForReadyModem());
        EXPECT_EQ(asked.count("AT+CPIN?\r"), 18);
        EXPECT_TRUE(f.view.statusBar.contains(QStringLiteral("did not become ready")));
        EXPECT_TRUE(f.view.statusBar.contains(QStringLiteral("\"GETVR\" was not sent")));
        EXPECT_EQ(f.view.modemSilences, 1);
        // Nothing more goes out for it.
        f.ticks(10);
        EXPECT_EQ(f.port.take().count("AT+CMGS"), 0);
    }
}

// Unsolicited lines inside a reply are taken out and acted on; alone they
// answer nothing: no prompt is taken for one, no query moves on.
TEST(ModemNotices, ReportsAreTakenOutOfRepliesAndActedOn) {
    struct Case {
        QByteArray chunk;
        QByteArray reply;
        bool reportsOnly, newMessage, ready;
    } const cases[] = {
        {"\r\n+CMGL: 1,0,,5\r\n\r\nRING\r\nAB\r\n+CREG: 1\r\nOK\r\n",
         "\r\n+CMGL: 1,0,,5\r\n\r\nAB\r\nOK\r\n", false, false, false},
        {"\r\nRING\r\n", "\r\n", true, false, false},
        {"\r\n+CMTI: \"SM\",3\r\n", "\r\n", true, true, false},
        {"\r\nSMS Ready\r\n", "\r\n", true, false, true},
        {"\r\n+CPIN: READY\r\n\r\nOK\r\n", "\r\n+CPIN: READY\r\n\r\nOK\r\n", false, false, true},
        {"\r\n+CDS: 6,1\r\n\r\nOK\r\n", "\r\n\r\nOK\r\n", false, false, false},
        {"\r\nRI", "\r\nRI", false, false, false}, // cut off: kept
        {"\r\n> ", "\r\n> ", false, false, false},
    };
    for (const auto &c : cases) {
        const ReplyWithoutReports r = takeOutReports(c.chunk);
        EXPECT_EQ(r.reply, c.reply) << c.chunk.constData();
        EXPECT_EQ(r.reportsOnly, c.reportsOnly) << c.chunk.constData();
        EXPECT_EQ(r.newMessage, c.newMessage) << c.chunk.constData();
        EXPECT_EQ(r.readyReport, c.ready) << c.chunk.constData();
    }
    LinkFixture f;
    f.view.sms = true;
    f.link.SendSMS("GETVR");
    f.port.take();
    f.receive("\r\nRING\r\n");
    EXPECT_TRUE(f.link.flags().AwaitPrompt);
    EXPECT_TRUE(f.port.take().isEmpty());
    f.receive("\r\n> ");
    EXPECT_TRUE(f.port.take().endsWith('\x1A'));
    // A new message announced with the result is listed at once.
    f.receive("\r\n+CMGS: 4\r\n\r\nOK\r\n\r\n+CMTI: \"SM\",1\r\n");
    EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=0\r"));
}

// What follows an answer in the same read comes after it: in the memo, and
// to the open tab.
TEST(ReceivePath, WhatFollowsAnAnswerInTheSameReadIsShownAfterIt) {
    struct Case {
        bool sms;
        QByteArray line, read;
        QString memo;
    } const cases[] = {
        {false, "GETAP", "APN: internet\r\nIN1 ON\r\n", QStringLiteral("APN: internet\n\nIN1 ON\n")},
        {true, "", "", QStringLiteral("SMS: ONE\nSMS: TWO\n")},
    };
    for (const auto &c : cases) {
        LinkFixture f;
        f.view.sms = c.sms;
        if (c.sms) {
            // The listing's reply, and a stored message's report with the
            // next listing's reply in the same read as the deletion's "OK".
            f.link.SendCMGL("AT+CMGL=1");
            f.link.receive("\r\n+CMGL: 1,1,,25\r\n" + zx::gsm::buildDeliverPdu("+4917012345", "ONE") +
                           "\r\n\r\nOK\r\n");
            EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=1\rAT+CMGD=1\r"));
            f.link.receive("\r\nOK\r\n\r\n+CMTI: \"SM\",2\r\n");
            EXPECT_EQ(f.port.take(), QByteArray("AT+CMGL=0\r"));
            f.link.receive("\r\n+CMGL: 2,0,,25\r\n" + zx::gsm::buildDeliverPdu("+4917012345", "TWO") +
                           "\r\n\r\nOK\r\n");
        } else {
            f.link.sendCommand(c.line, CommandStyle::echoing(Echo::BeforeSend));
            f.link.receive(c.read);
            ASSERT_FALSE(f.view.tabAnswers.empty());
            EXPECT_EQ(f.view.tabAnswers.front().second, QByteArray("APN: internet\r\n"));
        }
        EXPECT_TRUE(f.view.reception.content.contains(c.memo))
            << f.view.reception.content.toStdString();
    }
}
