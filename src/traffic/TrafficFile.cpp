#include "traffic/TrafficFile.h"

#include "files/UserFolders.h"
#include "traffic/TrafficFormat.h"

#include <QDate>
#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zx::traffic {
namespace {

QDate localDay(qint64 msecs) {
    return QDateTime::fromMSecsSinceEpoch(msecs).date();
}

} // namespace

QString trafficFileDirectory() {
    return files::toolFolder("XDG_STATE_HOME", ".local/state");
}

TrafficFile::TrafficFile(QString directory) : directory_(std::move(directory)) {}

TrafficFile::~TrafficFile() {
    stop();
}

QString TrafficFile::pathFor(qint64 msecs) const {
    return directory_ + QStringLiteral("/traffic-") +
           localDay(msecs).toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
}

bool TrafficFile::start(qint64 msecs) {
    stop();
    error_.clear();
    if (const int error = files::makePrivatePath(directory_); error != 0)
        return fail(QStringLiteral("The traffic log folder %1 could not be made: %2. Make it "
                                   "writable for your user (or point XDG_STATE_HOME at a folder "
                                   "that is), then turn file logging on again.")
                        .arg(directory_, files::errnoText(error)));
    return open(msecs);
}

void TrafficFile::stop() {
    if (fd_ < 0)
        return;
    if (lineOpen_)
        writeAll("\n");
    close();
}

bool TrafficFile::append(const Entry &entry) {
    if (fd_ < 0)
        return false;
    if (entry.msecs < dayStart_ || entry.msecs >= dayEnd_) {
        stop();
        if (!open(entry.msecs))
            return false;
    }
    QString text;
    if (lineOpen_ && entry.direction == lineDirection_ && entry.msecs == lineMsecs_) {
        text = visibleText(entry.bytes);
    } else {
        if (lineOpen_)
            text = QStringLiteral("\n");
        text += formatLines({entry}, View::Text).constFirst();
    }
    lineOpen_ = true;
    lineDirection_ = entry.direction;
    lineMsecs_ = entry.msecs;
    return writeAll(text.toUtf8());
}

bool TrafficFile::open(qint64 msecs) {
    const QDate day = localDay(msecs);
    path_ = pathFor(msecs);
    fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC,
                 S_IRUSR | S_IWUSR);
    if (fd_ < 0)
        return fail(QStringLiteral("The traffic log file %1 could not be opened: %2. Make its "
                                   "folder writable for your user (or point XDG_STATE_HOME at a "
                                   "folder that is), then turn file logging on again.")
                        .arg(path_, files::errnoText(errno)));
    dayStart_ = day.startOfDay().toMSecsSinceEpoch();
    dayEnd_ = day.addDays(1).startOfDay().toMSecsSinceEpoch();
    lineOpen_ = false;
    // A line left open by a run that ended without stop() (a crash) is ended
    // first, so that the next line starts on a line of its own.
    struct stat info {};
    char last = '\n';
    if (::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
        ::pread(fd_, &last, 1, info.st_size - 1) == 1 && last != '\n')
        return writeAll("\n");
    return true;
}

bool TrafficFile::writeAll(QByteArrayView bytes) {
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, data, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            close();
            return fail(QStringLiteral("The traffic log file %1 could not be written: %2. Logging "
                                       "to the file has stopped; free some space or make the "
                                       "file writable, then turn file logging on again.")
                            .arg(path_, files::errnoText(error)));
        }
        data += written;
        left -= written;
    }
    return true;
}

void TrafficFile::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    lineOpen_ = false;
    dayStart_ = dayEnd_ = 0;
}

bool TrafficFile::fail(const QString &text) {
    error_ = text;
    return false;
}

} // namespace zx::traffic
