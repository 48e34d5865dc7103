#include "files/UserFolders.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace zx::files {

QString toolFolder(const char *xdgVariable, const char *fallbackUnderHome) {
    QString base = qEnvironmentVariable(xdgVariable);
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QLatin1Char('/') + QLatin1String(fallbackUnderHome);
    return base + QStringLiteral("/zentorix");
}

int makePrivatePath(const QString &directory) {
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(directory));
    QString path;
    for (const QString &part : clean.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + part;
        if (::mkdir(QFile::encodeName(path).constData(), S_IRWXU) != 0 && errno != EEXIST)
            return errno;
    }
    struct stat info {};
    if (::stat(QFile::encodeName(clean).constData(), &info) != 0)
        return errno;
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

QString errnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

} // namespace zx::files
