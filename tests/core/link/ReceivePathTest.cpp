#include "LinkDoubles.h"
#include "link/ModemNotices.h"

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

TEST(ReceivePath, ModemRefusalsOfASubmissionAreReported) {
    struct Case {
        bool afterPrompt; // the error answers the PDU rather than AT+CMGS=
        bool tickFirst;
        QByteArray reply;
    } const cases[] = {{false, false, "\r\nERROR\r\n"},
                       {true, true, "\r\n+CMS ERROR: 500\r\n"},
                       {true, false, "\r\n+CMS ERROR: 500\r\n"}};
    for (const auto &c : cases) {
        LinkFixture f;
        f.view.sms = true;
        f.link.SendSMS("GETVR");
        if (c.afterPrompt)
            f.receive("> ");
        if (c.tickFirst)
            f.ticks(1);
        f.receive(c.reply);
        ASSERT_FALSE(f.view.statusMessages.isEmpty()) << c.reply.constData();
        EXPECT_TRUE(f.view.statusMessages.last().contains(QStringLiteral("refused")));
        EXPECT_TRUE(f.view.statusMessages.last().contains(QString::fromLatin1(c.reply.trimmed())));
        EXPECT_FALSE(f.link.flags().ModemBusy);
    }
}

TEST(ReceivePath, EachSubmissionsOutcomeReplacesTheNoticeBeforeIt) {
    LinkFixture f;
    f.view.sms = true;
    f.link.SendSMS("GETVR");
    f.link.SendSMS("GETST");
    EXPECT_EQ(f.view.statusBar, QStringLiteral("The modem is busy: \"GETST\" was not sent."));
    f.receive("\r\n> ");
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
    EXPECT_EQ(f.view.statusBar, QStringLiteral("The modem refused the SMS: +CMS ERROR: 500"));
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
