#include "TestRegisters.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <unistd.h>

namespace zx::reg::testing {
namespace {

int databaseCount = 0;

// Runs one statement on the server's own database, outside any transaction.
QString onServer(const QString &url, const QString &sql) {
    QString error;
    const std::optional<Location> admin = parseLocation(url, &error);
    if (!admin)
        return error;
    const QString name = QStringLiteral("zentorix-test-admin");
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(admin->host);
        if (admin->port > 0)
            db.setPort(admin->port);
        db.setUserName(admin->user);
        db.setPassword(admin->password);
        db.setDatabaseName(admin->database);
        if (!db.open())
            result = db.lastError().text();
        else if (QSqlQuery query(db); !query.exec(sql))
            result = query.lastError().text();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

TestRegisters::~TestRegisters() {
    if (!m_database.isEmpty())
        onServer(m_adminUrl, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
}

std::optional<Location> TestRegisters::make(const QString &backend, QString *skip,
                                            QString *failure) {
    if (backend == QLatin1String("sqlite")) {
        Location location;
        location.path = m_dir.filePath(QStringLiteral("zentorix/register.sqlite"));
        return location;
    }
    m_adminUrl = qEnvironmentVariable("ZENTORIX_TEST_POSTGRESQL_URL");
    if (m_adminUrl.isEmpty()) {
        *skip = QStringLiteral("no PostgreSQL server: ZENTORIX_TEST_POSTGRESQL_URL is not set "
                               "(.ci/run starts one and sets it)");
        return std::nullopt;
    }
    const QString database =
        QStringLiteral("zentorix_test_%1_%2").arg(::getpid()).arg(++databaseCount);
    if (const QString why = onServer(m_adminUrl, QStringLiteral("CREATE DATABASE %1").arg(database));
        !why.isEmpty()) {
        *failure = QStringLiteral("cannot make a database on %1: %2").arg(m_adminUrl, why);
        return std::nullopt;
    }
    m_database = database;
    QString error;
    std::optional<Location> location = parseLocation(m_adminUrl, &error);
    location->database = database;
    return location;
}

QString TestRegisters::text(const Location &location) {
    if (location.kind == Location::Kind::Sqlite)
        return location.path;
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setHost(location.host);
    url.setPort(location.port);
    url.setUserName(location.user);
    url.setPassword(location.password);
    url.setPath(QLatin1Char('/') + location.database);
    return url.toString();
}

} // namespace zx::reg::testing
