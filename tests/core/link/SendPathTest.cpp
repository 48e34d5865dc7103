#include "LinkDoubles.h"
#include "common/Wire.h"

#include <gtest/gtest.h>

using namespace zx::link;
using namespace zx::link::testing;

using zx::testing::framed;

TEST(SendPath, SettingModeFramesEachLineByteExact) {
    struct Case {
        QByteArray line;
        QByteArray wire;
    } const cases[] = {
        {"GETST", framed("GETST")},
        {"GETTX05 ", framed("GETTX05 " + QByteArray(40, ' '))},
        {"SETTI01 abc", framed("SETTI01 abc" + QByteArray(12, ' '))},
        {"settx01 abc", framed("settx01 abc")},
        {"SETTX01 " + QByteArray(45, 'x'), framed("SETTX01 " + QByteArray(45, 'x'))},
        {"  OK", framed("  OK")},
    };
    for (const auto &c : cases) {
        LinkFixture f;
        f.link.SendSMS(c.line);
        EXPECT_EQ(f.port.wire, c.wire) << c.line.constData();
        EXPECT_EQ(f.port.pollingDelay, 4000);
        EXPECT_EQ(f.port.outputTimeout, 1500);
    }
    LinkFixture f;
    f.link.SendSMS("GETST");
    EXPECT_EQ(f.port.wire.size(), 27);
    f.port.take();
    f.link.SendSMS("GETTX05 ");
    EXPECT_EQ(f.port.wire.size(), 70);
}

TEST(SendPath, RawLineGoesOutWithoutPrefixAndNul) {
    LinkFixture f;
    f.view.skip = true;
    f.link.SendRawLine("  AT+CSQ", true);
    EXPECT_EQ(f.port.wire, QByteArray("  AT+CSQ\r"));
    EXPECT_TRUE(f.link.flags().RawLine);
    EXPECT_TRUE(f.link.flags().SavedSkipState);
    // A module command clears the raw-line flag before it sends.
    f.port.take();
    f.link.Clear();
    f.link.SendSMS("GETST");
    EXPECT_EQ(f.port.wire, framed("GETST"));
}

TEST(SendPath, SmsModeAnnouncesThePduAndKeepsItPending) {
    LinkFixture f;
    f.view.sms = true;
    f.link.SendSMS("GETVR");
    EXPECT_EQ(f.port.wire, QByteArray("AT+CMGS=17\r"));
    EXPECT_EQ(f.link.PendingPdu(),
              QByteArray("00113005912143F500000B06C722D52A6D00") + QByteArray(1, '\0'));
    EXPECT_EQ(f.link.PendingPduLength(), 37);
    const LinkFlags &s = f.link.flags();
    EXPECT_TRUE(s.ModemBusy && s.SubmitPending && s.AwaitPrompt && s.SmsActivity);
    EXPECT_FALSE(s.AwaitSubmitResult);
}

TEST(SendPath, SecondCommandWhileBusyIsDroppedAndSaidSo) {
    LinkFixture f;
    f.view.sms = true;
    f.link.SendSMS("GETVR");
    const QByteArray pdu = f.link.PendingPdu();
    f.port.take();
    f.link.SendSMS("GETST");
    EXPECT_TRUE(f.port.wire.isEmpty());
    EXPECT_EQ(f.link.PendingPdu(), pdu);
    EXPECT_TRUE(f.link.flags().AwaitPrompt);
    ASSERT_FALSE(f.view.statusMessages.isEmpty());
    EXPECT_TRUE(f.view.statusMessages.last().contains(QStringLiteral("busy")));
    EXPECT_TRUE(f.view.statusMessages.last().contains(QStringLiteral("GETST")));
}

TEST(SendPath, BadModuleNumbersAreRefusedAndNothingIsSent) {
    for (const QByteArray &number : {QByteArray(), QByteArray("+49 171"), QByteArray("12a3"),
                                    QByteArray("+4+")}) {
        LinkFixture f;
        f.view.sms = true;
        f.view.number = number;
        f.link.SendSMS("GETVR");
        EXPECT_TRUE(f.port.wire.isEmpty()) << number.constData();
        ASSERT_EQ(f.view.errors.size(), 1);
        EXPECT_EQ(f.view.errors[0],
                  QStringLiteral("Phone Number Error.\r\nPlease, check settings and try again."));
        EXPECT_FALSE(f.link.flags().ModemBusy);
        EXPECT_FALSE(f.link.flags().SmsActivity);
    }
}

TEST(SendPath, ClosedPortIsReportedInTheStatusBar) {
    LinkFixture f;
    f.port.open = false;
    f.link.SendSMS("GETST");
    EXPECT_TRUE(f.port.wire.isEmpty());
    ASSERT_EQ(f.view.statusMessages.size(), 1);
    EXPECT_TRUE(f.view.statusMessages[0].contains(QStringLiteral("not open")));
}

TEST(SendPath, CommandEchoShowsThePrintableLine) {
    LinkFixture f;
    f.view.reception.content = QStringLiteral("old");
    f.link.Clear();
    f.link.SendSMS("SETTX01 a\tb");
    f.link.DisplayOnMemo("SETTX01 a\tb");
    EXPECT_EQ(f.view.echo.content, QStringLiteral("SETTX01 a b"));
    EXPECT_EQ(f.view.reception.content, QStringLiteral("\n"));
    EXPECT_TRUE(f.link.flags().DisplayPending);
}

TEST(SendPath, CommandStylesClearSendAndEchoInTheirOrder) {
    using S = CommandStyle;
    struct Case {
        const char *what;
        CommandStyle style;
        std::vector<const char *> journal;
    } const cases[] = {
        {"most buttons", S{},
         {"memo cleared", "echo cleared", "wire", "memo shows", "echo cleared", "echo shows GETST"}},
        {"echo before send", S::echoing(Echo::BeforeSend),
         {"memo cleared", "echo cleared", "memo shows", "echo cleared", "echo shows GETST", "wire"}},
        {"another echo text", S::echoing(Echo::AfterSend, "READ"),
         {"memo cleared", "echo cleared", "wire", "memo shows", "echo cleared", "echo shows READ"}},
        {"no echo", S::echoing(Echo::None), {"memo cleared", "echo cleared", "wire"}},
        {"echo alone", S::echoing(Echo::Alone),
         {"memo cleared", "echo cleared", "wire", "echo cleared", "memo cleared",
          "echo shows GETST"}},
        {"after the caller's own Clear", S().withoutClear(),
         {"wire", "memo shows", "echo cleared", "echo shows GETST"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LinkFixture f;
        f.keepJournal();
        f.link.setRawLine(true);
        f.link.sendCommand("GETST", c.style);
        QStringList expected;
        for (const char *entry : c.journal)
            expected << QString::fromLatin1(entry);
        EXPECT_EQ(f.journal.join(QStringLiteral(" | ")).toStdString(),
                  expected.join(QStringLiteral(" | ")).toStdString());
        // Clear marks the answer for display and ends a raw line; without it
        // the raw-line flag stays and the line goes out without the prefix.
        EXPECT_EQ(f.port.wire, c.style.clearFirst ? framed("GETST") : QByteArray("GETST\r"));
    }
}
