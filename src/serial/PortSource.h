#pragma once
// Where the list of serial ports comes from, and how it learns that a device
// came or went: udev where it runs, else a scan of /dev and sysfs (e.g. in a
// container), or a recorded list of udev properties (tests, screenshots).
// Events arrive on the thread's event loop; no source polls.
#include "serial/PortDetails.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <memory>

class QFileSystemWatcher;

namespace zx::serial {

class PortSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The serial ports present now, in port order (sortPorts).
    QList<PortDetails> ports() const { return ports_; }
    // The one whose device is device, or nullptr.
    const PortDetails *find(const QString &device) const;
    // "udev", "sysfs" or "recorded".
    virtual QString kind() const = 0;

signals:
    void portAdded(const zx::serial::PortDetails &port);
    void portRemoved(const zx::serial::PortDetails &port);
    // After any add or remove: ports() holds the new list.
    void portsChanged();

protected:
    // Each implementation reports what it sees here; the list is kept in
    // order and the signals are sent.
    void add(const PortDetails &port);
    void remove(const QString &device);
    // Replaces the list, sending an add or remove for each difference.
    void replaceAll(const QList<PortDetails> &ports);

private:
    QList<PortDetails> ports_;
};

// The /dev + sysfs scan, again whenever an entry of /dev changes (inotify
// through QFileSystemWatcher).
class SysfsPortSource : public PortSource {
    Q_OBJECT
public:
    explicit SysfsPortSource(const PortSearchRoots &roots = {}, QObject *parent = nullptr);
    QString kind() const override { return QStringLiteral("sysfs"); }
    void rescan();

private:
    PortSearchRoots roots_;
    QFileSystemWatcher *watcher_;
};

// Property sets as `udevadm info --query=property` prints them: KEY=VALUE
// lines, one block per device, blocks separated by an empty line. Blocks
// without a DEVNAME of a serial port are skipped.
QList<QMap<QString, QString>> parseUdevProperties(const QString &text);

// A udev stand-in fed with recorded property sets.
class RecordedPortSource : public PortSource {
    Q_OBJECT
public:
    using PortSource::PortSource;
    QString kind() const override { return QStringLiteral("recorded"); }
    // As udev's "add" and "remove" events.
    void deviceAdded(const QMap<QString, QString> &properties);
    void deviceRemoved(const QString &device);
    // Adds every block of the text; false when the file cannot be read.
    void load(const QString &text);
    bool loadFile(const QString &path);
};

// udev when it runs here (its control socket exists) and the library can
// open a monitor, else the sysfs scan. ZENTORIX_PORT_SOURCE=sysfs forces the
// scan; ZENTORIX_PORT_SOURCE=recorded:FILE uses the property sets in FILE.
std::unique_ptr<PortSource> createPortSource(QObject *parent = nullptr);

} // namespace zx::serial
