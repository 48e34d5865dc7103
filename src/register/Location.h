#pragma once
// Where the module register lives: an SQLite file of this user (the default,
// ${XDG_DATA_HOME:-~/.local/share}/zentorix/register.sqlite) or a PostgreSQL
// database a team shares, named by a URL.
#include <QString>

#include <optional>

namespace zx::reg {

struct Location {
    enum class Kind { Sqlite, Postgresql };
    Kind kind = Kind::Sqlite;
    QString path; // the SQLite file
    // PostgreSQL: postgresql://[user[:password]@][host][:port]/database
    QString host;
    int port = -1;
    QString user;
    QString password;
    QString database;
    QString options; // "?a=b&c=d" as libpq connection options

    // What messages show: the file, or the URL without its password.
    QString shown() const;
};

QString defaultSqlitePath();

// The register this user chose, when no --register is given: $ZENTORIX_REGISTER,
// else the first line of ${XDG_CONFIG_HOME:-~/.config}/zentorix/register,
// else empty (the default file).
QString configuredLocation();

// Empty: the default file. "postgresql://..." or "postgres://...": a server.
// Anything else: an SQLite file by its path. Nothing, and *error set, for a
// URL that cannot be read.
std::optional<Location> parseLocation(const QString &text, QString *error);

} // namespace zx::reg
