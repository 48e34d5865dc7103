#pragma once
// The settings file: the raw 4096-byte image of the ConfigRecord, nothing else.
#include "settings/ConfigRecord.h"
#include "settings/FileResult.h"
#include "settings/PrivateFile.h"

#include <QString>

namespace zx::settings {

// The name the window reads at start-up and saves to, in the working directory.
inline constexpr char kConfigFileName[] = "ZENTORIX.cfg";

// Opens the file for reading and writing (so a read-only or missing file is an
// AccessError and nothing is created) and loads its first 4096 bytes. A file
// shorter than that is ReadBeyondEnd; on any failure the record is unchanged.
FileResult ReadCFGFile(const QString &path, ConfigRecord &record);

// Replaces the file with the record's 4096 bytes through writePrivateFile:
// in one step, mode 0600 (the record holds passwords), and a failed save
// leaves the old file as it was. An existing file that is not writable, or a
// directory where the temporary file cannot be made, is an AccessError.
FileResult SaveCFGFile(const QString &path, const ConfigRecord &record, WriteCall write = &::write);

} // namespace zx::settings
