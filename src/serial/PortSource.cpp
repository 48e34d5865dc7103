#include "serial/PortSource.h"

#include "serial/UdevPortSource.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace zx::serial {

const PortDetails *PortSource::find(const QString &device) const {
    for (const PortDetails &port : ports_)
        if (port.device == device)
            return &port;
    return nullptr;
}

void PortSource::add(const PortDetails &port) {
    if (port.device.isEmpty())
        return;
    for (qsizetype i = 0; i < ports_.size(); ++i)
        if (ports_[i].device == port.device)
            ports_.removeAt(i--);
    ports_.append(port);
    sortPorts(ports_);
    emit portAdded(port);
    emit portsChanged();
}

void PortSource::remove(const QString &device) {
    for (qsizetype i = 0; i < ports_.size(); ++i) {
        if (ports_[i].device == device) {
            const PortDetails gone = ports_.takeAt(i);
            emit portRemoved(gone);
            emit portsChanged();
            return;
        }
    }
}

void PortSource::replaceAll(const QList<PortDetails> &ports) {
    const QList<PortDetails> old = ports_;
    for (const PortDetails &port : old) {
        const bool kept = std::any_of(ports.begin(), ports.end(), [&](const PortDetails &p) {
            return p.device == port.device && p.byId == port.byId &&
                   p.serialNumber == port.serialNumber;
        });
        if (!kept)
            remove(port.device);
    }
    for (const PortDetails &port : ports)
        if (!find(port.device))
            add(port);
}

SysfsPortSource::SysfsPortSource(const PortSearchRoots &roots, QObject *parent)
    : PortSource(parent), roots_(roots), watcher_(new QFileSystemWatcher(this)) {
    watcher_->addPath(roots_.dev);
    // The by-id links appear a moment after the node.
    const QString byId = roots_.dev + QStringLiteral("/serial/by-id");
    if (QFileInfo(byId).isDir())
        watcher_->addPath(byId);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &SysfsPortSource::rescan);
    rescan();
}

void SysfsPortSource::rescan() {
    const QString byId = roots_.dev + QStringLiteral("/serial/by-id");
    if (QFileInfo(byId).isDir() && !watcher_->directories().contains(byId))
        watcher_->addPath(byId);
    replaceAll(scanSerialPorts(roots_));
}

QList<QMap<QString, QString>> parseUdevProperties(const QString &text) {
    QList<QMap<QString, QString>> blocks;
    QMap<QString, QString> block;
    const auto finish = [&] {
        if (isSerialPortName(QFileInfo(block.value(QStringLiteral("DEVNAME"))).fileName()))
            blocks.append(block);
        block.clear();
    };
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        QString line = raw.trimmed();
        // `udevadm info --export-db` puts "E: " before each property.
        if (line.startsWith(QStringLiteral("E: ")))
            line = line.mid(3);
        if (line.isEmpty()) {
            finish();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            block.insert(line.left(equals), line.mid(equals + 1));
    }
    finish();
    return blocks;
}

void RecordedPortSource::deviceAdded(const QMap<QString, QString> &properties) {
    add(udevPortDetails(properties));
}

void RecordedPortSource::deviceRemoved(const QString &device) { remove(device); }

void RecordedPortSource::load(const QString &text) {
    for (const auto &properties : parseUdevProperties(text))
        deviceAdded(properties);
}

bool RecordedPortSource::loadFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    load(QString::fromUtf8(file.readAll()));
    return true;
}

std::unique_ptr<PortSource> createPortSource(QObject *parent) {
    const QString choice = qEnvironmentVariable("ZENTORIX_PORT_SOURCE");
    const QString recorded = QStringLiteral("recorded:");
    if (choice.startsWith(recorded)) {
        auto source = std::make_unique<RecordedPortSource>(parent);
        if (!source->loadFile(choice.mid(recorded.size())))
            qWarning("ZENTORIX_PORT_SOURCE: cannot read %s", qPrintable(choice.mid(recorded.size())));
        return source;
    }
    if (choice != QStringLiteral("sysfs") && UdevPortSource::running()) {
        auto source = std::make_unique<UdevPortSource>(parent);
        if (source->isValid())
            return source;
    }
    return std::make_unique<SysfsPortSource>(PortSearchRoots{}, parent);
}

} // namespace zx::serial
