#include "serial/PosixSerialBackend.h"

#include "serial/TermiosSpeed.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace zx::serial {
namespace {

struct StandardSpeed {
    quint32 bitsPerSecond;
    speed_t code;
};

constexpr StandardSpeed kStandardSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

std::optional<speed_t> standardSpeedCode(quint32 bitsPerSecond) {
    for (const StandardSpeed &speed : kStandardSpeeds) {
        if (speed.bitsPerSecond == bitsPerSecond)
            return speed.code;
    }
    return std::nullopt;
}

tcflag_t dataBitsFlag(TDataBits bits) {
    switch (bits) {
    case db5BITS:
        return CS5;
    case db6BITS:
        return CS6;
    case db7BITS:
        return CS7;
    case db8BITS:
        break;
    }
    return CS8;
}

tcflag_t parityFlags(TParity parity) {
    switch (parity) {
    case ptODD:
        return PARENB | PARODD;
    case ptEVEN:
        return PARENB;
    case ptMARK:
        return PARENB | CMSPAR | PARODD;
    case ptSPACE:
        return PARENB | CMSPAR;
    case ptNONE:
        break;
    }
    return 0;
}

void buildRawTermios(termios &tio, const LineSettings &settings) {
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | dataBitsFlag(settings.dataBits) | parityFlags(settings.parity);
    // Termios knows one or two stop bits; one and a half is sent as two.
    if (settings.stopBits != sb1BITS)
        tio.c_cflag |= CSTOPB;
    if (settings.ctsFlow)
        tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (settings.xonXoff)
        tio.c_iflag |= IXON | IXOFF;
    tio.c_cc[VSTART] = static_cast<cc_t>(settings.xonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(settings.xoffChar);
    // Reads return at once with whatever is there.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

} // namespace

PosixSerialBackend::~PosixSerialBackend() {
    close();
}

bool PosixSerialBackend::failWithErrno(const char *operation) {
    const int error = errno;
    m_errorNumber = error;
    m_error = QStringLiteral("%1: %2: %3")
                  .arg(m_device, QLatin1String(operation), qt_error_string(error));
    return false;
}

bool PosixSerialBackend::open(const QString &device) {
    close();
    m_device = device;
    const QByteArray path = QFile::encodeName(device);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failWithErrno("open");

    // TIOCEXCL keeps other users out but not root; the lock keeps out every
    // process that asks for it, root included.
    const char *failed = nullptr;
    if (!::isatty(fd))
        failed = "isatty";
    else if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        failed = "flock";
    else if (::ioctl(fd, TIOCEXCL) != 0)
        failed = "TIOCEXCL";
    if (failed) {
        failWithErrno(failed);
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_error.clear();
    m_errorNumber = 0;
    return true;
}

void PosixSerialBackend::close() {
    if (m_fd < 0)
        return;
    // Other descriptors of the same tty may outlive ours; they must not keep
    // the port barred.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

bool PosixSerialBackend::setModemLine(int line, bool on) {
    if (::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0)
        return true;
    // A pseudo-terminal has no modem lines.
    if (errno == ENOTTY || errno == EINVAL)
        return true;
    return failWithErrno(on ? "TIOCMBIS" : "TIOCMBIC");
}

bool PosixSerialBackend::applyToSystem(const LineSettings &settings) {
    if (m_fd < 0)
        return false;
    // B0 would hang the line up rather than set a speed.
    if (settings.speed == 0) {
        m_error = QStringLiteral("%1: speed 0 cannot be set").arg(m_device);
        return false;
    }
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return failWithErrno("tcgetattr");
    buildRawTermios(tio, settings);
    const std::optional<speed_t> code = standardSpeedCode(settings.speed);
    if (code) {
        ::cfsetispeed(&tio, *code);
        ::cfsetospeed(&tio, *code);
    }
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0)
        return failWithErrno("tcsetattr");
    if (!code && !setArbitrarySpeed(m_fd, settings.speed))
        return failWithErrno("TCSETS2");

    termios taken{};
    if (::tcgetattr(m_fd, &taken) != 0)
        return failWithErrno("tcgetattr");
    if ((taken.c_cflag & CSIZE) != (tio.c_cflag & CSIZE)) {
        m_error = QStringLiteral("%1: %2 data bits not accepted")
                      .arg(m_device)
                      .arg(int(settings.dataBits) + 5);
        return false;
    }
    if (currentSpeed(m_fd) != settings.speed) {
        m_error = QStringLiteral("%1: speed %2 not accepted").arg(m_device).arg(settings.speed);
        return false;
    }
    return setModemLine(TIOCM_DTR, settings.dtr) && setModemLine(TIOCM_RTS, settings.rts);
}

bool PosixSerialBackend::purge(bool input, bool output) {
    if (m_fd < 0)
        return false;
    if (!input && !output)
        return true;
    const int queue = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    if (::tcflush(m_fd, queue) != 0)
        return failWithErrno("tcflush");
    return true;
}

bool PosixSerialBackend::setQueueSizes(quint32, quint32) {
    // The kernel sizes its tty queues itself; there is nothing to set.
    return m_fd >= 0;
}

qint64 PosixSerialBackend::bytesWaiting() {
    int count = 0;
    while (::ioctl(m_fd, FIONREAD, &count) != 0) {
        if (errno != EINTR) {
            failWithErrno("FIONREAD");
            return -1;
        }
    }
    return count;
}

bool PosixSerialBackend::hungUp() {
    if (m_fd < 0)
        return false;
    pollfd entry{m_fd, POLLIN, 0};
    if (::poll(&entry, 1, 0) <= 0 || !(entry.revents & (POLLHUP | POLLERR | POLLNVAL)))
        return false;
    m_errorNumber = EIO;
    m_error = (entry.revents & POLLHUP)
                  ? QStringLiteral("%1: the line was hung up").arg(m_device)
                  : QStringLiteral("%1: the device reports an error").arg(m_device);
    return true;
}

qint64 PosixSerialBackend::bytesQueuedForOutput() {
    int count = 0;
    while (::ioctl(m_fd, TIOCOUTQ, &count) != 0) {
        if (errno != EINTR) {
            failWithErrno("TIOCOUTQ");
            return -1;
        }
    }
    return count;
}

qint64 PosixSerialBackend::read(char *buffer, qint64 maxCount) {
    for (;;) {
        const ssize_t count = ::read(m_fd, buffer, size_t(maxCount));
        if (count >= 0)
            return count;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        if (errno != EINTR) {
            failWithErrno("read");
            return -1;
        }
    }
}

qint64 PosixSerialBackend::write(const char *data, qint64 count) {
    for (;;) {
        const ssize_t written = ::write(m_fd, data, size_t(count));
        if (written >= 0)
            return written;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        if (errno != EINTR) {
            failWithErrno("write");
            return -1;
        }
    }
}

void PosixSerialBackend::waitWritable(int timeoutMs) {
    pollfd entry{m_fd, POLLOUT, 0};
    // The caller has just found no room. When poll says otherwise at once,
    // pause a little so the retry loop cannot spin a core.
    if (::poll(&entry, 1, timeoutMs) != 0)
        ::usleep(1000);
}

std::optional<TLineStatusSet> PosixSerialBackend::modemStatus() {
    int lines = 0;
    if (m_fd < 0 || ::ioctl(m_fd, TIOCMGET, &lines) != 0)
        return std::nullopt;
    TLineStatusSet status;
    status.setFlag(lsCTS, lines & TIOCM_CTS);
    status.setFlag(lsDSR, lines & TIOCM_DSR);
    status.setFlag(lsRING, lines & TIOCM_RNG);
    status.setFlag(lsRLSD, lines & TIOCM_CD);
    return status;
}

} // namespace zx::serial
