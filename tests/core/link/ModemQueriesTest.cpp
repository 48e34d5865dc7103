#include "link/ModemQueries.h"
#include "LinkDoubles.h"

#include <gtest/gtest.h>

using namespace zx::link;
using namespace zx::link::testing;

namespace {

struct RecordingTexts : ModemTextView {
    QByteArray manufacturer = "Hersteller", model = "ModelIDCode", clock = "DateTime";
    void showManufacturer(const QByteArray &t) override { manufacturer = t; }
    void showModel(const QByteArray &t) override { model = t; }
    void showClock(const QByteArray &t) override { clock = t; }
};

struct QueryFixture : LinkFixture {
    RecordingTexts texts;
    ModemQueries queries{link, texts};
    QueryFixture() {
        view.sms = true;
        queries.install();
    }
};

} // namespace

TEST(ModemQueries, SequenceRunsOneAnsweredQueryPerTick) {
    QueryFixture f;
    f.link.armQuerySequence();
    struct Step {
        QByteArray written, answer;
    } const steps[] = {
        {"AT+CGMI\r", "AT+CGMI\r\r\nWAVECOM\r\n\r\nOK\r\n"},
        {"AT+CSCS?\r", "AT+CSCS?\r\r\n+CSCS: \"GSM\"\r\n\r\nOK\r\n"},
        {"AT+CGMM\r", "AT+CGMM\r\r\nFASTRACK\r\n\r\nOK\r\n"},
        {"AT+CCLK?\r", "AT+CCLK?\r\r\n+CCLK: \"27/02/01,09:05:03\"\r\n\r\nOK\r\n"},
        {"AT+CMGF?\r", "AT+CMGF?\r\r\n+CMGF: 0\r\n\r\nOK\r\n"},
        {"AT+CMGF=0\r", "AT+CMGF=0\r\r\nOK\r\n"},
    };
    for (const auto &s : steps) {
        f.ticks(1);
        EXPECT_EQ(f.port.take(), s.written);
        EXPECT_TRUE(f.link.flags().ModemBusy);
        f.ticks(1); // unanswered: no next query
        EXPECT_TRUE(f.port.wire.isEmpty()) << s.written.constData();
        f.receive(s.answer);
    }
    EXPECT_EQ(f.queries.manufacturerText(), QByteArray("WAVECOM"));
    EXPECT_EQ(f.queries.smsFormat(), '0');
    f.ticks(1); // step 7 ends the sequence and refreshes the boxes
    EXPECT_FALSE(f.link.flags().QuerySequenceActive);
    EXPECT_EQ(f.texts.manufacturer, QByteArray("WAVECOM"));
    EXPECT_EQ(f.texts.model, QByteArray("FASTRACK"));
    EXPECT_EQ(f.texts.clock, QByteArray("\"27/02/01,09:05:03\""));
    const AwaitingReply &a = f.queries.awaiting();
    EXPECT_FALSE(a.manufacturer || a.model || a.charSet || a.clock || a.format || a.formatSetting);
    EXPECT_EQ(f.view.reception.content,
              QStringLiteral("AT+CGMI\nAT+CSCS?\nAT+CGMM\nAT+CCLK?\nAT+CMGF?\nAT+CMGF=0"));
}

TEST(ModemQueries, SetCmgfBeforeAnyFormatAnswerSendsOne) {
    QueryFixture f;
    f.queries.SetCMGF();
    const QByteArray wire = f.port.take();
    EXPECT_EQ(wire, QByteArray("AT+CMGF=1\r"));
    EXPECT_EQ(wire.size(), 10);
    EXPECT_TRUE(f.queries.awaiting().formatSetting);
}

TEST(ModemQueries, AnEmptyManufacturerLineKeepsTheQueryAwaited) {
    QueryFixture f;
    f.queries.GetHersteller();
    f.port.take();
    f.receive("AT+CGMI\r\n\r\n");
    EXPECT_TRUE(f.queries.awaiting().manufacturer);
    f.receive("\r\nNOKIA\r\n");
    EXPECT_FALSE(f.queries.awaiting().manufacturer);
    EXPECT_EQ(f.queries.manufacturerText(), QByteArray("NOKIA"));
    // The box shows the text the next time the query runs.
    EXPECT_EQ(f.texts.manufacturer, QByteArray("Hersteller"));
    f.queries.GetHersteller();
    EXPECT_EQ(f.texts.manufacturer, QByteArray("NOKIA"));
}

TEST(ModemQueries, BusyModemOutsideTheSequenceGetsNoQuery) {
    QueryFixture f;
    f.link.setModemBusy(true);
    f.queries.GetModel();
    f.queries.GetDateTime();
    EXPECT_TRUE(f.port.wire.isEmpty());
    EXPECT_FALSE(f.queries.awaiting().model);
    // Inside the sequence a query goes out even while the modem is busy.
    f.link.armQuerySequence();
    f.queries.GetModel();
    EXPECT_EQ(f.port.take(), QByteArray("AT+CGMM\r"));
}

TEST(ModemQueries, PendingClockQueryIsSentAtTheNextTickAndOnlyOnce) {
    QueryFixture f;
    f.link.setClockQueryPending(true);
    f.link.setModemBusy(true);
    f.ticks(1);
    EXPECT_TRUE(f.port.wire.isEmpty());
    EXPECT_TRUE(f.link.flags().ClockQueryPending);
    f.receive("\r\nOK\r\n"); // frees the modem
    f.ticks(1);
    EXPECT_EQ(f.port.take(), QByteArray("AT+CCLK?\r"));
    EXPECT_FALSE(f.link.flags().ClockQueryPending);
    f.receive("\r\n+CCLK: \"27/02/01,09:05:03\"\r\n");
    f.ticks(1);
    EXPECT_TRUE(f.port.wire.isEmpty());
    EXPECT_EQ(f.queries.clockText(), QByteArray("\"27/02/01,09:05:03\""));
}

TEST(ModemQueries, ClosedPortShowsTheErrorBoxOnce) {
    QueryFixture f;
    f.port.open = false;
    f.queries.GetHersteller();
    f.queries.GetModel();
    f.queries.SetCMGF();
    f.queries.writeClockLine("SETTM 27/02/01,09:05:03+02");
    ASSERT_EQ(f.view.errors.size(), 1);
    EXPECT_EQ(f.view.errors.front(), QStringLiteral("Could not connect to serial port.\r\n"
                                                    "Please, check settings and try again."));
    EXPECT_TRUE(f.queries.portErrorShown());
    EXPECT_FALSE(f.queries.awaiting().manufacturer || f.queries.awaiting().model);
    EXPECT_FALSE(f.link.flags().ModemBusy);
}

TEST(ModemQueries, ClockLineGoesStraightToThePort) {
    QueryFixture f;
    f.queries.writeClockLine("SETTM 27/02/01,09:05:03+02");
    EXPECT_EQ(f.port.take(), QByteArray("SETTM 27/02/01,09:05:03+02\r"));
    EXPECT_EQ(f.view.echo.content, QStringLiteral("SETTM 27/02/01,09:05:03+02"));
    EXPECT_TRUE(f.link.flags().ClockQueryPending);
    EXPECT_FALSE(f.link.flags().ModemBusy);
    // A busy modem outside the sequence drops the request.
    f.link.setClockQueryPending(false);
    f.link.setModemBusy(true);
    f.queries.writeClockLine("SETTM 27/02/01,09:05:03+02");
    EXPECT_TRUE(f.port.wire.isEmpty());
    EXPECT_FALSE(f.link.flags().ClockQueryPending);
}

TEST(ModemQueries, SilentModemKeepsTheBoxesAndTheQueryAwaited) {
    QueryFixture f;
    f.link.armQuerySequence();
    f.ticks(120);
    EXPECT_EQ(f.view.errors, QStringList{QStringLiteral("Cell Phone not connected")});
    EXPECT_EQ(f.texts.manufacturer, QByteArray("Hersteller"));
    EXPECT_EQ(f.texts.model, QByteArray("ModelIDCode"));
    EXPECT_EQ(f.texts.clock, QByteArray("DateTime"));
    EXPECT_TRUE(f.queries.awaiting().manufacturer);
    // A late answer is still read.
    f.receive("\r\nSIEMENS\r\n");
    EXPECT_EQ(f.queries.manufacturerText(), QByteArray("SIEMENS"));
}

TEST(ModemQueries, ReadAllParameterArmsOnlyInSmsMode) {
    QueryFixture f;
    f.queries.ReadAllParameterClick(false);
    EXPECT_FALSE(f.link.flags().QuerySequenceActive);
    f.queries.ReadAllParameterClick(true);
    EXPECT_TRUE(f.link.flags().QuerySequenceActive);
    EXPECT_EQ(f.link.flags().QueryStep, 0);
}
