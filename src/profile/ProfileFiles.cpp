#include "profile/ProfileFiles.h"
#include "profile/Profile.h"
#include "settings/ConfigFile.h"
#include "settings/PrivateFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace zx::profile {
namespace {

// The file's bytes, at most limit of them, or the reason they cannot be read.
QString readFile(const QString &path, qint64 limit, QByteArray *bytes) {
    if (QFileInfo(path).isDir())
        return QStringLiteral("%1: is a directory").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    *bytes = limit < 0 ? file.readAll() : file.read(limit);
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    return {};
}

QString writeFailure(const QString &path, const settings::FileResult &result) {
    if (result.ok())
        return {};
    if (result.status == settings::FileStatus::DiskFull)
        return QStringLiteral("%1: cannot write: disk full").arg(path);
    return QStringLiteral("%1: cannot write: %2").arg(path, qt_error_string(result.errorCode));
}

} // namespace

bool isProfilePath(const QString &path) {
    return path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive);
}

Source readRecordFile(const QString &path) {
    QByteArray bytes;
    if (const QString why = readFile(path, settings::kConfigRecordSize, &bytes); !why.isEmpty())
        return {{}, {}, why};
    if (bytes.size() < settings::kConfigRecordSize)
        return {{},
                {},
                QStringLiteral("%1: only %2 bytes, a settings file holds %3 (truncated?)")
                    .arg(path)
                    .arg(bytes.size())
                    .arg(settings::kConfigRecordSize)};
    settings::ConfigRecord::Bytes image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    Source source;
    source.record.setBytes(image);
    return source;
}

Source readProfileFile(const QString &path, const settings::ConfigRecord &base) {
    QByteArray json;
    if (const QString why = readFile(path, -1, &json); !why.isEmpty())
        return {base, {}, why};
    ImportResult imported = importProfileText(json, base);
    if (!imported.ok())
        return {base, {}, QStringLiteral("%1: %2").arg(path, imported.error)};
    return {imported.record, std::move(imported.named), {}};
}

Source readSource(const QString &path, const settings::ConfigRecord &base) {
    return isProfilePath(path) ? readProfileFile(path, base) : readRecordFile(path);
}

std::optional<EntryNames> commonEntries(const Source &a, const Source &b) {
    if (a.named && b.named)
        return *a.named & *b.named;
    return a.named ? a.named : b.named;
}

QString writeProfileFile(const QString &path, const settings::ConfigRecord &record) {
    return writeFailure(path, settings::writePrivateFile(path, exportProfileText(record)));
}

QString writeRecordFile(const QString &path, const settings::ConfigRecord &record) {
    return writeFailure(path, settings::SaveCFGFile(path, record));
}

} // namespace zx::profile
