// zentorix-cli ports: which device each "ComN" opens on this machine.
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "serial/PortDetails.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zx::cli {
namespace {

QJsonObject portJson(const serial::ComPort &port) {
    const serial::PortDetails &d = port.details;
    QJsonObject json{{QStringLiteral("port"), QStringLiteral("Com%1").arg(port.number)},
                     {QStringLiteral("device"), d.device}};
    if (d.isUsb())
        json.insert(QStringLiteral("usb"),
                    QJsonObject{{QStringLiteral("vendorId"), d.vendorId},
                                {QStringLiteral("productId"), d.productId},
                                {QStringLiteral("manufacturer"), d.manufacturer},
                                {QStringLiteral("product"), d.product},
                                {QStringLiteral("serialNumber"), d.serialNumber}});
    return json;
}

// "Com1   /dev/ttyUSB0   USB 0403:6001 FTDI FT232R USB UART, serial A50285BI"
QString portLine(const serial::ComPort &port) {
    const serial::PortDetails &d = port.details;
    QString line = QStringLiteral("Com%1").arg(port.number).leftJustified(6) + QLatin1Char(' ') +
                   d.device.leftJustified(20);
    if (d.isUsb()) {
        line += QStringLiteral(" USB %1:%2").arg(d.vendorId, d.productId);
        for (const QString &name : {d.manufacturer, d.product})
            if (!name.isEmpty())
                line += QLatin1Char(' ') + name;
        if (!d.serialNumber.isEmpty())
            line += QStringLiteral(", serial ") + d.serialNumber;
    }
    return line.trimmed();
}

} // namespace

int runPorts(const QStringList &args, Console &console) {
    CommandLine line(
        args.at(0),
        QStringLiteral("Lists the ports \"Com1\" .. \"Com16\" that open a device on this "
                       "machine: a link in ~/.config/zentorix/ports/comN, or else the "
                       "n-th serial device present (USB, ACM, then on-board). For a USB "
                       "device it shows vendor and product (ids and names) and its "
                       "serial number."));
    line.addJsonOption();
    if (const auto done = line.parse(args, console, 0, 0))
        return *done;

    const QList<serial::ComPort> ports = serial::listComPorts();
    if (line.json()) {
        QJsonArray list;
        for (const serial::ComPort &port : ports)
            list.append(portJson(port));
        console.out(QJsonDocument(QJsonObject{{QStringLiteral("ports"), list}}).toJson());
        return ExitOk;
    }
    if (ports.isEmpty())
        console.err(QStringLiteral("No serial port found; link one with ln -s DEVICE %1/comN\n")
                        .arg(serial::portMapDirectory())
                        .toUtf8());
    for (const serial::ComPort &port : ports)
        console.printLine(portLine(port));
    return ExitOk;
}

} // namespace zx::cli
