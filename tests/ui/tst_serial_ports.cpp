// The "Serial Port" tab with ports users can recognise: what each "ComN" is
// (from recorded udev properties), hub order, hot-plugging and "Remember
// this port"; and a port that vanishes and comes back, reopened by itself.
#include "common/Wire.h"
#include "serial/PortSource.h"
#include "support/SimHarness.h"
#include "ui/widgets/RadioGroup.h"

#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QtTest>

using zx::sim::FaultOptions;
using zx::sim::Simulator;
using zx::testing::framed;

namespace {

const QString kFtdiById =
    QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

QMap<QString, QString> recordedBlock(const QString &device) {
    QFile file(QStringLiteral(ZX_TEST_DATA_DIR "/udev-serial-ports.txt"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no recorded udev properties");
    for (const auto &block : zx::serial::parseUdevProperties(QString::fromUtf8(file.readAll())))
        if (block.value(QStringLiteral("DEVNAME")) == device)
            return block;
    qFatal("no recorded block for %s", qPrintable(device));
}

QStringList notes(TForm1 &form, int count) {
    QStringList texts;
    for (int n = 1; n <= count; ++n)
        texts << child<QLabel>(form, QStringLiteral("ComDevice%1").arg(n))->text();
    return texts;
}

} // namespace

class SerialPortsTest : public QObject {
    Q_OBJECT
private slots:
    void recordedPortsShownFollowedAndRemembered();
    void vanishedPortIsReopenedByItself();
};

void SerialPortsTest::recordedPortsShownFollowedAndRemembered() {
    UiTestEnv env;
    env.keepDesignTimeValues();
    qputenv("ZENTORIX_PORT_SOURCE", "recorded:" ZX_TEST_DATA_DIR "/udev-serial-ports.txt");
    TForm1 form;
    qunsetenv("ZENTORIX_PORT_SOURCE");
    auto *source = form.findChild<zx::serial::RecordedPortSource *>();
    QVERIFY(source);

    const QString ch340 = QStringLiteral("/dev/ttyUSB1  QinHeng Electronics USB Serial  1a86:7523");
    const QString ftdi =
        QStringLiteral("/dev/ttyUSB0  FTDI FT232R USB UART  0403:6001  serial A50285BI");
    const QString modem = QStringLiteral(
        "/dev/ttyACM0  Telit Wireless Solutions LE910  1bc7:1201  serial 357042061234567");
    // Hub port 1.1 before 1.3, then the modem, then the on-board port.
    QCOMPARE(notes(form, 5),
             QStringList({ch340, ftdi, modem, QStringLiteral("/dev/ttyS0"), QStringLiteral("(none)")}));
    QCOMPARE(child<QLabel>(form, "ComDevice2")->toolTip(), kFtdiById);

    // Another adapter plugged into hub port 1.2 takes its place between them.
    QMap<QString, QString> third = recordedBlock(QStringLiteral("/dev/ttyUSB0"));
    third[QStringLiteral("DEVNAME")] = QStringLiteral("/dev/ttyUSB2");
    third[QStringLiteral("DEVPATH")] = QStringLiteral(
        "/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1.2/1-1.2:1.0/ttyUSB2/tty/ttyUSB2");
    third[QStringLiteral("ID_SERIAL_SHORT")] = QStringLiteral("A9XK31QZ");
    third[QStringLiteral("DEVLINKS")] =
        QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XK31QZ-if00-port0");
    source->deviceAdded(third);
    const QString ftdi2 =
        QStringLiteral("/dev/ttyUSB2  FTDI FT232R USB UART  0403:6001  serial A9XK31QZ");
    QCOMPARE(notes(form, 4), QStringList({ch340, ftdi2, ftdi, modem}));

    // The first FTDI adapter is "Com3" now; remember it as such.
    auto *ports = child<zx::ui::RadioGroup>(form, "RadioGroupPort");
    ports->button(2)->click();
    // What the window tried to open is what the tab shows.
    QCOMPARE(form.CommPortDriver1().DeviceName(), QStringLiteral("/dev/ttyUSB0"));
    auto *remember = child<QPushButton>(form, "RememberPort");
    QCOMPARE(remember->text(), QStringLiteral("Remember this port as Com3"));
    QVERIFY(remember->isEnabled());
    remember->click();
    const QFileInfo link(env.dir() + QStringLiteral("/config/zentorix/ports/com3"));
    QVERIFY(link.isSymLink());
    QCOMPARE(link.symLinkTarget(), kFtdiById);
    QVERIFY2(child<QStatusBar>(form, "StatusBar1")->currentMessage().startsWith(
                 QStringLiteral("Com3 is now ") + kFtdiById),
             qPrintable(child<QStatusBar>(form, "StatusBar1")->currentMessage()));
    QVERIFY(!remember->isEnabled());

    // The hub's first adapter is pulled: the others move up, Com3 keeps its adapter.
    source->deviceRemoved(QStringLiteral("/dev/ttyUSB1"));
    QCOMPARE(notes(form, 5), QStringList({ftdi2, ftdi, ftdi, QStringLiteral("/dev/ttyS0"),
                                          QStringLiteral("(none)")}));
    // Other items' buttons offer their own ComN.
    ports->button(0)->click();
    QCOMPARE(remember->text(), QStringLiteral("Remember this port as Com1"));
    QVERIFY(remember->isEnabled());
    // The on-board port has no stable name to remember.
    ports->button(3)->click();
    QVERIFY(!remember->isEnabled());
}

void SerialPortsTest::vanishedPortIsReopenedByItself() {
    // The simulator's port goes after a second and is back a second later
    // on a new terminal, under the same port-map link.
    FaultOptions faults;
    faults.vanishAfterSec = 1;
    SimHarness h(Simulator::Mode::Setting, faults);
    QVERIFY(h.simulatorRunning());
    h.open(settingModeSettings());
    TCommPortDriver &driver = h.window().CommPortDriver1();
    h.child<zx::ui::RadioGroup>(QStringLiteral("RadioGroupRate"))->button(3)->click();
    QCOMPARE(driver.BaudRateValue(), 19200u);
    h.child<QPushButton>(QStringLiteral("SetOut5"))->click();
    QVERIFY(h.pumpUntil([&] { return h.memoText().contains(QStringLiteral("OUT5 ON")); }));

    QVERIFY(h.pumpUntil([&] { return !driver.Connected(); }, 4000));
    QVERIFY2(h.statusMessage().contains(QStringLiteral("reopened if the same device comes back")),
             qPrintable(h.statusMessage()));
    // A command in the gap is reported as not sent...
    const qsizetype before = h.wire.size();
    h.child<QPushButton>(QStringLiteral("ResetOut5"))->click();
    QVERIFY2(h.statusMessage().contains(QStringLiteral("not open")) &&
                 h.statusMessage().contains(QStringLiteral("was not sent")),
             qPrintable(h.statusMessage()));

    QVERIFY(h.pumpUntil([&] { return driver.Connected(); }, 5000));
    QCOMPARE(driver.DeviceName(), h.sim.slavePath());
    QVERIFY2(h.statusMessage().contains(QStringLiteral("came back and was reopened")) &&
                 h.statusMessage().contains(QStringLiteral("19200 baud")),
             qPrintable(h.statusMessage()));
    QCOMPARE(driver.LastAppliedSettings().speed, 19200u);
    QCOMPARE(driver.Parity(), ptNONE);
    // ... and never sent late.
    h.pumpFor(300);
    QCOMPARE(h.wire.mid(before), QByteArray());

    h.child<QPushButton>(QStringLiteral("ResetOut5"))->click();
    QVERIFY(h.pumpUntil([&] { return h.memoText().contains(QStringLiteral("OUT5 OFF")); }));
    QCOMPARE(h.wire.mid(before), framed("RSTOU5"));
    QCOMPARE(h.commands, (QList<QByteArray>{"SETOU5", "RSTOU5"}));
    QVERIFY(!h.sim.module().state().outputs[4]);
}

QTEST_MAIN(SerialPortsTest)
#include "tst_serial_ports.moc"
