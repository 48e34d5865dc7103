#pragma once
// The one way to talk to an open port: exchanges run one at a time, first in
// first out, each paired with its own answer. The owner hands in what the
// port receives as it arrives; an answer completes as soon as its rule sees
// it, a line without its line end after a quiet gap of the line, and an
// exchange never waits longer than its time-out plus the time a whole answer
// takes. Bytes that are not the answer (late answers, noise, echoes, a
// modem's own reports) are stray: counted, reported, never the next answer.
#include "channel/Exchange.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

namespace zx::channel {

class ChannelPort {
public:
    virtual ~ChannelPort() = default;
    // Buffer send; false when the port failed.
    virtual bool write(const QByteArray &bytes) = 0;
};

struct ChannelTiming {
    double charMs = 1.0;      // one character on the line (10 bit times)
    int quietGapMs = 100;     // ends a line that has no line end
    int answerCapBytes = 4096;

    // quietGap: 40 characters, at least 100 ms.
    static ChannelTiming forBaud(quint32 baud);
    int wireMs(qsizetype count) const;
};

class CommandChannel : public QObject {
    Q_OBJECT
public:
    CommandChannel(ChannelPort &port, ChannelTiming timing, QObject *parent = nullptr);

    void setTiming(ChannelTiming timing) { m_timing = timing; }
    // Queues the exchange, and on an idle line writes it at once;
    // finished(id, ...) follows, also before submit returns when the write
    // itself fails.
    int submit(const Exchange &exchange);
    // The exchange on the line and every queued one end as cancelled, now.
    // The next command waits for the line to be quiet, unless it is to go
    // out at once: an answer still coming is then judged by its rule.
    enum class AfterCancel { WaitForQuiet, SendAtOnce };
    void cancelAll(AfterCancel after = AfterCancel::WaitForQuiet);
    bool busy() const { return m_active || !m_queue.isEmpty(); }
    qsizetype strayBytes() const { return m_strayBytes; }

    // From the port's owner.
    void receive(const QByteArray &bytes);
    // Nothing more is coming for now: a line without its line end is judged
    // without waiting for the quiet gap.
    void flushPending();
    void portLost(const QString &reason);

signals:
    void finished(int id, const zx::channel::ExchangeResult &result);
    // afterAnswer: the bytes followed the answer of the exchange now ending
    // in the same read; finished() for it comes next.
    void strayReceived(const QByteArray &bytes, bool afterAnswer);
    void unsolicited(const QByteArray &line);

private:
    struct Pending {
        int id = 0;
        Exchange exchange;
    };

    void startNext();
    void writeCurrent();
    // What becomes of what follows the last line end.
    enum class Partial { Wait, IfQuietEnds, Judge };
    void takeLines(Partial partial);
    bool quietEndsLine() const;
    void complete(Outcome outcome, const QByteArray &answer = {}, const QString &reason = {});
    void timedOut();
    bool isPrompt(const QByteArray &pending) const;
    void stray(const QByteArray &bytes, bool afterAnswer = false);
    void noticeReports(const QByteArray &bytes);
    qint64 sinceWrite() const { return m_clock.elapsed() - m_writtenAtMs; }

    ChannelPort &m_port;
    ChannelTiming m_timing;
    QElapsedTimer m_clock;
    QTimer m_quiet;   // a line without its line end is over
    QTimer m_timeout; // no answer in time
    QTimer m_kick;    // next exchange, from the event loop
    QList<Pending> m_queue;
    Pending m_current;
    ExchangeResult m_result;
    bool m_active = false;
    QByteArray m_pending;  // received, not yet a whole line
    QByteArray m_received; // everything this exchange received
    QByteArray m_reply;    // a modem reply's lines before its final code
    QByteArray m_between;  // received outside exchanges, not yet a whole line
    bool m_foreign = false;
    bool m_settle = false; // the last exchange timed out: wait for quiet first
    qint64 m_settleFromMs = 0;
    qint64 m_lastByteMs = -1;
    qint64 m_writtenAtMs = 0;
    qsizetype m_strayBytes = 0;
    int m_nextId = 1;
};

} // namespace zx::channel
