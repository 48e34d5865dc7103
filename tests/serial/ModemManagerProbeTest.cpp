// ModemManagerProbe against a mock ModemManager (python3-dbusmock with the
// template in tests/data) on a private bus standing in for the system bus.
#include "serial/ModemManagerProbe.h"

#include "EventLoopWait.h"
#include "ScopedEnvironment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using zx::serial::ModemManagerOwner;
using zx::serial::ModemManagerProbe;

namespace {

// A Python that has dbusmock: the system's own first, for a PATH that puts
// another Python before it.
QString pythonWithDbusmock() {
    for (const QString &candidate : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess check;
        check.start(candidate, {QStringLiteral("-c"), QStringLiteral("import dbusmock")});
        if (check.waitForFinished(30000) && check.exitStatus() == QProcess::NormalExit &&
            check.exitCode() == 0)
            return candidate;
    }
    return {};
}

std::optional<ModemManagerOwner> probeOnce(const QString &device) {
    ModemManagerProbe probe;
    std::optional<ModemManagerOwner> answer;
    QObject::connect(&probe, &ModemManagerProbe::answered,
                     [&answer, device](const QString &asked, const ModemManagerOwner &owner) {
                         if (asked == device)
                             answer = owner;
                     });
    probe.probe(device);
    runEventsUntil([&] { return answer.has_value(); }, 20000);
    return answer;
}

void stop(QProcess &process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(5000);
}

const char kModems[] = R"({"modems": [
    {"Manufacturer": "Quectel", "Model": "EC25", "PrimaryPort": "ttyUSB2",
     "Device": "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3",
     "Ports": [["ttyUSB1", 5], ["ttyUSB2", 3], ["ttyUSB3", 3], ["wwan0", 2]]},
    {"Manufacturer": "Sierra Wireless", "Model": "EM7455", "PrimaryPort": "cdc-wdm0",
     "Device": "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4",
     "Ports": [["cdc-wdm0", 6], ["ttyUSB5", 3]]}]})";

} // namespace

TEST(ModemManagerProbe, FindsTheModemThatHoldsTheDeviceOnTheSystemBus) {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed (scripts/install-deps installs it)";
    const QString python = pythonWithDbusmock();
    if (python.isEmpty())
        GTEST_SKIP() << "python3-dbusmock is not installed (scripts/install-deps installs it)";
    const QString tmpl = QStringLiteral(ZX_TEST_DATA_DIR "/modemmanager_template.py");
    ASSERT_TRUE(QFile::exists(tmpl));

    QProcess bus;
    bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
    ASSERT_TRUE(bus.waitForStarted(10000));
    ASSERT_TRUE(bus.waitForReadyRead(10000)) << bus.readAllStandardError().constData();
    const QByteArray address = bus.readLine().trimmed();
    ASSERT_TRUE(address.startsWith("unix:")) << address.constData();
    ScopedEnvironment systemBus("DBUS_SYSTEM_BUS_ADDRESS");
    systemBus.set(address);

    // A bus without ModemManager: nothing owns anything.
    std::optional<ModemManagerOwner> answer = probeOnce(QStringLiteral("/dev/ttyUSB2"));
    ASSERT_TRUE(answer.has_value()) << "no answer without ModemManager";
    EXPECT_FALSE(answer->owned);

    QProcess mock;
    mock.setStandardOutputFile(QProcess::nullDevice());
    mock.start(python, {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"),
                        QStringLiteral("--template"), tmpl, QStringLiteral("-p"),
                        QString::fromUtf8(kModems)});
    ASSERT_TRUE(mock.waitForStarted(10000));
    ASSERT_TRUE(runEventsUntil(
        [] {
            return QDBusConnection::systemBus().interface()->isServiceRegistered(
                QStringLiteral("org.freedesktop.ModemManager1"));
        },
        30000))
        << mock.readAllStandardError().constData();

    QTemporaryDir links;
    ASSERT_TRUE(links.isValid());
    const QString byId = links.filePath(QStringLiteral("usb-Quectel_EC25-if02-port0"));
    const QString chained = links.filePath(QStringLiteral("modem"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/ttyUSB2"), byId));
    ASSERT_TRUE(QFile::link(byId, chained));

    const struct {
        QString device;
        bool owned;
        QString name;
        QString port;
    } cases[] = {
        {QStringLiteral("/dev/ttyUSB2"), true, QStringLiteral("Quectel EC25"), QStringLiteral("ttyUSB2")},
        {chained, true, QStringLiteral("Quectel EC25"), QStringLiteral("ttyUSB2")},
        {QStringLiteral("/dev/ttyUSB5"), true, QStringLiteral("Sierra Wireless EM7455"),
         QStringLiteral("ttyUSB5")},
        {QStringLiteral("/dev/ttyUSB0"), false, {}, {}},
        {QStringLiteral("/dev/ttyUSB22"), false, {}, {}},
        {QStringLiteral("/dev/ttyACM0"), false, {}, {}},
    };
    for (const auto &c : cases) {
        answer = probeOnce(c.device);
        ASSERT_TRUE(answer.has_value()) << c.device.toStdString();
        EXPECT_EQ(answer->owned, c.owned) << c.device.toStdString();
        EXPECT_EQ(answer->modemName(), c.name) << c.device.toStdString();
        EXPECT_EQ(answer->port, c.port) << c.device.toStdString();
    }

    // The advice for the owner, by USB vendor and product when they are known,
    // else by the tty's name.
    answer = probeOnce(QStringLiteral("/dev/ttyUSB2"));
    ASSERT_TRUE(answer.has_value() && answer->owned);
    EXPECT_EQ(answer->modem.path, QStringLiteral("/org/freedesktop/ModemManager1/Modem/0"));
    zx::serial::PortDetails usb;
    usb.vendorId = QStringLiteral("2C7C");
    usb.productId = QStringLiteral("0125");
    const QString tail = QStringLiteral(
        ", ENV{ID_MM_DEVICE_IGNORE}=\"1\" in a file such as "
        "/etc/udev/rules.d/99-zentorix-modem.rules, run \"sudo udevadm control --reload\", then "
        "unplug the modem and plug it in again.");
    EXPECT_EQ(zx::serial::modemManagerAdvice(*answer, usb),
              QStringLiteral("ModemManager holds /dev/ttyUSB2 for its modem Quectel EC25. To leave "
                             "the device to this tool, put the line ATTRS{idVendor}==\"2c7c\", "
                             "ATTRS{idProduct}==\"0125\"") +
                  tail);
    EXPECT_EQ(zx::serial::modemManagerAdvice(*answer, {}),
              QStringLiteral("ModemManager holds /dev/ttyUSB2 for its modem Quectel EC25. To leave "
                             "the device to this tool, put the line KERNEL==\"ttyUSB2\"") +
                  tail);
    EXPECT_EQ(zx::serial::modemManagerAdvice(ModemManagerOwner{}, usb), QString());

    // The window's way in: advice only for an owned device.
    QObject context;
    QStringList shown;
    const auto show = [&shown](const QString &advice) { shown.append(advice); };
    zx::serial::adviseWhenModemManagerOwns(&context, QStringLiteral("/dev/ttyUSB0"), show);
    zx::serial::adviseWhenModemManagerOwns(&context, chained, show);
    ASSERT_TRUE(runEventsUntil([&] { return context.children().isEmpty(); }, 20000));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("ModemManager holds /dev/ttyUSB2 for its modem "
                                                   "Quectel EC25.")))
        << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QStringLiteral("ENV{ID_MM_DEVICE_IGNORE}=\"1\"")));

    stop(mock);
    stop(bus);
}
