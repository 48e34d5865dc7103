#include "profile/ProfileEntries.h"

#include <QRegularExpression>

#include <cstring>

namespace zx::profile {

QString Entry::name() const {
    const QString base = fieldName(*field);
    return field->count > 1 ? QStringLiteral("%1[%2]").arg(base).arg(n) : base;
}

QString fieldName(const FieldLayout &field) {
    if (field.kind == FieldKind::Reserved)
        return QStringLiteral("Reserved%1").arg(field.offset);
    return QString::fromLatin1(field.name);
}

const FieldLayout *findField(const QString &name) {
    for (const FieldLayout &field : settings::kConfigLayout) {
        if (fieldName(field) == name)
            return &field;
    }
    return nullptr;
}

Entry findEntry(const QString &name) {
    static const QRegularExpression element(QStringLiteral("^(\\w+)\\[([1-9]\\d{0,2})\\]$"));
    const QRegularExpressionMatch match = element.match(name);
    if (!match.hasMatch()) {
        const FieldLayout *field = findField(name);
        return field && field->count == 1 ? Entry{field, 1} : Entry{};
    }
    const FieldLayout *field = findField(match.captured(1));
    const int n = match.captured(2).toInt();
    return field && field->count > 1 && n <= field->count ? Entry{field, n} : Entry{};
}

const QList<Entry> &allEntries() {
    static const QList<Entry> entries = [] {
        QList<Entry> list;
        for (const FieldLayout &field : settings::kConfigLayout) {
            for (int n = 1; n <= field.count; ++n)
                list.append({&field, n});
        }
        return list;
    }();
    return entries;
}

bool isSecret(const FieldLayout &field) {
    // kConfigLayout holds copies of the layout constants, so compare names.
    return std::strcmp(field.name, settings::layout::GprsPassword.name) == 0 ||
           std::strcmp(field.name, settings::layout::FtpPassword.name) == 0;
}

bool namesEntry(const EntryNames &names, const Entry &entry) {
    return names.contains(fieldName(*entry.field)) || names.contains(entry.name());
}

} // namespace zx::profile
