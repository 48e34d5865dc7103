#pragma once
// The serial backend on POSIX termios: a non-blocking, exclusively held tty
// in raw mode.
#include "serial/SerialBackend.h"

namespace zx::serial {

class PosixSerialBackend final : public SerialBackend {
public:
    PosixSerialBackend() = default;
    ~PosixSerialBackend() override;
    PosixSerialBackend(const PosixSerialBackend &) = delete;
    PosixSerialBackend &operator=(const PosixSerialBackend &) = delete;

    bool open(const QString &device) override;
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }
    int readDescriptor() const override { return m_fd; }
    bool hungUp() override;

    bool purge(bool input, bool output) override;
    bool setQueueSizes(quint32 input, quint32 output) override;

    qint64 bytesWaiting() override;
    qint64 bytesQueuedForOutput() override;
    qint64 read(char *buffer, qint64 maxCount) override;
    qint64 write(const char *data, qint64 count) override;
    void waitWritable(int timeoutMs) override;

    std::optional<TLineStatusSet> modemStatus() override;

    QString errorString() const override { return m_error; }

    // The open file descriptor, -1 when closed.
    int descriptor() const { return m_fd; }

protected:
    bool applyToSystem(const LineSettings &settings) override;

private:
    bool failWithErrno(const char *operation);
    bool setModemLine(int line, bool on);

    int m_fd = -1;
    QString m_device;
    QString m_error;
};

} // namespace zx::serial
