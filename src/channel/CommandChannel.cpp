#include "channel/CommandChannel.h"

#include <algorithm>
#include <cmath>

namespace zx::channel {
namespace {

// The longest late answer line waited for before the next command.
constexpr qsizetype kLateLineBytes = 256;

} // namespace

ChannelTiming ChannelTiming::forBaud(quint32 baud) {
    ChannelTiming t;
    t.charMs = 10000.0 / double(std::max<quint32>(baud, 1));
    t.quietGapMs = std::max(100, int(std::ceil(40 * t.charMs)));
    return t;
}

int ChannelTiming::wireMs(qsizetype count) const { return int(std::ceil(double(count) * charMs)); }

CommandChannel::CommandChannel(ChannelPort &port, ChannelTiming timing, QObject *parent)
    : QObject(parent), m_port(port), m_timing(timing) {
    for (QTimer *timer : {&m_quiet, &m_timeout, &m_kick}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_quiet, &QTimer::timeout, this, [this] { takeLines(Partial::IfQuietEnds); });
    connect(&m_timeout, &QTimer::timeout, this, &CommandChannel::timedOut);
    connect(&m_kick, &QTimer::timeout, this, &CommandChannel::startNext);
    m_clock.start();
}

int CommandChannel::submit(const Exchange &exchange) {
    const int id = m_nextId++;
    m_queue.append({id, exchange});
    // On an idle line the exchange starts at once: a run's next command
    // goes out as soon as the last answer is in.
    if (!m_active && !m_kick.isActive())
        startNext();
    return id;
}

void CommandChannel::startNext() {
    if (m_active || m_queue.isEmpty())
        return;
    // After a time-out the peer may still be answering: that answer must end
    // before the next command goes out, or it would read as the next answer.
    // Noise that never stops is waited out only as long as a late answer
    // line could take.
    if (m_settle && m_lastByteMs >= 0) {
        if (m_settleFromMs < 0)
            m_settleFromMs = m_clock.elapsed();
        const qint64 quietFor = m_clock.elapsed() - m_lastByteMs;
        const qint64 settleCap = m_timing.quietGapMs + m_timing.wireMs(kLateLineBytes);
        if (quietFor < m_timing.quietGapMs && m_clock.elapsed() - m_settleFromMs < settleCap) {
            m_kick.start(int(m_timing.quietGapMs - quietFor));
            return;
        }
    }
    m_settle = false;
    m_current = m_queue.takeFirst();
    m_active = true;
    m_result = ExchangeResult{};
    m_pending.clear();
    m_received.clear();
    m_reply.clear();
    m_foreign = false;
    writeCurrent();
}

void CommandChannel::writeCurrent() {
    const QByteArray &bytes = m_current.exchange.bytes;
    m_result.sentAtMs = m_clock.elapsed();
    m_result.bytesSent = bytes.size();
    if (!m_port.write(bytes)) {
        complete(Outcome::PortError, {}, QStringLiteral("the port failed while writing"));
        return;
    }
    m_writtenAtMs = m_clock.elapsed();
    // The answer cannot start before the line has reached the peer.
    m_timeout.start(m_current.exchange.timeoutMs + m_timing.wireMs(bytes.size()));
}

void CommandChannel::receive(const QByteArray &bytes) {
    if (bytes.isEmpty())
        return;
    m_lastByteMs = m_clock.elapsed();
    if (!m_active) {
        stray(bytes);
        noticeReports(bytes);
        return;
    }
    if (m_result.firstByteMs < 0)
        m_result.firstByteMs = sinceWrite();
    m_result.endMs = sinceWrite();
    m_received += bytes;
    m_pending += bytes;
    takeLines(Partial::Wait);
    if (m_active && m_current.exchange.rule.kind == AnswerRule::Kind::Prompt && isPrompt(m_pending)) {
        m_pending.clear();
        complete(Outcome::Answered, QByteArrayLiteral("> "));
    }
    if (!m_active)
        return;
    if (m_received.size() > m_timing.answerCapBytes) {
        complete(Outcome::NotRecognised, m_received,
                 QStringLiteral("more than %1 bytes came without an answer")
                     .arg(m_timing.answerCapBytes));
        return;
    }
    if (m_pending.isEmpty())
        m_quiet.stop();
    else
        m_quiet.start(m_timing.quietGapMs);
}

// Whether a quiet gap ends a line that has no line end yet. Keyed answers,
// acknowledgements and modem replies always end theirs, and may come in
// pieces with pauses between them: a piece alone is judged at the time-out.
bool CommandChannel::quietEndsLine() const {
    const AnswerRule::Kind kind = m_current.exchange.rule.kind;
    return kind == AnswerRule::Kind::Free || kind == AnswerRule::Kind::Prompt;
}

// Judges each whole line received, and as partial says what follows the
// last line end.
void CommandChannel::takeLines(Partial partial) {
    while (m_active && !m_pending.isEmpty()) {
        qsizetype end = m_pending.indexOf('\n');
        if (end < 0) {
            if (partial == Partial::Wait || (partial == Partial::IfQuietEnds && !quietEndsLine()))
                return;
            end = m_pending.size() - 1;
        }
        const QByteArray raw = m_pending.left(end + 1);
        m_pending.remove(0, end + 1);
        QByteArray line = raw;
        line.replace('\0', QByteArray());
        while (!line.isEmpty() && (line.endsWith('\n') || line.endsWith('\r')))
            line.chop(1);
        while (!line.isEmpty() && (line.startsWith('\r') || line.startsWith('\n')))
            line.remove(0, 1);
        qsizetype start = 0;
        switch (judgeLine(m_current.exchange.rule, m_current.exchange.command, line, &start)) {
        case LineVerdict::Answer: {
            // Noise before the answer is not part of it.
            const qsizetype noise = start > 0 ? raw.indexOf(line.mid(start)) : 0;
            if (noise > 0)
                stray(raw.left(noise));
            complete(Outcome::Answered, m_reply + raw.mid(std::max<qsizetype>(noise, 0)));
            break;
        }
        case LineVerdict::Part:
            m_reply += raw;
            break;
        case LineVerdict::Refusal: {
            const qsizetype noise = start > 0 ? raw.indexOf(line.mid(start)) : 0;
            if (noise > 0)
                stray(raw.left(noise));
            complete(Outcome::Refused, raw.mid(std::max<qsizetype>(noise, 0)),
                     refusalReason(line.mid(start)));
            break;
        }
        case LineVerdict::Unsolicited:
            emit unsolicited(line);
            stray(raw);
            break;
        case LineVerdict::Blank:
            if (m_current.exchange.blankLinesKept &&
                m_current.exchange.rule.kind == AnswerRule::Kind::ModemFinal)
                m_reply += raw;
            break;
        case LineVerdict::Echo:
            if (m_current.exchange.blankLinesKept &&
                m_current.exchange.rule.kind == AnswerRule::Kind::ModemFinal) {
                m_reply += raw;
                break;
            }
            [[fallthrough]];
        case LineVerdict::Foreign:
            m_foreign = true;
            stray(raw);
            break;
        }
    }
}

void CommandChannel::flushPending() {
    if (!m_active)
        return;
    takeLines(Partial::IfQuietEnds);
    if (m_active && m_pending.isEmpty())
        m_quiet.stop();
}

// What is left after the echo of the command is the modem's prompt alone.
bool CommandChannel::isPrompt(const QByteArray &pending) const {
    QByteArray rest = pending;
    const QByteArray echo = m_current.exchange.command.trimmed();
    if (!echo.isEmpty() && rest.startsWith(echo))
        rest.remove(0, echo.size());
    return rest.trimmed() == ">";
}

void CommandChannel::timedOut() {
    if (!m_active)
        return;
    // An answer still coming in is let finish, within the time a whole
    // answer of the cap's length takes.
    const qint64 now = m_clock.elapsed();
    const qint64 cap = m_current.exchange.timeoutMs +
                       m_timing.wireMs(m_current.exchange.bytes.size() + m_timing.answerCapBytes) +
                       m_timing.quietGapMs;
    if (!m_pending.isEmpty() && now - m_lastByteMs < m_timing.quietGapMs && sinceWrite() < cap) {
        m_timeout.start(m_timing.quietGapMs);
        return;
    }
    takeLines(Partial::Judge);
    if (!m_active)
        return;
    m_settle = true;
    m_settleFromMs = -1;
    if (m_foreign)
        complete(Outcome::NotRecognised, m_received,
                 QStringLiteral("what came back is not an answer to this command"));
    else
        complete(Outcome::NoAnswer);
}

void CommandChannel::complete(Outcome outcome, const QByteArray &answer, const QString &reason) {
    if (!m_active)
        return;
    m_active = false;
    m_quiet.stop();
    m_timeout.stop();
    m_result.outcome = outcome;
    m_result.answer = answer;
    m_result.reason = reason;
    // What followed the answer within the same read belongs to nothing.
    if (!m_pending.isEmpty()) {
        stray(m_pending, true);
        noticeReports(m_pending);
        m_pending.clear();
    }
    const int id = m_current.id;
    const ExchangeResult result = m_result;
    if (!m_queue.isEmpty())
        m_kick.start(0);
    emit finished(id, result);
}

void CommandChannel::cancelAll(AfterCancel after) {
    const QList<Pending> queued = m_queue;
    m_queue.clear();
    m_kick.stop();
    if (m_active) {
        m_settle = after == AfterCancel::WaitForQuiet;
        m_settleFromMs = -1;
        complete(Outcome::Cancelled);
    }
    for (const Pending &pending : queued)
        emit finished(pending.id, ExchangeResult{});
}

void CommandChannel::portLost(const QString &reason) {
    const QList<Pending> queued = m_queue;
    m_queue.clear();
    m_kick.stop();
    if (m_active)
        complete(Outcome::PortError, m_received, reason);
    ExchangeResult lost;
    lost.outcome = Outcome::PortError;
    lost.reason = reason;
    for (const Pending &pending : queued)
        emit finished(pending.id, lost);
}

// A modem's own report (a new message stored, say) among bytes that answer
// nothing is still told.
void CommandChannel::noticeReports(const QByteArray &bytes) {
    m_between += bytes;
    for (qsizetype end = m_between.indexOf('\n'); end >= 0; end = m_between.indexOf('\n')) {
        const QByteArray line = m_between.left(end).trimmed();
        m_between.remove(0, end + 1);
        if (isUnsolicited(line))
            emit unsolicited(line);
    }
    if (m_between.size() > m_timing.answerCapBytes)
        m_between.clear();
}

void CommandChannel::stray(const QByteArray &bytes, bool afterAnswer) {
    m_strayBytes += bytes.size();
    emit strayReceived(bytes, afterAnswer);
}

} // namespace zx::channel
