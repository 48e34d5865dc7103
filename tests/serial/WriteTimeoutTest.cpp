// Writing towards a far side that never reads: the write gives up once it
// has made no progress for the time-out, and not long before or after.
#include "PtyPair.h"
#include "serial/CPDrv.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <unistd.h>

namespace {

class WriteTimeout : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.isValid());
        driver.SetPortName(pty.slavePath());
        ASSERT_TRUE(driver.Connect());
    }

    PtyPair pty;
    TCommPortDriver driver;
    // Far more than the tty layer buffers between the two ends.
    const QByteArray flood = QByteArray(1 << 20, 'U');
};

TEST_F(WriteTimeout, StalledWriteReturnsAfterTheTimeoutWithoutProgress) {
    QElapsedTimer clock;
    clock.start();
    const unsigned written = driver.SendDataEx(flood.constData(), unsigned(flood.size()), 300);
    const qint64 elapsed = clock.elapsed();
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, unsigned(flood.size()));
    EXPECT_GE(elapsed, 300);
    EXPECT_LT(elapsed, 1000);

    // The far side got exactly the bytes counted as written.
    const QByteArray received = pty.readMaster(int(written), 3000);
    EXPECT_EQ(received.size(), qsizetype(written));
    EXPECT_EQ(received, flood.left(written));
}

TEST_F(WriteTimeout, TimeoutCountsFromTheLastProgress) {
    // The far side takes what is there every 60 ms for 600 ms, then stops.
    QByteArray drained;
    std::thread slowReader([&] {
        for (int round = 0; round < 10; ++round) {
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
            char chunk[4096];
            ssize_t n;
            while ((n = ::read(pty.master(), chunk, sizeof chunk)) > 0)
                drained.append(chunk, n);
        }
    });
    QElapsedTimer clock;
    clock.start();
    const unsigned written = driver.SendDataEx(flood.constData(), unsigned(flood.size()), 200);
    const qint64 elapsed = clock.elapsed();
    slowReader.join();

    // Far longer than the time-out, as every drain let the write go on.
    EXPECT_GE(elapsed, 600);
    EXPECT_LT(elapsed, 2000);
    EXPECT_LT(written, unsigned(flood.size()));
    drained += pty.readMaster(int(written) - int(drained.size()), 3000);
    EXPECT_EQ(drained, flood.left(written));
}

TEST_F(WriteTimeout, SendDataUsesTheOutputTimeout) {
    driver.SendDataEx(flood.constData(), unsigned(flood.size()), 50); // fill the line
    driver.SetOutputTimeout(120);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(driver.SendData("AT\r", 3), 0u);
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 120);
    EXPECT_LT(elapsed, 800);
    EXPECT_FALSE(driver.SendByte(0x1A));
}

TEST_F(WriteTimeout, ShortWriteToAnIdleLineReturnsAtOnce) {
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(driver.SendDataEx("0123456789", 10, 5000), 10u);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(pty.readMaster(10, 2000), QByteArray("0123456789"));
}

} // namespace
