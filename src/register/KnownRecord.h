#pragma once
// What the register knows a module holds, as a settings record: each entry
// the last answered command confirmed, with the time it did. Entries are
// named as profiles name them ("AlarmNumbers[3]", "GprsApn").
#include "register/Register.h"
#include "settings/ConfigRecord.h"

#include <QDateTime>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <QStringList>

namespace zx::reg {

struct KnownRecord {
    settings::ConfigRecord record;      // the known entries set, the rest zero
    QMap<QString, QDateTime> confirmed; // entry -> when it was last confirmed
    QMap<QString, qint64> run;          // entry -> the run that did
    QMap<QString, QString> secretHash;  // password entries: no value, a hash

    bool isEmpty() const { return confirmed.isEmpty(); }
    QSet<QString> entries() const;
    // The known entries in record order.
    QStringList orderedEntries() const;
};

// The confirmations folded in time order; with until valid, only those made
// at or before it.
KnownRecord knownRecord(const QList<Confirmation> &confirmations, const QDateTime &until = {});

// What was known when run ended (now, while it lasts): the confirmations
// up to its end, none of a later run's, even one made in the same
// millisecond.
KnownRecord knownAfterRun(const QList<Confirmation> &confirmations, const RunInfo &run);

// The entry's bytes as the register keeps them: a text as its length byte and
// characters, zero after them (what a module cannot hold is not kept).
QByteArray entryBytes(const settings::ConfigRecord &record, const QString &entry);
bool setEntryBytes(settings::ConfigRecord &record, const QString &entry, const QByteArray &bytes);

// The values of entries of record, passwords marked secret.
QList<Value> valuesOf(const settings::ConfigRecord &record, const QStringList &entries);

// A profile that names only the given entries, an array's other elements as
// null; passwords are left out (the register has none).
QJsonObject partialProfile(const settings::ConfigRecord &record, const QStringList &entries);

// One entry's value as a profile writes it, on one line: "\"+4930123\"", "7".
QString shownValue(const settings::ConfigRecord &record, const QString &entry);

struct KnownChange {
    QString entry;
    QString before; // shownValue, or "(not known)", a password "(password)"
    QString after;
    QString text() const;
};
// The entries whose known value differs between two states.
QList<KnownChange> knownChanges(const KnownRecord &before, const KnownRecord &after);

} // namespace zx::reg
