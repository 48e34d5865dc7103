#include "register/Database.h"

#include "files/UserFolders.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zx::reg {
namespace {

QAtomicInt connectionCount;

// Long enough for another process's longest transaction (a run's start, one
// command's outcome, a migration), short enough that a stuck one is told.
constexpr int kBusyTimeoutMs = 10000;
constexpr int kBusyRetries = 6;

// Makes the file 0600 before SQLite opens it, so that it is never readable
// by others, not even for a moment.
QString makePrivateFile(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    if (fd < 0)
        return QStringLiteral("cannot open the module register %1: %2")
            .arg(path, files::errnoText(errno));
    ::close(fd);
    return {};
}

} // namespace

Database::~Database() { close(); }

void Database::close() {
    if (m_name.isEmpty())
        return;
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
}

QString Database::open(const Location &location) {
    close();
    m_location = location;
    m_name = QStringLiteral("zentorix-register-%1").arg(connectionCount.fetchAndAddRelaxed(1));
    if (isSqlite()) {
        const QFileInfo file(location.path);
        if (const int error = files::makePrivatePath(file.absolutePath()))
            return QStringLiteral("cannot make the folder of the module register %1: %2")
                .arg(file.absolutePath(), files::errnoText(error));
        if (const QString why = makePrivateFile(file.absoluteFilePath()); !why.isEmpty())
            return why;
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(file.absoluteFilePath());
        m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    } else {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        m_db.setHostName(location.host);
        if (location.port > 0)
            m_db.setPort(location.port);
        m_db.setUserName(location.user);
        m_db.setPassword(location.password);
        m_db.setDatabaseName(location.database);
        m_db.setConnectOptions(location.options);
    }
    if (!m_db.isValid())
        return QStringLiteral("cannot open the module register: the Qt SQL driver %1 is missing "
                              "(install %2)")
            .arg(m_db.driverName(), isSqlite() ? QStringLiteral("libqt6sql6-sqlite")
                                               : QStringLiteral("libqt6sql6-psql"));
    if (!m_db.open())
        return QStringLiteral("cannot open the module register %1: %2")
            .arg(location.shown(), m_db.lastError().text());
    if (isSqlite()) {
        // WAL lets the window read while the command line writes; NORMAL
        // sync is safe with WAL (a crash loses at most the last commit, never
        // the file's consistency).
        for (const char *pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL",
                                   "PRAGMA foreign_keys=ON"})
            if (!execText(QLatin1String(pragma)))
                return QStringLiteral("cannot set up the module register %1: %2")
                    .arg(location.path, m_error);
        execText(QStringLiteral("PRAGMA busy_timeout=%1").arg(kBusyTimeoutMs));
    } else {
        execText(QStringLiteral("SET client_min_messages TO WARNING"));
    }
    return {};
}

bool Database::exec(QSqlQuery &query, const QString &sql, const QVariantList &values) {
    // PostgreSQL prepares only queries and changes of rows, not CREATE or
    // LOCK: a statement without values goes as it is.
    if (values.isEmpty()) {
        if (query.exec(sql))
            return true;
        m_error = query.lastError().text();
        m_lastBusy = busy(query.lastError());
        return false;
    }
    if (!query.prepare(sql)) {
        m_error = query.lastError().text();
        return false;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        m_lastBusy = busy(query.lastError());
        return false;
    }
    return true;
}

bool Database::execText(const QString &sql) {
    QSqlQuery query(m_db);
    if (!query.exec(sql)) {
        m_error = query.lastError().text();
        m_lastBusy = busy(query.lastError());
        return false;
    }
    return true;
}

bool Database::busy(const QSqlError &error) const {
    if (!isSqlite())
        // serialization_failure, deadlock_detected
        return error.nativeErrorCode() == QLatin1String("40001") ||
               error.nativeErrorCode() == QLatin1String("40P01");
    // SQLITE_BUSY and SQLITE_LOCKED, with or without their extended codes.
    const int code = error.nativeErrorCode().toInt();
    return (code & 0xff) == 5 || (code & 0xff) == 6;
}

bool Database::write(const std::function<bool()> &body) {
    for (int attempt = 0;; ++attempt) {
        m_lastBusy = false;
        if (execText(isSqlite() ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"))) {
            m_lastBusy = false;
            if (body() && execText(QStringLiteral("COMMIT")))
                return true;
            const QString why = m_error;
            const bool wasBusy = m_lastBusy;
            execText(QStringLiteral("ROLLBACK"));
            m_error = why;
            m_lastBusy = wasBusy;
        }
        if (!m_lastBusy || attempt + 1 >= kBusyRetries)
            return false;
        QThread::msleep(20u << attempt);
    }
}

QString Database::dialect(QString sql) const {
    sql.replace(QLatin1String("{ID}"), isSqlite() ? QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT")
                                                  : QLatin1String("BIGSERIAL PRIMARY KEY"));
    sql.replace(QLatin1String("{REF}"), isSqlite() ? QLatin1String("INTEGER") : QLatin1String("BIGINT"));
    return sql;
}

} // namespace zx::reg
