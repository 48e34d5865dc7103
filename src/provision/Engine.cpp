#include "provision/Engine.h"

#include "link/CommandFrame.h"

#include <algorithm>
#include <cmath>

namespace zx::provision {

Timing Timing::forBaud(quint32 baud) {
    Timing t;
    t.charMs = 10000.0 / double(std::max<quint32>(baud, 1));
    t.lineEndGapMs = std::max(t.pollMs + 1, int(std::ceil(3 * t.charMs)));
    t.quietGapMs = std::max(100, int(std::ceil(40 * t.charMs)));
    return t;
}

QString statusName(Status status) {
    switch (status) {
    case Status::Answered:
        return QStringLiteral("answered");
    case Status::NoAnswer:
        return QStringLiteral("no answer");
    case Status::PortError:
        return QStringLiteral("port error");
    case Status::NotSent:
        break;
    }
    return QStringLiteral("not sent");
}

Engine::Engine(Port &port, Timing timing, QObject *parent)
    : QObject(parent), m_port(port), m_timing(timing) {
    for (QTimer *timer : {&m_gap, &m_timeout, &m_kick}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_gap, &QTimer::timeout, this, [this] { complete(Status::Answered); });
    connect(&m_timeout, &QTimer::timeout, this, [this] { complete(Status::NoAnswer); });
    connect(&m_kick, &QTimer::timeout, this, &Engine::sendNext);
}

void Engine::start(const QList<Command> &commands) {
    m_results.clear();
    for (const Command &command : commands) {
        CommandResult result;
        result.command = command;
        m_results.append(result);
    }
    m_current = -1;
    m_cancelled = false;
    m_portError.clear();
    m_stray = 0;
    m_running = true;
    m_clock.start();
    m_port.beginRun(*this, m_timing.pollMs);
    m_kick.start(0);
}

void Engine::cancel() {
    m_cancelled = true;
    if (m_running && !m_waiting) {
        m_kick.stop();
        finish();
    }
}

void Engine::sendNext() {
    ++m_current;
    if (m_cancelled || m_current >= m_results.size()) {
        finish();
        return;
    }
    CommandResult &result = m_results[m_current];
    const QByteArray bytes = link::settingModeFrame(result.command.line);
    result.sentAtMs = m_clock.elapsed();
    result.bytesSent = bytes.size();
    m_waiting = true;
    if (!m_port.write(bytes)) {
        if (m_portError.isEmpty())
            m_portError = QStringLiteral("the port failed while writing");
        complete(Status::PortError);
        return;
    }
    m_sendEndMs = m_clock.elapsed();
    // The answer cannot start before the line has reached the module.
    m_timeout.start(m_timing.timeoutMs + int(std::ceil(m_timing.wireMs(bytes.size()))));
}

void Engine::receive(const QByteArray &bytes) {
    if (!m_running || !m_waiting) {
        m_stray += bytes.size();
        return;
    }
    CommandResult &result = m_results[m_current];
    const qint64 now = m_clock.elapsed() - m_sendEndMs;
    if (result.firstByteMs < 0)
        result.firstByteMs = now;
    result.endMs = now;
    result.answer += bytes;
    m_timeout.stop();
    m_gap.start(bytes.endsWith('\n') ? m_timing.lineEndGapMs : m_timing.quietGapMs);
}

void Engine::portLost(const QString &reason) {
    if (!m_running)
        return;
    m_portError = reason;
    if (m_waiting) {
        complete(Status::PortError);
        return;
    }
    // Lost between two commands: the next one is where the run stops.
    if (m_current + 1 < m_results.size())
        m_results[m_current + 1].status = Status::PortError;
    m_kick.stop();
    finish();
}

void Engine::complete(Status status) {
    if (!m_waiting)
        return;
    m_waiting = false;
    m_gap.stop();
    m_timeout.stop();
    m_results[m_current].status = status;
    emit progress(m_current + 1, int(m_results.size()));
    if (status == Status::PortError) {
        finish();
        return;
    }
    m_kick.start(0);
}

void Engine::finish() {
    if (!m_running)
        return;
    m_running = false;
    m_waiting = false;
    m_port.endRun();
    emit finished();
}

} // namespace zx::provision
