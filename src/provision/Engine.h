#pragma once
// Runs a list of module commands over a Port, one at a time, in setting
// mode's framing, each an exchange of the port's command channel: an answer
// is the line its command expects, a refusal is a failure, and bytes that
// answer nothing are stray. A run whose module stays silent for several
// commands in a row stops instead of waiting out every one.
#include "channel/CommandChannel.h"
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
    int quietGapMs = 100;  // quiet after an answer line without its line end
    int timeoutMs = 3000;  // for the first byte, after the line has left
    int pollMs = 5;        // the port's polling delay during the run (the
                           // driver's shortest)
    double charMs = 1.0;   // one character on the line

    // quietGap: 40 characters, at least 100 ms (a module that pauses inside
    // an answer, or writes it in pieces); time-out 3000 ms.
    static Timing forBaud(quint32 baud);
    // Milliseconds count bytes take on the line.
    double wireMs(qsizetype count) const { return double(count) * charMs; }
};

// The outcomes of an exchange (channel::Outcome, in its order), and a
// command the run never got to.
enum class Status { Answered, Refused, NoAnswer, NotRecognised, PortError, Cancelled, NotSent };
// "answered", "refused", "no answer", "not recognised", "port error",
// "cancelled", "not sent"
QString statusName(Status status);
// Commands in a row without any answer after which a run stops.
inline constexpr int kSilentCommandsToStop = 5;

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
    QString reason;    // why it was refused or not recognised, in words
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
    // Ends the run now; the command on the line counts as cancelled.
    void cancel();
    bool running() const { return m_running; }

    const QList<CommandResult> &results() const { return m_results; }
    bool cancelled() const { return m_cancelled; }
    // The module stayed silent for kSilentCommandsToStop commands in a row.
    bool stoppedSilent() const { return m_stoppedSilent; }
    QString portError() const { return m_portError; }
    qint64 elapsedMs() const { return m_clock.isValid() ? m_clock.elapsed() : 0; }
    // Bytes that came while no command was waiting (noise, late answers).
    qsizetype strayBytes() const { return m_channel.strayBytes() - m_strayAtStart; }

    // From the port.
    void receive(const QByteArray &bytes);
    void portLost(const QString &reason);

signals:
    void progress(int done, int total);
    void finished();

private:
    class ChannelAdapter : public channel::ChannelPort {
    public:
        explicit ChannelAdapter(Port &port) : m_port(port) {}
        bool write(const QByteArray &bytes) override { return m_port.write(bytes); }

    private:
        Port &m_port;
    };

    void sendNext();
    void exchangeDone(int id, const channel::ExchangeResult &result);
    void finish();

    Port &m_port;
    Timing m_timing;
    ChannelAdapter m_adapter{m_port};
    channel::CommandChannel m_channel;
    QTimer m_kick; // starts the run from the event loop
    QElapsedTimer m_clock;
    QList<CommandResult> m_results;
    int m_current = -1;
    int m_silentInRow = 0;
    bool m_running = false;
    bool m_waiting = false;
    bool m_cancelled = false;
    bool m_stoppedSilent = false;
    QString m_portError;
    qsizetype m_strayAtStart = 0;
};

} // namespace zx::provision
