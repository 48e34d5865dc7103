// The receive side of TCommPortDriver: what each polling tick does.
#include "serial/CPDrv.h"

#include <algorithm>

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
    else if (waiting < m_packetSize)
        handlePartialPacket(waiting);
    else
        deliverPackets(waiting);
}

void TCommPortDriver::deliverData(qint64 waiting) {
    if (waiting == 0)
        return;
    const qint64 count = readIntoBuffer(waiting);
    if (count < 0)
        return;
    if (count > 0 && m_onReceiveData)
        m_onReceiveData(this, receiveBuffer(), unsigned(count));
}

void TCommPortDriver::handlePartialPacket(qint64 waiting) {
    const qint64 now = m_clock.elapsed();
    const bool timedOut =
        m_packetTimeout > 0 && m_packetStart != kNoPacket && now - m_packetStart > m_packetTimeout;
    if (!timedOut) {
        if (waiting > 0 && m_packetStart == kNoPacket)
            m_packetStart = now;
        return;
    }
    m_packetStart = kNoPacket;
    if (waiting == 0)
        return;
    const qint64 count = readIntoBuffer(waiting);
    if (count < 0)
        return;
    if (count > 0 && m_packetMode == pmPass && m_onReceivePacket)
        m_onReceivePacket(this, receiveBuffer(), unsigned(count));
}

void TCommPortDriver::deliverPackets(qint64 waiting) {
    const qint16 packetSize = m_packetSize;
    const qint64 packetMillis = CharsToMillis(m_baudRate, unsigned(packetSize));
    // Whole packets that arrived within one tick started at this tick: the
    // time-out for a remainder counts from here.
    if (m_packetStart == kNoPacket)
        m_packetStart = m_clock.elapsed();
    while (waiting >= packetSize) {
        // The tty said the bytes were there; a short read cannot make a packet.
        if (readIntoBuffer(packetSize) < packetSize)
            return;
        waiting -= packetSize;
        m_packetStart = waiting == 0 ? kNoPacket : m_packetStart + packetMillis;
        if (m_onReceivePacket)
            m_onReceivePacket(this, receiveBuffer(), unsigned(packetSize));
        // The handler may have closed the port.
        if (!Connected())
            return;
    }
}

qint64 TCommPortDriver::readIntoBuffer(qint64 maxCount) {
    const qint64 count = m_backend->read(
        receiveBuffer(), std::min<qint64>(maxCount, qint64(m_receiveBuffer.size())));
    if (count < 0)
        portLost();
    return count;
}

void TCommPortDriver::portLost() {
    const QString reason = m_backend->errorString();
    Disconnect();
    if (m_onPortLost)
        m_onPortLost(this, reason);
}
