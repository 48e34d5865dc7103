// The decision to reopen a vanished port: the same device only, within the
// window only, with the line it had; another device on the node is reported
// once and never taken.
#include "serial/ReconnectPolicy.h"

#include <gtest/gtest.h>

namespace {

using namespace zx::serial;
using Kind = ReconnectPolicy::Decision::Kind;

const PortIdentity kFtdi{QStringLiteral("/dev/ttyUSB0"),
                         QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"),
                         QStringLiteral("0403:6001"), QStringLiteral("A50285BI")};
// The same adapter back on another node, as udev names it.
const PortIdentity kFtdiBack{QStringLiteral("/dev/ttyUSB1"), kFtdi.stableName, kFtdi.usbId,
                             kFtdi.serialNumber};
// The same adapter reached through another hub port: a new by-path, same serial.
const PortIdentity kFtdiSerialOnly{QStringLiteral("/dev/ttyUSB3"), QString(), kFtdi.usbId,
                                   kFtdi.serialNumber};
// Another adapter of the same make on the node the first one had.
const PortIdentity kOtherFtdi{QStringLiteral("/dev/ttyUSB0"),
                              QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_B71X22QA-if00-port0"),
                              QStringLiteral("0403:6001"), QStringLiteral("B71X22QA")};
// A port-map link reached the lost port; a pseudo-terminal has no serial.
const PortIdentity kMapped{QStringLiteral("/dev/pts/4"),
                           QStringLiteral("/home/u/.config/zentorix/ports/com1"), {}, {}};
const PortIdentity kMappedBack{QStringLiteral("/dev/pts/9"), kMapped.stableName, {}, {}};
// A known different serial never counts as the same device, whatever the link.
const PortIdentity kMappedToOther{QStringLiteral("/dev/ttyUSB0"), kFtdi.stableName,
                                  kFtdi.usbId, QStringLiteral("C0FFEE01")};
const PortIdentity kOnBoard{QStringLiteral("/dev/ttyS0"), {}, {}, {}};

TEST(ReconnectPolicy, SameDeviceWithinTheWindowWithTheSameLine) {
    const LineChoice line{19200, true};
    struct Row {
        const char *what;
        PortIdentity lost;
        QList<QList<PortIdentity>> seen; // what is present at each look, one second apart
        QList<Kind> expected;
        QString reopened;
    } const rows[] = {
        {"back under its by-id name on another node", kFtdi, {{}, {kFtdiBack}},
         {Kind::Wait, Kind::Reopen}, kFtdiBack.device},
        {"back with the same serial only", kFtdi, {{kOnBoard}, {kOnBoard, kFtdiSerialOnly}},
         {Kind::Wait, Kind::Reopen}, kFtdiSerialOnly.device},
        {"another adapter on the node is told once, then the right one comes", kFtdi,
         {{kOtherFtdi}, {kOtherFtdi}, {kOtherFtdi, kFtdiBack}},
         {Kind::Stranger, Kind::Wait, Kind::Reopen}, kFtdiBack.device},
        {"same by-id link, different serial", kFtdi, {{kMappedToOther}}, {Kind::Stranger}, {}},
        {"the simulator's link points at a new terminal", kMapped, {{}, {kMappedBack}},
         {Kind::Wait, Kind::Reopen}, kMappedBack.device},
        {"a port nothing tells apart is not waited for", kOnBoard, {{kOnBoard}}, {Kind::Idle}, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        qint64 now = 1000;
        ReconnectPolicy policy([&now] { return now; });
        policy.lost(row.lost, line);
        ASSERT_EQ(row.seen.size(), row.expected.size());
        for (qsizetype i = 0; i < row.seen.size(); ++i) {
            now += 1000;
            const ReconnectPolicy::Decision decision = policy.consider(row.seen[i]);
            EXPECT_EQ(decision.kind, row.expected[i]) << "look " << i;
            if (decision.kind == Kind::Reopen) {
                EXPECT_EQ(decision.device, row.reopened);
                EXPECT_EQ(decision.line, line);
                EXPECT_FALSE(policy.waiting());
                EXPECT_EQ(policy.consider({kFtdiBack}).kind, Kind::Idle);
            }
            if (decision.kind == Kind::Stranger) {
                EXPECT_EQ(decision.device, row.lost.device);
            }
        }
    }
}

TEST(ReconnectPolicy, WindowEndsTheWaitAndTheUserCancelsIt) {
    qint64 now = 0;
    ReconnectPolicy policy([&now] { return now; });
    policy.lost(kFtdi, {9600, false});
    now = ReconnectPolicy::kDefaultWindowMs;
    EXPECT_EQ(policy.consider({}).kind, Kind::Wait);
    now += 1;
    // Back a moment too late: not taken.
    EXPECT_EQ(policy.consider({kFtdiBack}).kind, Kind::GiveUp);
    EXPECT_FALSE(policy.waiting());
    EXPECT_EQ(policy.consider({kFtdiBack}).kind, Kind::Idle);

    // Lost again: the window starts anew; a port the user chooses ends it.
    policy.lost(kFtdi, {9600, false});
    EXPECT_TRUE(policy.waiting());
    policy.cancel();
    EXPECT_EQ(policy.consider({kFtdiBack}).kind, Kind::Idle);
}

} // namespace
