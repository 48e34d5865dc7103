#include "settings/ConfigFile.h"
#include "settings/Unprivileged.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

using namespace zx::settings;
using zx::settings::testing::giveToUnprivilegedUser;
using zx::settings::testing::runUnprivileged;

namespace {

QByteArray contentsOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

mode_t modeOf(const QString &path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

QByteArray imageOf(const ConfigRecord &record) {
    return QByteArray(reinterpret_cast<const char *>(record.bytes().data()), ConfigRecord::kSize);
}

QByteArray varied(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 13 + 1);
    return bytes;
}

ConfigRecord recordOf(const QByteArray &image) {
    ConfigRecord::Bytes bytes{};
    std::copy(image.begin(), image.begin() + ConfigRecord::kSize, bytes.begin());
    ConfigRecord record;
    record.setBytes(bytes);
    return record;
}

QStringList entriesOf(const QString &directory) {
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(ConfigFile, ReservedAndKeptBytesSurviveALoadSaveCycle) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZENTORIX.cfg"));
    QByteArray original(4096, '\0');
    original[37] = '\x5A';   // first reserved byte
    original[3151] = '\xA5'; // reserved byte between the text tables
    original[3649] = '\x11'; // KeptByteA, which nothing writes
    original[4095] = '\x77'; // last byte of the file
    writeFile(path, original);

    ConfigRecord record;
    ASSERT_TRUE(ReadCFGFile(path, record).ok());
    record.setBaudRateIndex(0x0102);
    ASSERT_TRUE(SaveCFGFile(path, record).ok());

    QByteArray expected = original;
    expected[0] = '\x02';
    expected[1] = '\x01';
    EXPECT_EQ(contentsOf(path), expected);
}

TEST(ConfigFile, LongerFileLoadsItsFirstRecordAndIsSavedAsExactlyOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZENTORIX.cfg"));
    const QByteArray longer = varied(5000);
    writeFile(path, longer);

    ConfigRecord record;
    ASSERT_TRUE(ReadCFGFile(path, record).ok());
    EXPECT_EQ(imageOf(record), longer.left(4096));
    ASSERT_TRUE(SaveCFGFile(path, record).ok());
    EXPECT_EQ(contentsOf(path), longer.left(4096));
}

TEST(ConfigFile, ShortFileIsReadBeyondEndAndLeavesTheRecordUnchanged) {
    for (const int size : {0, 1, 4095}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ZENTORIX.cfg"));
        writeFile(path, varied(size));
        ConfigRecord record = recordOf(QByteArray(4096, '\x3C'));
        const ConfigRecord before = record;

        const FileResult result = ReadCFGFile(path, record);
        EXPECT_EQ(result.status, FileStatus::ReadBeyondEnd) << size;
        EXPECT_TRUE(record == before) << size;
    }
}

TEST(ConfigFile, MissingFileOrADirectoryIsAnAccessErrorAndNothingIsCreated) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("ZENTORIX.cfg"));
    const ConfigRecord before = recordOf(varied(4096));
    for (const QString &path : {missing, dir.path()}) {
        ConfigRecord record = before;
        EXPECT_EQ(ReadCFGFile(path, record).status, FileStatus::AccessError) << path.toStdString();
        EXPECT_TRUE(record == before);
    }
    EXPECT_TRUE(entriesOf(dir.path()).isEmpty());
}

TEST(ConfigFile, SaveWritesAPrivateFileAndSavingAgainWritesTheSameBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZENTORIX.cfg"));
    writeFile(path, "an older, shorter file");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    ConfigRecord record;
    record.setGprsPassword("secret");
    record.setRtVariant(true);

    ASSERT_TRUE(SaveCFGFile(path, record).ok());
    const QByteArray first = contentsOf(path);
    EXPECT_EQ(first, imageOf(record));
    EXPECT_EQ(modeOf(path), mode_t(0600));

    ASSERT_TRUE(SaveCFGFile(path, record).ok());
    EXPECT_EQ(contentsOf(path), first);
    EXPECT_EQ(modeOf(path), mode_t(0600));
    EXPECT_EQ(entriesOf(dir.path()), QStringList{QStringLiteral("ZENTORIX.cfg")});
}

TEST(ConfigFile, WriteFailuresAreReportedAndKeepTheOldFile) {
    struct Case {
        const char *what;
        WriteCall write;
        FileStatus status;
        int errorCode;
    } const cases[] = {
        {"disk full after a partial write",
         [](int fd, const void *data, size_t size) -> ssize_t {
             if (size < 4096) {
                 errno = ENOSPC;
                 return -1;
             }
             return ::write(fd, data, 1000);
         },
         FileStatus::DiskFull, ENOSPC},
        {"quota exceeded",
         [](int, const void *, size_t) -> ssize_t {
             errno = EDQUOT;
             return -1;
         },
         FileStatus::DiskFull, EDQUOT},
        {"no progress", [](int, const void *, size_t) -> ssize_t { return 0; },
         FileStatus::DiskFull, 0},
        {"device error",
         [](int, const void *, size_t) -> ssize_t {
             errno = EIO;
             return -1;
         },
         FileStatus::IoError, EIO},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ZENTORIX.cfg"));
        const QByteArray old = varied(4096);
        writeFile(path, old);
        ConfigRecord record;
        record.setModuleNumber("+4912345");

        const FileResult result = SaveCFGFile(path, record, c.write);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.errorCode, c.errorCode);
        EXPECT_EQ(contentsOf(path), old);
        EXPECT_EQ(entriesOf(dir.path()), QStringList{QStringLiteral("ZENTORIX.cfg")});
    }
}

TEST(ConfigFile, WritesThatTakeOnlyPartOfTheRecordAreContinued) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZENTORIX.cfg"));
    const ConfigRecord record = recordOf(varied(4096));
    const WriteCall dribble = [](int fd, const void *data, size_t size) -> ssize_t {
        return ::write(fd, data, std::min<size_t>(size, 1000));
    };
    ASSERT_TRUE(SaveCFGFile(path, record, dribble).ok());
    EXPECT_EQ(contentsOf(path), imageOf(record));
}

TEST(ConfigFile, ReadOnlyFileRefusesBothReadAndSave) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZENTORIX.cfg"));
    const QByteArray old = varied(4096);
    writeFile(path, old);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    ASSERT_TRUE(giveToUnprivilegedUser(dir.path()) && giveToUnprivilegedUser(path));
    const QByteArray name = QFile::encodeName(path);

    const auto readStatus = runUnprivileged([&] {
        if (::access(name.constData(), R_OK) != 0)
            return 99; // the child cannot even see the file: the check would prove nothing
        ConfigRecord record;
        const FileResult result = ReadCFGFile(path, record);
        return static_cast<int>(result.status) + (record == ConfigRecord() ? 0 : 50);
    });
    const auto saveStatus =
        runUnprivileged([&] { return static_cast<int>(SaveCFGFile(path, ConfigRecord()).status); });
    if (!readStatus || !saveStatus)
        GTEST_SKIP() << "cannot run a child process without root's rights";

    EXPECT_EQ(*readStatus, static_cast<int>(FileStatus::AccessError));
    EXPECT_EQ(*saveStatus, static_cast<int>(FileStatus::AccessError));
    EXPECT_EQ(contentsOf(path), old);
    EXPECT_EQ(entriesOf(dir.path()), QStringList{QStringLiteral("ZENTORIX.cfg")});
}

TEST(ConfigFile, SaveInAReadOnlyDirectoryIsAnAccessErrorAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZENTORIX.cfg"));
    const QByteArray old = varied(4096);
    writeFile(path, old);
    ASSERT_TRUE(giveToUnprivilegedUser(dir.path()) && giveToUnprivilegedUser(path));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    const QByteArray name = QFile::encodeName(path);

    const auto saveStatus = runUnprivileged([&] {
        if (::access(name.constData(), R_OK | W_OK) != 0)
            return 99; // the file itself must be writable for this case
        ConfigRecord record;
        record.setFtpHost("ftp.example.org");
        return static_cast<int>(SaveCFGFile(path, record).status);
    });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755); // let the directory be removed
    if (!saveStatus)
        GTEST_SKIP() << "cannot run a child process without root's rights";

    EXPECT_EQ(*saveStatus, static_cast<int>(FileStatus::AccessError));
    EXPECT_EQ(contentsOf(path), old);
    EXPECT_EQ(entriesOf(dir.path()), QStringList{QStringLiteral("ZENTORIX.cfg")});
}

TEST(FileResult, TextsOfEachOutcome) {
    struct Case {
        FileResult result;
        const char *text;
    } const cases[] = {
        {{FileStatus::Ok, 0}, ""},
        {{FileStatus::AccessError, EACCES}, "ZENTORIX.cfg access error"},
        {{FileStatus::ReadBeyondEnd, 0}, "Read beyond end of file"},
        {{FileStatus::DiskFull, ENOSPC}, "Disk full"},
        {{FileStatus::IoError, 5}, "I/O error 5"},
        {{FileStatus::IoError, 121}, "I/O error 121"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(fileResultText(c.result), QString::fromLatin1(c.text));
}
