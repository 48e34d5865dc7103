// The driver's rules against an in-memory backend: the order of the steps
// of Connect, the line settings built from the properties, failures at each
// step, sending with line-status checks and the output queue.
#include "EventLoopWait.h"
#include "FakeSerialBackend.h"
#include "serial/CPDrv.h"

#include <gtest/gtest.h>

namespace {

using zx::serial::LineSettings;

struct FakeDriver {
    FakeSerialBackend *fake;
    std::unique_ptr<TCommPortDriver> driver;
};

FakeDriver makeDriver() {
    auto backend = std::make_unique<FakeSerialBackend>();
    FakeSerialBackend *fake = backend.get();
    auto driver = std::make_unique<TCommPortDriver>(std::move(backend));
    driver->SetPortName(QStringLiteral("/dev/ttyFAKE0"));
    return {fake, std::move(driver)};
}

TEST(DriverWithFake, ConnectOpensAppliesFlushesAndSizesQueuesInThatOrder) {
    auto [fake, driver] = makeDriver();
    driver->SetInBufSize(4096);
    driver->SetOutBufSize(1024);
    ASSERT_TRUE(driver->Connect());
    EXPECT_EQ(fake->calls,
              QStringList({QStringLiteral("open /dev/ttyFAKE0"), QStringLiteral("apply"),
                           QStringLiteral("purge io"), QStringLiteral("queues 4096 1024")}));
    EXPECT_EQ(driver->DeviceName(), QStringLiteral("/dev/ttyFAKE0"));

    // A second Connect does nothing.
    fake->calls.clear();
    EXPECT_TRUE(driver->Connect());
    EXPECT_TRUE(fake->calls.isEmpty());
}

TEST(DriverWithFake, FailedStepLeavesThePortClosed) {
    struct Row {
        const char *name;
        void (*breakIt)(FakeSerialBackend &);
        QStringList expectedCalls;
    };
    const QStringList applied = {QStringLiteral("open /dev/ttyFAKE0"), QStringLiteral("apply")};
    const Row rows[] = {
        {"open refused",
         [](FakeSerialBackend &f) { f.failOpen = true; },
         {QStringLiteral("open /dev/ttyFAKE0")}},
        {"settings refused", [](FakeSerialBackend &f) { f.failApply = true; },
         applied + QStringList{QStringLiteral("close")}},
        {"flush refused", [](FakeSerialBackend &f) { f.failPurge = true; },
         applied + QStringList{QStringLiteral("purge io"), QStringLiteral("close")}},
        {"queue sizes refused", [](FakeSerialBackend &f) { f.failQueueSizes = true; },
         applied + QStringList{QStringLiteral("purge io"), QStringLiteral("queues 2048 2048"),
                               QStringLiteral("close")}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        auto [fake, driver] = makeDriver();
        row.breakIt(*fake);
        EXPECT_FALSE(driver->Connect());
        EXPECT_FALSE(driver->Connected());
        EXPECT_EQ(fake->calls, row.expectedCalls);
        EXPECT_EQ(driver->SendData("x", 1), 0u);
    }
}

TEST(DriverWithFake, LineSettingsFollowTheProperties) {
    struct Row {
        const char *name;
        void (*configure)(TCommPortDriver &);
        LineSettings expected;
    };
    LineSettings defaults;
    defaults.speed = 9600;
    defaults.dtr = true;
    defaults.rts = true; // hfNONERTSON
    defaults.xonLimit = 512;
    defaults.xoffLimit = 512;

    auto with = [&defaults](auto change) {
        LineSettings s = defaults;
        change(s);
        return s;
    };
    const Row rows[] = {
        {"defaults", [](TCommPortDriver &) {}, defaults},
        {"the program's setting",
         [](TCommPortDriver &d) {
             d.SetHwFlow(hfNONE);
             d.SetEnableDTROnOpen(false);
             d.SetParity(ptEVEN);
             d.SetBaudRate(br19200);
             d.SetInBufSize(8192);
         },
         with([](LineSettings &s) {
             s.rts = false;
             s.dtr = false;
             s.parity = ptEVEN;
             s.speed = 19200;
             s.xonLimit = s.xoffLimit = 2048;
         })},
        {"RTS/CTS handshake", [](TCommPortDriver &d) { d.SetHwFlow(hfRTSCTS); },
         with([](LineSettings &s) { s.ctsFlow = true; })},
        {"XON/XOFF", [](TCommPortDriver &d) { d.SetSwFlow(sfXONXOFF); },
         with([](LineSettings &s) { s.xonXoff = true; })},
        {"7 data bits, odd parity, 2 stop bits",
         [](TCommPortDriver &d) {
             d.SetDataBits(db7BITS);
             d.SetParity(ptODD);
             d.SetStopBits(sb2BITS);
         },
         with([](LineSettings &s) {
             s.dataBits = db7BITS;
             s.parity = ptODD;
             s.stopBits = sb2BITS;
         })},
        {"custom speed", [](TCommPortDriver &d) { d.SetBaudRateValue(250000); },
         with([](LineSettings &s) { s.speed = 250000; })},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        auto [fake, driver] = makeDriver();
        row.configure(*driver);
        ASSERT_TRUE(driver->Connect());
        EXPECT_EQ(driver->LastAppliedSettings(), row.expected);
        EXPECT_EQ(driver->LastAppliedSettings().xonChar, '\x11');
        EXPECT_EQ(driver->LastAppliedSettings().xoffChar, '\x13');
    }
}

TEST(DriverWithFake, LineSettersReapplyWhileConnectedOnly) {
    auto [fake, driver] = makeDriver();
    driver->SetParity(ptMARK);
    EXPECT_TRUE(fake->calls.isEmpty());
    ASSERT_TRUE(driver->Connect());

    const auto appliesAfter = [&](auto change) {
        fake->calls.clear();
        change();
        return fake->calls.count(QStringLiteral("apply"));
    };
    EXPECT_EQ(appliesAfter([&] { driver->SetBaudRate(br57600); }), 1);
    EXPECT_EQ(driver->LastAppliedSettings().speed, 57600u);
    EXPECT_EQ(appliesAfter([&] { driver->SetBaudRateValue(31250); }), 1);
    EXPECT_EQ(driver->LastAppliedSettings().speed, 31250u);
    EXPECT_EQ(appliesAfter([&] { driver->SetStopBits(sb1HALFBITS); }), 1);
    EXPECT_EQ(driver->LastAppliedSettings().stopBits, sb1HALFBITS);
    EXPECT_EQ(appliesAfter([&] { driver->SetSwFlow(sfXONXOFF); }), 1);
    EXPECT_EQ(appliesAfter([&] { driver->SetHwFlow(hfNONE); }), 1);
    EXPECT_FALSE(driver->LastAppliedSettings().rts);
    EXPECT_EQ(appliesAfter([&] { driver->SetDataBits(db6BITS); }), 1);
    EXPECT_EQ(driver->LastAppliedSettings().dataBits, db6BITS);
    EXPECT_EQ(driver->LastAppliedSettings().parity, ptMARK);
    // DTR is taken at the next application only.
    EXPECT_EQ(appliesAfter([&] { driver->SetEnableDTROnOpen(false); }), 0);
    EXPECT_EQ(appliesAfter([&] { driver->SetPacketMode(pmPass); }), 0);

    // A refused change leaves the port open.
    fake->failApply = true;
    driver->SetParity(ptSPACE);
    EXPECT_TRUE(driver->Connected());
    EXPECT_EQ(driver->LastAppliedSettings().parity, ptSPACE);
    EXPECT_FALSE(driver->ApplyCommSettings());
}

TEST(DriverWithFake, OperationsOnAClosedPort) {
    auto [fake, driver] = makeDriver();
    EXPECT_FALSE(driver->ApplyCommSettings());
    EXPECT_FALSE(driver->FlushBuffers(true, true));
    EXPECT_EQ(driver->OutFreeSpace(), 65535);
    EXPECT_EQ(driver->GetLineStatus(), TLineStatusSet{});
    EXPECT_EQ(driver->SendData("abc", 3), 0u);
    EXPECT_FALSE(driver->SendByte(0x41));
    EXPECT_TRUE(fake->output.isEmpty());
    EXPECT_TRUE(fake->calls.isEmpty());
}

TEST(DriverWithFake, OutFreeSpaceIsBufferLessQueue) {
    auto [fake, driver] = makeDriver();
    driver->SetOutBufSize(1000);
    ASSERT_TRUE(driver->Connect());
    fake->outputQueued = 0;
    EXPECT_EQ(driver->OutFreeSpace(), 1000);
    fake->outputQueued = 999;
    EXPECT_EQ(driver->OutFreeSpace(), 1);
    fake->outputQueued = 4000;
    EXPECT_EQ(driver->OutFreeSpace(), 0);
}

TEST(DriverWithFake, SendWritesNoMoreThanTheFreeSpaceAtATime) {
    auto [fake, driver] = makeDriver();
    driver->SetOutBufSize(128);
    ASSERT_TRUE(driver->Connect());
    fake->outputQueued = 100; // 28 bytes of room a write

    QByteArray data(70, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 7);
    EXPECT_EQ(driver->SendData(data.constData(), unsigned(data.size())), 70u);
    EXPECT_EQ(fake->output, data);
    EXPECT_EQ(fake->largestWrite, 28);
}

TEST(DriverWithFake, LineStatusCheckStopsSendingWhenAllLinesAreOff) {
    auto [fake, driver] = makeDriver();
    ASSERT_TRUE(driver->Connect());
    driver->SetCheckLineStatus(true);

    fake->lines = TLineStatusSet{};
    EXPECT_EQ(driver->SendData("ATZ\r", 4), 0u);
    fake->lines.reset(); // the query fails: counts as no lines
    EXPECT_FALSE(driver->SendByte('A'));
    EXPECT_TRUE(fake->output.isEmpty());

    fake->lines = TLineStatusSet(lsCTS | lsRLSD);
    EXPECT_EQ(driver->GetLineStatus(), TLineStatusSet(lsCTS | lsRLSD));
    EXPECT_EQ(driver->SendData("ATZ\r", 4), 4u);
    EXPECT_EQ(fake->output, QByteArray("ATZ\r"));

    driver->SetCheckLineStatus(false);
    fake->lines.reset();
    EXPECT_TRUE(driver->SendByte(0x1A));
    EXPECT_EQ(fake->output, QByteArray("ATZ\r\x1A"));
}

TEST(DriverWithFake, FailingPortIsDisconnectedAndReported) {
    struct Row {
        const char *name;
        void (*breakIt)(FakeSerialBackend &);
    };
    const Row rows[] = {
        {"queue size unreadable", [](FakeSerialBackend &f) { f.failBytesWaiting = true; }},
        {"read fails",
         [](FakeSerialBackend &f) {
             f.input = "OK";
             f.failRead = true;
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        auto [fake, driver] = makeDriver();
        driver->SetPollingDelay(5);
        QStringList reasons;
        int received = 0;
        driver->SetOnPortLost([&](TCommPortDriver *sender, const QString &reason) {
            EXPECT_EQ(sender, driver.get());
            EXPECT_FALSE(sender->Connected());
            reasons << reason;
        });
        driver->SetOnReceiveData([&](TCommPortDriver *, const char *, unsigned) { ++received; });
        ASSERT_TRUE(driver->Connect());
        row.breakIt(*fake);
        ASSERT_TRUE(runEventsUntil([&] { return !reasons.isEmpty(); }, 2000));
        runEventsFor(30);
        EXPECT_EQ(reasons, QStringList{QStringLiteral("fake: line gone")});
        EXPECT_EQ(received, 0);
        EXPECT_FALSE(driver->Connected());
        EXPECT_EQ(fake->calls.last(), QStringLiteral("close"));
    }
}

} // namespace
