#pragma once
// Byte views of a settings record, shared by the core and the window tests.
// Records are built here byte by byte at the format's offsets, not through
// the code under test.
#include "settings/ConfigLayout.h"
#include "settings/ConfigRecord.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zx::testing {

inline QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A file of the tests' data folder (tests/data).
inline QByteArray dataFile(const char *name) {
    return fileBytes(QStringLiteral(ZX_TEST_DATA_DIR "/") + QString::fromLatin1(name));
}

inline void int32At(QByteArray &r, int offset, qint32 v) {
    for (int i = 0; i < 4; ++i)
        r[offset + i] = char((quint32(v) >> (8 * i)) & 0xFF);
}

inline qint32 int32Of(const QByteArray &r, int offset) {
    quint32 v = 0;
    for (int i = 0; i < 4; ++i)
        v |= quint32(quint8(r[offset + i])) << (8 * i);
    return qint32(v);
}

inline void textAt(QByteArray &r, int offset, const QByteArray &text) {
    r[offset] = char(text.size());
    r.replace(offset + 1, text.size(), text);
}

inline QByteArray slice(const settings::ConfigRecord::Bytes &bytes, int offset, int size) {
    return QByteArray(reinterpret_cast<const char *>(bytes.data()) + offset, size);
}

inline QByteArray toByteArray(const settings::ConfigRecord &record) {
    return slice(record.bytes(), 0, settings::kConfigRecordSize);
}

inline settings::ConfigRecord recordOf(const QByteArray &bytes) {
    settings::ConfigRecord::Bytes b{};
    for (int i = 0; i < settings::kConfigRecordSize && i < bytes.size(); ++i)
        b[std::size_t(i)] = quint8(bytes[i]);
    settings::ConfigRecord record;
    record.setBytes(b);
    return record;
}

// The first byte outside [offset, offset + size) that differs, or -1.
inline int firstChangeOutside(const settings::ConfigRecord::Bytes &before,
                              const settings::ConfigRecord::Bytes &after, int offset, int size) {
    for (int i = 0; i < settings::ConfigRecord::kSize; ++i) {
        if ((i < offset || i >= offset + size) && before[i] != after[i])
            return i;
    }
    return -1;
}

// "AlarmNumbers[3] (offset 3735)": the field of the layout table a byte belongs to.
inline QString fieldAt(int offset) {
    for (const settings::FieldLayout &f : settings::kConfigLayout) {
        const int stride = f.stride > 0 ? f.stride : f.size;
        const int end = f.offset + stride * (f.count - 1) + f.size;
        if (offset < f.offset || offset >= end)
            continue;
        const QString name = QString::fromLatin1(f.name);
        if (f.count == 1)
            return QStringLiteral("%1 (offset %2)").arg(name).arg(offset);
        const int n = (offset - f.offset) / stride + 1;
        return QStringLiteral("%1[%2] (offset %3)").arg(name).arg(n).arg(offset);
    }
    return QStringLiteral("offset %1").arg(offset);
}

// Empty when the two images are equal; otherwise where they first differ,
// with both bytes.
inline QString firstDifference(const QByteArray &expected, const QByteArray &actual) {
    if (expected.size() != actual.size())
        return QStringLiteral("sizes differ: %1 expected, %2 found")
            .arg(expected.size())
            .arg(actual.size());
    for (int i = 0; i < expected.size(); ++i)
        if (expected[i] != actual[i])
            return QStringLiteral("first difference at %1: expected 0x%2, found 0x%3")
                .arg(fieldAt(i))
                .arg(quint8(expected[i]), 2, 16, QLatin1Char('0'))
                .arg(quint8(actual[i]), 2, 16, QLatin1Char('0'));
    return {};
}

} // namespace zx::testing
