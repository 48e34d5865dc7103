#pragma once
// A pseudo-terminal whose slave the tool opens as its serial port. The
// simulator keeps a slave descriptor of its own open so that the master
// does not see a hang-up while the tool has the port closed.
#include <QString>
#include <QtGlobal>

namespace zx::sim {

class Pty {
public:
    Pty() = default;
    ~Pty() { close(); }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    // Opens a new pair, slave in raw mode, master non-blocking.
    bool open();
    void close();

    bool isOpen() const { return m_master >= 0; }
    int master() const { return m_master; }
    // The rate the tool set on its end, in bits per second; 0 when unknown.
    quint32 baudRate() const;
    QString slavePath() const { return m_slavePath; }
    QString errorString() const { return m_error; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_error;
};

} // namespace zx::sim
