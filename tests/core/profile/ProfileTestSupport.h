#pragma once
// Records for the profile tests: the golden one and records of any bytes.
#include "settings/ConfigRecord.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <ostream>
#include <random>

// Readable failure messages for QString and QStringList.
inline void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}

namespace zx::profile::testing {

inline QByteArray contentsOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline QString testData(const char *name) {
    return QStringLiteral(ZENTORIX_TEST_DATA "/") + QLatin1String(name);
}

inline settings::ConfigRecord recordOf(const QByteArray &image) {
    settings::ConfigRecord::Bytes bytes{};
    std::copy_n(image.begin(), std::min<qsizetype>(image.size(), bytes.size()), bytes.begin());
    settings::ConfigRecord record;
    record.setBytes(bytes);
    return record;
}

inline settings::ConfigRecord goldenRecord() {
    return recordOf(contentsOf(testData("golden-record.cfg")));
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

inline QByteArray imageOf(const settings::ConfigRecord &record) {
    return QByteArray(reinterpret_cast<const char *>(record.bytes().data()),
                      settings::kConfigRecordSize);
}

// "" when equal, else where they first differ.
inline std::string firstDifference(const QByteArray &a, const QByteArray &b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return "first difference at byte " + std::to_string(i);
    }
    return a.size() == b.size()
               ? std::string()
               : "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
}

} // namespace zx::profile::testing
