#pragma once
// Line speeds through the kernel's termios2 interface, which takes any value
// in bits per second. Kept apart because its header clashes with <termios.h>.
#include <QtGlobal>

#include <optional>

namespace zx::serial {

// Sets input and output speed to bitsPerSecond; false with errno set when
// the kernel refuses.
bool setArbitrarySpeed(int fd, quint32 bitsPerSecond);

// The output speed the line runs at now, in bits per second.
std::optional<quint32> currentSpeed(int fd);

} // namespace zx::serial
