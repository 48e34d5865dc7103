#include "profile/ProfileDiff.h"
#include "profile/ProfileValues.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace zx::profile {
namespace {

// What a slot holds beyond its text: the remnant in hexadecimal, or the
// length byte when it is above the capacity (the text then fills the slot).
QJsonValue remnantValue(const Bytes &bytes, const Entry &entry) {
    if (lengthByte(bytes, entry) > entry.field->capacity())
        return QStringLiteral("length byte %1").arg(lengthByte(bytes, entry));
    return QString::fromLatin1(remnant(bytes, entry).toHex().toUpper());
}

// A value as JSON writes it: texts quoted and escaped.
QString shown(const QJsonValue &value) {
    const QByteArray json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

} // namespace

QString FieldChange::name() const {
    return remnant ? entry.name() + QStringLiteral(" (remnant)") : entry.name();
}

QList<FieldChange> diffRecords(const settings::ConfigRecord &before,
                               const settings::ConfigRecord &after, const EntryNames *only) {
    QList<FieldChange> changes;
    const auto add = [&](const Entry &entry, bool remnant, const QJsonValue &a,
                         const QJsonValue &b) {
        if (a == b)
            return;
        const bool hidden = isSecret(*entry.field);
        changes.append({entry, remnant, hidden ? QJsonValue() : a, hidden ? QJsonValue() : b});
    };
    for (const Entry &entry : allEntries()) {
        if (only && !namesEntry(*only, entry))
            continue;
        add(entry, false, entryValue(before.bytes(), entry), entryValue(after.bytes(), entry));
        if (entry.field->kind == FieldKind::ShortString)
            add(entry, true, remnantValue(before.bytes(), entry),
                remnantValue(after.bytes(), entry));
    }
    return changes;
}

QString changeLine(const FieldChange &change) {
    if (change.secret())
        return change.name() + QStringLiteral(": changed");
    return QStringLiteral("%1: %2 -> %3")
        .arg(change.name(), shown(change.before), shown(change.after));
}

QJsonObject changeJson(const FieldChange &change) {
    if (change.secret())
        return {{QStringLiteral("field"), change.name()}, {QStringLiteral("changed"), true}};
    return {{QStringLiteral("field"), change.name()},
            {QStringLiteral("old"), change.before},
            {QStringLiteral("new"), change.after}};
}

} // namespace zx::profile
