#pragma once
// The module register: every module the tool has met (by its normalised
// telephone number), what the user calls it, the firmware it reported, every
// run with each command's outcome, and the values each answered command
// confirmed. It lives in an SQLite file or on a PostgreSQL server (see
// Location.h); several programs may use it at once.
//
// A run is written as it happens, so that a program killed in the middle
// leaves a register that is consistent: the run's start (module, kind, port,
// operator, plan) is one transaction before its first command, each command's
// outcome one more, its end one more. A run without an end whose program is
// gone is marked interrupted when the register is next opened.
//
// Passwords are never stored: a confirmed password is kept as a salted hash,
// enough to tell "unchanged" from "changed"; command lines and answers come
// in as reports show them, with their passwords already masked.
#include "register/Database.h"
#include "register/Location.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace zx::reg {

struct ModuleInfo {
    qint64 id = 0;
    QString number; // normalised, or a port key (see ModuleNumber.h)
    QString name;
    QString site;
    QString firmware; // the answer to GETVR, empty until read
    QDateTime firmwareAt;
    QDateTime lastContact; // the start of the newest run
    QString lastOutcome;   // its outcome
    QStringList tags;
};

struct RunInfo {
    qint64 id = 0;
    QString module;
    QString kind; // "write", "read", "verify", "sms"
    QDateTime started;
    QDateTime ended; // invalid while it lasts
    QString port;
    QString operatorName;
    QString host;
    QStringList plan; // the lines it meant to send, as reports show them
    QString outcome;  // "complete", "incomplete", "cancelled", "port error", "interrupted"
    bool interrupted = false;
    int answered = 0;
    int done = 0; // commands with an outcome
};

struct CommandRow {
    int seq = 0;
    QString line;
    QString answer;
    QString status; // "answered", "no answer", ...
    qint64 firstByteMs = -1;
    qint64 endMs = -1;
    QDateTime doneAt;
};

// A value that an answered command put on the module or read from it: the
// entry's bytes as the settings record holds them.
struct Value {
    QString entry; // "AlarmNumbers[3]"
    QByteArray bytes;
    bool secret = false; // stored as a hash only
};

struct Confirmation {
    QString entry;
    std::optional<QByteArray> bytes; // nothing for a password
    QString secretHash;
    QDateTime at;
    qint64 runId = 0;
};

struct RunStart {
    QString module; // normalised number or port key
    QString kind;
    QString port;
    QStringList plan;
};

struct CommandOutcome {
    QString line;   // as a report shows it (passwords masked)
    QString answer; // likewise
    QString status;
    bool answered = false; // only an answered command confirms values
    qint64 firstByteMs = -1;
    qint64 endMs = -1;
    QList<Value> values;
    std::optional<QString> firmware; // a GETVR answer
};

class Register {
public:
    // Opens or creates the register, brings its tables up to date and marks
    // the runs of programs that are gone as interrupted. Nothing, and *error
    // set, when it cannot.
    static std::unique_ptr<Register> open(const Location &location, QString *error);
    // The register the user's setting names (see configuredLocation).
    static std::unique_ptr<Register> openConfigured(QString *error);

    const Location &location() const { return m_db.location(); }
    const QString &lastError() const { return m_db.lastError(); }
    // The copy taken before this open updated the tables, if it did.
    const QString &backupPath() const { return m_backup; }

    // Writing a run. The module is added when it is new.
    std::optional<qint64> beginRun(const RunStart &start);
    bool recordCommand(qint64 run, int seq, const CommandOutcome &outcome);
    bool finishRun(qint64 run, const QString &outcome);

    // Runs left without an end by programs that are gone, now marked
    // interrupted; -1 on an error.
    int markInterruptedRuns();
    // A run of this program that will have no end (its keeper went first),
    // marked interrupted as those of programs that are gone are.
    bool interruptRun(qint64 run);

    // Reading.
    QList<ModuleInfo> modules(const QString &tag = {});
    std::optional<ModuleInfo> module(const QString &number);
    QList<RunInfo> runs(const QString &number);
    QList<CommandRow> commands(qint64 run);
    // Every confirmation of the module, oldest first.
    QList<Confirmation> confirmations(const QString &number);

    // What the user says of a module; a module not met yet is added.
    bool describe(const QString &number, const std::optional<QString> &name,
                  const std::optional<QString> &site);
    bool addTags(const QString &number, const QStringList &tags);
    bool removeTags(const QString &number, const QStringList &tags);
    // The module kept as `from` (a port key) is `to`: its runs, the values
    // they confirmed and its tags go to `to`, which is added when new; a name,
    // site or newer firmware `to` has already stays. A password confirmed
    // under `from` no longer matches its hash, so the next "changes" sends it
    // again. False, and nothing changed, on an error or an unknown `from`.
    bool renumber(const QString &from, const QString &to);

    // For the tables kept beside the register's own (the SMS job journal).
    Database &database() { return m_db; }

    // The hash kept for a password value.
    static QString secretHash(const QString &module, const QString &entry, const QByteArray &value);

private:
    Register() = default;
    std::optional<qint64> moduleId(const QString &number, bool add);
    // 1 when the run was marked, 0 when it had ended already, -1 on an error.
    int markInterrupted(qint64 run);

    Database m_db;
    QString m_backup;
};

// Times as the register keeps them: UTC, milliseconds, ISO 8601.
QString timeText(const QDateTime &time);
QDateTime timeOf(const QVariant &value);

} // namespace zx::reg
