// The receive side of TCommPortDriver: what each wake-up does, whether the
// port's descriptor turned readable, a polling tick came or an unfinished
// packet's time-out ran out.
#include "serial/CPDrv.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Readable wake-ups in a row with nothing to read, on a port that does not
// say it hung up, before it counts as lost: the event loop would spin on it.
constexpr int kMaxIdleWakeups = 64;

} // namespace

void TCommPortDriver::startReading() {
    const int fd = m_backend->readDescriptor();
    if (fd < 0) {
        m_pollTimer.start(m_pollingDelay);
        return;
    }
    m_readNotifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &TCommPortDriver::onReadable);
}

void TCommPortDriver::stopReading() {
    m_pollTimer.stop();
    m_packetTimer.stop();
    if (!m_readNotifier)
        return;
    // A handler may close the port from inside the notifier's own signal:
    // the notifier is silenced now and deleted once that call is over.
    m_readNotifier->setEnabled(false);
    m_readNotifier->deleteLater();
    m_readNotifier = nullptr;
}

void TCommPortDriver::onReadable() {
    if (!Connected())
        return;
    const quint64 before = m_bytesRead;
    pollReceive();
    if (!Connected() || m_bytesRead != before)
        return;
    // Readable with nothing to read: a pseudo-terminal whose other side
    // closed, or a device gone, keeps saying so at every turn of the loop.
    if (m_backend->hungUp()) {
        portLost();
        return;
    }
    if (++m_idleWakeups >= kMaxIdleWakeups)
        portLost(QStringLiteral("%1: the port signals input but delivers none").arg(m_deviceName));
}

void TCommPortDriver::pollReceive() {
    if (!Connected())
        return;
    const qint64 waiting = m_backend->bytesWaiting();
    if (waiting < 0) {
        portLost();
        return;
    }
    if (m_packetSize <= 0)
        deliverData(waiting);
    else if (m_pending + waiting < m_packetSize)
        handlePartialPacket(waiting);
    else
        deliverPackets(waiting);
}

void TCommPortDriver::deliverData(qint64 waiting) {
    // Bytes kept for a packet before packets were switched off come first.
    const qint64 kept = std::exchange(m_pending, 0);
    if (kept > 0)
        m_packetStart = kNoPacket;
    qint64 count = 0;
    if (waiting > 0) {
        count = readIntoBuffer(kept, waiting);
        if (count < 0)
            return;
    }
    if (kept + count > 0 && m_onReceiveData)
        m_onReceiveData(this, receiveBuffer(), unsigned(kept + count));
}

void TCommPortDriver::handlePartialPacket(qint64 waiting) {
    const qint64 now = m_clock.elapsed();
    const bool timedOut =
        m_packetTimeout > 0 && m_packetStart != kNoPacket && now - m_packetStart > m_packetTimeout;
    if (!timedOut) {
        // Taken in at once: left in the tty, the bytes would keep its
        // descriptor readable until the packet completes.
        if (waiting > 0) {
            const qint64 count = readIntoBuffer(m_pending, waiting);
            if (count < 0)
                return;
            if (count > 0 && m_packetStart == kNoPacket)
                m_packetStart = now;
            m_pending += count;
        }
        schedulePacketTimeout();
        return;
    }
    m_packetStart = kNoPacket;
    qint64 count = 0;
    if (waiting > 0) {
        count = readIntoBuffer(m_pending, waiting);
        if (count < 0)
            return;
    }
    const qint64 total = std::exchange(m_pending, 0) + count;
    if (total > 0 && m_packetMode == pmPass && m_onReceivePacket)
        m_onReceivePacket(this, receiveBuffer(), unsigned(total));
}

void TCommPortDriver::deliverPackets(qint64 waiting) {
    const qint16 packetSize = m_packetSize;
    const qint64 packetMillis = CharsToMillis(m_baudRate, unsigned(packetSize));
    // Whole packets that arrived within one wake-up started at this one: the
    // time-out for a remainder counts from here.
    if (m_packetStart == kNoPacket)
        m_packetStart = m_clock.elapsed();
    while (m_pending + waiting >= packetSize) {
        const qint64 missing = packetSize - m_pending;
        if (missing > 0) {
            const qint64 count = readIntoBuffer(m_pending, missing);
            if (count < 0)
                return;
            m_pending += count;
            waiting -= count;
            // The tty said the bytes were there; a short read cannot make a packet.
            if (count < missing) {
                schedulePacketTimeout();
                return;
            }
        }
        m_pending -= packetSize;
        m_packetStart = m_pending + waiting == 0 ? kNoPacket : m_packetStart + packetMillis;
        if (m_onReceivePacket)
            m_onReceivePacket(this, receiveBuffer(), unsigned(packetSize));
        // The handler may have closed the port.
        if (!Connected())
            return;
        // Kept bytes beyond a packet: the packet size shrank under them.
        if (m_pending > 0)
            std::memmove(receiveBuffer(), receiveBuffer() + packetSize, size_t(m_pending));
    }
    if (waiting > 0 || m_pending > 0)
        handlePartialPacket(waiting);
}

void TCommPortDriver::schedulePacketTimeout() {
    // Polling ticks look at the time-out themselves.
    if (!m_readNotifier || m_packetTimeout <= 0 || m_packetStart == kNoPacket)
        return;
    const qint64 left = m_packetStart + m_packetTimeout + 1 - m_clock.elapsed();
    m_packetTimer.start(int(std::max<qint64>(left, 0)));
}

qint64 TCommPortDriver::readIntoBuffer(qint64 offset, qint64 maxCount) {
    const qint64 room = qint64(m_receiveBuffer.size()) - offset;
    const qint64 count = m_backend->read(receiveBuffer() + offset, std::min(maxCount, room));
    if (count < 0) {
        portLost();
        return count;
    }
    if (count > 0) {
        m_bytesRead += quint64(count);
        m_idleWakeups = 0;
    }
    return count;
}

void TCommPortDriver::portLost(const QString &reason) {
    const QString why = reason.isEmpty() ? m_backend->errorString() : reason;
    Disconnect();
    if (m_onPortLost)
        m_onPortLost(this, why);
}
