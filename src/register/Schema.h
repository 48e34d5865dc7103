#pragma once
// The register's tables and how a database gets from any older version to
// this one: one transaction per version step, the version number kept in
// PRAGMA user_version (SQLite) or the table register_schema (PostgreSQL),
// and a copy of an SQLite file taken before the first step runs.
#include "register/Database.h"

#include <QString>

namespace zx::reg {

inline constexpr int kSchemaVersion = 3;

// The version the database holds: 0 for a new one.
int schemaVersion(Database &db, QString *error);

// Brings the database to kSchemaVersion. Empty, or what failed; a database
// of a newer version than this program knows is refused, not changed.
// backupPath, when given, receives the copy's path if one was taken.
QString migrate(Database &db, QString *backupPath = nullptr);

} // namespace zx::reg
