// A save on a file system that is full: "Disk full", and the old settings
// stay whole. Needs root to mount a small tmpfs; skipped elsewhere.
#include "settings/ConfigFile.h"
#include "settings/ConfigRecord.h"
#include "settings/FileResult.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

using namespace zx::settings;

namespace {

class SmallTmpfs {
public:
    explicit SmallTmpfs(const QString &dir) : path_(QFile::encodeName(dir)) {
        mounted_ = ::geteuid() == 0 &&
                   ::mount("tmpfs", path_.constData(), "tmpfs", 0, "size=8k,mode=0700") == 0;
    }
    ~SmallTmpfs() {
        if (mounted_)
            ::umount(path_.constData());
    }
    bool mounted() const { return mounted_; }

private:
    QByteArray path_;
    bool mounted_ = false;
};

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(FullDisk, SaveSaysDiskFullAndKeepsTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SmallTmpfs fs(dir.path());
    if (!fs.mounted())
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";

    const QString settings = dir.filePath(QStringLiteral("ZENTORIX.cfg"));
    ConfigRecord old;
    old.setModuleNumber("+4911111");
    ASSERT_TRUE(SaveCFGFile(settings, old).ok());
    const QByteArray before = readAll(settings);
    ASSERT_EQ(before.size(), 4096);

    // Fill what is left of the file system.
    {
        QFile filler(dir.filePath(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

    ConfigRecord next;
    next.setModuleNumber("+4922222");
    const FileResult result = SaveCFGFile(settings, next);
    EXPECT_EQ(result.status, FileStatus::DiskFull);
    EXPECT_EQ(fileResultText(result), QStringLiteral("Disk full"));
    EXPECT_EQ(readAll(settings), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2)
        << "the temporary file of the failed save is gone";
}
