#pragma once
// One entry of the record as a JSON value, and back. Numbers are numbers,
// flags are booleans, texts are Unicode (Windows-1252 in the record), and
// single kept bytes and reserved ranges are upper-case hexadecimal.
#include "profile/ProfileEntries.h"
#include "settings/ConfigRecord.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

namespace zx::profile {

using Bytes = settings::ConfigRecord::Bytes;

// A flag byte other than 0 and 1 (a file written elsewhere) is kept as its
// number, so nothing is lost.
QJsonValue entryValue(const Bytes &bytes, const Entry &entry);

// Writes value into the entry's bytes and returns empty, or returns why it
// does not fit and leaves the bytes alone. A text is written whole: its
// length, its characters and zero bytes after them to the slot's end.
QString setEntryValue(Bytes &bytes, const Entry &entry, const QJsonValue &value);

// Short strings keep bytes the tool ignores: those after the text (left over
// from a longer text stored earlier) and a length byte above the capacity.
// textLength() is what a reader takes: the length byte, at most the capacity.
int lengthByte(const Bytes &bytes, const Entry &entry);
int textLength(const Bytes &bytes, const Entry &entry);
QByteArray remnant(const Bytes &bytes, const Entry &entry);
// Both check what they are given against the slot as it stands.
QString setRemnant(Bytes &bytes, const Entry &entry, const QJsonValue &hex);
QString setLengthByte(Bytes &bytes, const Entry &entry, const QJsonValue &number);

} // namespace zx::profile
