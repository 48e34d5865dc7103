#include "settings/PrivateFile.h"
#include "settings/Descriptor.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <utility>

namespace zx::settings {
namespace {

// Removes the temporary file unless it was renamed into place.
class TemporaryPath {
public:
    explicit TemporaryPath(QByteArray path) : m_path(std::move(path)) {}
    TemporaryPath(const TemporaryPath &) = delete;
    TemporaryPath &operator=(const TemporaryPath &) = delete;
    ~TemporaryPath() {
        if (!m_kept)
            ::unlink(m_path.constData());
    }

    const char *path() const { return m_path.constData(); }
    void keep() { m_kept = true; }

private:
    QByteArray m_path;
    bool m_kept = false;
};

FileResult writeFailure(int error) {
    const bool full = error == ENOSPC || error == EDQUOT;
    return {full ? FileStatus::DiskFull : FileStatus::IoError, error};
}

FileResult writeAll(int fd, QByteArrayView bytes, WriteCall write) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            write(fd, bytes.data() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return writeFailure(errno);
        if (n == 0) // no progress and no error: the disk takes no more
            return {FileStatus::DiskFull, 0};
        done += n;
    }
    return {};
}

// Makes the rename itself durable; a failure here loses nothing already written.
void syncDirectory(const QByteArray &directory) {
    Descriptor dir(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.fd());
}

// The temporary beside a file: ".NAME.zentorix-" and six characters that
// mkostemp picks. Only this tool makes names of this form.
QByteArray temporaryStem(const QFileInfo &target) {
    return "." + QFile::encodeName(target.fileName()) + ".zentorix-";
}

// A write that was killed half-way leaves its temporary file behind; the next
// good write clears such leftovers so they cannot pile up. Only what this
// tool leaves is removed: a regular file of its temporary name, owned by
// this user, with the mode 0600 it was made with.
void removeStaleTemporaries(const QFileInfo &target) {
    const QDir dir = target.absoluteDir();
    const QString stem = QFile::decodeName(temporaryStem(target));
    const QStringList leftovers =
        dir.entryList({stem + QStringLiteral("??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : leftovers) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat info {};
        if (::lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid() && (info.st_mode & 07777) == (S_IRUSR | S_IWUSR))
            ::unlink(path.constData());
    }
}

} // namespace

FileResult writePrivateFile(const QString &path, QByteArrayView bytes, WriteCall write) {
    const QByteArray target = QFile::encodeName(path);
    // A read-only file refuses to be replaced.
    if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
        return {FileStatus::AccessError, errno};

    const QFileInfo info(path);
    const QByteArray directory = QFile::encodeName(info.absolutePath());
    QByteArray pattern = directory + "/" + temporaryStem(info) + "XXXXXX";
    Descriptor file(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!file.valid())
        return {FileStatus::AccessError, errno};
    TemporaryPath temporary(pattern);

    if (::fchmod(file.fd(), S_IRUSR | S_IWUSR) != 0)
        return {FileStatus::IoError, errno};
    if (const FileResult written = writeAll(file.fd(), bytes, write); !written.ok())
        return written;
    if (::fsync(file.fd()) != 0)
        return writeFailure(errno);
    if (const int error = file.close(); error != 0)
        return writeFailure(error);
    if (::rename(temporary.path(), target.constData()) != 0)
        return {FileStatus::AccessError, errno};
    temporary.keep();
    syncDirectory(directory);
    removeStaleTemporaries(info);
    return {};
}

} // namespace zx::settings
