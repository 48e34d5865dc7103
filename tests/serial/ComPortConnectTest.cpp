// Connect opens what the port name resolves to: a COM number mapped in the
// user's port map reaches the mapped tty.
#include "PtyPair.h"
#include "ScopedEnvironment.h"
#include "serial/CPDrv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ComPortConnect : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        configHome.set(QFile::encodeName(tmp.path()));
        ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("zentorix/ports")));
    }

    QTemporaryDir tmp;
    ScopedEnvironment configHome{"XDG_CONFIG_HOME"};
};

TEST_F(ComPortConnect, MappedComPortOpensTheLinkedTty) {
    PtyPair pty;
    ASSERT_TRUE(pty.isValid());
    ASSERT_TRUE(QFile::link(pty.slavePath(), tmp.filePath(QStringLiteral("zentorix/ports/com5"))));

    TCommPortDriver driver;
    driver.SetPort(pnCOM5);
    ASSERT_TRUE(driver.Connect());
    EXPECT_EQ(driver.DeviceName(), pty.slavePath());
    EXPECT_EQ(driver.SendData("GETVR\r", 6), 6u);
    EXPECT_EQ(pty.readMaster(6, 2000), QByteArray("GETVR\r"));
}

TEST_F(ComPortConnect, ComPortWithoutDeviceFailsToConnect) {
    TCommPortDriver driver;
    driver.SetPort(pnCOM16);
    EXPECT_FALSE(driver.Connect());
    EXPECT_FALSE(driver.Connected());
}

} // namespace
