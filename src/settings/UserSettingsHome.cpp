#include "settings/UserSettingsHome.h"

#include "files/UserFolders.h"
#include "settings/ConfigFile.h"
#include "settings/FirstRunRecord.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zx::settings {
namespace {

SettingsHomeResult failure(const QString &what) {
    return {false, what + QStringLiteral(" Make that folder writable for your user, or start "
                                         "zentorix from a shell in a folder of your choice.")};
}

} // namespace

QString userSettingsDirectory() {
    return files::toolFolder("XDG_DATA_HOME", ".local/share");
}

SettingsHomeResult enterSettingsHome(const QString &directory) {
    if (const int error = files::makePrivatePath(directory); error != 0)
        return failure(QStringLiteral("The settings folder %1 could not be made: %2.")
                           .arg(directory, files::errnoText(error)));

    const QString file = directory + QLatin1Char('/') + QLatin1String(kConfigFileName);
    struct stat info {};
    // lstat: a link the user put there, even a dangling one, is theirs.
    if (::lstat(QFile::encodeName(file).constData(), &info) != 0) {
        if (errno != ENOENT)
            return failure(QStringLiteral("The settings file %1 could not be looked at: %2.")
                               .arg(file, files::errnoText(errno)));
        const FileResult saved = SaveCFGFile(file, firstRunRecord());
        if (!saved.ok())
            return failure(QStringLiteral("The first settings file %1 could not be written: %2.")
                               .arg(file, saved.errorCode != 0 ? files::errnoText(saved.errorCode)
                                                               : fileResultText(saved)));
    }

    if (::chdir(QFile::encodeName(directory).constData()) != 0)
        return failure(QStringLiteral("The settings folder %1 could not be entered: %2.")
                           .arg(directory, files::errnoText(errno)));
    return {};
}

} // namespace zx::settings
