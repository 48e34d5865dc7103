#include "UiTestEnv.h"

#include "ui/Unit1.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

UiTestEnv::UiTestEnv() {
    QStandardPaths::setTestModeEnabled(true);
    oldCwd_ = QDir::currentPath();
    QDir::setCurrent(tmp_.path());
    QDir(tmp_.path()).mkpath(QStringLiteral("config/zentorix/ports"));
    setVariable("XDG_CONFIG_HOME", QFile::encodeName(tmp_.path() + QStringLiteral("/config")));
    setVariable("XDG_STATE_HOME", QFile::encodeName(tmp_.path() + QStringLiteral("/state")));
    // The module register ("Modules…") in the test's folder, whatever the user chose.
    setVariable("XDG_DATA_HOME", QFile::encodeName(tmp_.path() + QStringLiteral("/data")));
    setVariable("ZENTORIX_REGISTER", QByteArray());
    zx::ui::setBoxInterceptor([this](zx::ui::BoxKind kind, const QString &title, const QString &text) {
        boxes.append({kind, title, text});
    });
}

UiTestEnv::~UiTestEnv() {
    zx::ui::setBoxInterceptor({});
    QDir::setCurrent(oldCwd_);
    for (const auto &[name, old] : oldVariables_) {
        if (old.isNull())
            qunsetenv(name);
        else
            qputenv(name, old);
    }
}

void UiTestEnv::setVariable(const char *name, const QByteArray &value) {
    oldVariables_.append({name, qgetenv(name)});
    if (value.isEmpty())
        qunsetenv(name);
    else
        qputenv(name, value);
}

QString UiTestEnv::settingsPath() const { return tmp_.path() + QStringLiteral("/ZENTORIX.cfg"); }

void UiTestEnv::mapPort(int n, const QString &device) {
    const QString link = tmp_.path() + QStringLiteral("/config/zentorix/ports/com%1").arg(n);
    QFile::remove(link);
    QFile::link(device, link);
}

void UiTestEnv::writeSettings(const QByteArray &bytes) {
    QFile f(settingsPath());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

PtyPeer::PtyPeer() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        return;
    termios raw{};
    tcgetattr(slave_, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave_, TCSANOW, &raw);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = QString::fromLocal8Bit(name);
}

PtyPeer::~PtyPeer() {
    hangUp();
    if (slave_ >= 0)
        ::close(slave_);
}

void PtyPeer::hangUp() {
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

void PtyPeer::write(const QByteArray &bytes) {
    qsizetype done = 0;
    while (master_ >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else
            QThread::msleep(1);
    }
}

QByteArray PtyPeer::read(int timeoutMs, int quietMs) {
    QByteArray got;
    QElapsedTimer since;
    since.start();
    int wait = timeoutMs;
    while (master_ >= 0) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, wait) <= 0)
            break;
        char buf[4096];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0)
            break;
        got.append(buf, n);
        wait = quietMs;
    }
    return got;
}

bool PtyPeer::waitPending(int n, int timeoutMs) {
    QElapsedTimer since;
    since.start();
    while (since.elapsed() < timeoutMs) {
        int waiting = 0;
        if (::ioctl(slave_, FIONREAD, &waiting) == 0 && waiting >= n)
            return true;
        QThread::msleep(1);
    }
    return false;
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs) {
    QElapsedTimer since;
    since.start();
    while (!condition()) {
        if (since.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

void deliver(TForm1 &form, PtyPeer &peer, const QByteArray &bytes) {
    peer.write(bytes);
    peer.waitPending(int(bytes.size()));
    form.CommPortDriver1().PollNow();
    form.link().flushReceived();
}

void tick(TForm1 &form, int count) {
    for (int i = 0; i < count; ++i)
        form.Timer1Timer();
}

QObject *requireChild(TForm1 &form, const QString &name, const QMetaObject &type) {
    for (QObject *o : form.findChildren<QObject *>(name))
        if (type.cast(o))
            return o;
    qFatal("no control %s of type %s", qPrintable(name), type.className());
}
