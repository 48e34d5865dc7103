#pragma once
// The record of a provisioning run, as JSON or CSV: the port, the baud rate,
// start and end, one row per command (line sent, answer, milliseconds to
// first byte and to end, status), totals, and what a verify found. A
// password is never written: its line shows as the keyword and
// "(password)"; an answer shows as "(password)" when its command carries
// one or when it holds a password key or the echo of a password line,
// whatever command it came with (see shownAnswer); a read-back difference
// shows as "differs".
#include "provision/Engine.h"
#include "provision/ReadPlan.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace zx::provision {

struct Report {
    QString port;
    quint32 baud = 0;
    QDateTime started;
    QDateTime ended;
    QList<CommandResult> results;
    bool cancelled = false;
    bool stoppedSilent = false; // the module stayed silent for several commands in a row
    QString portError;
    qsizetype strayBytes = 0;
    QStringList skipped;        // entries the plan could not carry
    bool verified = false;      // a read-back was compared
    QList<Mismatch> mismatches; // read-back differs from what was written
    QStringList unverifiable;
    QStringList unread;         // to be verified, but their answer was not read

    int count(Status status) const;
    // The same among the commands of one kind ("write", "read", "send"), so
    // that a write's summary does not count its verify's reads.
    int count(Status status, const QString &kind) const;
    int commands(const QString &kind) const;
    // Every command answered and, after a verify, nothing differs.
    bool allAnswered() const { return count(Status::Answered) == results.size(); }
    bool ok() const {
        return allAnswered() && mismatches.isEmpty() && unread.isEmpty() && portError.isEmpty();
    }
    // "stopped at command 12 of 180 (SETTX12 ...): port error: ...", why a
    // silent run stopped, or empty.
    QString stopText() const;

    QJsonObject toJson() const;
    QByteArray toCsv() const;
};

// The line and the answer as a report may show them.
QString shownLine(const Command &command);
QString shownAnswer(const CommandResult &result);

} // namespace zx::provision
