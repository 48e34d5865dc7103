// The traffic log file: the log's entries as the window's text lines, one
// file per local day, masked passwords, appending to what is there, and a
// folder or file that cannot be written stopping it with one line saying why.
#include "traffic/TrafficFile.h"
#include "common/Wire.h"
#include "traffic/TrafficFormat.h"
#include "traffic/TrafficLog.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace zx::traffic {
namespace {

using zx::testing::framed;

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void write(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

int mode(const QString &path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// Two milliseconds before midnight, local time.
const qint64 kLateEvening =
    QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59, 998)).toMSecsSinceEpoch();

TEST(TrafficFile, EntriesGoToTheFileOfTheirDayAsTheWindowsLines) {
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("state/zentorix"));
    qint64 now = kLateEvening;
    TrafficLog log(TrafficLog::kDefaultBound, [&] { return now; });
    TrafficFile file(dir);
    ASSERT_TRUE(file.start(now)) << file.errorText().toStdString();
    log.setObserver([&](const Entry &e) { EXPECT_TRUE(file.append(e)); });

    const QByteArray secret = "gprs$ecret";
    const QByteArray setpw = framed("SETPW " + secret);
    log.record(Direction::Sent, "AT+CMGS=");
    log.record(Direction::Sent, "7\r");
    now += 1;
    log.record(Direction::Received, "\r\n> ");
    log.record(Direction::Sent, setpw.first(26));
    log.record(Direction::Sent, setpw.sliced(26));
    now += 2; // past midnight
    log.record(Direction::Received, "OK\r\nPASSWORD: " + secret + "\r\n");
    log.record(Direction::Received, "\r\n");
    now += 7;
    log.record(Direction::Sent, "AT\r");

    const QString day1 = dir + QStringLiteral("/traffic-20261208.log");
    const QString day2 = dir + QStringLiteral("/traffic-20261209.log");
    EXPECT_EQ(file.path(), day2);
    EXPECT_EQ(contents(day1), QByteArray("2026-12-08 23:59:59.998 TX AT+CMGS=7<CR>\n"
                                         "2026-12-08 23:59:59.999 RX <CR><LF>> \n"
                                         "2026-12-08 23:59:59.999 TX               "
                                         "SETUP:SETPW ********<CR><NUL>\n"));
    // Every entry is on disk as soon as it is kept; the last line ends with
    // the next entry or with stop().
    const QByteArray day2Lines =
        "2026-12-09 00:00:00.001 RX OK<CR><LF>PASSWORD:********<CR><LF><CR><LF>\n"
        "2026-12-09 00:00:00.008 TX AT<CR>";
    EXPECT_EQ(contents(day2), day2Lines);
    file.stop();
    EXPECT_FALSE(file.active());
    EXPECT_EQ(contents(day2), day2Lines + '\n');

    // The same lines as the window's text view of the same entries.
    const QList<Entry> all(log.entries().begin(), log.entries().end());
    EXPECT_EQ(contents(day1) + contents(day2),
              formatLines(all, View::Text).join(QLatin1Char('\n')).toUtf8() + '\n');
    for (const QString &path : {day1, day2}) {
        EXPECT_FALSE(contents(path).contains("$ecret")) << path.toStdString();
        EXPECT_EQ(mode(path), 0600) << path.toStdString();
    }
    EXPECT_EQ(mode(dir), 0700);
    EXPECT_EQ(mode(tmp.filePath(QStringLiteral("state"))), 0700);
}

TEST(TrafficFile, AppendsToWhatTheFileHoldsAndEndsALineLeftOpen) {
    const struct {
        const char *name;
        QByteArray before; // null: no file yet
        QByteArray kept;
    } cases[] = {
        {"no file", QByteArray(), QByteArray()},
        {"earlier run", "2026-12-08 08:00:00.000 TX AT<CR>\n",
         "2026-12-08 08:00:00.000 TX AT<CR>\n"},
        // A run that ended without stop(), as in a crash, left its last line open.
        {"crashed run", "2026-12-08 08:00:00.000 TX AT<CR>", "2026-12-08 08:00:00.000 TX AT<CR>\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir tmp;
        TrafficFile file(tmp.path());
        const QString path = file.pathFor(kLateEvening);
        if (!c.before.isNull())
            write(path, c.before);
        for (int run = 0; run < 2; ++run) {
            ASSERT_TRUE(file.start(kLateEvening)) << file.errorText().toStdString();
            Entry entry;
            entry.msecs = kLateEvening;
            entry.direction = run == 0 ? Direction::Sent : Direction::Received;
            entry.bytes = run == 0 ? "ATI\r" : "OK\r\n";
            ASSERT_TRUE(file.append(entry));
            file.stop();
        }
        EXPECT_EQ(contents(path), c.kept + "2026-12-08 23:59:59.998 TX ATI<CR>\n"
                                           "2026-12-08 23:59:59.998 RX OK<CR><LF>\n");
    }
}

TEST(TrafficFile, AFolderOrFileThatCannotBeWrittenStopsItWithOneLine) {
    const struct {
        const char *name;
        // Prepares the trap in `tmp` and gives the folder to log to.
        QString (*prepare)(const QTemporaryDir &tmp);
        bool starts;
        const char *what;
        int error;
    } cases[] = {
        {"folder under a plain file",
         [](const QTemporaryDir &tmp) {
             write(tmp.filePath(QStringLiteral("plain")), "x");
             return tmp.filePath(QStringLiteral("plain/zentorix"));
         },
         false, "The traffic log folder %1 could not be made", ENOTDIR},
        {"day file is a folder",
         [](const QTemporaryDir &tmp) {
             QDir(tmp.path()).mkpath(TrafficFile(tmp.path()).pathFor(kLateEvening));
             return tmp.path();
         },
         false, "The traffic log file %1 could not be opened", EISDIR},
        {"disk full",
         [](const QTemporaryDir &tmp) {
             QFile::link(QStringLiteral("/dev/full"),
                         TrafficFile(tmp.path()).pathFor(kLateEvening));
             return tmp.path();
         },
         true, "The traffic log file %1 could not be written", ENOSPC},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir tmp;
        TrafficFile file(c.prepare(tmp));
        const QString subject = QString::fromLatin1(c.what).contains(QLatin1String("folder"))
                                    ? file.directory()
                                    : file.pathFor(kLateEvening);
        EXPECT_EQ(file.start(kLateEvening), c.starts);
        Entry entry;
        entry.msecs = kLateEvening;
        entry.bytes = "AT\r";
        EXPECT_FALSE(file.append(entry));
        EXPECT_FALSE(file.active());
        const QString expected = QString::fromLatin1(c.what).arg(subject) + QStringLiteral(": ") +
                                 QString::fromLocal8Bit(std::strerror(c.error)) + QLatin1Char('.');
        EXPECT_TRUE(file.errorText().startsWith(expected)) << file.errorText().toStdString();
        // What to do next, on the same single line.
        EXPECT_TRUE(file.errorText().endsWith(QStringLiteral("then turn file logging on again.")))
            << file.errorText().toStdString();
        EXPECT_FALSE(file.errorText().contains(QLatin1Char('\n')));
        // Stopped for good: the next entry is not tried.
        const QString first = file.errorText();
        EXPECT_FALSE(file.append(entry));
        EXPECT_EQ(file.errorText(), first);
    }
}

} // namespace
} // namespace zx::traffic
