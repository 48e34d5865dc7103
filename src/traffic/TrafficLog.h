#pragma once
// What went over the serial line, sent and received, one entry per chunk with
// its time in milliseconds, in a ring bounded by bytes and kept apart from
// the reception memo. The values of the GPRS/FTP password lines, written and
// answered, are masked before an entry is kept, so they are never held in clear;
// in SMS mode, so are the PDUs that carry them.
#include "traffic/Direction.h"
#include "traffic/PduPasswordMask.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <deque>
#include <functional>

namespace zx::traffic {

struct Entry {
    quint64 serial = 0; // counts up from 1, never reused
    qint64 msecs = 0;   // milliseconds since the epoch, never decreasing
    Direction direction = Direction::Sent;
    QByteArray bytes;
};

// One direction's stream with the password values replaced by a mask: after
// "SETPW " / "SETPF " or "PASSWORD:" / "Password FTP:" everything up to the
// next CR, LF or NUL shows as one kMask, also when a keyword or a value is
// split over several chunks.
class PasswordMask {
public:
    static constexpr char kMask[] = "********";
    QByteArray apply(QByteArrayView chunk);

    // "SETPW ", "SETPF ", "PASSWORD:", "Password FTP:", from the command table.
    static const QList<QByteArray> &keywords();

private:
    QByteArray tail_; // the last bytes seen, to find a keyword split over chunks
    bool hiding_ = false;
    bool maskShown_ = false;
};

class TrafficLog {
public:
    // The newest 4 MiB, counting each entry's bytes and kEntryCost for its record.
    static constexpr qsizetype kDefaultBound = 4 * 1024 * 1024;
    static constexpr qsizetype kEntryCost = 64;

    explicit TrafficLog(qsizetype bound = kDefaultBound, std::function<qint64()> clock = {});

    // Masks, stamps and keeps a chunk; drops the oldest entries beyond the bound.
    // Nothing is kept for a chunk the masks leave empty: one held back whole
    // (part of a PDU line) comes out with a later chunk of its direction.
    void record(Direction direction, QByteArrayView bytes);
    // Called with each entry as it is kept (already masked), before older
    // entries are dropped; empty for none. It must not set another observer.
    void setObserver(std::function<void(const Entry &)> observer) { observer_ = std::move(observer); }
    // A new bound; the oldest entries beyond it go at once.
    void setBound(qsizetype bound);

    const std::deque<Entry> &entries() const { return entries_; }
    // The entries still held whose serial is at least `serial`.
    QList<Entry> since(quint64 serial) const;
    quint64 nextSerial() const { return nextSerial_; }
    qsizetype size() const { return size_; }
    qsizetype bound() const { return bound_; }

private:
    void trim();

    qsizetype bound_;
    std::function<qint64()> clock_;
    std::function<void(const Entry &)> observer_;
    std::deque<Entry> entries_;
    qsizetype size_ = 0;
    quint64 nextSerial_ = 1;
    qint64 lastMsecs_ = 0;
    PduPasswordMask sentPduMask_{Direction::Sent};
    PduPasswordMask receivedPduMask_{Direction::Received};
    PasswordMask sentMask_;
    PasswordMask receivedMask_;
};

} // namespace zx::traffic
