#include "files/UserFiles.h"
#include "files/UserFolders.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zx::files {
namespace {

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("is a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("is a FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("is a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("is a socket");
    return QStringLiteral("is not a regular file");
}

QString failure(const QString &path, const QString &why) {
    return QStringLiteral("%1: %2").arg(path, why);
}

// Closes the descriptor when it goes.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

QString readRegularFile(const QString &path, qint64 limit, QByteArray *bytes) {
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: opening a FIFO without a writer must not wait for one.
    Fd file{::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (file.fd < 0)
        return failure(path, errnoText(errno));
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        return failure(path, errnoText(errno));
    if (!S_ISREG(info.st_mode))
        return failure(path, kindOf(info.st_mode) + QStringLiteral("; give a file"));
    if (info.st_size > limit)
        return failure(path, QStringLiteral("%1 bytes, more than the %2 this file may hold")
                                 .arg(qint64(info.st_size))
                                 .arg(limit));
    QByteArray data(qsizetype(info.st_size), '\0');
    qsizetype done = 0;
    while (true) {
        if (done == data.size()) {
            if (data.size() > limit)
                break;
            data.resize(data.size() + 4096); // a file that grew while read
        }
        const ssize_t n = ::read(file.fd, data.data() + done, std::size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failure(path, errnoText(errno));
        if (n == 0)
            break;
        done += n;
    }
    data.truncate(done);
    if (data.size() > limit)
        return failure(path, QStringLiteral("more than the %1 bytes this file may hold").arg(limit));
    *bytes = data;
    return {};
}

QString checkOutput(const QString &path, bool force, const QStringList &inputs) {
    if (path.isEmpty())
        return QStringLiteral("an output file name is empty");
    const QByteArray name = QFile::encodeName(path);
    struct stat target {};
    const bool exists = ::stat(name.constData(), &target) == 0;
    struct stat link {};
    const bool named = ::lstat(name.constData(), &link) == 0;
    if (exists) {
        for (const QString &input : inputs) {
            struct stat in {};
            if (::stat(QFile::encodeName(input).constData(), &in) == 0 &&
                in.st_dev == target.st_dev && in.st_ino == target.st_ino)
                return failure(path, QStringLiteral("is also an input (%1); write to another file")
                                         .arg(input));
        }
        if (!S_ISREG(target.st_mode))
            return failure(path, kindOf(target.st_mode) + QStringLiteral("; give a file name"));
    }
    if (named && !force)
        return failure(path, exists ? QStringLiteral("exists; add --force to replace it")
                                    : QStringLiteral("is a link that leads nowhere; add --force "
                                                     "to replace it"));
    const QString folder = QFileInfo(path).absolutePath();
    struct stat dir {};
    if (::stat(QFile::encodeName(folder).constData(), &dir) != 0)
        return failure(path, QStringLiteral("the folder %1 does not exist").arg(folder));
    if (!S_ISDIR(dir.st_mode))
        return failure(path, QStringLiteral("%1 is not a folder").arg(folder));
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return failure(path, QStringLiteral("cannot write in the folder %1: %2")
                                 .arg(folder, errnoText(errno)));
    if (exists && ::access(name.constData(), W_OK) != 0)
        return failure(path, QStringLiteral("cannot be replaced: %1").arg(errnoText(errno)));
    return {};
}

} // namespace zx::files
