#include "remote/SmsEngine.h"

#include "channel/AnswerRule.h"
#include "link/CommandFrame.h"

#include <QCryptographicHash>

#include <algorithm>

namespace zx::remote {
namespace {

QString normalised(const QByteArray &number) {
    QByteArray digits = number;
    if (digits.startsWith("00"))
        digits = '+' + digits.mid(2);
    return QString::fromLatin1(digits);
}

// Identical copies of one message (a network's duplicate) have one key.
QByteArray messageKey(const ReceivedSms &sms) {
    return QCryptographicHash::hash(sms.pdu.toUpper(), QCryptographicHash::Sha1).toHex();
}

} // namespace

SmsEngine::SmsEngine(ModemLink &modem, JobStore &store, SmsEngineTimes times, QObject *parent)
    : QObject(parent), m_modem(modem), m_store(store), m_times(times) {
    m_deadline.setSingleShot(true);
    m_spacing.setSingleShot(true);
    connect(&m_spacing, &QTimer::timeout, this, &SmsEngine::sendDue);
    connect(&m_listTimer, &QTimer::timeout, &m_modem, &ModemLink::list);
    // A deadline is judged after a listing: the answer may be in the store.
    connect(&m_deadline, &QTimer::timeout, &m_modem, &ModemLink::list);
    connect(&m_modem, &ModemLink::messageStored, &m_modem, &ModemLink::list);
    connect(&m_modem, &ModemLink::listed, this, &SmsEngine::onListed);
    connect(&m_modem, &ModemLink::submitted, this, &SmsEngine::onSubmitted);
    connect(&m_modem, &ModemLink::submitFailed, this, &SmsEngine::onSubmitFailed);
    connect(&m_modem, &ModemLink::portFailed, this,
            [this](const QString &why) { fail(QStringLiteral("the modem's port failed: %1").arg(why)); });
    connect(&m_modem, &ModemLink::idleAgain, this, &SmsEngine::finishIfDone);
    connect(&m_modem, &ModemLink::ready, this, [this](bool ok, const QString &why) {
        if (!ok)
            fail(why);
    });
}

void SmsEngine::run(SmsJob job) {
    m_job = std::move(job);
    m_running = true;
    m_listedOnce = false;
    m_failure.clear();
    m_tokens.clear();
    m_listTimer.start(m_times.listEveryMs);
    // Answers that came while no one listened are matched before anything
    // is sent.
    m_modem.start();
    m_modem.list();
}

void SmsEngine::stop(bool markCancelled) {
    if (!m_running)
        return;
    m_running = false;
    m_listTimer.stop();
    m_deadline.stop();
    m_spacing.stop();
    m_modem.cancelAll();
    if (markCancelled && m_store.finish(m_job.id, QStringLiteral("cancelled")))
        m_job.state = QStringLiteral("cancelled");
    emit finished();
}

void SmsEngine::fail(const QString &why) {
    if (!m_running)
        return;
    m_failure = why;
    stop(false);
}

bool SmsEngine::store(SmsCommand &command) {
    if (m_store.update(command)) {
        emit commandChanged(command);
        return true;
    }
    fail(QStringLiteral("the job could not be kept in the register: %1").arg(m_store.lastError()));
    return false;
}

QDateTime SmsEngine::lastAnswerAt(const QString &module) const {
    QDateTime last;
    for (const SmsCommand &command : m_job.commands)
        if (command.module == module && command.state != SmsState::GivenUp && command.doneAt.isValid() &&
            (!last.isValid() || command.doneAt > last))
            last = command.doneAt;
    return last;
}

SmsCommand *SmsEngine::byId(qint64 id) {
    for (SmsCommand &command : m_job.commands)
        if (command.id == id)
            return &command;
    return nullptr;
}

SmsCommand *SmsEngine::inFlight(const QString &module) {
    for (SmsCommand &command : m_job.commands)
        if (command.module == module && command.state == SmsState::Handed)
            return &command;
    return nullptr;
}

SmsCommand *SmsEngine::nextToSend(const QString &module) {
    SmsCommand *next = nullptr;
    for (SmsCommand &command : m_job.commands)
        if (command.module == module && command.state == SmsState::ToSend &&
            (!next || command.seq < next->seq))
            next = &command;
    return next;
}

void SmsEngine::sendDue() {
    if (!m_running || !m_listedOnce)
        return;
    const QDateTime at = now();
    qint64 wait = -1;
    for (const QString &module : m_job.modules()) {
        if (inFlight(module))
            continue;
        SmsCommand *next = nextToSend(module);
        if (!next)
            continue;
        const QDateTime last = lastAnswerAt(module);
        const qint64 left = last.isValid() ? m_times.answerSpacingMs - last.msecsTo(at) : 0;
        if (left > 0) {
            wait = wait < 0 ? left : std::min(wait, left);
            continue;
        }
        handOver(*next);
        if (!m_running)
            return;
    }
    if (wait >= 0)
        m_spacing.start(int(wait));
    armDeadline();
    finishIfDone();
}

void SmsEngine::handOver(SmsCommand &command) {
    if (command.line.isEmpty()) {
        command.state = SmsState::GivenUp;
        command.reason = QStringLiteral("its password is not kept; resume with the profile");
        command.doneAt = now();
        store(command);
        return;
    }
    // Kept before the modem has it: a program stopped right after writing
    // the SMS must count it as handed over, not send it once more.
    command.state = SmsState::Handed;
    command.attempts += 1;
    command.reference = -1;
    command.handedAt = now();
    if (!store(command))
        return;
    const int token =
        m_modem.submit(command.module.toLatin1(), link::paddedCommandLine(command.line));
    m_tokens.insert(token, command.id);
}

void SmsEngine::onSubmitted(int token, int reference) {
    SmsCommand *command = byId(m_tokens.take(token));
    if (!m_running || !command || command->state != SmsState::Handed)
        return;
    m_refusedInRow = 0;
    command->reference = reference;
    // Its time-out runs from when the network has it.
    command->handedAt = now();
    store(*command);
    armDeadline();
}

void SmsEngine::onSubmitFailed(int token, const QString &reason, bool mayHaveLeft) {
    SmsCommand *command = byId(m_tokens.take(token));
    if (!command || command->state != SmsState::Handed)
        return;
    if (!m_running) {
        // Stopped before the modem took it: it was never sent.
        if (!mayHaveLeft) {
            command->state = SmsState::ToSend;
            command->attempts -= 1;
            m_store.update(*command);
        }
        return;
    }
    if (mayHaveLeft) {
        // Awaited like any SMS on its way: its time-out decides.
        command->reason = reason;
        store(*command);
        armDeadline();
        return;
    }
    // The modem kept it: not an attempt.
    command->state = SmsState::ToSend;
    command->attempts -= 1;
    command->reason = reason;
    if (!store(*command))
        return;
    if (++m_refusedInRow >= m_times.refusalsToStop) {
        fail(QStringLiteral("the modem refused to send %1 SMS in a row: %2; check its SIM, SMS centre "
                            "number and signal, then resume the job")
                 .arg(m_refusedInRow)
                 .arg(reason));
        return;
    }
    QTimer::singleShot(m_times.refusedPauseMs, this, &SmsEngine::sendDue);
}

void SmsEngine::onListed(const QList<ReceivedSms> &messages) {
    if (!m_running)
        return;
    for (const ReceivedSms &sms : messages) {
        take(sms);
        if (!m_running)
            return;
    }
    m_listedOnce = true;
    checkDeadlines();
    sendDue();
}

void SmsEngine::take(const ReceivedSms &sms) {
    const QByteArray key = messageKey(sms);
    switch (m_store.seen(key)) {
    case JobStore::Seen::Failed:
        fail(QStringLiteral("the job could not be read from the register: %1").arg(m_store.lastError()));
        return;
    case JobStore::Seen::Answer:
        // A copy of an answer already taken: the network sent it twice, or
        // the program stopped before the store was cleared.
        ++m_duplicates;
        m_modem.remove(sms.index);
        return;
    case JobStore::Seen::Other:
        return;
    case JobStore::Seen::No:
        break;
    }
    const QString module = normalised(sms.sender);
    if (!m_job.modules().contains(module)) {
        ++m_foreign;
        return; // not this job's: left for whoever it is for
    }
    SmsCommand *command = inFlight(module);
    QByteArray text = sms.text;
    while (text.endsWith('\r') || text.endsWith('\n'))
        text.chop(1);
    const channel::LineVerdict verdict =
        command ? channel::judgeLine(channel::moduleAnswerRule(command->line), command->line, text)
                : channel::LineVerdict::Foreign;
    // An answer cannot come before its command left (a message older than
    // this program's listing is only there from before).
    if (verdict != channel::LineVerdict::Answer && verdict != channel::LineVerdict::Refusal) {
        ++m_stray;
        if (!m_store.takeMessage(key, nullptr))
            fail(QStringLiteral("the job could not be kept in the register: %1").arg(m_store.lastError()));
        return;
    }
    command->state = verdict == channel::LineVerdict::Answer ? SmsState::Answered : SmsState::Refused;
    command->answer = text;
    command->reason = verdict == channel::LineVerdict::Refusal ? channel::refusalReason(text.trimmed()) : QString();
    command->doneAt = now();
    if (!m_store.takeMessage(key, command)) {
        fail(QStringLiteral("the job could not be kept in the register: %1").arg(m_store.lastError()));
        return;
    }
    emit commandChanged(*command);
    // Only once the answer is kept does it leave the modem.
    m_modem.remove(sms.index);
}

void SmsEngine::checkDeadlines() {
    const QDateTime at = now();
    for (SmsCommand &command : m_job.commands) {
        if (!m_running)
            return;
        if (command.state != SmsState::Handed || m_tokens.key(command.id, 0) != 0)
            continue;
        if (command.handedAt.msecsTo(at) < m_job.timeoutMs)
            continue;
        if (command.attempts > m_job.retries) {
            command.state = SmsState::GivenUp;
            command.reason = QStringLiteral("no answer within %1 s, sent %2 times")
                                 .arg(m_job.timeoutMs / 1000.0)
                                 .arg(command.attempts);
            command.doneAt = at;
        } else {
            command.state = SmsState::ToSend;
        }
        store(command);
    }
}

void SmsEngine::armDeadline() {
    qint64 soonest = -1;
    const QDateTime at = now();
    for (const SmsCommand &command : m_job.commands) {
        if (command.state != SmsState::Handed || m_tokens.key(command.id, 0) != 0)
            continue;
        const qint64 left = std::max<qint64>(0, m_job.timeoutMs - command.handedAt.msecsTo(at));
        if (soonest < 0 || left < soonest)
            soonest = left;
    }
    if (soonest >= 0)
        m_deadline.start(int(std::min<qint64>(soonest, 24 * 3600 * 1000)));
    else
        m_deadline.stop();
}

void SmsEngine::finishIfDone() {
    if (!m_running || !m_listedOnce || !m_modem.idle())
        return;
    if (!std::all_of(m_job.commands.cbegin(), m_job.commands.cend(),
                     [](const SmsCommand &command) { return isFinal(command.state); }))
        return;
    if (!m_store.finish(m_job.id, QStringLiteral("finished"))) {
        fail(QStringLiteral("the job could not be kept in the register: %1").arg(m_store.lastError()));
        return;
    }
    m_job.state = QStringLiteral("finished");
    m_running = false;
    m_listTimer.stop();
    m_deadline.stop();
    m_spacing.stop();
    emit finished();
}

} // namespace zx::remote
