#pragma once
// Records and profiles on disk, with errors a person can act on: each is one
// line that begins with the file's path.
#include "profile/ProfileEntries.h"
#include "settings/ConfigRecord.h"

#include <QString>

#include <optional>

namespace zx::profile {

// A record read from a settings file or a profile.
struct Source {
    settings::ConfigRecord record;
    // The entries a profile gave; none for a settings file, which gives all.
    std::optional<EntryNames> named;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// A name ending in ".json" (any case) is a profile, anything else a settings file.
bool isProfilePath(const QString &path);

// The 4096 bytes of a settings file, which is only read: a shorter or longer
// file is an error, not a record, and so is anything but a regular file (a
// FIFO would block, a device never end).
Source readRecordFile(const QString &path);
// A profile applied to base. Besides what importProfile refuses, a control
// character in any text the profile names is an error: such a text would
// end a module command early or start another.
Source readProfileFile(const QString &path, const settings::ConfigRecord &base);
// Either, by the name.
Source readSource(const QString &path, const settings::ConfigRecord &base);

// The entries both sources gave; none when both are whole records.
std::optional<EntryNames> commonEntries(const Source &a, const Source &b);

// Both write in one step with mode 0600 (they hold the passwords) and return
// empty or the error.
QString writeProfileFile(const QString &path, const settings::ConfigRecord &record);
QString writeRecordFile(const QString &path, const settings::ConfigRecord &record);

} // namespace zx::profile
