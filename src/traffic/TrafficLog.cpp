#include "traffic/TrafficLog.h"

#include "commands/messaging/GprsFtpCommands.h"

#include <QDateTime>

#include <algorithm>

namespace zx::traffic {
namespace {

namespace msg = zx::commands::messaging;

qsizetype longestKeyword() {
    qsizetype longest = 0;
    for (const QByteArray &k : PasswordMask::keywords())
        longest = std::max(longest, k.size());
    return longest;
}

bool endsLine(char c) { return c == '\r' || c == '\n' || c == '\0'; }

} // namespace

// The write keywords of the password parameters and the keys of the answers
// that carry them, as the command table has them.
const QList<QByteArray> &PasswordMask::keywords() {
    static const QList<QByteArray> keywords = [] {
        QList<QByteArray> list;
        for (int i = 0; i < msg::kGprsFtpCount; ++i) {
            if (!msg::isPasswordParameter(i))
                continue;
            const msg::GprsFtpParameter &p = msg::kGprsFtpParameters.at(std::size_t(i));
            list << QByteArray(p.writeKeyword) << QByteArray(p.answerKey) + ':';
        }
        return list;
    }();
    return keywords;
}

QByteArray PasswordMask::apply(QByteArrayView chunk) {
    static const qsizetype keep = longestKeyword();
    QByteArray out;
    out.reserve(chunk.size());
    for (const char c : chunk) {
        if (hiding_) {
            if (endsLine(c)) {
                hiding_ = false;
                out.append(c);
            } else if (!maskShown_) {
                out.append(kMask);
                maskShown_ = true;
            }
            continue;
        }
        out.append(c);
        tail_.append(c);
        if (tail_.size() > keep)
            tail_.remove(0, tail_.size() - keep);
        for (const QByteArray &keyword : keywords()) {
            if (tail_.endsWith(keyword)) {
                hiding_ = true;
                maskShown_ = false;
                tail_.clear();
                break;
            }
        }
    }
    return out;
}

TrafficLog::TrafficLog(qsizetype bound, std::function<qint64()> clock)
    : bound_(bound), clock_(std::move(clock)) {
    if (!clock_)
        clock_ = [] { return QDateTime::currentMSecsSinceEpoch(); };
}

void TrafficLog::record(Direction direction, QByteArrayView bytes) {
    if (bytes.isEmpty())
        return;
    const bool sent = direction == Direction::Sent;
    Entry entry;
    entry.bytes = (sent ? sentMask_ : receivedMask_)
                      .apply((sent ? sentPduMask_ : receivedPduMask_).apply(bytes));
    if (entry.bytes.isEmpty())
        return;
    entry.serial = nextSerial_++;
    // A clock set back keeps the log in order.
    lastMsecs_ = std::max(lastMsecs_, clock_());
    entry.msecs = lastMsecs_;
    entry.direction = direction;
    size_ += entry.bytes.size() + kEntryCost;
    entries_.push_back(std::move(entry));
    if (observer_)
        observer_(entries_.back());
    trim();
}

void TrafficLog::setBound(qsizetype bound) {
    bound_ = bound;
    trim();
}

void TrafficLog::trim() {
    while (size_ > bound_ && !entries_.empty()) {
        size_ -= entries_.front().bytes.size() + kEntryCost;
        entries_.pop_front();
    }
}

QList<Entry> TrafficLog::since(quint64 serial) const {
    const auto first = std::lower_bound(
        entries_.begin(), entries_.end(), serial,
        [](const Entry &e, quint64 s) { return e.serial < s; });
    return QList<Entry>(first, entries_.end());
}

} // namespace zx::traffic
