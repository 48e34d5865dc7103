#include "settings/UserSettingsHome.h"

#include "../../serial/ScopedEnvironment.h"
#include "settings/ConfigFile.h"
#include "settings/FirstRunRecord.h"
#include "settings/Unprivileged.h"

#include "common/RecordBytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

using namespace zx::settings;
using zx::settings::testing::giveToUnprivilegedUser;
using zx::settings::testing::runUnprivileged;
using zx::testing::fileBytes;
using zx::testing::toByteArray;

namespace {

// The tests move the process's working directory; this puts it back.
class WorkingDirectoryGuard {
public:
    WorkingDirectoryGuard() : m_saved(QDir::currentPath()) {}
    ~WorkingDirectoryGuard() { QDir::setCurrent(m_saved); }
    WorkingDirectoryGuard(const WorkingDirectoryGuard &) = delete;
    WorkingDirectoryGuard &operator=(const WorkingDirectoryGuard &) = delete;

private:
    QString m_saved;
};

mode_t modeOf(const QString &path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TEST(UserSettingsHome, FollowsXdgDataHomeOnlyWhenItIsAnAbsolutePath) {
    ScopedEnvironment home("HOME");
    ScopedEnvironment dataHome("XDG_DATA_HOME");
    home.set("/home/tester");
    const struct {
        const char *dataHome; // nullptr: unset
        const char *expected;
    } cases[] = {
        {nullptr, "/home/tester/.local/share/zentorix"},
        {"", "/home/tester/.local/share/zentorix"},
        {"relative/data", "/home/tester/.local/share/zentorix"},
        {"/srv/data", "/srv/data/zentorix"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.dataHome ? c.dataHome : "(unset)");
        if (c.dataHome)
            dataHome.set(c.dataHome);
        else
            dataHome.unset();
        EXPECT_EQ(userSettingsDirectory(), QString::fromLatin1(c.expected));
    }
}

TEST(UserSettingsHome, FirstStartMakesAPrivateFolderWithTheFirstRunRecordAndWorksThere) {
    WorkingDirectoryGuard guard;
    QTemporaryDir root;
    const QString data = root.filePath(QStringLiteral("data"));
    const QString folder = data + QStringLiteral("/share/zentorix");

    const SettingsHomeResult result = enterSettingsHome(folder);

    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(QDir::currentPath(), QDir(folder).canonicalPath());
    const QString file = folder + QStringLiteral("/ZENTORIX.cfg");
    EXPECT_EQ(fileBytes(file), toByteArray(firstRunRecord()));
    EXPECT_EQ(modeOf(file), 0600u);
    for (const QString &level : {data, data + QStringLiteral("/share"), folder})
        EXPECT_EQ(modeOf(level), 0700u) << level.toStdString();
    // The window reads the name alone, in the working directory.
    ConfigRecord record;
    EXPECT_TRUE(ReadCFGFile(QString::fromLatin1(kConfigFileName), record).ok());
    EXPECT_TRUE(record.DeleteIncomingSms());
}

TEST(UserSettingsHome, WhateverIsAlreadyNamedZentorixCfgIsLeftAsItIs) {
    WorkingDirectoryGuard guard;
    QTemporaryDir root;
    const QString elsewhere = root.filePath(QStringLiteral("elsewhere.cfg"));
    writeFile(elsewhere, QByteArray(4096, 'E'));
    const struct {
        const char *what;
        QByteArray contents; // a file of these bytes, or
        QString linkTarget;  // a symbolic link to this
    } cases[] = {
        {"a saved record", QByteArray(4096, '\x5a'), {}},
        {"a file too short to read", QByteArray("broken"), {}},
        {"a link to a record kept elsewhere", {}, elsewhere},
        {"a dangling link", {}, root.filePath(QStringLiteral("gone.cfg"))},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = root.filePath(QStringLiteral("home%1").arg(++n));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/ZENTORIX.cfg");
        if (c.linkTarget.isEmpty())
            writeFile(file, c.contents);
        else
            ASSERT_TRUE(QFile::link(c.linkTarget, file));

        ASSERT_TRUE(enterSettingsHome(folder).ok);

        if (c.linkTarget.isEmpty()) {
            EXPECT_EQ(fileBytes(file), c.contents);
        } else {
            EXPECT_EQ(QFileInfo(file).symLinkTarget(), c.linkTarget);
        }
    }
    EXPECT_EQ(fileBytes(elsewhere), QByteArray(4096, 'E'));
    EXPECT_FALSE(QFile::exists(root.filePath(QStringLiteral("gone.cfg"))));
}

TEST(UserSettingsHome, AFolderThatCannotBeMadeIsReportedAndTheWorkingDirectoryStays) {
    WorkingDirectoryGuard guard;
    QTemporaryDir root;
    const QString notAFolder = root.filePath(QStringLiteral("share"));
    writeFile(notAFolder, "a file where a folder should be");
    const QString before = QDir::currentPath();

    const SettingsHomeResult result = enterSettingsHome(notAFolder + QStringLiteral("/zentorix"));

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(
        result.message.startsWith(QStringLiteral("The settings folder ") + notAFolder +
                                  QStringLiteral("/zentorix could not be made: Not a directory.")))
        << result.message.toStdString();
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST(UserSettingsHome, AFolderTheUserCannotWriteIsReportedNotEntered) {
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("zentorix"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(giveToUnprivilegedUser(root.path()) && giveToUnprivilegedUser(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);

    const auto outcome = runUnprivileged([&] {
        const QString before = QDir::currentPath();
        const SettingsHomeResult result = enterSettingsHome(folder);
        if (result.ok)
            return 1;
        if (!result.message.contains(QStringLiteral("could not be written: Permission denied")))
            return 2;
        return QDir::currentPath() == before ? 0 : 3;
    });
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    if (!outcome)
        GTEST_SKIP() << "cannot run a child process without root's rights";
    EXPECT_EQ(*outcome, 0);
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/ZENTORIX.cfg")));
}
