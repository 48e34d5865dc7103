#pragma once
// A serial backend in memory: bytes to receive are queued by the test, bytes
// written are collected, and every step can be made to fail.
#include "serial/SerialBackend.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

class FakeSerialBackend : public zx::serial::SerialBackend {
public:
    bool failOpen = false;
    bool failApply = false;
    bool failPurge = false;
    bool failQueueSizes = false;
    bool failBytesWaiting = false;
    bool failRead = false;
    bool hangUp = false; // hungUp() answers this
    int descriptor = -1; // what readDescriptor() answers while open

    QByteArray input;                                      // waiting to be received
    QByteArray output;                                     // taken by write
    qint64 writeRoom = std::numeric_limits<qint64>::max(); // bytes write still takes
    qint64 outputQueued = 0;
    qint64 largestWrite = 0;
    std::optional<TLineStatusSet> lines; // nothing: the query fails
    QStringList calls;                   // "open DEVICE", "apply", "purge", "queues", "close"
    int waitingQueries = 0;              // calls of bytesWaiting
    QString device;

    bool open(const QString &name) override {
        calls << QStringLiteral("open ") + name;
        if (failOpen)
            return false;
        device = name;
        m_open = true;
        return true;
    }
    void close() override {
        calls << QStringLiteral("close");
        m_open = false;
    }
    bool isOpen() const override { return m_open; }
    int readDescriptor() const override { return m_open ? descriptor : -1; }
    bool hungUp() override { return hangUp; }
    bool purge(bool inputQueue, bool outputQueue) override {
        QString queues;
        if (inputQueue)
            queues += QLatin1Char('i');
        if (outputQueue)
            queues += QLatin1Char('o');
        calls << QStringLiteral("purge ") + queues;
        return !failPurge;
    }
    bool setQueueSizes(quint32 in, quint32 out) override {
        calls << QStringLiteral("queues %1 %2").arg(in).arg(out);
        return !failQueueSizes;
    }
    qint64 bytesWaiting() override {
        ++waitingQueries;
        return failBytesWaiting ? -1 : input.size();
    }
    qint64 bytesQueuedForOutput() override { return outputQueued; }
    qint64 read(char *buffer, qint64 maxCount) override {
        if (failRead)
            return -1;
        const qint64 count = std::min<qint64>(maxCount, input.size());
        std::copy_n(input.constData(), count, buffer);
        input.remove(0, count);
        return count;
    }
    qint64 write(const char *data, qint64 count) override {
        largestWrite = std::max(largestWrite, count);
        const qint64 taken = std::min(count, writeRoom);
        output.append(data, taken);
        writeRoom -= taken;
        return taken;
    }
    void waitWritable(int) override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
    std::optional<TLineStatusSet> modemStatus() override { return lines; }
    QString errorString() const override { return QStringLiteral("fake: line gone"); }

protected:
    bool applyToSystem(const zx::serial::LineSettings &) override {
        calls << QStringLiteral("apply");
        return !failApply;
    }

private:
    bool m_open = false;
};
