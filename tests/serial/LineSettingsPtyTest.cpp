// Line settings on a real tty: what reaches the system, what it takes, and
// what a refused setting does to the connection.
#include "PtyPair.h"
#include "serial/CPDrv.h"
#include "serial/PosixSerialBackend.h"
#include "serial/TermiosSpeed.h"

#include <gtest/gtest.h>

#include <termios.h>

namespace {

using zx::serial::PosixSerialBackend;

class LineSettingsPty : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.isValid());
        auto owned = std::make_unique<PosixSerialBackend>();
        backend = owned.get();
        driver = std::make_unique<TCommPortDriver>(std::move(owned));
        driver->SetPortName(pty.slavePath());
    }

    termios slaveTermios() const {
        termios tio{};
        EXPECT_EQ(::tcgetattr(pty.slave(), &tio), 0);
        return tio;
    }

    PtyPair pty;
    PosixSerialBackend *backend = nullptr;
    std::unique_ptr<TCommPortDriver> driver;
};

TEST_F(LineSettingsPty, EvenParityIsHandedToTheSystemAtConnect) {
    driver->SetParity(ptEVEN);
    driver->SetHwFlow(hfNONE);
    driver->SetEnableDTROnOpen(false);
    // A pseudo-terminal drops parity but takes the rest.
    ASSERT_TRUE(driver->Connect());
    EXPECT_EQ(driver->LastAppliedSettings().parity, ptEVEN);
    EXPECT_EQ(driver->LastAppliedSettings().speed, 9600u);
    EXPECT_FALSE(driver->LastAppliedSettings().rts);
    EXPECT_FALSE(driver->LastAppliedSettings().dtr);

    // Raw mode with the receiver on really reached the tty.
    const termios tio = slaveTermios();
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B9600));
}

TEST_F(LineSettingsPty, ParityChangedWhileConnectedReachesTheSameDescriptor) {
    ASSERT_TRUE(driver->Connect());
    const int fd = backend->descriptor();
    EXPECT_EQ(driver->LastAppliedSettings().parity, ptNONE);

    driver->SetParity(ptEVEN);
    EXPECT_TRUE(driver->Connected());
    EXPECT_EQ(backend->descriptor(), fd);
    EXPECT_EQ(driver->LastAppliedSettings().parity, ptEVEN);
    // The tty refuses parity as the only change; the port stays usable.
    EXPECT_FALSE(driver->ApplyCommSettings());
    EXPECT_EQ(driver->SendData("OK", 2), 2u);
    EXPECT_EQ(pty.readMaster(2, 2000), QByteArray("OK"));
}

TEST_F(LineSettingsPty, SpeedsReachTheTty) {
    struct Row {
        TBaudRate rate;
        quint32 custom; // used when rate is brCustom
        quint32 expected;
    };
    const Row rows[] = {
        {br110, 0, 110},       {br9600, 0, 9600},        {br14400, 0, 14400},
        {br56000, 0, 56000},   {br115200, 0, 115200},    {br128000, 0, 128000},
        {br256000, 0, 256000}, {brCustom, 31250, 31250}, {brCustom, 230400, 230400},
    };
    ASSERT_TRUE(driver->Connect());
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << "rate " << row.rate << " value " << row.custom);
        if (row.rate == brCustom)
            driver->SetBaudRateValue(row.custom);
        else
            driver->SetBaudRate(row.rate);
        EXPECT_EQ(driver->LastAppliedSettings().speed, row.expected);
        EXPECT_EQ(zx::serial::currentSpeed(pty.slave()), row.expected);
    }
    EXPECT_TRUE(driver->Connected());
}

TEST_F(LineSettingsPty, RefusedSettingFailsConnectCleanly) {
    struct Row {
        const char *name;
        void (*configure)(TCommPortDriver &);
    };
    const Row rows[] = {
        // A pseudo-terminal always runs 8 data bits.
        {"7 data bits", [](TCommPortDriver &d) { d.SetDataBits(db7BITS); }},
        {"speed 0", [](TCommPortDriver &d) { d.SetBaudRateValue(0); }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        row.configure(*driver);
        EXPECT_FALSE(driver->Connect());
        EXPECT_FALSE(driver->Connected());
        EXPECT_EQ(backend->descriptor(), -1);
        EXPECT_FALSE(backend->errorString().isEmpty());

        // Nothing stays locked: with good settings the port opens.
        driver->SetDataBits(db8BITS);
        driver->SetBaudRate(br9600);
        ASSERT_TRUE(driver->Connect());
        driver->Disconnect();
    }
}

} // namespace
