#include "register/Register.h"

#include "register/Schema.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <pwd.h>
#include <unistd.h>

namespace zx::reg {
namespace {

QString operatorName() {
    if (const passwd *entry = ::getpwuid(::getuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

// Qt binds a null string as NULL; the register's texts are never NULL.
QString notNull(const QString &text) { return text.isNull() ? QStringLiteral("") : text; }

bool processGone(qint64 pid) {
    return pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
}

QStringList planOf(const QVariant &text) {
    QStringList lines;
    for (const QJsonValue &line : QJsonDocument::fromJson(text.toString().toUtf8()).array())
        lines << line.toString();
    return lines;
}

} // namespace

QString timeText(const QDateTime &time) { return time.toUTC().toString(Qt::ISODateWithMs); }

QDateTime timeOf(const QVariant &value) {
    if (value.isNull())
        return {};
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

QString Register::secretHash(const QString &module, const QString &entry, const QByteArray &value) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData("zentorix register password\n");
    hash.addData(module.toUtf8() + '\n' + entry.toUtf8() + '\n');
    hash.addData(value);
    return QString::fromLatin1(hash.result().toHex());
}

std::unique_ptr<Register> Register::open(const Location &location, QString *error) {
    std::unique_ptr<Register> reg(new Register);
    if (QString why = reg->m_db.open(location); !why.isEmpty()) {
        *error = why;
        return nullptr;
    }
    if (QString why = migrate(reg->m_db, &reg->m_backup); !why.isEmpty()) {
        *error = why;
        return nullptr;
    }
    if (reg->markInterruptedRuns() < 0) {
        *error = QStringLiteral("cannot update the module register %1: %2")
                     .arg(location.shown(), reg->lastError());
        return nullptr;
    }
    return reg;
}

std::unique_ptr<Register> Register::openConfigured(QString *error) {
    const std::optional<Location> location = parseLocation(configuredLocation(), error);
    return location ? open(*location, error) : nullptr;
}

std::optional<qint64> Register::moduleId(const QString &number, bool add) {
    QSqlQuery query = m_db.query();
    if (add && !m_db.exec(query,
                          QStringLiteral("INSERT INTO modules (number, created_at) VALUES (?, ?) "
                                         "ON CONFLICT (number) DO NOTHING"),
                          {number, timeText(QDateTime::currentDateTimeUtc())}))
        return std::nullopt;
    if (!m_db.exec(query, QStringLiteral("SELECT id FROM modules WHERE number = ?"), {number}))
        return std::nullopt;
    if (!query.next())
        return qint64(0);
    return query.value(0).toLongLong();
}

std::optional<qint64> Register::beginRun(const RunStart &start) {
    std::optional<qint64> run;
    const bool ok = m_db.write([&] {
        const auto module = moduleId(start.module, true);
        if (!module)
            return false;
        QSqlQuery query = m_db.query();
        if (!m_db.exec(query,
                       QStringLiteral("INSERT INTO runs (module_id, kind, started_at, port, "
                                      "operator, host, pid, plan) VALUES (?, ?, ?, ?, ?, ?, ?, ?) "
                                      "RETURNING id"),
                       {*module, notNull(start.kind), timeText(QDateTime::currentDateTimeUtc()),
                        notNull(start.port), notNull(operatorName()), notNull(QSysInfo::machineHostName()), qint64(::getpid()),
                        QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(start.plan))
                                              .toJson(QJsonDocument::Compact))}) ||
            !query.next())
            return false;
        run = query.value(0).toLongLong();
        return true;
    });
    return ok ? run : std::nullopt;
}

bool Register::recordCommand(qint64 run, int seq, const CommandOutcome &outcome) {
    const QString now = timeText(QDateTime::currentDateTimeUtc());
    return m_db.write([&] {
        QSqlQuery query = m_db.query();
        if (!m_db.exec(query,
                       QStringLiteral("SELECT runs.module_id, modules.number FROM runs "
                                      "JOIN modules ON modules.id = runs.module_id "
                                      "WHERE runs.id = ?"),
                       {run}) ||
            !query.next())
            return false;
        const qint64 module = query.value(0).toLongLong();
        const QString number = query.value(1).toString();
        if (!m_db.exec(query,
                       QStringLiteral("INSERT INTO commands (run_id, seq, line, answer, status, "
                                      "first_byte_ms, end_ms, done_at) VALUES (?, ?, ?, ?, ?, ?, "
                                      "?, ?) RETURNING id"),
                       {run, seq, notNull(outcome.line), notNull(outcome.answer), notNull(outcome.status),
                        outcome.firstByteMs, outcome.endMs, now}) ||
            !query.next())
            return false;
        const qint64 command = query.value(0).toLongLong();
        if (!outcome.answered)
            return true;
        for (const Value &value : outcome.values) {
            const QVariant bytes = value.secret ? QVariant(QMetaType(QMetaType::QString))
                                                : QVariant(QString::fromLatin1(value.bytes.toHex()));
            const QVariant hash = value.secret
                                      ? QVariant(secretHash(number, value.entry, value.bytes))
                                      : QVariant(QMetaType(QMetaType::QString));
            if (!m_db.exec(query,
                           QStringLiteral("INSERT INTO confirmations (command_id, module_id, "
                                          "entry, value, secret_hash, confirmed_at) "
                                          "VALUES (?, ?, ?, ?, ?, ?)"),
                           {command, module, value.entry, bytes, hash, now}))
                return false;
        }
        if (outcome.firmware &&
            !m_db.exec(query,
                       QStringLiteral("UPDATE modules SET firmware = ?, firmware_at = ? WHERE id = ?"),
                       {notNull(*outcome.firmware), now, module}))
            return false;
        return true;
    });
}

bool Register::finishRun(qint64 run, const QString &outcome) {
    return m_db.write([&] {
        QSqlQuery query = m_db.query();
        return m_db.exec(query,
                         QStringLiteral("UPDATE runs SET ended_at = ?, outcome = ? WHERE id = ?"),
                         {timeText(QDateTime::currentDateTimeUtc()), outcome, run});
    });
}

int Register::markInterruptedRuns() {
    QSqlQuery query = m_db.query();
    if (!m_db.exec(query, QStringLiteral("SELECT id, pid FROM runs WHERE ended_at IS NULL "
                                         "AND host = ?"),
                   {QSysInfo::machineHostName()}))
        return -1;
    QList<qint64> gone;
    while (query.next())
        if (processGone(query.value(1).toLongLong()))
            gone << query.value(0).toLongLong();
    int marked = 0;
    for (const qint64 run : gone) {
        const int one = markInterrupted(run);
        if (one < 0)
            return -1;
        marked += one;
    }
    return marked;
}

bool Register::interruptRun(qint64 run) { return markInterrupted(run) >= 0; }

int Register::markInterrupted(qint64 run) {
    int marked = 0;
    const bool ok = m_db.write([&] {
        QSqlQuery update = m_db.query();
        // It ended, as far as anyone can tell, with its last outcome.
        if (!m_db.exec(update,
                       QStringLiteral("UPDATE runs SET interrupted = 1, outcome = 'interrupted', "
                                      "ended_at = COALESCE((SELECT MAX(done_at) FROM commands "
                                      "WHERE run_id = runs.id), started_at) "
                                      "WHERE id = ? AND ended_at IS NULL"),
                       {run}))
            return false;
        marked = update.numRowsAffected() > 0 ? 1 : 0;
        return true;
    });
    return ok ? marked : -1;
}

QList<ModuleInfo> Register::modules(const QString &tag) {
    QList<ModuleInfo> list;
    QSqlQuery query = m_db.query();
    QString sql = QStringLiteral(
        "SELECT m.id, m.number, m.name, m.site, m.firmware, m.firmware_at, "
        "(SELECT started_at FROM runs WHERE module_id = m.id ORDER BY started_at DESC, id DESC "
        "LIMIT 1), "
        "(SELECT COALESCE(outcome, 'running') FROM runs WHERE module_id = m.id "
        "ORDER BY started_at DESC, id DESC LIMIT 1) FROM modules m");
    QVariantList values;
    if (!tag.isEmpty()) {
        sql += QStringLiteral(" WHERE EXISTS (SELECT 1 FROM module_tags t WHERE t.module_id = m.id "
                              "AND t.tag = ?)");
        values << tag;
    }
    if (!m_db.exec(query, sql + QStringLiteral(" ORDER BY m.number"), values))
        return list;
    while (query.next()) {
        ModuleInfo info;
        info.id = query.value(0).toLongLong();
        info.number = query.value(1).toString();
        info.name = query.value(2).toString();
        info.site = query.value(3).toString();
        info.firmware = query.value(4).toString();
        info.firmwareAt = timeOf(query.value(5));
        info.lastContact = timeOf(query.value(6));
        info.lastOutcome = query.value(7).toString();
        list << info;
    }
    QSqlQuery tags = m_db.query();
    for (ModuleInfo &info : list) {
        if (!m_db.exec(tags, QStringLiteral("SELECT tag FROM module_tags WHERE module_id = ? "
                                            "ORDER BY tag"),
                       {info.id}))
            return {};
        while (tags.next())
            info.tags << tags.value(0).toString();
    }
    return list;
}

std::optional<ModuleInfo> Register::module(const QString &number) {
    for (const ModuleInfo &info : modules())
        if (info.number == number)
            return info;
    return std::nullopt;
}

QList<RunInfo> Register::runs(const QString &number) {
    QList<RunInfo> list;
    QSqlQuery query = m_db.query();
    if (!m_db.exec(query,
                   QStringLiteral(
                       "SELECT r.id, r.kind, r.started_at, r.ended_at, r.port, r.operator, r.host, "
                       "r.plan, COALESCE(r.outcome, 'running'), r.interrupted, "
                       "(SELECT COUNT(*) FROM commands c WHERE c.run_id = r.id "
                       "AND c.status = 'answered'), "
                       "(SELECT COUNT(*) FROM commands c WHERE c.run_id = r.id) "
                       "FROM runs r JOIN modules m ON m.id = r.module_id WHERE m.number = ? "
                       "ORDER BY r.started_at, r.id"),
                   {number}))
        return list;
    while (query.next()) {
        RunInfo run;
        run.id = query.value(0).toLongLong();
        run.module = number;
        run.kind = query.value(1).toString();
        run.started = timeOf(query.value(2));
        run.ended = timeOf(query.value(3));
        run.port = query.value(4).toString();
        run.operatorName = query.value(5).toString();
        run.host = query.value(6).toString();
        run.plan = planOf(query.value(7));
        run.outcome = query.value(8).toString();
        run.interrupted = query.value(9).toInt() != 0;
        run.answered = query.value(10).toInt();
        run.done = query.value(11).toInt();
        list << run;
    }
    return list;
}

QList<CommandRow> Register::commands(qint64 run) {
    QList<CommandRow> list;
    QSqlQuery query = m_db.query();
    if (!m_db.exec(query,
                   QStringLiteral("SELECT seq, line, answer, status, first_byte_ms, end_ms, done_at "
                                  "FROM commands WHERE run_id = ? ORDER BY seq"),
                   {run}))
        return list;
    while (query.next()) {
        CommandRow row;
        row.seq = query.value(0).toInt();
        row.line = query.value(1).toString();
        row.answer = query.value(2).toString();
        row.status = query.value(3).toString();
        row.firstByteMs = query.value(4).isNull() ? -1 : query.value(4).toLongLong();
        row.endMs = query.value(5).isNull() ? -1 : query.value(5).toLongLong();
        row.doneAt = timeOf(query.value(6));
        list << row;
    }
    return list;
}

QList<Confirmation> Register::confirmations(const QString &number) {
    QList<Confirmation> list;
    QSqlQuery query = m_db.query();
    if (!m_db.exec(query,
                   QStringLiteral("SELECT f.entry, f.value, f.secret_hash, f.confirmed_at, c.run_id "
                                  "FROM confirmations f JOIN commands c ON c.id = f.command_id "
                                  "JOIN modules m ON m.id = f.module_id WHERE m.number = ? "
                                  "ORDER BY f.confirmed_at, f.id"),
                   {number}))
        return list;
    while (query.next()) {
        Confirmation c;
        c.entry = query.value(0).toString();
        if (!query.value(1).isNull())
            c.bytes = QByteArray::fromHex(query.value(1).toString().toLatin1());
        c.secretHash = query.value(2).toString();
        c.at = timeOf(query.value(3));
        c.runId = query.value(4).toLongLong();
        list << c;
    }
    return list;
}

bool Register::describe(const QString &number, const std::optional<QString> &name,
                        const std::optional<QString> &site) {
    return m_db.write([&] {
        const auto module = moduleId(number, true);
        if (!module)
            return false;
        QSqlQuery query = m_db.query();
        if (name && !m_db.exec(query, QStringLiteral("UPDATE modules SET name = ? WHERE id = ?"),
                               {notNull(*name), *module}))
            return false;
        return !site || m_db.exec(query, QStringLiteral("UPDATE modules SET site = ? WHERE id = ?"),
                                  {notNull(*site), *module});
    });
}

bool Register::addTags(const QString &number, const QStringList &tags) {
    return m_db.write([&] {
        const auto module = moduleId(number, true);
        if (!module)
            return false;
        QSqlQuery query = m_db.query();
        for (const QString &tag : tags)
            if (!m_db.exec(query,
                           QStringLiteral("INSERT INTO module_tags (module_id, tag) VALUES (?, ?) "
                                          "ON CONFLICT DO NOTHING"),
                           {*module, tag}))
                return false;
        return true;
    });
}

bool Register::removeTags(const QString &number, const QStringList &tags) {
    return m_db.write([&] {
        const auto module = moduleId(number, false);
        if (!module)
            return false;
        QSqlQuery query = m_db.query();
        for (const QString &tag : tags)
            if (!m_db.exec(query,
                           QStringLiteral("DELETE FROM module_tags WHERE module_id = ? AND tag = ?"),
                           {*module, tag}))
                return false;
        return true;
    });
}

bool Register::renumber(const QString &from, const QString &to) {
    if (from == to)
        return moduleId(from, false).value_or(0) > 0;
    return m_db.write([&] {
        const auto old = moduleId(from, false);
        if (!old || *old == 0)
            return false;
        const auto target = moduleId(to, false);
        if (!target)
            return false;
        QSqlQuery query = m_db.query();
        if (*target == 0)
            return m_db.exec(query, QStringLiteral("UPDATE modules SET number = ? WHERE id = ?"),
                             {to, *old});
        if (!m_db.exec(query,
                       QStringLiteral("SELECT name, site, firmware, firmware_at FROM modules "
                                      "WHERE id = ?"),
                       {*old}) ||
            !query.next())
            return false;
        const QString name = query.value(0).toString();
        const QString site = query.value(1).toString();
        const QString firmware = query.value(2).toString();
        const QVariant firmwareAt = query.value(3);
        const std::pair<const char *, QVariantList> moves[] = {
            {"UPDATE runs SET module_id = ? WHERE module_id = ?", {*target, *old}},
            {"UPDATE confirmations SET module_id = ? WHERE module_id = ?", {*target, *old}},
            {"INSERT INTO module_tags (module_id, tag) SELECT ?, tag FROM module_tags "
             "WHERE module_id = ? ON CONFLICT DO NOTHING",
             {*target, *old}},
            {"UPDATE modules SET name = ? WHERE id = ? AND name = ''", {notNull(name), *target}},
            {"UPDATE modules SET site = ? WHERE id = ? AND site = ''", {notNull(site), *target}},
            {"DELETE FROM modules WHERE id = ?", {*old}},
        };
        for (const auto &[sql, values] : moves)
            if (!m_db.exec(query, QString::fromLatin1(sql), values))
                return false;
        // Times are ISO 8601 in UTC, so their texts sort as the times do; on
        // a tie the module just met wins.
        return firmwareAt.isNull() ||
               m_db.exec(query,
                         QStringLiteral("UPDATE modules SET firmware = ?, firmware_at = ? "
                                        "WHERE id = ? AND "
                                        "(firmware_at IS NULL OR firmware_at <= ?)"),
                         {notNull(firmware), firmwareAt, *target, firmwareAt});
    });
}

} // namespace zx::reg
