// "\\.\COMn" on a POSIX machine: a fake /dev, /sys and port map in a temp dir.
#include "serial/PortNames.h"
#include "ScopedEnvironment.h"
#include "serial/PortDetails.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace zx::serial;

class PortNames : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        root = QFileInfo(tmp.path()).canonicalFilePath();
        ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("dev")));
        ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("config/zentorix/ports")));
        roots.dev = root + QStringLiteral("/dev");
        roots.sys = root + QStringLiteral("/sys");
        roots.portMap = root + QStringLiteral("/config/zentorix/ports");
    }

    void addDevice(const QString &name, const char *uartType = nullptr) {
        QFile node(dev(name));
        ASSERT_TRUE(node.open(QIODevice::WriteOnly));
        if (uartType) {
            const QString sysDir = roots.sys + QStringLiteral("/class/tty/") + name;
            ASSERT_TRUE(QDir().mkpath(sysDir));
            QFile type(sysDir + QStringLiteral("/type"));
            ASSERT_TRUE(type.open(QIODevice::WriteOnly));
            type.write(uartType);
        }
    }

    void addTypicalMachine() {
        addDevice(QStringLiteral("ttyS0"), "4\n");
        addDevice(QStringLiteral("ttyS1"), "0\n"); // no UART behind it
        addDevice(QStringLiteral("ttyS2"));        // no type known
        addDevice(QStringLiteral("ttyS10"), "4\n");
        addDevice(QStringLiteral("ttyACM0"));
        addDevice(QStringLiteral("ttyUSB10"));
        addDevice(QStringLiteral("ttyUSB2"));
        addDevice(QStringLiteral("ttyUSB0"));
        addDevice(QStringLiteral("ttyAMA0"));
        addDevice(QStringLiteral("ttyUSBx")); // not a numbered device
        addDevice(QStringLiteral("tty5"));
    }

    QString dev(const QString &name) const { return roots.dev + QLatin1Char('/') + name; }

    // sysfs as the kernel lays it out: /sys/class/tty/<name>/device links to
    // the tty's parent device (for a USB serial adapter a port below the
    // interface, for ACM the interface); the USB device with the id and name
    // files is some levels above it.
    void addSysDevice(const QString &name, const QString &usbDevice, const QString &below,
                      const QList<std::pair<const char *, const char *>> &files) {
        const QString usb = roots.sys + QStringLiteral("/devices/") + usbDevice;
        const QString device = usb + QLatin1Char('/') + below;
        ASSERT_TRUE(QDir().mkpath(device));
        for (const auto &[file, text] : files) {
            QFile f(usb + QLatin1Char('/') + QLatin1String(file));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
        const QString classDir = roots.sys + QStringLiteral("/class/tty/") + name;
        ASSERT_TRUE(QDir().mkpath(classDir));
        ASSERT_TRUE(QFile::link(device, classDir + QStringLiteral("/device")));
    }

    QTemporaryDir tmp;
    QString root;
    PortSearchRoots roots;
    ScopedEnvironment configHome{"XDG_CONFIG_HOME"};
};

TEST_F(PortNames, UsbBeforeAcmBeforeOnBoardInNumericOrder) {
    addTypicalMachine();
    EXPECT_EQ(presentSerialDevices(roots),
              QStringList({dev(QStringLiteral("ttyUSB0")), dev(QStringLiteral("ttyUSB2")),
                           dev(QStringLiteral("ttyUSB10")), dev(QStringLiteral("ttyACM0")),
                           dev(QStringLiteral("ttyS0")), dev(QStringLiteral("ttyS10")),
                           dev(QStringLiteral("ttyAMA0"))}));
}

TEST_F(PortNames, ComNamesResolveToTheNthDevice) {
    addTypicalMachine();
    struct Row {
        const char *name;
        QString expected;
    };
    const Row rows[] = {
        {"\\\\.\\COM1", dev(QStringLiteral("ttyUSB0"))},
        {"\\\\.\\COM3", dev(QStringLiteral("ttyUSB10"))},
        {"\\\\.\\COM4", dev(QStringLiteral("ttyACM0"))},
        {"\\\\.\\com5", dev(QStringLiteral("ttyS0"))},
        {"\\\\.\\COM7", dev(QStringLiteral("ttyAMA0"))},
        {"\\\\.\\COM8", QString()},
        {"\\\\.\\COM16", QString()},
        // Not COM1..COM16: used as a path as it stands.
        {"\\\\.\\COM17", QStringLiteral("\\\\.\\COM17")},
        {"\\\\.\\COM0", QStringLiteral("\\\\.\\COM0")},
        {"COM1", QStringLiteral("COM1")},
        {"/dev/ttyUSB0", QStringLiteral("/dev/ttyUSB0")},
        {"/dev/serial/by-id/usb-modem", QStringLiteral("/dev/serial/by-id/usb-modem")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(resolvePortName(QString::fromLatin1(row.name), roots), row.expected);
    }
}

TEST_F(PortNames, SingleUsbModemIsCom1) {
    addDevice(QStringLiteral("ttyS0"), "4");
    addDevice(QStringLiteral("ttyACM0"));
    EXPECT_EQ(resolvePortName(QStringLiteral("\\\\.\\COM1"), roots),
              dev(QStringLiteral("ttyACM0")));
    EXPECT_EQ(describeComPort(1, roots), dev(QStringLiteral("ttyACM0")));
    EXPECT_EQ(describeComPort(2, roots), dev(QStringLiteral("ttyS0")));
    EXPECT_EQ(describeComPort(3, roots), QStringLiteral("(none)"));
    EXPECT_EQ(describeComPort(0, roots), QStringLiteral("(none)"));
    EXPECT_EQ(describeComPort(17, roots), QStringLiteral("(none)"));
}

TEST_F(PortNames, MapLinkWinsAndDanglingLinkFallsThrough) {
    addTypicalMachine();
    const QString map = roots.portMap;
    ASSERT_TRUE(QFile::link(dev(QStringLiteral("ttyS10")), map + QStringLiteral("/com1")));
    ASSERT_TRUE(QFile::link(dev(QStringLiteral("gone")), map + QStringLiteral("/com2")));
    // Upper case is not the map's spelling.
    ASSERT_TRUE(QFile::link(dev(QStringLiteral("ttyAMA0")), map + QStringLiteral("/COM3")));

    EXPECT_EQ(resolvePortName(QStringLiteral("\\\\.\\COM1"), roots), dev(QStringLiteral("ttyS10")));
    EXPECT_EQ(resolvePortName(QStringLiteral("\\\\.\\COM2"), roots),
              dev(QStringLiteral("ttyUSB2")));
    EXPECT_EQ(resolvePortName(QStringLiteral("\\\\.\\COM3"), roots),
              dev(QStringLiteral("ttyUSB10")));
    // A mapped port needs no device present at all.
    ASSERT_TRUE(QFile::link(dev(QStringLiteral("ttyUSB0")), map + QStringLiteral("/com12")));
    EXPECT_EQ(describeComPort(12, roots), dev(QStringLiteral("ttyUSB0")));
}

TEST_F(PortNames, UsbDetailsComeFromTheUsbDeviceAboveTheTty) {
    addDevice(QStringLiteral("ttyUSB0"));
    addDevice(QStringLiteral("ttyACM0"));
    addDevice(QStringLiteral("ttyS0"), "4\n");
    addSysDevice(QStringLiteral("ttyUSB0"), QStringLiteral("usb1/1-2"),
                 QStringLiteral("1-2:1.0/ttyUSB0"),
                 {{"idVendor", "0403\n"},
                  {"idProduct", "6001\n"},
                  {"manufacturer", "FTDI\n"},
                  {"product", "FT232R USB UART\n"},
                  {"serial", "A50285BI\n"}});
    addSysDevice(QStringLiteral("ttyACM0"), QStringLiteral("usb1/1-3"), QStringLiteral("1-3:1.0"),
                 {{"idVendor", "1bc7"}, {"idProduct", "1201"}});
    addSysDevice(QStringLiteral("ttyS0"), QStringLiteral("platform"), QStringLiteral("serial8250"),
                 {});
    // The root hub above them: not the device's own.
    addSysDevice(QStringLiteral("unused"), QStringLiteral("usb1"), QStringLiteral("1-9"),
                 {{"idVendor", "1d6b"}});

    struct Row {
        int number;
        QString device;
        const char *vendor, *product, *manufacturer, *name, *serial;
    } const rows[] = {
        {1, dev(QStringLiteral("ttyUSB0")), "0403", "6001", "FTDI", "FT232R USB UART", "A50285BI"},
        {2, dev(QStringLiteral("ttyACM0")), "1bc7", "1201", "", "", ""},
        {3, dev(QStringLiteral("ttyS0")), "", "", "", "", ""},
    };
    const QList<ComPort> ports = listComPorts(roots);
    ASSERT_EQ(ports.size(), std::size(rows));
    for (qsizetype i = 0; i < ports.size(); ++i) {
        const PortDetails &d = ports[i].details;
        const Row &row = rows[i];
        SCOPED_TRACE(row.number);
        EXPECT_EQ(ports[i].number, row.number);
        EXPECT_EQ(d.device, row.device);
        EXPECT_EQ(d.isUsb(), *row.vendor != '\0');
        EXPECT_EQ(QStringList({d.vendorId, d.productId, d.manufacturer, d.product, d.serialNumber}),
                  QStringList({QLatin1String(row.vendor), QLatin1String(row.product),
                               QLatin1String(row.manufacturer), QLatin1String(row.name),
                               QLatin1String(row.serial)}));
    }
    // A device sysfs does not know (a pseudo-terminal) has no details.
    EXPECT_FALSE(sysfsPortDetails(QStringLiteral("/dev/pts/99"), roots.sys).isUsb());
}

TEST_F(PortNames, MapDirectoryFollowsXdgConfigHome) {
    configHome.set(QFile::encodeName(root + QStringLiteral("/config")));
    EXPECT_EQ(portMapDirectory(), root + QStringLiteral("/config/zentorix/ports"));

    addDevice(QStringLiteral("ttyUSB0"));
    ASSERT_TRUE(QFile::link(dev(QStringLiteral("ttyUSB0")),
                            root + QStringLiteral("/config/zentorix/ports/com9")));
    PortSearchRoots viaEnvironment = roots;
    viaEnvironment.portMap.clear();
    EXPECT_EQ(resolvePortName(QStringLiteral("\\\\.\\COM9"), viaEnvironment),
              dev(QStringLiteral("ttyUSB0")));

    configHome.unset();
    EXPECT_EQ(portMapDirectory(), QDir::homePath() + QStringLiteral("/.config/zentorix/ports"));
    configHome.set("relative/path");
    EXPECT_EQ(portMapDirectory(), QDir::homePath() + QStringLiteral("/.config/zentorix/ports"));
}

} // namespace
