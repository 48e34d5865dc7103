#include "sim/OutputScheduler.h"

#include <algorithm>

namespace zx::sim {

OutputScheduler::OutputScheduler(QObject *parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &OutputScheduler::fire);
    m_clock.start();
}

void OutputScheduler::schedule(const QByteArray &bytes, int delayMs, int pieces, int gapMs) {
    if (bytes.isEmpty())
        return;
    const qint64 earliest = m_pieces.isEmpty() ? 0 : m_pieces.last().dueMs;
    const qint64 start = std::max(m_clock.elapsed() + std::max(delayMs, 0), earliest);
    const qsizetype count = std::clamp<qsizetype>(pieces, 1, bytes.size());
    qsizetype offset = 0;
    for (qsizetype i = 0; i < count; ++i) {
        // Sizes differ by at most one byte.
        const qsizetype size = (bytes.size() - offset) / (count - i);
        m_pieces.append(Piece{start + i * std::max(gapMs, 0), bytes.mid(offset, size)});
        offset += size;
    }
    arm();
}

void OutputScheduler::clear() {
    m_pieces.clear();
    m_timer.stop();
}

void OutputScheduler::fire() {
    const qint64 now = m_clock.elapsed();
    while (!m_pieces.isEmpty() && m_pieces.first().dueMs <= now) {
        const QByteArray bytes = m_pieces.takeFirst().bytes;
        emit due(bytes);
    }
    arm();
}

void OutputScheduler::arm() {
    if (m_pieces.isEmpty())
        return;
    m_timer.start(int(std::max<qint64>(m_pieces.first().dueMs - m_clock.elapsed(), 0)));
}

} // namespace zx::sim
