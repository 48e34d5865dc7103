#include "settings/UserSettingsHome.h"

#include "settings/ConfigFile.h"
#include "settings/FirstRunRecord.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace zx::settings {
namespace {

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

SettingsHomeResult failure(const QString &what) {
    return {false, what + QStringLiteral(" Make that folder writable for your user, or start "
                                         "zentorix from a shell in a folder of your choice.")};
}

// mkdir -p, each level it makes with mode 0700. Returns 0 or the errno.
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

} // namespace

QString userSettingsDirectory() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/zentorix");
}

SettingsHomeResult enterSettingsHome(const QString &directory) {
    if (const int error = makePrivatePath(directory); error != 0)
        return failure(QStringLiteral("The settings folder %1 could not be made: %2.")
                           .arg(directory, reason(error)));

    const QString file = directory + QLatin1Char('/') + QLatin1String(kConfigFileName);
    struct stat info {};
    // lstat: a link the user put there, even a dangling one, is theirs.
    if (::lstat(QFile::encodeName(file).constData(), &info) != 0) {
        if (errno != ENOENT)
            return failure(QStringLiteral("The settings file %1 could not be looked at: %2.")
                               .arg(file, reason(errno)));
        const FileResult saved = SaveCFGFile(file, firstRunRecord());
        if (!saved.ok())
            return failure(QStringLiteral("The first settings file %1 could not be written: %2.")
                               .arg(file, saved.errorCode != 0 ? reason(saved.errorCode)
                                                               : fileResultText(saved)));
    }

    if (::chdir(QFile::encodeName(directory).constData()) != 0)
        return failure(QStringLiteral("The settings folder %1 could not be entered: %2.")
                           .arg(directory, reason(errno)));
    return {};
}

} // namespace zx::settings
