// Setter rules of the driver's properties: clamps, linked properties, and
// what is refused while the port is open.
#include "FakeSerialBackend.h"
#include "serial/CPDrv.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct NumericRule {
    const char *name;
    std::function<void(TCommPortDriver &)> act;
    std::function<qint64(const TCommPortDriver &)> read;
    qint64 expected;
};

qint64 inBuf(const TCommPortDriver &d) {
    return d.InBufSize();
}
qint64 outBuf(const TCommPortDriver &d) {
    return d.OutBufSize();
}
qint64 packetSize(const TCommPortDriver &d) {
    return d.PacketSize();
}
qint64 packetTimeout(const TCommPortDriver &d) {
    return d.PacketTimeout();
}
qint64 pollingDelay(const TCommPortDriver &d) {
    return d.PollingDelay();
}
qint64 baudRate(const TCommPortDriver &d) {
    return d.BaudRate();
}
qint64 baudRateValue(const TCommPortDriver &d) {
    return d.BaudRateValue();
}

const NumericRule kRules[] = {
    {"polling delay below 5 becomes 5", [](auto &d) { d.SetPollingDelay(3); }, pollingDelay, 5},
    {"polling delay 0 becomes 5", [](auto &d) { d.SetPollingDelay(0); }, pollingDelay, 5},
    {"polling delay 4000 kept", [](auto &d) { d.SetPollingDelay(4000); }, pollingDelay, 4000},
    {"in buffer above 8192 clamps", [](auto &d) { d.SetInBufSize(100000); }, inBuf, 8192},
    {"in buffer below 128 clamps", [](auto &d) { d.SetInBufSize(10); }, inBuf, 128},
    {"in buffer 4096 kept", [](auto &d) { d.SetInBufSize(4096); }, inBuf, 4096},
    {"out buffer above 8192 clamps", [](auto &d) { d.SetOutBufSize(9000); }, outBuf, 8192},
    {"out buffer below 128 clamps", [](auto &d) { d.SetOutBufSize(127); }, outBuf, 128},
    {"packet size 0 means none", [](auto &d) { d.SetPacketSize(0); }, packetSize, -1},
    {"negative packet size means none", [](auto &d) { d.SetPacketSize(-7); }, packetSize, -1},
    {"packet size within buffer kept", [](auto &d) { d.SetPacketSize(100); }, packetSize, 100},
    {"packet size within buffer leaves buffer", [](auto &d) { d.SetPacketSize(100); }, inBuf, 2048},
    {"packet size above buffer kept", [](auto &d) { d.SetPacketSize(5000); }, packetSize, 5000},
    {"packet size above buffer grows buffer", [](auto &d) { d.SetPacketSize(5000); }, inBuf, 5000},
    {"packet size above 8192 is capped", [](auto &d) { d.SetPacketSize(20000); }, packetSize, 8192},
    {"buffer shrunk below packet grows back to the packet",
     [](auto &d) {
         d.SetPacketSize(1000);
         d.SetInBufSize(128);
     },
     inBuf, 1000},
    {"packet time-out 0 means none", [](auto &d) { d.SetPacketTimeout(0); }, packetTimeout, -1},
    {"negative packet time-out means none", [](auto &d) { d.SetPacketTimeout(-9); }, packetTimeout,
     -1},
    {"packet time-out below polling delay is 1.4 intervals",
     [](auto &d) { d.SetPacketTimeout(30); }, packetTimeout, 70},
    {"packet time-out equal to polling delay kept", [](auto &d) { d.SetPacketTimeout(50); },
     packetTimeout, 50},
    {"1.4 intervals rounds down",
     [](auto &d) {
         d.SetPollingDelay(33);
         d.SetPacketTimeout(1);
     },
     packetTimeout, 46},
    {"longer polling delay re-applies packet time-out",
     [](auto &d) {
         d.SetPacketTimeout(120);
         d.SetPollingDelay(200);
     },
     packetTimeout, 280},
    {"shorter polling delay keeps packet time-out",
     [](auto &d) {
         d.SetPacketTimeout(120);
         d.SetPollingDelay(100);
     },
     packetTimeout, 120},
    {"baud rate value makes rate custom", [](auto &d) { d.SetBaudRateValue(57600); }, baudRate,
     brCustom},
    {"baud rate value stored", [](auto &d) { d.SetBaudRateValue(57600); }, baudRateValue, 57600},
    {"baud rate sets its value", [](auto &d) { d.SetBaudRate(br128000); }, baudRateValue, 128000},
    {"custom baud rate keeps the value",
     [](auto &d) {
         d.SetBaudRate(br115200);
         d.SetBaudRate(brCustom);
     },
     baudRateValue, 115200},
    {"baud rate outside the table ignored", [](auto &d) { d.SetBaudRate(TBaudRate(16)); }, baudRate,
     br9600},
};

TEST(PropertyRules, SettersClampAndLink) {
    for (const NumericRule &rule : kRules) {
        SCOPED_TRACE(rule.name);
        TCommPortDriver driver(std::make_unique<FakeSerialBackend>());
        rule.act(driver);
        EXPECT_EQ(rule.read(driver), rule.expected);
    }
}

TEST(PropertyRules, PortNumberNamesThePortAndNameMakesItCustom) {
    TCommPortDriver driver(std::make_unique<FakeSerialBackend>());
    driver.SetPort(pnCOM12);
    EXPECT_EQ(driver.Port(), pnCOM12);
    EXPECT_EQ(driver.PortName(), QStringLiteral("\\\\.\\COM12"));

    driver.SetPortName(QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(driver.Port(), pnCustom);
    EXPECT_EQ(driver.PortName(), QStringLiteral("/dev/ttyUSB3"));

    // pnCustom keeps whatever name there is.
    driver.SetPort(pnCOM1);
    driver.SetPort(pnCustom);
    EXPECT_EQ(driver.PortName(), QStringLiteral("\\\\.\\COM1"));
}

TEST(PropertyRules, PortAndBuffersFrozenWhileConnected) {
    auto backend = std::make_unique<FakeSerialBackend>();
    FakeSerialBackend *fake = backend.get();
    TCommPortDriver driver(std::move(backend));
    driver.SetPortName(QStringLiteral("/dev/ttyUSB0"));
    ASSERT_TRUE(driver.Connect());

    driver.SetPort(pnCOM5);
    driver.SetPortName(QStringLiteral("/dev/ttyS0"));
    driver.SetInBufSize(4096);
    driver.SetOutBufSize(4096);
    driver.SetPacketSize(3000); // cannot grow the buffer now
    EXPECT_EQ(driver.Port(), pnCustom);
    EXPECT_EQ(driver.PortName(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(driver.InBufSize(), 2048u);
    EXPECT_EQ(driver.OutBufSize(), 2048u);
    EXPECT_EQ(driver.PacketSize(), 2048);

    driver.Disconnect();
    EXPECT_FALSE(fake->isOpen());
    driver.SetPort(pnCOM5);
    EXPECT_EQ(driver.PortName(), QStringLiteral("\\\\.\\COM5"));
    driver.SetInBufSize(4096);
    EXPECT_EQ(driver.InBufSize(), 4096u);
}

TEST(PropertyRules, CharsToMillisAtTenBitsPerCharacter) {
    struct Row {
        TBaudRate rate;
        unsigned count;
        unsigned expected;
    };
    const Row rows[] = {
        {br9600, 10, 10},                         // 10.42 ms
        {br9600, 48, 50},                         // exactly 50 ms
        {br110, 1, 91},                           // 90.9 ms
        {br300, 3, 100},                          // exactly 100 ms
        {br256000, 1000, 39},                     // 39.06 ms
        {br115200, 4, 0},                         // 0.35 ms
        {br1200, 0, 0},       {brCustom, 100, 0}, // no rate in the table
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << "rate " << row.rate << " count " << row.count);
        EXPECT_EQ(TCommPortDriver::CharsToMillis(row.rate, row.count), row.expected);
    }
}

} // namespace
