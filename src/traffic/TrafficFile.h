#pragma once
// The traffic log appended to a text file of the day, as the lines the
// "Traffic" window shows in its text view, so that a log survives the
// program: ${XDG_STATE_HOME:-~/.local/state}/zentorix/traffic-YYYYMMDD.log,
// the local date of each entry choosing its file. The folder is made with
// mode 0700 and the files with 0600; a file is only ever appended to, and
// each entry goes to the file with one write(2), nothing held back in a
// buffer. It is fed the entries the TrafficLog keeps, so the password values
// are already masked.
#include "traffic/TrafficLog.h"

#include <QByteArrayView>
#include <QString>

namespace zx::traffic {

// ${XDG_STATE_HOME:-~/.local/state}/zentorix; an XDG_STATE_HOME that is not
// an absolute path counts as unset.
QString trafficFileDirectory();

class TrafficFile {
public:
    explicit TrafficFile(QString directory = trafficFileDirectory());
    ~TrafficFile();
    TrafficFile(const TrafficFile &) = delete;
    TrafficFile &operator=(const TrafficFile &) = delete;

    // Makes the folder and opens the file of the day of `msecs`. false: the
    // file stays off and errorText() says why and what to do.
    bool start(qint64 msecs);
    // Ends the last line and closes the file.
    void stop();
    bool active() const { return fd_ >= 0; }

    // An entry that continues the last line's run (same direction, same
    // millisecond) is added to that line, as the window shows it; any other
    // starts a new line, in the file of its own day. The last line is ended
    // by the next entry, by stop() or when the file is opened again. false:
    // not active, or the write failed, after which the file is off and
    // errorText() says why.
    bool append(const Entry &entry);

    QString directory() const { return directory_; }
    // The file of the day of `msecs`.
    QString pathFor(qint64 msecs) const;
    // The file open now, or the last one opened.
    QString path() const { return path_; }
    QString errorText() const { return error_; }

private:
    bool open(qint64 msecs);
    bool writeAll(QByteArrayView bytes);
    void close();
    bool fail(const QString &text);

    QString directory_;
    QString path_;
    QString error_;
    int fd_ = -1;
    // The local day of the open file, [dayStart_, dayEnd_) in ms since the epoch.
    qint64 dayStart_ = 0;
    qint64 dayEnd_ = 0;
    bool lineOpen_ = false;
    Direction lineDirection_ = Direction::Sent;
    qint64 lineMsecs_ = 0;
};

} // namespace zx::traffic
