#include "register/Journal.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>

#include <cerrno>
#include <csignal>

#include <pwd.h>
#include <unistd.h>

namespace zx::reg {
namespace {

QVariant nullText() { return QVariant(QMetaType(QMetaType::QString)); }

QVariant timeOrNull(const QDateTime &time) { return time.isValid() ? QVariant(timeText(time)) : nullText(); }

QString userName() {
    if (const passwd *entry = ::getpwuid(::getuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

QString entriesText(const QStringList &entries) {
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(entries)).toJson(QJsonDocument::Compact));
}

QStringList entriesOf(const QString &text) {
    QStringList list;
    for (const QJsonValue &value : QJsonDocument::fromJson(text.toUtf8()).array())
        list.append(value.toString());
    return list;
}

// What the journal keeps of a command's line and answer: nothing of a
// password.
QVariant keptLine(const remote::SmsCommand &command) {
    return command.secret ? nullText() : QVariant(QString::fromLatin1(command.line));
}
QVariant keptAnswer(const remote::SmsCommand &command) {
    if (command.secret || command.answer.isNull())
        return nullText();
    return QString::fromLatin1(command.answer);
}

const char kJobColumns[] = "id, kind, modem_port, profile, profile_hash, timeout_ms, retries, price, "
                           "created_at, state FROM sms_jobs";

remote::SmsJob jobFrom(const QSqlQuery &query) {
    remote::SmsJob job;
    job.id = query.value(0).toLongLong();
    job.kind = query.value(1).toString();
    job.modemPort = query.value(2).toString();
    job.profile = query.value(3).toString();
    job.profileHash = query.value(4).toString().toLatin1();
    job.timeoutMs = query.value(5).toInt();
    job.retries = query.value(6).toInt();
    job.pricePerSms = query.value(7).toDouble();
    job.created = timeOf(query.value(8));
    job.state = query.value(9).toString();
    return job;
}

} // namespace

bool Journal::create(remote::SmsJob &job) {
    job.created = QDateTime::currentDateTimeUtc();
    return m_db.write([&] {
        QSqlQuery query = m_db.query();
        if (!m_db.exec(query,
                       QStringLiteral("INSERT INTO sms_jobs (kind, modem_port, profile, profile_hash, "
                                      "timeout_ms, retries, price, created_at, state, operator, host) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"),
                       {job.kind, job.modemPort, job.profile.isNull() ? QStringLiteral("") : job.profile,
                        QString::fromLatin1(job.profileHash.isNull() ? QByteArray("") : job.profileHash), job.timeoutMs, job.retries,
                        job.pricePerSms, timeText(job.created), job.state, userName(),
                        QSysInfo::machineHostName()}) ||
            !query.next())
            return false;
        job.id = query.value(0).toLongLong();
        for (remote::SmsCommand &command : job.commands) {
            if (!m_db.exec(query,
                           QStringLiteral("INSERT INTO sms_commands (job_id, module, seq, line, "
                                          "shown_line, entries, secret, state, attempts, reference, "
                                          "handed_at, answer, reason, done_at) VALUES (?, ?, ?, ?, ?, "
                                          "?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"),
                           {job.id, command.module, command.seq, keptLine(command), command.shownLine,
                            entriesText(command.entries), command.secret ? 1 : 0,
                            remote::smsStateName(command.state), command.attempts, command.reference,
                            timeOrNull(command.handedAt), keptAnswer(command),
                            command.reason.isNull() ? QStringLiteral("") : command.reason,
                            timeOrNull(command.doneAt)}) ||
                !query.next())
                return false;
            command.id = query.value(0).toLongLong();
        }
        return true;
    });
}

namespace {

bool updateRow(Database &db, const remote::SmsCommand &command) {
    QSqlQuery query = db.query();
    return db.exec(query,
                   QStringLiteral("UPDATE sms_commands SET state = ?, attempts = ?, reference = ?, "
                                  "handed_at = ?, answer = ?, reason = ?, done_at = ? WHERE id = ?"),
                   {remote::smsStateName(command.state), command.attempts, command.reference,
                    timeOrNull(command.handedAt), keptAnswer(command),
                    command.reason.isNull() ? QStringLiteral("") : command.reason,
                    timeOrNull(command.doneAt), command.id}) &&
           query.numRowsAffected() == 1;
}

} // namespace

bool Journal::update(const remote::SmsCommand &command) {
    return m_db.write([&] { return updateRow(m_db, command); });
}

remote::JobStore::Seen Journal::seen(const QByteArray &key) {
    QSqlQuery query = m_db.query();
    if (!m_db.exec(query, QStringLiteral("SELECT command_id FROM sms_messages WHERE key = ?"),
                   {QString::fromLatin1(key)}))
        return Seen::Failed;
    if (!query.next())
        return Seen::No;
    return query.value(0).isNull() ? Seen::Other : Seen::Answer;
}

bool Journal::takeMessage(const QByteArray &key, const remote::SmsCommand *answered) {
    return m_db.write([&] {
        if (answered && !updateRow(m_db, *answered))
            return false;
        QSqlQuery query = m_db.query();
        QSqlQuery job = m_db.query();
        // The message belongs to the job of its command, or to the newest
        // job that saw it answer nothing.
        if (answered) {
            if (!m_db.exec(job, QStringLiteral("SELECT job_id FROM sms_commands WHERE id = ?"),
                           {answered->id}) ||
                !job.next())
                return false;
        } else if (!m_db.exec(job, QStringLiteral("SELECT MAX(id) FROM sms_jobs")) || !job.next()) {
            return false;
        }
        return m_db.exec(query,
                         QStringLiteral("INSERT INTO sms_messages (key, job_id, command_id, taken_at) "
                                        "VALUES (?, ?, ?, ?)"),
                         {QString::fromLatin1(key), job.value(0).toLongLong(),
                          answered ? QVariant(answered->id) : QVariant(QMetaType(QMetaType::LongLong)),
                          timeText(QDateTime::currentDateTimeUtc())});
    });
}

bool Journal::claim(qint64 job, bool takeOver, QString *holder) {
    const QString here = QSysInfo::machineHostName();
    bool free = false;
    const bool ok = m_db.write([&] {
        QSqlQuery query = m_db.query();
        if (!m_db.exec(query, QStringLiteral("SELECT runner_host, runner_pid FROM sms_jobs WHERE id = ?"), {job}) ||
            !query.next())
            return false;
        const QString host = query.value(0).toString();
        const qint64 pid = query.value(1).toLongLong();
        const bool gone = pid <= 0 || pid == qint64(::getpid()) ||
                          (host == here && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
        if (!gone && !takeOver) {
            *holder = QStringLiteral("process %1 on %2").arg(pid).arg(host);
            return true;
        }
        free = true;
        return m_db.exec(query, QStringLiteral("UPDATE sms_jobs SET runner_host = ?, runner_pid = ? WHERE id = ?"),
                         {here, qint64(::getpid()), job});
    });
    if (!ok)
        *holder = m_db.lastError();
    return ok && free;
}

void Journal::release(qint64 job) {
    m_db.write([&] {
        QSqlQuery query = m_db.query();
        return m_db.exec(query,
                         QStringLiteral("UPDATE sms_jobs SET runner_pid = 0 WHERE id = ? AND runner_host = ? "
                                        "AND runner_pid = ?"),
                         {job, QSysInfo::machineHostName(), qint64(::getpid())});
    });
}

bool Journal::finish(qint64 job, const QString &state) {
    return m_db.write([&] {
        QSqlQuery query = m_db.query();
        return m_db.exec(query, QStringLiteral("UPDATE sms_jobs SET state = ? WHERE id = ?"), {state, job});
    });
}

bool Journal::loadCommands(remote::SmsJob &job) {
    QSqlQuery query = m_db.query();
    if (!m_db.exec(query,
                   QStringLiteral("SELECT id, module, seq, line, shown_line, entries, secret, state, "
                                  "attempts, reference, handed_at, answer, reason, done_at "
                                  "FROM sms_commands WHERE job_id = ? ORDER BY module, seq"),
                   {job.id}))
        return false;
    while (query.next()) {
        remote::SmsCommand command;
        command.id = query.value(0).toLongLong();
        command.module = query.value(1).toString();
        command.seq = query.value(2).toInt();
        command.line = query.value(3).toString().toLatin1();
        command.shownLine = query.value(4).toString();
        command.entries = entriesOf(query.value(5).toString());
        command.secret = query.value(6).toInt() != 0;
        command.state = remote::smsStateFromName(query.value(7).toString());
        command.attempts = query.value(8).toInt();
        command.reference = query.value(9).toInt();
        command.handedAt = timeOf(query.value(10));
        if (!query.value(11).isNull())
            command.answer = query.value(11).toString().toLatin1();
        command.reason = query.value(12).toString();
        command.doneAt = timeOf(query.value(13));
        job.commands.append(command);
    }
    return true;
}

QList<remote::SmsJob> Journal::jobs(bool runningOnly) {
    QList<remote::SmsJob> list;
    QSqlQuery query = m_db.query();
    const QString sql = QStringLiteral("SELECT %1%2 ORDER BY id DESC")
                            .arg(QLatin1String(kJobColumns),
                                 runningOnly ? QStringLiteral(" WHERE state = 'running'") : QString());
    if (!m_db.exec(query, sql))
        return list;
    while (query.next())
        list.append(jobFrom(query));
    for (remote::SmsJob &job : list)
        loadCommands(job);
    return list;
}

std::optional<remote::SmsJob> Journal::job(qint64 id) {
    QSqlQuery query = m_db.query();
    if (!m_db.exec(query, QStringLiteral("SELECT %1 WHERE id = ?").arg(QLatin1String(kJobColumns)), {id}) ||
        !query.next())
        return std::nullopt;
    remote::SmsJob job = jobFrom(query);
    if (!loadCommands(job))
        return std::nullopt;
    return job;
}

} // namespace zx::reg
