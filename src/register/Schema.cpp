#include "register/Schema.h"

#include <QDateTime>
#include <QFile>
#include <QSqlQuery>
#include <QStringList>

#include <array>

namespace zx::reg {
namespace {

// Each step's statements, in order. Never change a step once released: add
// one.
const std::array<QStringList, kSchemaVersion> &steps() {
    static const std::array<QStringList, kSchemaVersion> list = {
        // 1: modules, their runs, each run's commands, and the values each
        // answered command confirmed.
        QStringList{
            QStringLiteral("CREATE TABLE modules (id {ID}, number TEXT NOT NULL UNIQUE, "
                           "name TEXT NOT NULL DEFAULT '', site TEXT NOT NULL DEFAULT '', "
                           "created_at TEXT NOT NULL)"),
            QStringLiteral("CREATE TABLE runs (id {ID}, "
                           "module_id {REF} NOT NULL REFERENCES modules(id) ON DELETE CASCADE, "
                           "kind TEXT NOT NULL, started_at TEXT NOT NULL, ended_at TEXT, "
                           "port TEXT NOT NULL, operator TEXT NOT NULL, host TEXT NOT NULL, "
                           "pid INTEGER NOT NULL, plan TEXT NOT NULL, outcome TEXT)"),
            QStringLiteral("CREATE INDEX runs_by_module ON runs (module_id, started_at)"),
            QStringLiteral("CREATE TABLE commands (id {ID}, "
                           "run_id {REF} NOT NULL REFERENCES runs(id) ON DELETE CASCADE, "
                           "seq INTEGER NOT NULL, line TEXT NOT NULL, answer TEXT NOT NULL, "
                           "status TEXT NOT NULL, first_byte_ms INTEGER, end_ms INTEGER, "
                           "done_at TEXT NOT NULL, UNIQUE (run_id, seq))"),
            QStringLiteral("CREATE TABLE confirmations (id {ID}, "
                           "command_id {REF} NOT NULL REFERENCES commands(id) ON DELETE CASCADE, "
                           "module_id {REF} NOT NULL REFERENCES modules(id) ON DELETE CASCADE, "
                           "entry TEXT NOT NULL, value TEXT, secret_hash TEXT, "
                           "confirmed_at TEXT NOT NULL, "
                           "CHECK ((value IS NULL) <> (secret_hash IS NULL)))"),
            QStringLiteral("CREATE INDEX confirmations_by_entry "
                           "ON confirmations (module_id, entry, confirmed_at)"),
        },
        // 2: the firmware a module reported, tags, and an interrupted run
        // told by a flag of its own instead of its outcome text.
        QStringList{
            QStringLiteral("ALTER TABLE modules ADD COLUMN firmware TEXT NOT NULL DEFAULT ''"),
            QStringLiteral("ALTER TABLE modules ADD COLUMN firmware_at TEXT"),
            QStringLiteral("ALTER TABLE runs ADD COLUMN interrupted INTEGER NOT NULL DEFAULT 0"),
            QStringLiteral("UPDATE runs SET interrupted = 1 WHERE outcome = 'interrupted'"),
            QStringLiteral("CREATE TABLE module_tags ("
                           "module_id {REF} NOT NULL REFERENCES modules(id) ON DELETE CASCADE, "
                           "tag TEXT NOT NULL, PRIMARY KEY (module_id, tag))"),
            QStringLiteral("CREATE INDEX module_tags_by_tag ON module_tags (tag)"),
        },
        // 3: the journal of SMS jobs: each job, its commands' states, and
        // the received messages already dealt with.
        QStringList{
            QStringLiteral("CREATE TABLE sms_jobs (id {ID}, kind TEXT NOT NULL, "
                           "modem_port TEXT NOT NULL, profile TEXT NOT NULL, "
                           "profile_hash TEXT NOT NULL, timeout_ms INTEGER NOT NULL, "
                           "retries INTEGER NOT NULL, price DOUBLE PRECISION NOT NULL, "
                           "created_at TEXT NOT NULL, state TEXT NOT NULL, "
                           "operator TEXT NOT NULL, host TEXT NOT NULL, "
                           "runner_host TEXT NOT NULL DEFAULT '', runner_pid INTEGER NOT NULL DEFAULT 0)"),
            QStringLiteral("CREATE TABLE sms_commands (id {ID}, "
                           "job_id {REF} NOT NULL REFERENCES sms_jobs(id) ON DELETE CASCADE, "
                           "module TEXT NOT NULL, seq INTEGER NOT NULL, line TEXT, "
                           "shown_line TEXT NOT NULL, entries TEXT NOT NULL, "
                           "secret INTEGER NOT NULL, state TEXT NOT NULL, "
                           "attempts INTEGER NOT NULL, reference INTEGER NOT NULL, "
                           "handed_at TEXT, answer TEXT, reason TEXT NOT NULL, done_at TEXT, "
                           "UNIQUE (job_id, module, seq))"),
            QStringLiteral("CREATE TABLE sms_messages (key TEXT PRIMARY KEY, "
                           "job_id {REF} NOT NULL REFERENCES sms_jobs(id) ON DELETE CASCADE, "
                           "command_id {REF} REFERENCES sms_commands(id) ON DELETE CASCADE, "
                           "taken_at TEXT NOT NULL)"),
        },
    };
    return list;
}

bool setVersion(Database &db, int version) {
    QSqlQuery query = db.query();
    if (db.isSqlite())
        return db.exec(query, QStringLiteral("PRAGMA user_version = %1").arg(version));
    return db.exec(query, QStringLiteral("UPDATE register_schema SET version = ?"), {version});
}

// A consistent copy, WAL and all, beside the file: register.sqlite.v1-<time>.
QString backUp(Database &db, int from, QString *error) {
    const QString path = QStringLiteral("%1.v%2-%3")
                             .arg(db.location().path)
                             .arg(from)
                             .arg(QDateTime::currentDateTimeUtc().toString(
                                 QStringLiteral("yyyyMMddTHHmmsszzz")));
    QSqlQuery query = db.query();
    if (!db.exec(query, QStringLiteral("VACUUM INTO ?"), {path})) {
        *error = QStringLiteral("cannot copy the module register to %1 before updating it: %2")
                     .arg(path, db.lastError());
        return {};
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

} // namespace

int schemaVersion(Database &db, QString *error) {
    QSqlQuery query = db.query();
    if (db.isSqlite()) {
        if (!db.exec(query, QStringLiteral("PRAGMA user_version")) || !query.next()) {
            *error = db.lastError();
            return -1;
        }
        return query.value(0).toInt();
    }
    if (!db.exec(query, QStringLiteral("SELECT to_regclass('register_schema') IS NOT NULL")) ||
        !query.next()) {
        *error = db.lastError();
        return -1;
    }
    if (!query.value(0).toBool())
        return 0;
    if (!db.exec(query, QStringLiteral("SELECT version FROM register_schema")) || !query.next()) {
        *error = db.lastError();
        return -1;
    }
    return query.value(0).toInt();
}

QString migrate(Database &db, QString *backupPath) {
    QString error;
    int version = schemaVersion(db, &error);
    if (version < 0)
        return QStringLiteral("cannot read the version of the module register %1: %2")
            .arg(db.location().shown(), error);
    if (version > kSchemaVersion)
        return QStringLiteral("the module register %1 is of version %2, newer than this program "
                              "(%3) knows; use a newer zentorix or another register")
            .arg(db.location().shown())
            .arg(version)
            .arg(kSchemaVersion);
    if (version == kSchemaVersion)
        return {};
    if (db.isSqlite() && version > 0) {
        const QString copy = backUp(db, version, &error);
        if (copy.isEmpty())
            return error;
        if (backupPath)
            *backupPath = copy;
    }
    if (!db.isSqlite()) {
        QSqlQuery query = db.query();
        // Two programs may meet a new database at once: the table's lock
        // makes the second wait and then see the first one's version.
        if (!db.write([&] {
                return db.exec(query, QStringLiteral("CREATE TABLE IF NOT EXISTS register_schema "
                                                     "(version INTEGER NOT NULL)")) &&
                       db.exec(query, QStringLiteral("INSERT INTO register_schema (version) "
                                                     "SELECT 0 WHERE NOT EXISTS "
                                                     "(SELECT 1 FROM register_schema)"));
            }))
            return QStringLiteral("cannot set up the module register %1: %2")
                .arg(db.location().shown(), db.lastError());
    }
    while (version < kSchemaVersion) {
        const int next = version + 1;
        bool already = false;
        const bool done = db.write([&] {
            QSqlQuery query = db.query();
            if (!db.isSqlite() &&
                !db.exec(query, QStringLiteral("LOCK TABLE register_schema IN EXCLUSIVE MODE")))
                return false;
            // Another program may have taken this step while this one waited.
            QString why;
            const int now = schemaVersion(db, &why);
            if (now < 0)
                return false;
            if (now >= next) {
                already = true;
                return true;
            }
            for (const QString &statement : steps().at(std::size_t(version)))
                if (!db.exec(query, db.dialect(statement)))
                    return false;
            return setVersion(db, next);
        });
        if (!done)
            return QStringLiteral("cannot update the module register %1 to version %2: %3")
                .arg(db.location().shown())
                .arg(next)
                .arg(db.lastError());
        QString why;
        version = already ? schemaVersion(db, &why) : next;
        if (version < 0)
            return why;
    }
    return {};
}

} // namespace zx::reg
