#include "profile/Profile.h"
#include "profile/ProfileValues.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace zx::profile {
namespace {

const QString kVersion = QStringLiteral("version");
const QString kFields = QStringLiteral("fields");
const QString kRemnants = QStringLiteral("remnants");
const QString kLengthBytes = QStringLiteral("lengthBytes");

bool allZero(const QByteArray &bytes) {
    return bytes.count('\0') == bytes.size();
}

// A name from the file as an error shows it: what does not print (a line
// break above all) escaped, so the error stays one line.
QString printable(const QString &name) {
    QString shown;
    for (const QChar c : name)
        shown += c.isPrint() && (!c.isSpace() || c == QLatin1Char(' '))
                     ? QString(c)
                     : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return shown;
}

class Importer {
public:
    explicit Importer(const settings::ConfigRecord &base) : m_bytes(base.bytes()) {}

    QString run(const QJsonObject &profile) {
        for (auto it = profile.begin(); it != profile.end(); ++it) {
            if (!QStringList{kVersion, kFields, kRemnants, kLengthBytes}.contains(it.key()))
                return QStringLiteral("%1: not part of a profile").arg(printable(it.key()));
        }
        const QJsonValue version = profile.value(kVersion);
        if (!version.isDouble() || version.toDouble() != kProfileVersion)
            return QStringLiteral("version: this tool reads profiles of version %1")
                .arg(kProfileVersion);
        QString why;
        const QJsonObject fieldValues = section(profile, kFields, &why);
        const QJsonObject lengths = section(profile, kLengthBytes, &why);
        const QJsonObject rests = section(profile, kRemnants, &why);
        if (why.isEmpty())
            why = fields(fieldValues);
        // Length bytes first: they decide where a text's remnant starts.
        if (why.isEmpty())
            why = textSlots(lengths, kLengthBytes, &setLengthByte);
        if (why.isEmpty())
            why = textSlots(rests, kRemnants, &setRemnant);
        if (why.isEmpty() && m_named.isEmpty())
            why = QStringLiteral("the profile names no field; there is nothing to do");
        return why;
    }

    const Bytes &bytes() const { return m_bytes; }
    const EntryNames &named() const { return m_named; }

private:
    using SlotSetter = QString (*)(Bytes &, const Entry &, const QJsonValue &);

    // The section, empty when absent; *why keeps the first section that is
    // not an object.
    static QJsonObject section(const QJsonObject &profile, const QString &key, QString *why) {
        const QJsonValue value = profile.value(key);
        if (!value.isUndefined() && !value.isObject() && why->isEmpty())
            *why = QStringLiteral("%1: expected an object").arg(key);
        return value.toObject();
    }

    QString fields(const QJsonObject &fields) {
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            if (!findField(it.key()))
                return QStringLiteral("%1: no such field").arg(printable(it.key()));
        }
        for (const FieldLayout &field : settings::kConfigLayout) {
            const QJsonValue value = fields.value(fieldName(field));
            if (value.isUndefined())
                continue;
            const QString why = field.count == 1 ? entry({&field, 1}, value) : array(field, value);
            if (!why.isEmpty())
                return why;
        }
        return {};
    }

    QString array(const FieldLayout &field, const QJsonValue &value) {
        const QJsonArray elements = value.toArray();
        if (!value.isArray() || elements.size() != field.count)
            return QStringLiteral("%1: expected a list of %2 values (null keeps one)")
                .arg(fieldName(field))
                .arg(field.count);
        for (int n = 1; n <= field.count; ++n) {
            if (elements.at(n - 1).isNull())
                continue;
            if (const QString why = entry({&field, n}, elements.at(n - 1)); !why.isEmpty())
                return why;
        }
        return {};
    }

    QString entry(const Entry &entry, const QJsonValue &value) {
        if (const QString why = setEntryValue(m_bytes, entry, value); !why.isEmpty())
            return QStringLiteral("%1: %2").arg(entry.name(), why);
        m_named.insert(entry.name());
        return {};
    }

    QString textSlots(const QJsonObject &entries, const QString &sectionName, SlotSetter set) {
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            const Entry slot = findEntry(it.key());
            QString why;
            if (!slot.field || slot.field->kind != FieldKind::ShortString)
                why = QStringLiteral("no such text");
            else
                why = set(m_bytes, slot, it.value());
            if (!why.isEmpty())
                return QStringLiteral("%1 (%2): %3").arg(printable(it.key()), sectionName, why);
            m_named.insert(slot.name());
        }
        return {};
    }

    Bytes m_bytes;
    EntryNames m_named;
};

} // namespace

QJsonObject exportProfile(const settings::ConfigRecord &record) {
    const Bytes &bytes = record.bytes();
    QJsonObject fields;
    QJsonObject remnants;
    QJsonObject lengthBytes;
    for (const FieldLayout &field : settings::kConfigLayout) {
        QJsonArray elements;
        for (int n = 1; n <= field.count; ++n) {
            const Entry entry{&field, n};
            elements.append(entryValue(bytes, entry));
            if (field.kind != FieldKind::ShortString)
                continue;
            if (const QByteArray rest = remnant(bytes, entry); !allZero(rest))
                remnants.insert(entry.name(), QString::fromLatin1(rest.toHex().toUpper()));
            if (lengthByte(bytes, entry) > field.capacity())
                lengthBytes.insert(entry.name(), lengthByte(bytes, entry));
        }
        fields.insert(fieldName(field), field.count == 1 ? elements.first() : QJsonValue(elements));
    }
    QJsonObject profile{{kVersion, kProfileVersion}, {kFields, fields}};
    if (!remnants.isEmpty())
        profile.insert(kRemnants, remnants);
    if (!lengthBytes.isEmpty())
        profile.insert(kLengthBytes, lengthBytes);
    return profile;
}

QByteArray exportProfileText(const settings::ConfigRecord &record) {
    return QJsonDocument(exportProfile(record)).toJson(QJsonDocument::Indented);
}

ImportResult importProfile(const QJsonObject &profile, const settings::ConfigRecord &base) {
    Importer importer(base);
    ImportResult result{base, importer.run(profile), {}};
    if (result.ok()) {
        result.record.setBytes(importer.bytes());
        result.named = importer.named();
    }
    return result;
}

namespace {

// The first key an object of the text gives twice, or empty. A JSON reader
// keeps one of the two values and drops the other without a word, so a
// profile that gives a field twice (or "fields" twice) is refused instead.
std::optional<QString> repeatedKey(const QByteArray &json) {
    struct Level {
        bool object = false;
        bool expectKey = false;
        QSet<QString> keys;
    };
    QList<Level> levels;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            const qsizetype start = i;
            for (++i; i < json.size() && json[i] != '"'; ++i)
                if (json[i] == '\\')
                    ++i;
            if (levels.isEmpty() || !levels.last().object || !levels.last().expectKey)
                continue;
            // The key as JSON reads it, escapes and all.
            const QString key = QJsonDocument::fromJson("[" + json.mid(start, i - start + 1) + "]")
                                    .array()
                                    .at(0)
                                    .toString();
            levels.last().expectKey = false;
            if (levels.last().keys.contains(key))
                return key;
            levels.last().keys.insert(key);
        } else if (c == '{' || c == '[') {
            levels.append({c == '{', c == '{', {}});
        } else if ((c == '}' || c == ']') && !levels.isEmpty()) {
            levels.removeLast();
        } else if (c == ',' && !levels.isEmpty() && levels.last().object) {
            levels.last().expectKey = true;
        }
    }
    return std::nullopt;
}

// "line 3, column 7" of a byte offset, as an editor counts them (columns in bytes).
QString textPosition(const QByteArray &text, qsizetype offset) {
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    const QByteArray before = text.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return QStringLiteral("line %1, column %2").arg(before.count('\n') + 1).arg(offset - lineStart + 1);
}

} // namespace

ImportResult importProfileText(const QByteArray &json, const settings::ConfigRecord &base) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return {base,
                QStringLiteral("not valid JSON: %1 at %2")
                    .arg(parseError.errorString(), textPosition(json, parseError.offset)),
                {}};
    if (!document.isObject())
        return {base, QStringLiteral("not a profile: expected a JSON object"), {}};
    if (const std::optional<QString> key = repeatedKey(json))
        return {base,
                QStringLiteral("%1: given twice; a profile gives each key once").arg(printable(*key)),
                {}};
    return importProfile(document.object(), base);
}

} // namespace zx::profile
