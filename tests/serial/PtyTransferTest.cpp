// Bytes through a real tty: the driver holds a pseudo-terminal's slave and
// the test plays the far side on the master.
#include "EventLoopWait.h"
#include "PtyPair.h"
#include "serial/CPDrv.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

struct Chunk {
    QByteArray bytes;
    qint64 at; // test clock, ms
};

class PtyTransfer : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.isValid());
        driver.SetPortName(pty.slavePath());
        driver.SetHwFlow(hfNONE);
        driver.SetEnableDTROnOpen(false);
        clock.start();
        const auto record = [this](TCommPortDriver *sender, const char *data, unsigned count) {
            EXPECT_EQ(sender, &driver);
            chunks.append({QByteArray(data, int(count)), clock.elapsed()});
        };
        driver.SetOnReceiveData(record);
        driver.SetOnReceivePacket(record);
    }

    bool waitForChunks(int count, int timeoutMs = 3000) {
        return runEventsUntil([&] { return chunks.size() >= count; }, timeoutMs);
    }

    PtyPair pty;
    TCommPortDriver driver;
    QElapsedTimer clock;
    QList<Chunk> chunks;
};

TEST_F(PtyTransfer, SentBytesReachTheFarSideUnchanged) {
    ASSERT_TRUE(driver.Connect());
    // Raw mode: CR, LF, NUL, Ctrl-Z and bytes above 0x7F pass as they are.
    const QByteArray line("              SETUP:GETOS1\r\0\n\x1A\xFF\x80", 33);
    EXPECT_EQ(driver.SendData(line.constData(), unsigned(line.size())), unsigned(line.size()));
    EXPECT_TRUE(driver.SendByte(0x13));
    EXPECT_EQ(pty.readMaster(line.size() + 1, 2000), line + QByteArray("\x13"));
}

TEST_F(PtyTransfer, QuietTicksCallNothingThenDataArrives) {
    driver.SetPollingDelay(5);
    ASSERT_TRUE(driver.Connect());
    runEventsFor(60); // a dozen ticks with nothing waiting
    EXPECT_TRUE(chunks.isEmpty());

    ASSERT_TRUE(pty.writeMaster("OK\r\n"));
    ASSERT_TRUE(waitForChunks(1));
    EXPECT_EQ(chunks.at(0).bytes, QByteArray("OK\r\n"));
}

TEST_F(PtyTransfer, EverythingWithinOneIntervalComesInOneCall) {
    driver.SetPollingDelay(300);
    ASSERT_TRUE(driver.Connect());
    // Written and taken in by the tty before the event loop runs again, so
    // all of it precedes the first wake-up.
    QByteArray expected;
    for (const QByteArray &piece :
         {QByteArray("+CMGL: 1,0,,23\r\n"), QByteArray("07913366003000F0"), QByteArray(200, '\xA5'),
          QByteArray("\r\nOK\r\n")}) {
        ASSERT_TRUE(pty.writeMaster(piece));
        expected += piece;
    }
    ASSERT_TRUE(pty.waitHeld(int(expected.size()), 2000));
    ASSERT_TRUE(waitForChunks(1));
    runEventsFor(700); // two more ticks
    ASSERT_EQ(chunks.size(), 1);
    EXPECT_EQ(chunks.at(0).bytes, expected);
}

TEST_F(PtyTransfer, OneCallTakesNoMoreThanTheReceiveBuffer) {
    driver.SetInBufSize(128);
    driver.SetPollingDelay(20);
    ASSERT_TRUE(driver.Connect());
    QByteArray burst(300, '\0');
    for (int i = 0; i < burst.size(); ++i)
        burst[i] = char(i);
    ASSERT_TRUE(pty.writeMaster(burst));
    ASSERT_TRUE(runEventsUntil(
        [&] {
            qsizetype total = 0;
            for (const Chunk &c : chunks)
                total += c.bytes.size();
            return total >= burst.size();
        },
        3000));
    QByteArray joined;
    for (const Chunk &c : chunks) {
        EXPECT_LE(c.bytes.size(), 128);
        joined += c.bytes;
    }
    EXPECT_EQ(joined, burst);
    EXPECT_EQ(chunks.at(0).bytes.size(), 128);
}

TEST_F(PtyTransfer, PacketsAndTheRestPassedAfterTheTimeout) {
    driver.SetPollingDelay(20);
    driver.SetPacketSize(4);
    driver.SetPacketTimeout(150);
    driver.SetPacketMode(pmPass);
    ASSERT_TRUE(driver.Connect());
    ASSERT_TRUE(pty.writeMaster("0123456789"));

    ASSERT_TRUE(waitForChunks(3));
    runEventsFor(100);
    ASSERT_EQ(chunks.size(), 3);
    EXPECT_EQ(chunks.at(0).bytes, QByteArray("0123"));
    EXPECT_EQ(chunks.at(1).bytes, QByteArray("4567"));
    EXPECT_EQ(chunks.at(2).bytes, QByteArray("89"));
    // The rest waits out the packet time-out counted from the whole packets.
    EXPECT_GE(chunks.at(2).at - chunks.at(1).at, 150);
}

TEST_F(PtyTransfer, RestDiscardedAfterTheTimeoutInDiscardMode) {
    driver.SetPollingDelay(20);
    driver.SetPacketSize(4);
    driver.SetPacketTimeout(100);
    driver.SetPacketMode(pmDiscard);
    ASSERT_TRUE(driver.Connect());
    ASSERT_TRUE(pty.writeMaster("0123456789"));

    ASSERT_TRUE(waitForChunks(2));
    runEventsFor(300); // past the time-out: the rest is read and dropped
    ASSERT_EQ(chunks.size(), 2);
    EXPECT_EQ(chunks.at(0).bytes, QByteArray("0123"));
    EXPECT_EQ(chunks.at(1).bytes, QByteArray("4567"));

    // The dropped "89" does not prefix the next packet.
    ASSERT_TRUE(pty.writeMaster("ABCD"));
    ASSERT_TRUE(waitForChunks(3));
    EXPECT_EQ(chunks.at(2).bytes, QByteArray("ABCD"));
}

TEST_F(PtyTransfer, PacketCompletedAcrossTicks) {
    driver.SetPollingDelay(20);
    driver.SetPacketSize(6);
    driver.SetPacketTimeout(5000);
    driver.SetPacketMode(pmDiscard);
    ASSERT_TRUE(driver.Connect());
    ASSERT_TRUE(pty.writeMaster("AT"));
    runEventsFor(100);
    EXPECT_TRUE(chunks.isEmpty());
    ASSERT_TRUE(pty.writeMaster("+CSQ\r\n"));
    ASSERT_TRUE(waitForChunks(1));
    runEventsFor(60);
    ASSERT_EQ(chunks.size(), 1);
    EXPECT_EQ(chunks.at(0).bytes, QByteArray("AT+CSQ"));
}

TEST_F(PtyTransfer, FlushDropsWaitingInput) {
    driver.SetPollingDelay(200);
    ASSERT_TRUE(driver.Connect());
    ASSERT_TRUE(pty.writeMaster("stale"));
    // Let the tty take the bytes before they are flushed.
    ASSERT_TRUE(pty.waitHeld(5, 2000));
    ASSERT_TRUE(driver.FlushBuffers(true, false));
    ASSERT_TRUE(pty.writeMaster("fresh"));
    ASSERT_TRUE(waitForChunks(1));
    EXPECT_EQ(chunks.at(0).bytes, QByteArray("fresh"));
}

} // namespace
