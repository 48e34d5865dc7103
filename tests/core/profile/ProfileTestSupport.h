#pragma once
// Records for the profile and zentorix-cli tests: the golden one and records
// of any bytes. Byte views come from common/RecordBytes.h.
#include "common/RecordBytes.h"
#include "settings/ConfigRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <ostream>
#include <random>

// Readable failure messages for QString and QStringList.
inline void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}

namespace zx::profile::testing {

using zx::testing::fileBytes;
using zx::testing::firstDifference;
using zx::testing::recordOf;
using zx::testing::toByteArray;

// Empty when the two texts are equal; otherwise their first differing line.
inline QString firstDifferentLine(const QByteArray &expected, const QByteArray &actual) {
    const QList<QByteArray> a = expected.split('\n');
    const QList<QByteArray> b = actual.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (a.value(i) != b.value(i) || i >= a.size() || i >= b.size())
            return QStringLiteral("line %1: expected \"%2\", found \"%3\"")
                .arg(i + 1)
                .arg(QString::fromUtf8(a.value(i)), QString::fromUtf8(b.value(i)));
    }
    return {};
}

// The path of a file of the tests' data folder (tests/data).
inline QString dataPath(const char *name) {
    return QStringLiteral(ZX_TEST_DATA_DIR "/") + QLatin1String(name);
}

inline settings::ConfigRecord goldenRecord() {
    return recordOf(zx::testing::dataFile("golden-record.cfg"));
}

// 4096 bytes from a seeded generator: length bytes above capacity, flags
// that are neither 0 nor 1, remnants everywhere.
inline settings::ConfigRecord randomRecord(unsigned seed) {
    std::mt19937 generator(seed);
    QByteArray image(settings::kConfigRecordSize, '\0');
    for (char &b : image)
        b = static_cast<char>(generator());
    return recordOf(image);
}

} // namespace zx::profile::testing
