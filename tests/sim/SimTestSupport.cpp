#include "SimTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace simtest {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "sim_tests";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

bool waitFor(const std::function<bool()> &done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

void spin(int ms) {
    waitFor([] { return false; }, ms);
}

ScopedConfigHome::ScopedConfigHome()
    : m_old(qgetenv("XDG_CONFIG_HOME")), m_hadOld(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

ScopedConfigHome::~ScopedConfigHome() {
    if (m_hadOld)
        qputenv("XDG_CONFIG_HOME", m_old);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

PortClient::PortClient(const QString &path) {
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return;
    termios raw{};
    ::tcgetattr(m_fd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_fd, TCSANOW, &raw);
}

PortClient::~PortClient() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void PortClient::write(const QByteArray &bytes) {
    if (m_fd >= 0)
        (void)!::write(m_fd, bytes.constData(), size_t(bytes.size()));
}

void PortClient::drain() {
    char buffer[4096];
    ssize_t count;
    while (m_fd >= 0 && (count = ::read(m_fd, buffer, sizeof buffer)) > 0)
        m_received.append(buffer, count);
}

QByteArray PortClient::readFor(int ms) {
    spin(ms);
    drain();
    return m_received;
}

QByteArray PortClient::readUntil(const QByteArray &needle, int timeoutMs) {
    waitFor([&] {
        drain();
        return m_received.contains(needle);
    }, timeoutMs);
    return m_received;
}

bool PortClient::hungUp() {
    pollfd entry{m_fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1 && (entry.revents & POLLHUP) != 0;
}

} // namespace simtest
