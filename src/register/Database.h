#pragma once
// One connection to the register's database, SQLite or PostgreSQL, and the
// one way to change it: a short transaction that is retried while another
// process holds the write lock, so that "database is locked" never reaches
// the user while the other writer finishes.
#include "register/Location.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>

namespace zx::reg {

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the file (making its folder 0700 and the file 0600) or connects
    // to the server; empty or the reason it could not.
    QString open(const Location &location);
    void close();

    bool isSqlite() const { return m_location.kind == Location::Kind::Sqlite; }
    const Location &location() const { return m_location; }

    // A prepared query with its values bound in order; runs it. False with
    // lastError() set when it failed.
    bool exec(QSqlQuery &query, const QString &sql, const QVariantList &values = {});
    QSqlQuery query() const { return QSqlQuery(m_db); }

    // Runs body inside one transaction (BEGIN IMMEDIATE on SQLite, so the
    // write lock is taken at the start and waited for); commits when body
    // returns true, else rolls back. A lock held by another process is
    // waited for and the transaction retried. False with lastError() set.
    bool write(const std::function<bool()> &body);

    // The last error: what failed, in words.
    const QString &lastError() const { return m_error; }

    // "{ID}" and "{REF}" in table definitions become this database's type
    // for a generated key and for a column that refers to one.
    QString dialect(QString sql) const;

private:
    bool execText(const QString &sql);
    bool busy(const QSqlError &error) const;

    Location m_location;
    QString m_name; // the Qt connection's name
    QSqlDatabase m_db;
    QString m_error;
    bool m_lastBusy = false; // the last error was another writer's lock
};

} // namespace zx::reg
