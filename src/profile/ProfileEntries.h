#pragma once
// The named values of a settings record as a profile shows them: every field
// of the record's layout under its own name, an array's elements as
// "Name[n]", and each reserved range as "Reserved" and its offset.
#include "settings/ConfigLayout.h"

#include <QList>
#include <QSet>
#include <QString>

namespace zx::profile {

using settings::FieldKind;
using settings::FieldLayout;

// Element n (1..count) of a field; a field without elements has n = 1.
struct Entry {
    const FieldLayout *field = nullptr;
    int n = 1;

    QString name() const;
    int offset() const { return field->elementOffset(n); }
};

// Names of entries; a field's own name stands for all its elements.
using EntryNames = QSet<QString>;

// The field's name in a profile: its layout name, "Reserved37" for the
// reserved range at offset 37.
QString fieldName(const FieldLayout &field);

// The field a profile names, or nullptr.
const FieldLayout *findField(const QString &name);

// The entry an element name ("GprsApn", "AlarmNumbers[3]") stands for, or
// an entry with no field.
Entry findEntry(const QString &name);

// Every entry of the record, in file order.
const QList<Entry> &allEntries();

// The passwords: a profile must hold them, but nothing shows their values.
bool isSecret(const FieldLayout &field);

// Whether names holds the entry or its whole field.
bool namesEntry(const EntryNames &names, const Entry &entry);

} // namespace zx::profile
