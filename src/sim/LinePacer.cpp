#include "sim/LinePacer.h"

#include <algorithm>
#include <cmath>

namespace zx::sim {

LinePacer::LinePacer(QObject *parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LinePacer::release);
    m_clock.start();
}

void LinePacer::push(const QByteArray &bytes) {
    if (bytes.isEmpty())
        return;
    const quint32 rate = m_rate ? m_rate() : 0;
    m_charMs = rate > 0 ? 10000.0 / double(rate) : 0;
    if (m_queue.isEmpty()) {
        // The line is free again once the last byte released has crossed it.
        const double now = double(m_clock.nsecsElapsed()) / 1e6;
        m_nextDueMs = std::max(now, m_nextDueMs - m_charMs) + m_charMs;
    }
    m_queue += bytes;
    release();
}

void LinePacer::clear() {
    m_queue.clear();
    m_timer.stop();
}

void LinePacer::release() {
    // Timers count whole milliseconds, and at high rates a character takes
    // less than one: every byte due within the next half millisecond goes
    // now, and the timer waits at least a millisecond. Bytes leave within
    // half a millisecond of the line's own schedule, the error never adds
    // up, and the pacer never spins on a zero timer.
    constexpr double kLookAheadMs = 0.5;
    const double now = double(m_clock.nsecsElapsed()) / 1e6;
    qsizetype count = 0;
    if (m_charMs <= 0)
        count = m_queue.size();
    else if (now + kLookAheadMs >= m_nextDueMs)
        count = std::min<qsizetype>(
            m_queue.size(), qsizetype((now + kLookAheadMs - m_nextDueMs) / m_charMs) + 1);
    if (count > 0) {
        const QByteArray bytes = m_queue.left(count);
        m_queue.remove(0, count);
        m_nextDueMs += double(count) * m_charMs;
        emit released(bytes);
    }
    if (!m_queue.isEmpty())
        m_timer.start(std::max(1, int(std::floor(m_nextDueMs - now))));
}

} // namespace zx::sim
