// The sending side of TCommPortDriver: output queue, modem lines, writes
// with a time-out counted from the last progress.
#include "serial/CPDrv.h"

#include <QtGlobal>

#include <algorithm>

namespace {

constexpr quint16 kClosedOutFreeSpace = 65535;
// Longest single wait for room to write, so the give-up time stays close.
constexpr qint64 kWriteWaitSliceMs = 20;

} // namespace

quint16 TCommPortDriver::OutFreeSpace() {
    if (!Connected())
        return kClosedOutFreeSpace;
    // When the queue cannot be measured, count it as empty: the write that
    // follows reports the failure at once instead of waiting out the time-out.
    const qint64 queued = std::max<qint64>(m_backend->bytesQueuedForOutput(), 0);
    return quint16(std::max<qint64>(qint64(m_outBufSize) - queued, 0));
}

TLineStatusSet TCommPortDriver::GetLineStatus() {
    if (!Connected())
        return {};
    return m_backend->modemStatus().value_or(TLineStatusSet{});
}

unsigned TCommPortDriver::SendDataEx(const char *data, unsigned count, unsigned timeoutMs) {
    if (!Connected() || !data)
        return 0;
    unsigned written = 0;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    while (written < count) {
        bool progressed = false;
        const quint16 freeSpace = OutFreeSpace();
        if (freeSpace > 0) {
            if (m_checkLineStatus && !GetLineStatus())
                break;
            const qint64 taken =
                m_backend->write(data + written, std::min<qint64>(count - written, freeSpace));
            if (taken < 0)
                break; // the port failed; the receive side reports it
            if (taken > 0) {
                written += unsigned(taken);
                sinceProgress.restart();
                progressed = true;
            }
        }
        if (!progressed) {
            const qint64 idle = sinceProgress.elapsed();
            if (idle > qint64(timeoutMs))
                break;
            m_backend->waitWritable(int(std::min(qint64(timeoutMs) - idle + 1, kWriteWaitSliceMs)));
        }
    }
    return written;
}

unsigned TCommPortDriver::SendData(const char *data, unsigned count) {
    return SendDataEx(data, count, m_outputTimeout);
}

bool TCommPortDriver::SendByte(quint8 value) {
    const char byte = char(value);
    return SendData(&byte, 1) == 1;
}

unsigned TCommPortDriver::CharsToMillis(TBaudRate rate, unsigned count) {
    const quint32 bitsPerSecond = baudRateBits(rate);
    if (bitsPerSecond == 0)
        return 0;
    // Ten bits a character: start, eight data, stop.
    return unsigned(qRound64(double(count) / (bitsPerSecond / 10.0) * 1000.0));
}
