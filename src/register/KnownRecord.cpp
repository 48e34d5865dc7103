#include "register/KnownRecord.h"

#include "profile/Profile.h"
#include "profile/ProfileEntries.h"
#include "profile/ProfileValues.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cstring>

namespace zx::reg {
namespace {

bool secret(const profile::Entry &entry) { return entry.field && profile::isSecret(*entry.field); }

int orderOf(const QString &name) {
    const QList<profile::Entry> &all = profile::allEntries();
    for (qsizetype i = 0; i < all.size(); ++i)
        if (all.at(i).name() == name)
            return int(i);
    return int(all.size());
}

} // namespace

QSet<QString> KnownRecord::entries() const {
    QSet<QString> set;
    for (auto it = confirmed.cbegin(); it != confirmed.cend(); ++it)
        set.insert(it.key());
    return set;
}

QStringList KnownRecord::orderedEntries() const {
    QStringList list = confirmed.keys();
    std::stable_sort(list.begin(), list.end(),
                     [](const QString &a, const QString &b) { return orderOf(a) < orderOf(b); });
    return list;
}

QByteArray entryBytes(const settings::ConfigRecord &record, const QString &name) {
    const profile::Entry entry = profile::findEntry(name);
    if (!entry.field)
        return {};
    const auto &bytes = record.bytes();
    QByteArray value(reinterpret_cast<const char *>(bytes.data()) + entry.offset(), entry.field->size);
    if (entry.field->kind == settings::FieldKind::ShortString) {
        const int length = profile::textLength(bytes, entry);
        value[0] = char(length);
        std::fill(value.begin() + 1 + length, value.end(), '\0');
    }
    return value;
}

bool setEntryBytes(settings::ConfigRecord &record, const QString &name, const QByteArray &value) {
    const profile::Entry entry = profile::findEntry(name);
    if (!entry.field || value.size() != entry.field->size)
        return false;
    settings::ConfigRecord::Bytes bytes = record.bytes();
    std::memcpy(bytes.data() + entry.offset(), value.constData(), std::size_t(value.size()));
    record.setBytes(bytes);
    return true;
}

KnownRecord knownRecord(const QList<Confirmation> &confirmations, const QDateTime &until) {
    KnownRecord known;
    for (const Confirmation &c : confirmations) {
        if (until.isValid() && c.at > until)
            break;
        if (c.bytes) {
            if (!setEntryBytes(known.record, c.entry, *c.bytes))
                continue; // an entry this program does not know
            known.secretHash.remove(c.entry);
        } else {
            known.secretHash.insert(c.entry, c.secretHash);
        }
        known.confirmed.insert(c.entry, c.at);
        known.run.insert(c.entry, c.runId);
    }
    return known;
}

KnownRecord knownAfterRun(const QList<Confirmation> &confirmations, const RunInfo &run) {
    QList<Confirmation> upTo;
    for (const Confirmation &c : confirmations)
        if (c.runId <= run.id)
            upTo << c;
    return knownRecord(upTo, run.ended);
}

QList<Value> valuesOf(const settings::ConfigRecord &record, const QStringList &entries) {
    QList<Value> values;
    for (const QString &name : entries) {
        const profile::Entry entry = profile::findEntry(name);
        if (!entry.field)
            continue;
        Value value{name, entryBytes(record, name), secret(entry)};
        if (value.secret) // the hash is made of the text alone
            value.bytes = value.bytes.mid(1, quint8(value.bytes.at(0)));
        values << value;
    }
    return values;
}

QJsonObject partialProfile(const settings::ConfigRecord &record, const QStringList &entries) {
    QJsonObject fields;
    for (const QString &name : entries) {
        const profile::Entry entry = profile::findEntry(name);
        if (!entry.field || secret(entry))
            continue;
        const QString field = profile::fieldName(*entry.field);
        const QJsonValue value = profile::entryValue(record.bytes(), entry);
        if (entry.field->count == 1) {
            fields.insert(field, value);
            continue;
        }
        // A profile's list is whole: null keeps an element as the base has it.
        QJsonArray list = fields.value(field).toArray();
        while (list.size() < entry.field->count)
            list.append(QJsonValue::Null);
        list[entry.n - 1] = value;
        fields.insert(field, list);
    }
    return {{QStringLiteral("version"), profile::kProfileVersion}, {QStringLiteral("fields"), fields}};
}

QString shownValue(const settings::ConfigRecord &record, const QString &name) {
    const profile::Entry entry = profile::findEntry(name);
    if (!entry.field)
        return {};
    if (secret(entry))
        return QStringLiteral("(password)");
    const QJsonValue value = profile::entryValue(record.bytes(), entry);
    const QByteArray json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString KnownChange::text() const {
    return QStringLiteral("%1: %2 -> %3").arg(entry, before, after);
}

QList<KnownChange> knownChanges(const KnownRecord &before, const KnownRecord &after) {
    QSet<QString> names = before.entries() + after.entries();
    QStringList ordered(names.cbegin(), names.cend());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const QString &a, const QString &b) { return orderOf(a) < orderOf(b); });
    const QString unknown = QStringLiteral("(not known)");
    QList<KnownChange> changes;
    for (const QString &name : ordered) {
        const bool was = before.confirmed.contains(name);
        const bool is = after.confirmed.contains(name);
        if (before.secretHash.contains(name) || after.secretHash.contains(name)) {
            if (before.secretHash.value(name) != after.secretHash.value(name))
                changes.append({name, was ? QStringLiteral("(password)") : unknown,
                                is ? QStringLiteral("(another password)") : unknown});
            continue;
        }
        const QByteArray a = was ? entryBytes(before.record, name) : QByteArray();
        const QByteArray b = is ? entryBytes(after.record, name) : QByteArray();
        if (was == is && a == b)
            continue;
        changes.append({name, was ? shownValue(before.record, name) : unknown,
                        is ? shownValue(after.record, name) : unknown});
    }
    return changes;
}

} // namespace zx::reg
