#pragma once
// Runs a list of module commands over a Port, one at a time, in setting
// mode's framing, and pairs each with the module's answer. Event-driven: it
// waits on the port's receive events and two single-shot timers, never in a
// loop. An answer ends at a quiet gap on the line; see Timing.
#include "provision/Port.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

namespace zx::provision {

// How long the engine waits, from the character time of the line (10 bit
// times per byte: 1.04 ms at 9600 baud, 0.087 ms at 115200).
struct Timing {
    int lineEndGapMs = 6;  // quiet after an answer that ends in LF
    int quietGapMs = 100;  // quiet after an answer that does not
    int timeoutMs = 3000;  // for the first byte, after the line has left
    int pollMs = 5;        // the port's polling delay during the run (the
                           // driver's shortest)
    double charMs = 1.0;   // one character on the line

    // lineEndGap: 3 characters, at least one receive poll and a millisecond;
    // quietGap: 40 characters, at least 100 ms (a module that pauses inside
    // an answer, or writes it in pieces); time-out 3000 ms.
    static Timing forBaud(quint32 baud);
    // Milliseconds count bytes take on the line.
    double wireMs(qsizetype count) const { return double(count) * charMs; }
};

enum class Status { Answered, NoAnswer, PortError, NotSent };
QString statusName(Status status); // "answered", "no answer", "port error", "not sent"

struct Command {
    QByteArray line;    // before framing
    QString field;      // the record entries it carries or reads
    bool secret = false; // line or answer carries a password
    QString kind = QStringLiteral("write"); // "write", "read", "send"
};

struct CommandResult {
    Command command;
    Status status = Status::NotSent;
    QByteArray answer; // as received, NULs and all
    qint64 sentAtMs = -1;     // from the start of the run
    qint64 firstByteMs = -1;  // from the end of sending
    qint64 endMs = -1;        // last byte, from the end of sending
    qsizetype bytesSent = 0;
};

class Engine : public QObject {
    Q_OBJECT
public:
    Engine(Port &port, Timing timing, QObject *parent = nullptr);

    // Starts sending; finished() follows, also for an empty list.
    void start(const QList<Command> &commands);
    // The command on the line finishes or times out; nothing further is sent.
    void cancel();
    bool running() const { return m_running; }

    const QList<CommandResult> &results() const { return m_results; }
    bool cancelled() const { return m_cancelled; }
    QString portError() const { return m_portError; }
    qint64 elapsedMs() const { return m_clock.isValid() ? m_clock.elapsed() : 0; }
    // Bytes that came while no command was waiting (noise, late answers).
    qsizetype strayBytes() const { return m_stray; }

    // From the port.
    void receive(const QByteArray &bytes);
    void portLost(const QString &reason);

signals:
    void progress(int done, int total);
    void finished();

private:
    void sendNext();
    void complete(Status status);
    void finish();

    Port &m_port;
    Timing m_timing;
    QTimer m_gap;
    QTimer m_timeout;
    QTimer m_kick; // starts the run from the event loop
    QElapsedTimer m_clock;
    QList<CommandResult> m_results;
    int m_current = -1;
    qint64 m_sendEndMs = 0;
    bool m_running = false;
    bool m_waiting = false;
    bool m_cancelled = false;
    QString m_portError;
    qsizetype m_stray = 0;
};

} // namespace zx::provision
