#include "serial/PortKeeper.h"

#include "serial/PortError.h"
#include "serial/PortNames.h"
#include "serial/PortSource.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

namespace zx::serial {
namespace {

constexpr int kPortMapLinks = 16;

// A device without a by-id name is known by the port-map link that led to it.
PortIdentity identityOf(const PortDetails &port, const QString &mapLink) {
    return {port.device, port.byId.isEmpty() ? mapLink : port.byId, port.usbId(),
            port.serialNumber};
}

QString parityName(bool even) {
    return even ? QStringLiteral("even") : QStringLiteral("none");
}

} // namespace

PortKeeper::PortKeeper(TCommPortDriver &driver, PortSource &ports, Clock clock, QObject *parent)
    : QObject(parent), driver_(driver), ports_(ports), reconnect_(std::move(clock)),
      portMapWatcher_(new QFileSystemWatcher(this)) {
    connect(&ports_, &PortSource::portsChanged, this, &PortKeeper::check);
    connect(portMapWatcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        emit portMapChanged();
        check();
    });
    watchPortMap();
}

bool PortKeeper::open(const PortChoice &choice) {
    reconnect_.cancel();
    emit holding(false);
    driver_.Disconnect();
    driver_.SetDataBits(db8BITS);
    driver_.SetParity(choice.evenParity ? ptEVEN : ptNONE);
    driver_.SetStopBits(sb1BITS);
    driver_.SetHwFlow(hfNONE);
    driver_.SetSwFlow(sfNONE);
    driver_.SetEnableDTROnOpen(false);
    driver_.SetCheckLineStatus(false);
    driver_.SetPort(choice.port);
    driver_.SetBaudRateValue(choice.baud);
    driver_.SetBaudRate(choice.rate);
    const bool connected = driver_.Connect();
    if (!connected) {
        const QString text = portErrorText(
            QStringLiteral("Com%1").arg(int(choice.port) - int(pnCOM1) + 1), driver_.LastError());
        emit message(text);
        if (driver_.LastError().kind == PortErrorKind::Busy)
            emit busy(driver_.LastError().device, text);
    } else {
        emit message(QString());
    }
    openPort_ = openedPort();
    if (connected)
        emit opened(choice.baud);
    return connected;
}

void PortKeeper::lost(const QString &reason) {
    if (openPort_.device != driver_.DeviceName())
        openPort_ = {driver_.DeviceName(), {}, {}, {}};
    reconnect_.lost(openPort_, {driver_.BaudRateValue(), driver_.Parity() == ptEVEN});
    if (!reconnect_.waiting()) {
        emit message(QStringLiteral("The serial port was lost (%1) and is closed. "
                                    "Choose the port again on \"Serial Port\" to reconnect.")
                         .arg(reason));
        return;
    }
    emit holding(true);
    emit message(QStringLiteral("The serial port was lost (%1) and is closed. It is reopened "
                                "if the same device comes back within %2 s; or choose the "
                                "port again on \"Serial Port\".")
                     .arg(reason)
                     .arg(reconnect_.windowMs() / 1000));
    watchPortMap();
}

void PortKeeper::check() {
    using Decision = ReconnectPolicy::Decision;
    const Decision decision = reconnect_.consider(presentPorts());
    switch (decision.kind) {
    case Decision::Idle:
    case Decision::Wait:
        return;
    case Decision::Stranger:
        emit message(QStringLiteral("Another device is on %1 now (%2); it was not opened. "
                                    "Choose it on \"Serial Port\" to use it.")
                         .arg(decision.device,
                              decision.found.usbId.isEmpty()
                                  ? QStringLiteral("not the one that was open")
                                  : QStringLiteral("USB %1, serial %2")
                                        .arg(decision.found.usbId, decision.found.serialNumber)));
        return;
    case Decision::GiveUp:
        emit holding(false);
        emit message(QStringLiteral("The serial port did not come back within %1 s. Choose "
                                    "the port again on \"Serial Port\" to reconnect.")
                         .arg(reconnect_.windowMs() / 1000));
        return;
    case Decision::Reopen:
        reopen(decision);
        return;
    }
}

void PortKeeper::reopen(const ReconnectPolicy::Decision &decision) {
    driver_.SetPortName(decision.device);
    driver_.SetBaudRateValue(decision.line.speed);
    driver_.SetParity(decision.line.evenParity ? ptEVEN : ptNONE);
    if (!driver_.Connect()) {
        reconnect_.openFailed();
        const QString text = portErrorText(QStringLiteral("The returning port"), driver_.LastError());
        emit message(text);
        if (driver_.LastError().kind == PortErrorKind::Busy)
            emit busy(driver_.LastError().device, text);
        return;
    }
    emit holding(false);
    const PortIdentity was = openPort_;
    openPort_ = decision.found;
    if (openPort_.stableName.isEmpty())
        openPort_.stableName = was.stableName;
    emit opened(decision.line.speed);
    emit message(QStringLiteral("The serial port came back and was reopened: %1 at %2 baud, "
                                "parity %3.")
                     .arg(decision.device)
                     .arg(decision.line.speed)
                     .arg(parityName(decision.line.evenParity)));
}

void PortKeeper::watchPortMap() {
    const QString map = portMapDirectory();
    if (QFileInfo(map).isDir() && !portMapWatcher_->directories().contains(map))
        portMapWatcher_->addPath(map);
}

PortIdentity PortKeeper::openedPort() const {
    if (!driver_.Connected())
        return {};
    const QString device = driver_.DeviceName();
    PortDetails port;
    port.device = device;
    if (const PortDetails *known = ports_.find(device))
        port = *known;
    QString mapLink;
    if (const int n = comPortNumber(driver_.PortName())) {
        const QFileInfo link(QStringLiteral("%1/com%2").arg(portMapDirectory()).arg(n));
        if (link.isSymLink() && link.canonicalFilePath() == QFileInfo(device).canonicalFilePath())
            mapLink = link.filePath();
    }
    return identityOf(port, mapLink);
}

QList<PortIdentity> PortKeeper::presentPorts() const {
    QList<PortIdentity> present;
    for (const PortDetails &port : ports_.ports())
        present << identityOf(port, {});
    const QString map = portMapDirectory();
    for (int n = 1; n <= kPortMapLinks; ++n) {
        const QFileInfo link(QStringLiteral("%1/com%2").arg(map).arg(n));
        if (!link.isSymLink() || !link.exists())
            continue;
        PortDetails port;
        port.device = link.canonicalFilePath();
        if (const PortDetails *known = ports_.find(port.device))
            port = *known;
        present << identityOf(port, link.filePath());
    }
    return present;
}

} // namespace zx::serial
