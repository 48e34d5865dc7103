// The driver reads when the port's descriptor turns readable. The polling
// interval is set to a minute throughout, so whatever reaches a handler within
// the tests' bounds came through the descriptor.
#include "EventLoopWait.h"
#include "FakeSerialBackend.h"
#include "PtyPair.h"
#include "serial/CPDrv.h"

#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

constexpr quint16 kMinutePoll = 60000;
constexpr int kBoundMs = 2000;

struct PtyDriver {
    PtyPair pty;
    TCommPortDriver driver;
    QList<QByteArray> chunks;
    QStringList lost;

    PtyDriver() {
        // Raw already, as a port left by an earlier session: the tty then
        // counts an unfinished line as held too.
        termios tio{};
        ::tcgetattr(pty.slave(), &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(pty.slave(), TCSANOW, &tio);
        driver.SetPortName(pty.slavePath());
        driver.SetHwFlow(hfNONE);
        driver.SetEnableDTROnOpen(false);
        driver.SetPollingDelay(kMinutePoll);
        const auto record = [this](TCommPortDriver *sender, const char *data, unsigned count) {
            EXPECT_EQ(sender, &driver);
            chunks << QByteArray(data, int(count));
        };
        driver.SetOnReceiveData(record);
        driver.SetOnReceivePacket(record);
        driver.SetOnPortLost([this](TCommPortDriver *sender, const QString &reason) {
            EXPECT_FALSE(sender->Connected());
            lost << reason;
        });
    }

    bool waitForChunks(qsizetype count) {
        return runEventsUntil([&] { return chunks.size() >= count; }, kBoundMs);
    }
};

TEST(ReadNotifier, BytesArriveAsWrittenAndNothingFromBeforeTheOpen) {
    struct Step {
        QByteArray write;
        QList<QByteArray> chunksAfter;
    };
    struct Row {
        const char *name;
        qint16 packetSize;
        QByteArray beforeConnect; // on the line before the port opens
        QList<Step> steps;
    };
    const QByteArray binary("\0\xFF\x1A\x80\r", 5);
    const Row rows[] = {
        {"data",
         -1,
         "stale\r\n",
         {{"AT\r\r\nOK\r\n", {"AT\r\r\nOK\r\n"}},
          {"+CSQ: 17,0\r\n", {"AT\r\r\nOK\r\n", "+CSQ: 17,0\r\n"}},
          {binary, {"AT\r\r\nOK\r\n", "+CSQ: 17,0\r\n", binary}}}},
        // A stale byte would shift every packet; the rest of a packet waits
        // for the bytes that complete it (no time-out is set).
        {"packets of 4",
         4,
         "xy",
         {{"ABCDEFGHIJ", {"ABCD", "EFGH"}},
          {"KL", {"ABCD", "EFGH", "IJKL"}},
          {"MN", {"ABCD", "EFGH", "IJKL"}},
          {"OPQRST", {"ABCD", "EFGH", "IJKL", "MNOP", "QRST"}}}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        PtyDriver t;
        ASSERT_TRUE(t.pty.isValid());
        t.driver.SetPacketSize(row.packetSize);
        t.driver.SetPacketMode(pmPass);
        ASSERT_TRUE(t.pty.writeMaster(row.beforeConnect));
        ASSERT_TRUE(t.pty.waitHeld(int(row.beforeConnect.size()), kBoundMs));
        ASSERT_TRUE(t.driver.Connect());
        for (const Step &step : row.steps) {
            SCOPED_TRACE(step.write.toStdString());
            ASSERT_TRUE(t.pty.writeMaster(step.write));
            if (step.chunksAfter.size() == t.chunks.size())
                runEventsFor(100); // a rest of a packet: give it a chance to show wrongly
            else
                ASSERT_TRUE(t.waitForChunks(step.chunksAfter.size()));
            EXPECT_EQ(t.chunks, step.chunksAfter);
        }
        runEventsFor(50);
        EXPECT_EQ(t.chunks, row.steps.last().chunksAfter);
        EXPECT_TRUE(t.lost.isEmpty());
        EXPECT_TRUE(t.driver.Connected());
    }
}

TEST(ReadNotifier, PeerClosingIsReportedLostOnce) {
    PtyDriver t;
    ASSERT_TRUE(t.pty.isValid());
    ASSERT_TRUE(t.driver.Connect());
    runEventsFor(30);
    t.pty.closeMaster();
    ASSERT_TRUE(runEventsUntil([&] { return !t.lost.isEmpty(); }, kBoundMs));
    runEventsFor(100);
    ASSERT_EQ(t.lost.size(), 1);
    EXPECT_TRUE(t.lost.at(0).startsWith(t.pty.slavePath())) << qPrintable(t.lost.at(0));
    EXPECT_TRUE(t.chunks.isEmpty());
    EXPECT_FALSE(t.driver.Connected());
}

TEST(ReadNotifier, HandlerMayDisconnectFromInsideTheCall) {
    PtyDriver t;
    ASSERT_TRUE(t.pty.isValid());
    t.driver.SetOnReceiveData([&](TCommPortDriver *sender, const char *data, unsigned count) {
        t.chunks << QByteArray(data, int(count));
        sender->Disconnect();
    });
    ASSERT_TRUE(t.driver.Connect());
    ASSERT_TRUE(t.pty.writeMaster("OK\r\n"));
    ASSERT_TRUE(t.waitForChunks(1));
    EXPECT_FALSE(t.driver.Connected());
    // Nobody listens to the closed port any more.
    ASSERT_TRUE(t.pty.writeMaster("RING\r\n"));
    runEventsFor(100);
    EXPECT_EQ(t.chunks, QList<QByteArray>{"OK\r\n"});

    ASSERT_TRUE(t.driver.Connect());
    ASSERT_TRUE(t.pty.writeMaster("+CMTI\r\n"));
    ASSERT_TRUE(t.waitForChunks(2));
    EXPECT_EQ(t.chunks, (QList<QByteArray>{"OK\r\n", "+CMTI\r\n"}));
    EXPECT_TRUE(t.lost.isEmpty());
}

// A descriptor that stays readable while the backend has nothing to give
// must end the connection, not turn the event loop into a busy loop.
TEST(ReadNotifier, ReadableWithNothingToReadIsLostNotASpin) {
    struct Row {
        const char *name;
        bool hangUp;
        QString reason;
    };
    const Row rows[] = {
        {"the backend says hung up", true, QStringLiteral("fake: line gone")},
        {"the backend says nothing", false,
         QStringLiteral("/dev/ttyFAKE0: the port signals input but delivers none")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        ASSERT_EQ(::write(pipeEnds[1], "!", 1), 1); // readable from now on
        {
            auto backend = std::make_unique<FakeSerialBackend>();
            FakeSerialBackend *fake = backend.get();
            fake->descriptor = pipeEnds[0];
            fake->hangUp = row.hangUp;
            TCommPortDriver driver(std::move(backend));
            driver.SetPortName(QStringLiteral("/dev/ttyFAKE0"));
            driver.SetPollingDelay(kMinutePoll);
            QStringList lost;
            int received = 0;
            driver.SetOnPortLost([&](TCommPortDriver *, const QString &reason) { lost << reason; });
            driver.SetOnReceiveData([&](TCommPortDriver *, const char *, unsigned) { ++received; });
            ASSERT_TRUE(driver.Connect());
            ASSERT_TRUE(runEventsUntil([&] { return !lost.isEmpty(); }, kBoundMs));
            const int queries = fake->waitingQueries;
            runEventsFor(100);
            EXPECT_EQ(lost, QStringList{row.reason});
            EXPECT_EQ(received, 0);
            EXPECT_FALSE(driver.Connected());
            EXPECT_EQ(fake->calls.last(), QStringLiteral("close"));
            EXPECT_LE(queries, 64);
            EXPECT_EQ(fake->waitingQueries, queries);
        }
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
    }
}

} // namespace
