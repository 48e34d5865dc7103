#pragma once
// A file descriptor that is closed when it goes out of scope.
#include <cerrno>
#include <unistd.h>

namespace zx::settings {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor() { close(); }

    bool valid() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // Returns 0 or the errno of a failed close.
    int close() {
        if (m_fd < 0)
            return 0;
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

} // namespace zx::settings
