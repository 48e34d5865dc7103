#pragma once
// The user's own files as the command line meets them: an input is read
// only when it is a regular file (a FIFO or a device would block or never
// end), and an output is checked before anything is sent, so that a run
// never ends by finding that its report cannot be written, nor replaces a
// file the user did not mean to give up.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zx::files {

// The file's bytes, at most limit of them (more is an error naming the
// limit), or one line beginning with the path that says why not.
QString readRegularFile(const QString &path, qint64 limit, QByteArray *bytes);

// Whether path may be written as an output: empty, or one line beginning
// with the path. Refused: one of the inputs (the same file by any name), a
// folder, a FIFO, a device or socket, an existing file or link (even one
// that leads nowhere) unless force is given, a folder that is missing or
// not writable.
QString checkOutput(const QString &path, bool force, const QStringList &inputs = {});

} // namespace zx::files
