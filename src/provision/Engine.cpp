#include "provision/Engine.h"

#include "link/CommandFrame.h"

#include <algorithm>
#include <cmath>

namespace zx::provision {
namespace {

// A command's status is its exchange's outcome, or "not sent".
static_assert(int(Status::Answered) == int(channel::Outcome::Answered) &&
              int(Status::Refused) == int(channel::Outcome::Refused) &&
              int(Status::NoAnswer) == int(channel::Outcome::NoAnswer) &&
              int(Status::NotRecognised) == int(channel::Outcome::NotRecognised) &&
              int(Status::PortError) == int(channel::Outcome::PortError) &&
              int(Status::Cancelled) == int(channel::Outcome::Cancelled));

Status statusOf(channel::Outcome outcome) { return Status(int(outcome)); }

channel::ChannelTiming channelTiming(const Timing &timing) {
    channel::ChannelTiming t;
    t.charMs = timing.charMs;
    t.quietGapMs = timing.quietGapMs;
    return t;
}

} // namespace

Timing Timing::forBaud(quint32 baud) {
    Timing t;
    t.charMs = 10000.0 / double(std::max<quint32>(baud, 1));
    t.quietGapMs = std::max(100, int(std::ceil(40 * t.charMs)));
    return t;
}

QString statusName(Status status) {
    if (status == Status::NotSent)
        return QStringLiteral("not sent");
    return channel::outcomeName(channel::Outcome(int(status)));
}

Engine::Engine(Port &port, Timing timing, QObject *parent)
    : QObject(parent), m_port(port), m_timing(timing),
      m_channel(m_adapter, channelTiming(timing)) {
    m_kick.setSingleShot(true);
    connect(&m_kick, &QTimer::timeout, this, &Engine::sendNext);
    connect(&m_channel, &channel::CommandChannel::finished, this, &Engine::exchangeDone);
}

void Engine::start(const QList<Command> &commands) {
    m_results.clear();
    for (const Command &command : commands) {
        CommandResult result;
        result.command = command;
        m_results.append(result);
    }
    m_current = -1;
    m_silentInRow = 0;
    m_cancelled = false;
    m_stoppedSilent = false;
    m_portError.clear();
    m_strayAtStart = m_channel.strayBytes();
    m_running = true;
    m_clock.start();
    m_port.beginRun(*this, m_timing.pollMs);
    m_kick.start(0);
}

void Engine::cancel() {
    m_cancelled = true;
    if (!m_running)
        return;
    m_kick.stop();
    if (m_waiting)
        m_channel.cancelAll(); // exchangeDone ends the run
    else
        finish();
}

void Engine::sendNext() {
    ++m_current;
    if (m_cancelled || m_current >= m_results.size()) {
        finish();
        return;
    }
    const Command &command = m_results[m_current].command;
    channel::Exchange exchange;
    exchange.command = command.line;
    exchange.bytes = link::settingModeFrame(command.line);
    exchange.rule = channel::moduleAnswerRule(command.line);
    exchange.timeoutMs = m_timing.timeoutMs;
    exchange.secret = command.secret;
    m_results[m_current].sentAtMs = m_clock.elapsed();
    m_waiting = true;
    // The channel is this run's alone and runs one exchange at a time: what
    // it finishes while waiting is this command's.
    m_channel.submit(exchange);
}

void Engine::receive(const QByteArray &bytes) { m_channel.receive(bytes); }

void Engine::portLost(const QString &reason) {
    if (!m_running)
        return;
    m_portError = reason;
    if (m_waiting) {
        m_channel.portLost(reason);
        return;
    }
    // Lost between two commands: the next one is where the run stops.
    if (m_current + 1 < m_results.size())
        m_results[m_current + 1].status = Status::PortError;
    m_kick.stop();
    finish();
}

void Engine::exchangeDone(int, const channel::ExchangeResult &exchange) {
    if (!m_waiting)
        return;
    m_waiting = false;
    CommandResult &result = m_results[m_current];
    result.status = statusOf(exchange.outcome);
    result.answer = exchange.answer;
    result.reason = exchange.reason;
    result.bytesSent = exchange.bytesSent;
    result.firstByteMs = exchange.firstByteMs;
    result.endMs = exchange.endMs;
    if (result.status == Status::PortError && m_portError.isEmpty())
        m_portError = exchange.reason;
    emit progress(m_current + 1, int(m_results.size()));
    const bool silent = result.status == Status::NoAnswer || result.status == Status::NotRecognised;
    m_silentInRow = silent ? m_silentInRow + 1 : 0;
    if (m_silentInRow >= kSilentCommandsToStop)
        m_stoppedSilent = true;
    if (result.status == Status::PortError || result.status == Status::Cancelled ||
        m_stoppedSilent) {
        finish();
        return;
    }
    sendNext();
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
