#pragma once
// What differs between two records, entry by entry, in file order.
#include "profile/ProfileEntries.h"
#include "settings/ConfigRecord.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

namespace zx::profile {

struct FieldChange {
    Entry entry;
    // The change is in the bytes a text slot holds beyond its text, which
    // the tool ignores; the text itself may be unchanged.
    bool remnant = false;
    // The values as a profile writes them; both null for a password.
    QJsonValue before;
    QJsonValue after;

    bool secret() const { return isSecret(*entry.field); }
    QString name() const; // "GprsApn", "AlarmNumbers[3]", "ShortTexts[9] (remnant)"
};

// Every entry whose value differs, then (for a text slot) its remnant. When
// only is given, just the entries it names. No changes means equal bytes.
QList<FieldChange> diffRecords(const settings::ConfigRecord &before,
                               const settings::ConfigRecord &after,
                               const EntryNames *only = nullptr);

// "BaudRateIndex: 2 -> 6", "GprsApn: \"old\" -> \"new\"", "GprsPassword: changed".
QString changeLine(const FieldChange &change);
// {"field": name, "old": value, "new": value}, for a password {"field": name, "changed": true}.
QJsonObject changeJson(const FieldChange &change);

} // namespace zx::profile
