#pragma once
// What the serial port driver needs from the operating system, in one small
// interface, so the driver's rules can run against a real port or a test double.
#include "serial/LineSettings.h"

#include <QString>

#include <optional>

namespace zx::serial {

class SerialBackend {
public:
    virtual ~SerialBackend() = default;

    // Opens an existing device for reading and writing, exclusively and
    // without blocking.
    virtual bool open(const QString &device) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // A descriptor that polls readable when input arrives, while open; -1
    // when the backend has none (the driver then polls on its timer).
    virtual int readDescriptor() const { return -1; }
    // Whether the line is gone under the open port (hung up, failed) though
    // the port still answers queries; when true, errorString says why.
    virtual bool hungUp() { return false; }

    // Remembers the settings as the last ones handed to the system, then
    // applies them; true only when the system took them.
    bool applyLineSettings(const LineSettings &settings) {
        m_lastApplied = settings;
        return applyToSystem(settings);
    }
    const LineSettings &lastAppliedSettings() const { return m_lastApplied; }

    // Discards pending input and/or output.
    virtual bool purge(bool input, bool output) = 0;
    virtual bool setQueueSizes(quint32 input, quint32 output) = 0;

    // The next four answer -1 on a real failure (see errorString); a call
    // that was merely interrupted or found nothing to do answers 0.
    virtual qint64 bytesWaiting() = 0;
    virtual qint64 bytesQueuedForOutput() = 0;
    virtual qint64 read(char *buffer, qint64 maxCount) = 0;
    virtual qint64 write(const char *data, qint64 count) = 0;

    // Waits up to timeoutMs for room to write.
    virtual void waitWritable(int timeoutMs) = 0;

    // The modem control inputs, or nothing when the port cannot tell.
    virtual std::optional<TLineStatusSet> modemStatus() = 0;

    virtual QString errorString() const = 0;
    // The errno of the last failure, 0 when there was none.
    int errorNumber() const { return m_errorNumber; }

protected:
    virtual bool applyToSystem(const LineSettings &settings) = 0;

    int m_errorNumber = 0;

private:
    LineSettings m_lastApplied;
};

} // namespace zx::serial
