#pragma once
// Files that hold passwords (the settings record, profiles) are replaced in
// one step and readable by their owner only.
#include "settings/FileResult.h"

#include <QByteArrayView>
#include <QString>

#include <sys/types.h>
#include <unistd.h>

namespace zx::settings {

// The call that writes the new file's bytes; tests put a failing one in place.
using WriteCall = ssize_t (*)(int fd, const void *data, size_t size);

// Replaces the file at path with bytes. They go to a temporary file beside
// it, which is synced, given mode 0600 and then renamed over the file, so a
// failed write leaves the old file as it was. An existing file that is not
// writable, or a directory where the temporary file cannot be made, is an
// AccessError. Temporary files (".NAME.zentorix-XXXXXX") that an
// interrupted write left beside the file are removed after a good one; a
// file of the user's is never among them.
FileResult writePrivateFile(const QString &path, QByteArrayView bytes, WriteCall write = &::write);

} // namespace zx::settings
