#pragma once
// A fresh, empty register for each test, on each backend: an SQLite file in
// a temporary folder, or a database of its own on the PostgreSQL server that
// ZENTORIX_TEST_POSTGRESQL_URL names (skipped, with the reason, without one).
#include "register/Location.h"

#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace zx::reg::testing {

class TestRegisters {
public:
    TestRegisters() = default;
    ~TestRegisters();
    TestRegisters(const TestRegisters &) = delete;
    TestRegisters &operator=(const TestRegisters &) = delete;

    // backend: "sqlite" or "postgresql". Nothing, with *skip set to why,
    // when no server is named; with *failure set when the named one fails.
    std::optional<Location> make(const QString &backend, QString *skip, QString *failure);
    // The location as --register or the writer program takes it.
    static QString text(const Location &location);
    const QTemporaryDir &folder() const { return m_dir; }

private:
    QTemporaryDir m_dir;
    QString m_adminUrl;
    QString m_database; // made on the server, dropped at the end
};

} // namespace zx::reg::testing
