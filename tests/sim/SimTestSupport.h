#pragma once
// Event loop, a private port map and the tool's end of the line for tests
// that run the simulator on a real pseudo-terminal.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>

namespace simtest {

// Makes sure a QCoreApplication exists (QSocketNotifier and QTimer need one).
void ensureApplication();

// Runs the event loop until done() or timeoutMs; returns done().
bool waitFor(const std::function<bool()> &done, int timeoutMs = 3000);
// Runs the event loop for ms.
void spin(int ms);

// Points XDG_CONFIG_HOME at a temporary directory for its lifetime.
class ScopedConfigHome {
public:
    ScopedConfigHome();
    ~ScopedConfigHome();
    QString portMap() const { return m_dir.path() + QStringLiteral("/zentorix/ports"); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
    bool m_hadOld;
};

// The tool's side: the slave opened like a serial port.
class PortClient {
public:
    explicit PortClient(const QString &path);
    ~PortClient();
    bool isOpen() const { return m_fd >= 0; }
    void write(const QByteArray &bytes);
    // What arrived so far, pumping the event loop for ms first.
    QByteArray readFor(int ms);
    // Pumps until the received bytes contain needle; returns all received.
    QByteArray readUntil(const QByteArray &needle, int timeoutMs = 3000);
    // The line was hung up under us.
    bool hungUp();

private:
    void drain();
    int m_fd = -1;
    QByteArray m_received;
};

} // namespace simtest
