#include "PtyPair.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

PtyPair::PtyPair() {
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair() {
    closeMaster();
    if (m_slave >= 0)
        ::close(m_slave);
}

bool PtyPair::writeMaster(const QByteArray &bytes) {
    return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
}

QByteArray PtyPair::readMaster(int count, int timeoutMs) {
    QByteArray received;
    QElapsedTimer clock;
    clock.start();
    while (received.size() < count && clock.elapsed() < timeoutMs) {
        pollfd entry{m_master, POLLIN, 0};
        if (::poll(&entry, 1, int(timeoutMs - clock.elapsed())) <= 0)
            break;
        char chunk[4096];
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n <= 0)
            break;
        received.append(chunk, n);
    }
    return received;
}

bool PtyPair::waitHeld(int count, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    int held = 0;
    while (::ioctl(m_slave, FIONREAD, &held) != 0 || held != count) {
        if (clock.elapsed() > timeoutMs)
            return false;
        ::usleep(1000);
    }
    return true;
}

void PtyPair::closeMaster() {
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
