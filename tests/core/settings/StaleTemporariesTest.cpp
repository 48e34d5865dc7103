#include "settings/ConfigFile.h"
#include "settings/ConfigRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zx::settings;

// Only what a killed save of this tool leaves is cleared: its temporary name,
// mode 0600. A file of the user's that merely looks like one stays.
TEST(SaveCFGFile, ClearsWhatAKilledSaveLeftBehind) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString leftover = dir.filePath(QStringLiteral(".ZENTORIX.cfg.zentorix-Ab12Cd"));
    const QString unrelated = dir.filePath(QStringLiteral(".other.cfg.zentorix-Ab12Cd"));
    const QString usersOwn = dir.filePath(QStringLiteral(".ZENTORIX.cfg.Ab12Cd"));
    const QString sharedMode = dir.filePath(QStringLiteral(".ZENTORIX.cfg.zentorix-Zz99Yy"));
    for (const QString &path : {leftover, unrelated, usersOwn, sharedMode}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("half a record");
        f.close();
        const auto owner = QFile::ReadOwner | QFile::WriteOwner;
        ASSERT_TRUE(f.setPermissions(path == sharedMode ? owner | QFile::ReadGroup : owner));
    }
    ConfigRecord record;
    ASSERT_TRUE(SaveCFGFile(dir.filePath(QStringLiteral("ZENTORIX.cfg")), record).ok());
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFile::exists(unrelated));
    EXPECT_TRUE(QFile::exists(usersOwn));
    EXPECT_TRUE(QFile::exists(sharedMode));
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("ZENTORIX.cfg"))).size(), 4096);
}
