#pragma once
// Outcome of reading or saving the settings file, and the text the user sees.
#include <QString>

namespace zx::settings {

enum class FileStatus {
    Ok,
    AccessError,   // the file cannot be opened for reading and writing, or not replaced
    ReadBeyondEnd, // the file holds fewer bytes than one record
    DiskFull,      // the disk took fewer bytes than the record
    IoError,       // any other read or write error; errorCode holds errno
};

struct FileResult {
    FileStatus status = FileStatus::Ok;
    int errorCode = 0; // errno of the failing call, 0 when there was none

    bool ok() const { return status == FileStatus::Ok; }
};

// The message for a failed result, empty for Ok. The access error names the
// settings file whatever path was used.
QString fileResultText(const FileResult &result);

} // namespace zx::settings
