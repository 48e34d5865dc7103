// The first settings record: the tool's own, and the one its launcher writes
// before the first start.
#include "settings/FirstRunRecord.h"
#include "settings/ConfigFile.h"
#include "common/RecordBytes.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zx::settings::ConfigRecord;
using zx::settings::firstRunRecord;
using zx::testing::firstChangeOutside;

namespace {

constexpr int kDeleteIncomingSmsOffset = 3208;

// Runs the launcher's working-directory step with the data home given; its
// output is the directory it chose.
QString prepareWorkdir(const QString &dataHome) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZX_PREPARE_WORKDIR), {});
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QByteArray bytesOf(const ConfigRecord &record) {
    return QByteArray(reinterpret_cast<const char *>(record.bytes().data()), ConfigRecord::kSize);
}

} // namespace

TEST(FirstRunRecord, IsAllZeroButTheTickedDeleteBox) {
    const ConfigRecord record = firstRunRecord();
    EXPECT_TRUE(record.DeleteIncomingSms());
    EXPECT_EQ(record.bytes()[kDeleteIncomingSmsOffset], 1);
    EXPECT_EQ(
        firstChangeOutside(ConfigRecord().bytes(), record.bytes(), kDeleteIncomingSmsOffset, 1),
        -1);
}

TEST(FirstRunRecord, LauncherWritesItOnceAndKeepsAStoredRecord) {
    QTemporaryDir dataHome;
    ASSERT_TRUE(dataHome.isValid());
    const QString workdir = prepareWorkdir(dataHome.path());
    ASSERT_EQ(workdir, dataHome.path() + QStringLiteral("/zentorix"));
    const QString path = workdir + QStringLiteral("/ZENTORIX.cfg");

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    file.close();
    ASSERT_EQ(written.size(), ConfigRecord::kSize);
    EXPECT_EQ(written.at(kDeleteIncomingSmsOffset), 1);
    EXPECT_EQ(written, bytesOf(firstRunRecord()));
    // The tool reads it back with the box ticked.
    ConfigRecord read;
    ASSERT_EQ(zx::settings::ReadCFGFile(path, read).status, zx::settings::FileStatus::Ok);
    EXPECT_TRUE(read.DeleteIncomingSms());

    // A record saved with deletion off stays so at the next start.
    ConfigRecord saved = firstRunRecord();
    saved.setDeleteIncomingSms(false);
    ASSERT_EQ(zx::settings::SaveCFGFile(path, saved).status, zx::settings::FileStatus::Ok);
    ASSERT_EQ(prepareWorkdir(dataHome.path()), workdir);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytesOf(saved));
}
