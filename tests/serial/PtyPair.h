#pragma once
// A pseudo-terminal for the driver to open by the slave's path, with the
// master end as the test's view of the far side of the line.
#include <QByteArray>
#include <QString>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    int slave() const { return m_slave; }
    int master() const { return m_master; }

    bool writeMaster(const QByteArray &bytes);
    // Reads from the master until count bytes came or timeoutMs passed.
    QByteArray readMaster(int count, int timeoutMs);
    // Waits until the tty holds count received bytes for the slave side, or
    // timeoutMs passed. The event loop does not run meanwhile, so a driver
    // on the slave cannot take the bytes first.
    bool waitHeld(int count, int timeoutMs);
    // Hangs the line up under whoever holds the slave.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
