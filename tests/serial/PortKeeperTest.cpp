// The window's port through its life, on a backend in memory: chosen and
// opened, lost, another device on its node left alone, the same device back
// on another node reopened with the line it had, and given up after the
// window; a choice of the user's ends any wait.
#include "FakeSerialBackend.h"
#include "ScopedEnvironment.h"

#include "serial/PortKeeper.h"
#include "serial/PortSource.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace zx::serial;

class ListedPorts : public PortSource {
public:
    QString kind() const override { return QStringLiteral("recorded"); }
    void put(const QList<PortDetails> &ports) { replaceAll(ports); }
};

PortDetails ftdi(const QString &device, const QString &serial) {
    PortDetails port;
    port.device = device;
    port.vendorId = QStringLiteral("0403");
    port.productId = QStringLiteral("6001");
    port.serialNumber = serial;
    return port;
}

struct Seen {
    QStringList messages;
    QList<quint32> opened;
    QList<bool> holding;
};

} // namespace

TEST(PortKeeper, LostPortIsReopenedOnlyAsTheSameDeviceAndOnlyInTime) {
    QTemporaryDir config;
    ScopedEnvironment xdg("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8()); // no port map
    auto backend = std::make_unique<FakeSerialBackend>();
    FakeSerialBackend &fake = *backend;
    TCommPortDriver driver(std::move(backend));
    // "Com1" is the first adapter; a device name stands for itself.
    driver.SetPortResolver([](const QString &name) {
        return name.startsWith(QLatin1String("/dev/")) ? name : QStringLiteral("/dev/ttyUSB0");
    });
    ListedPorts ports;
    ports.put({ftdi(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("A1"))});
    qint64 nowMs = 0;
    PortKeeper keeper(driver, ports, [&] { return nowMs; });
    Seen seen;
    QObject::connect(&keeper, &PortKeeper::message, [&](const QString &t) { seen.messages << t; });
    QObject::connect(&keeper, &PortKeeper::opened, [&](quint32 baud) { seen.opened << baud; });
    QObject::connect(&keeper, &PortKeeper::holding, [&](bool held) { seen.holding << held; });
    const PortChoice choice{pnCOM1, br115200, 115200, true};
    const auto lose = [&] {
        driver.Disconnect();
        ports.put({});
        keeper.lost(QStringLiteral("unplugged"));
    };

    struct Step {
        const char *what;
        std::function<void()> act;
        const char *message; // the last one said; a prefix
        const char *opens;   // the device opened by this step; empty: none
        bool waiting;
    } const steps[] = {
        {"the user's choice", [&] { keeper.open(choice); }, "", "/dev/ttyUSB0", false},
        {"lost", lose, "The serial port was lost (unplugged) and is closed. It is reopened if the "
                       "same device comes back within 60 s", "", true},
        {"another device on its node",
         [&] { ports.put({ftdi(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("B2"))}); },
         "Another device is on /dev/ttyUSB0 now (USB 0403:6001, serial B2); it was not opened.",
         "", true},
        {"the same device on another node",
         [&] {
             nowMs = 59000;
             ports.put({ftdi(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("B2")),
                        ftdi(QStringLiteral("/dev/ttyUSB1"), QStringLiteral("A1"))});
         },
         "The serial port came back and was reopened: /dev/ttyUSB1 at 115200 baud, parity even.",
         "/dev/ttyUSB1", false},
        {"lost where it came back", lose, "The serial port was lost (unplugged)", "", true},
        {"back too late",
         [&] {
             nowMs += 60001;
             ports.put({ftdi(QStringLiteral("/dev/ttyUSB1"), QStringLiteral("A1"))});
         },
         "The serial port did not come back within 60 s.", "", false},
        {"lost, then the user chooses",
         [&] {
             lose();
             keeper.open(choice);
         },
         "", "/dev/ttyUSB0", false},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        fake.calls.clear();
        seen = {};
        step.act();
        ASSERT_FALSE(seen.messages.isEmpty());
        if (*step.message == '\0') {
            EXPECT_TRUE(seen.messages.last().isEmpty()) << seen.messages.last().toStdString();
        } else {
            EXPECT_TRUE(seen.messages.last().startsWith(QLatin1String(step.message)))
                << seen.messages.last().toStdString();
        }
        const bool opens = *step.opens != '\0';
        EXPECT_EQ(fake.calls.contains(QStringLiteral("open ") + QLatin1String(step.opens)), opens)
            << fake.calls.join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(driver.Connected(), opens);
        EXPECT_EQ(keeper.waiting(), step.waiting);
        EXPECT_EQ(seen.opened, opens ? QList<quint32>{115200} : QList<quint32>{});
        if (opens) {
            EXPECT_EQ(driver.BaudRateValue(), 115200u);
            EXPECT_EQ(driver.Parity(), ptEVEN);
            EXPECT_EQ(keeper.openPort().device, QLatin1String(step.opens));
            EXPECT_FALSE(seen.holding.isEmpty() || seen.holding.last());
        }
        if (step.waiting && !seen.holding.isEmpty()) {
            EXPECT_TRUE(seen.holding.last());
        }
    }
}
