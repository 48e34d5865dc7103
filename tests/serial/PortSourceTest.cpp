// The port list from recorded udev properties: what each port is, the order
// of the ports on a hub, and add and remove events as udev sends them.
#include "serial/PortSource.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace zx::serial;

QString recorded() {
    QFile file(QStringLiteral(ZX_TEST_DATA_DIR "/udev-serial-ports.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll());
}

QMap<QString, QString> blockOf(const QString &device) {
    for (const auto &block : parseUdevProperties(recorded()))
        if (block.value(QStringLiteral("DEVNAME")) == device)
            return block;
    ADD_FAILURE() << "no recorded block for " << device.toStdString();
    return {};
}

QStringList names(std::initializer_list<const char *> list) {
    QStringList result;
    for (const char *name : list)
        result << QLatin1String(name);
    return result;
}

QStringList devices(const PortSource &source) {
    QStringList list;
    for (const PortDetails &port : source.ports())
        list << port.device;
    return list;
}

TEST(RecordedPortSource, DetailsOrderAndHotPlug) {
    RecordedPortSource source;
    QStringList events;
    QObject::connect(&source, &PortSource::portAdded, [&](const PortDetails &p) {
        events << QStringLiteral("+") + p.device;
    });
    QObject::connect(&source, &PortSource::portRemoved, [&](const PortDetails &p) {
        events << QStringLiteral("-") + p.device;
    });
    source.load(recorded());

    // The console tty1 is no serial port. ttyUSB1 sits on hub port 1.1, ttyUSB0
    // on 1.3: the hub's order, not the order they were plugged in.
    EXPECT_EQ(devices(source), names({"/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyACM0",
                                            "/dev/ttyS0"}));
    struct Row {
        const char *device, *summary, *byId, *location;
    } const rows[] = {
        {"/dev/ttyUSB1", "/dev/ttyUSB1  QinHeng Electronics USB Serial  1a86:7523",
         "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0",
         "/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1.1/1-1.1:1.0/ttyUSB1"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0  FTDI FT232R USB UART  0403:6001  serial A50285BI",
         "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
         "/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1.3/1-1.3:1.0/ttyUSB0"},
        {"/dev/ttyACM0",
         "/dev/ttyACM0  Telit Wireless Solutions LE910  1bc7:1201  serial 357042061234567",
         "/dev/serial/by-id/usb-Telit_LE910_357042061234567-if00",
         "/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0"},
        {"/dev/ttyS0", "/dev/ttyS0", "", "/devices/pnp0/00:05"},
    };
    const QList<PortDetails> ports = source.ports();
    ASSERT_EQ(ports.size(), qsizetype(std::size(rows)));
    for (qsizetype i = 0; i < ports.size(); ++i) {
        const PortDetails &port = ports[i];
        SCOPED_TRACE(rows[i].device);
        EXPECT_EQ(port.device, QLatin1String(rows[i].device));
        EXPECT_EQ(port.summary(), QString::fromUtf8(rows[i].summary));
        EXPECT_EQ(port.byId, QLatin1String(rows[i].byId));
        EXPECT_EQ(port.location, QLatin1String(rows[i].location));
    }

    // An adapter on hub port 1.2, plugged in last, comes between the two;
    // the first one out of the hub moves the others up.
    events.clear();
    QMap<QString, QString> third = blockOf(QStringLiteral("/dev/ttyUSB0"));
    third[QStringLiteral("DEVNAME")] = QStringLiteral("/dev/ttyUSB2");
    third[QStringLiteral("DEVPATH")] =
        QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1.2/1-1.2:1.0/ttyUSB2/tty/ttyUSB2");
    third[QStringLiteral("ID_SERIAL_SHORT")] = QStringLiteral("A9XK31QZ");
    third[QStringLiteral("DEVLINKS")] =
        QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XK31QZ-if00-port0");
    source.deviceAdded(third);
    EXPECT_EQ(devices(source), names({"/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB0",
                                            "/dev/ttyACM0", "/dev/ttyS0"}));
    source.deviceRemoved(QStringLiteral("/dev/ttyUSB1"));
    source.deviceRemoved(QStringLiteral("/dev/ttyUSB7")); // not there: no event
    EXPECT_EQ(devices(source),
              names({"/dev/ttyUSB2", "/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0"}));
    // Plugged back on its hub port, it is first again.
    source.deviceAdded(blockOf(QStringLiteral("/dev/ttyUSB1")));
    EXPECT_EQ(devices(source).first(), QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(events, names({"+/dev/ttyUSB2", "-/dev/ttyUSB1", "+/dev/ttyUSB1"}));

    // The Com numbers follow the list; a port-map link to a by-id name wins.
    QTemporaryDir map;
    ASSERT_TRUE(rememberComPort(1, source.ports()[2].byId, nullptr, map.path()));
    const QList<ComPort> com = listComPorts(source.ports(), map.path());
    ASSERT_GE(com.size(), 3);
    EXPECT_EQ(com[0].details.device, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(com[1].details.device, QStringLiteral("/dev/ttyUSB2"));
    EXPECT_EQ(com[2].details.device, QStringLiteral("/dev/ttyUSB0"));
}

} // namespace
