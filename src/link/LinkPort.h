#pragma once
#include <QByteArray>

namespace zx::link {

// What the link needs of the serial port. The window hands it the real driver;
// tests hand it a double that records what went out.
class LinkPort {
public:
    virtual ~LinkPort() = default;
    // Opens the port if it is not open yet.
    virtual bool connect() = 0;
    virtual bool connected() const = 0;
    // Buffer send; bytes that cannot be written within the output time-out are lost.
    virtual void write(const QByteArray &bytes) = 0;
    // The same, saying whether every byte went out.
    virtual bool send(const QByteArray &bytes) {
        write(bytes);
        return connected();
    }
    // Single-byte send.
    virtual void writeByte(char byte) = 0;
    virtual void setPollingDelay(int ms) = 0;
    virtual void setOutputTimeout(int ms) = 0;
};

} // namespace zx::link
