#include "profile/ProfileValues.h"
#include "text/Ansi.h"

#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zx::profile {
namespace {

QString wholeNumber(const QJsonValue &value, qint64 min, qint64 max, qint64 *out) {
    const double d = value.toDouble();
    if (!value.isDouble() || d != std::trunc(d))
        return QStringLiteral("expected a whole number");
    if (d < double(min) || d > double(max))
        return QStringLiteral("%1 is outside %2..%3").arg(d, 0, 'f', 0).arg(min).arg(max);
    *out = static_cast<qint64>(d);
    return {};
}

QString hexBytes(const QJsonValue &value, int size, QByteArray *out) {
    static const QRegularExpression hex(QStringLiteral("^([0-9A-Fa-f]{2})*$"));
    const QString text = value.toString();
    if (!value.isString() || !hex.match(text).hasMatch())
        return QStringLiteral("expected hexadecimal digits in pairs");
    if (text.size() != 2 * size)
        return QStringLiteral("%1 bytes given, expected %2").arg(text.size() / 2).arg(size);
    *out = QByteArray::fromHex(text.toLatin1());
    return {};
}

QString toHex(const quint8 *data, int size) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(data), size).toHex().toUpper());
}

QString codePoint(const QString &text, qsizetype at) {
    const QChar c = text.at(at);
    const char32_t code = c.isHighSurrogate() && at + 1 < text.size()
                              ? QChar::surrogateToUcs4(c, text.at(at + 1))
                              : c.unicode();
    return QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
}

QString setText(Bytes &bytes, const Entry &entry, const QJsonValue &value) {
    if (!value.isString())
        return QStringLiteral("expected a text");
    const QString text = value.toString();
    const int capacity = entry.field->capacity();
    if (const qsizetype bad = text::firstNonAnsi(text); bad >= 0) {
        // A password's characters are not shown, not even in an error.
        const QString which =
            isSecret(*entry.field)
                ? QStringLiteral("character %1").arg(bad + 1)
                : QStringLiteral("character %1 (%2)").arg(bad + 1).arg(codePoint(text, bad));
        return which + QStringLiteral(" has no Windows-1252 byte");
    }
    if (text.size() > capacity)
        return QStringLiteral("%1 characters, the slot holds %2").arg(text.size()).arg(capacity);
    const QByteArray ansi = text::toAnsi(text);
    quint8 *slot = bytes.data() + entry.offset();
    std::fill(slot, slot + 1 + capacity, quint8(0));
    slot[0] = static_cast<quint8>(ansi.size());
    std::copy(ansi.begin(), ansi.end(), slot + 1);
    return {};
}

} // namespace

QJsonValue entryValue(const Bytes &bytes, const Entry &entry) {
    const quint8 *at = bytes.data() + entry.offset();
    switch (entry.field->kind) {
    case FieldKind::Int32:
        return qFromLittleEndian<qint32>(at);
    case FieldKind::Int16:
        return qFromLittleEndian<qint16>(at);
    case FieldKind::Bool:
        return *at <= 1 ? QJsonValue(*at == 1) : QJsonValue(int(*at));
    case FieldKind::Byte:
    case FieldKind::Reserved:
        return toHex(at, entry.field->size);
    case FieldKind::ShortString:
        return text::fromAnsi(
            QByteArray(reinterpret_cast<const char *>(at + 1), textLength(bytes, entry)));
    }
    return {};
}

QString setEntryValue(Bytes &bytes, const Entry &entry, const QJsonValue &value) {
    quint8 *at = bytes.data() + entry.offset();
    qint64 number = 0;
    QString why;
    switch (entry.field->kind) {
    case FieldKind::Int32:
        why = wholeNumber(value, std::numeric_limits<qint32>::min(),
                          std::numeric_limits<qint32>::max(), &number);
        if (why.isEmpty())
            qToLittleEndian<qint32>(static_cast<qint32>(number), at);
        return why;
    case FieldKind::Int16:
        why = wholeNumber(value, std::numeric_limits<qint16>::min(),
                          std::numeric_limits<qint16>::max(), &number);
        if (why.isEmpty())
            qToLittleEndian<qint16>(static_cast<qint16>(number), at);
        return why;
    case FieldKind::Bool:
        if (value.isBool()) {
            *at = value.toBool() ? 1 : 0;
            return {};
        }
        if (!value.isDouble())
            return QStringLiteral("expected true or false");
        why = wholeNumber(value, 0, 255, &number);
        if (why.isEmpty())
            *at = static_cast<quint8>(number);
        return why;
    case FieldKind::Byte:
    case FieldKind::Reserved: {
        QByteArray raw;
        why = hexBytes(value, entry.field->size, &raw);
        if (why.isEmpty())
            std::copy(raw.begin(), raw.end(), at);
        return why;
    }
    case FieldKind::ShortString:
        return setText(bytes, entry, value);
    }
    return QStringLiteral("cannot be set");
}

int lengthByte(const Bytes &bytes, const Entry &entry) {
    return bytes[entry.offset()];
}

int textLength(const Bytes &bytes, const Entry &entry) {
    return std::min(lengthByte(bytes, entry), entry.field->capacity());
}

QByteArray remnant(const Bytes &bytes, const Entry &entry) {
    const int from = entry.offset() + 1 + textLength(bytes, entry);
    const int end = entry.offset() + 1 + entry.field->capacity();
    return QByteArray(reinterpret_cast<const char *>(bytes.data()) + from, end - from);
}

QString setRemnant(Bytes &bytes, const Entry &entry, const QJsonValue &hex) {
    const int size = entry.field->capacity() - textLength(bytes, entry);
    QByteArray raw;
    if (const QString why = hexBytes(hex, size, &raw); !why.isEmpty())
        return why + QStringLiteral(" (the slot's bytes after its text)");
    std::copy(raw.begin(), raw.end(), bytes.data() + entry.offset() + 1 + textLength(bytes, entry));
    return {};
}

QString setLengthByte(Bytes &bytes, const Entry &entry, const QJsonValue &number) {
    const int capacity = entry.field->capacity();
    qint64 value = 0;
    if (const QString why = wholeNumber(number, capacity + 1, 255, &value); !why.isEmpty())
        return QStringLiteral("length byte: ") + why;
    if (textLength(bytes, entry) != capacity)
        return QStringLiteral("a length byte above %1 needs a text of %1 characters").arg(capacity);
    bytes[entry.offset()] = static_cast<quint8>(value);
    return {};
}

} // namespace zx::profile
