#include "serial/TermiosSpeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace zx::serial {

bool setArbitrarySpeed(int fd, quint32 bitsPerSecond) {
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return false;
    tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = bitsPerSecond;
    tio.c_ospeed = bitsPerSecond;
    return ::ioctl(fd, TCSETS2, &tio) == 0;
}

std::optional<quint32> currentSpeed(int fd) {
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return std::nullopt;
    // The kernel keeps c_ospeed in bits per second for standard codes too.
    return tio.c_ospeed;
}

} // namespace zx::serial
