// A port that goes away under an open driver (a USB modem pulled, here the
// pseudo-terminal's master closed) ends the connection and is reported once.
#include "EventLoopWait.h"
#include "PtyPair.h"
#include "serial/CPDrv.h"

#include <gtest/gtest.h>

namespace {

TEST(PortLost, HangupDisconnectsAndReportsOnce) {
    PtyPair pty;
    ASSERT_TRUE(pty.isValid());
    TCommPortDriver driver;
    driver.SetPortName(pty.slavePath());
    driver.SetPollingDelay(10);
    QStringList reasons;
    driver.SetOnPortLost([&](TCommPortDriver *sender, const QString &reason) {
        EXPECT_EQ(sender, &driver);
        EXPECT_FALSE(sender->Connected());
        reasons << reason;
    });
    int received = 0;
    driver.SetOnReceiveData([&](TCommPortDriver *, const char *, unsigned) { ++received; });
    ASSERT_TRUE(driver.Connect());
    runEventsFor(50); // ticks on an idle line report nothing
    EXPECT_TRUE(reasons.isEmpty());
    EXPECT_TRUE(driver.Connected());

    pty.closeMaster();
    ASSERT_TRUE(runEventsUntil([&] { return !reasons.isEmpty(); }, 2000));
    runEventsFor(50);
    ASSERT_EQ(reasons.size(), 1);
    EXPECT_TRUE(reasons.at(0).startsWith(pty.slavePath())) << qPrintable(reasons.at(0));
    EXPECT_FALSE(driver.Connected());
    EXPECT_EQ(received, 0);
    EXPECT_EQ(driver.SendData("AT\r", 3), 0u);
}

} // namespace
