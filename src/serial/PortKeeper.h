#pragma once
// The life of the window's serial port: opened on the user's choice, and
// when it vanishes, reopened by itself if the same device comes back in
// time (found by device events, the port map changing, or a look each
// second), with the line settings it had. What happens is said in plain
// words for the status bar.
#include "serial/CPDrv.h"
#include "serial/ReconnectPolicy.h"

#include <QObject>
#include <QString>

#include <functional>

class QFileSystemWatcher;

namespace zx::serial {

class PortSource;

struct PortChoice {
    TPortNumber port = pnCOM1;
    TBaudRate rate = br9600;
    quint32 baud = 9600;
    bool evenParity = false;
};

class PortKeeper : public QObject {
    Q_OBJECT
public:
    using Clock = ReconnectPolicy::Clock;

    PortKeeper(TCommPortDriver &driver, PortSource &ports, Clock clock,
               QObject *parent = nullptr);

    // The user chose a port: what was open closes, the choice opens, and a
    // vanished port is no longer awaited. True when it is open.
    bool open(const PortChoice &choice);
    // The driver lost the open port.
    void lost(const QString &reason);
    // An awaited port may be back.
    void check();
    bool waiting() const { return reconnect_.waiting(); }
    const PortIdentity &openPort() const { return openPort_; }
    // Follows the port map folder once it exists.
    void watchPortMap();

signals:
    void message(const QString &text);
    // The port is open: chosen, or back after it vanished.
    void opened(quint32 baud);
    // An open failed because something else holds the device.
    void busy(const QString &device, const QString &text);
    // While a vanished port is awaited nothing may open a port by itself.
    void holding(bool held);
    void portMapChanged();

private:
    PortIdentity openedPort() const;
    QList<PortIdentity> presentPorts() const;
    void reopen(const ReconnectPolicy::Decision &decision);

    TCommPortDriver &driver_;
    PortSource &ports_;
    ReconnectPolicy reconnect_;
    PortIdentity openPort_;
    QFileSystemWatcher *portMapWatcher_ = nullptr;
};

} // namespace zx::serial
