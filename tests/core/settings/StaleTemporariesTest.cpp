#include "settings/ConfigFile.h"
#include "settings/ConfigRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zx::settings;

TEST(SaveCFGFile, ClearsWhatAKilledSaveLeftBehind) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString leftover = dir.filePath(QStringLiteral(".ZENTORIX.cfg.Ab12Cd"));
    const QString unrelated = dir.filePath(QStringLiteral(".other.cfg.Ab12Cd"));
    for (const QString &path : {leftover, unrelated}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("half a record");
    }
    ConfigRecord record;
    ASSERT_TRUE(SaveCFGFile(dir.filePath(QStringLiteral("ZENTORIX.cfg")), record).ok());
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFile::exists(unrelated));
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("ZENTORIX.cfg"))).size(), 4096);
}
