#include "profile/ProfileFiles.h"
#include "profile/Profile.h"
#include "settings/ConfigFile.h"
#include "files/UserFiles.h"
#include "profile/ProfileValues.h"
#include "settings/PrivateFile.h"
#include "validate/WireValues.h"

#include <algorithm>

namespace zx::profile {
namespace {

// A profile is a few dozen kilobytes; anything near this is not one.
constexpr qint64 kProfileLimit = 1024 * 1024;

// The named texts of an imported profile as they would go out: no control
// character in any of them (a CR would end the command and start another).
QString textCharacters(const settings::ConfigRecord &record, const EntryNames &named) {
    for (const Entry &entry : allEntries()) {
        if (entry.field->kind != FieldKind::ShortString || !namesEntry(named, entry))
            continue;
        const QByteArray text(reinterpret_cast<const char *>(record.bytes().data()) + entry.offset() + 1,
                              textLength(record.bytes(), entry));
        if (const QString why = validate::textCharacters(text, isSecret(*entry.field)); !why.isEmpty())
            return QStringLiteral("%1: %2").arg(entry.name(), why);
    }
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
    // One byte over the record's size tells a longer file from a whole one.
    if (const QString why = files::readRegularFile(path, settings::kConfigRecordSize + 1, &bytes);
        !why.isEmpty())
        return {{}, {}, why};
    if (bytes.size() < settings::kConfigRecordSize)
        return {{},
                {},
                QStringLiteral("%1: only %2 bytes, a settings file holds %3 (truncated?)")
                    .arg(path)
                    .arg(bytes.size())
                    .arg(settings::kConfigRecordSize)};
    if (bytes.size() > settings::kConfigRecordSize)
        return {{},
                {},
                QStringLiteral("%1: more than %2 bytes; a settings file holds exactly %2 (is it one?)")
                    .arg(path)
                    .arg(settings::kConfigRecordSize)};
    settings::ConfigRecord::Bytes image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    Source source;
    source.record.setBytes(image);
    return source;
}

Source readProfileFile(const QString &path, const settings::ConfigRecord &base) {
    QByteArray json;
    if (const QString why = files::readRegularFile(path, kProfileLimit, &json); !why.isEmpty())
        return {base, {}, why};
    ImportResult imported = importProfileText(json, base);
    if (imported.ok())
        imported.error = textCharacters(imported.record, imported.named);
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
