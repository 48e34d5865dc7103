#pragma once
// What the window's port receives, on its way to the link. In setting mode
// every module command is an exchange of the port's command channel: its
// answer is handed on the moment it is whole, and what is not its answer (a
// late answer to an earlier command, the echo of the line, noise) never
// becomes it. In SMS mode every line for the modem is an exchange too: its
// reply is handed on at its final code or the prompt, echo and blank lines as
// the modem sent them, and the modem's own reports among it are handed on
// alone. Bytes that come while
// nothing waits are handed on as they come, each gathered whole.
#include "channel/CommandChannel.h"
#include "link/ReceiveGather.h"

#include <QObject>
#include <QString>

namespace zx::link {

class Link;
class LinkPort;

// How long a module command waits for the first byte of its answer.
inline constexpr int kAnswerTimeoutMs = 3000;
// How long a line for the modem waits for the first byte of its reply. A
// reply that comes later is handed on as it comes.
inline constexpr int kModemReplyTimeoutMs = 5000;
inline constexpr int kListReplyTimeoutMs = 10000;
// The network's answer to a PDU may take a minute.
inline constexpr int kSubmitResultTimeoutMs = 60000;

class LinkChannel : public QObject, private channel::ChannelPort {
    Q_OBJECT
public:
    LinkChannel(Link &link, LinkPort &port, QObject *parent = nullptr);

    void setBaud(quint32 baud);
    // A command still waiting for its answer is given up: the new one is on
    // the line at once, as the user asked, and the rest of an answer to the
    // old one is judged by the new one's rule.
    void send(const channel::Exchange &exchange);
    // SMS mode: a line for the modem, written at once like a module command.
    void askModem(const QByteArray &bytes, channel::AnswerRule::Kind kind, int timeoutMs);
    void cancel() { m_channel.cancelAll(); }
    bool waiting() const { return m_channel.busy(); }
    qsizetype strayBytes() const { return m_channel.strayBytes(); }

    void receive(const QByteArray &bytes, bool smsMode);
    void portLost(const QString &reason) { m_channel.portLost(reason); }
    // Hands on what is held now, without waiting for the line to be quiet.
    void flush();

private:
    bool write(const QByteArray &bytes) override;
    void start(const channel::Exchange &exchange, bool modemLine);
    void exchangeEnded(int id, const channel::ExchangeResult &result);
    void strayCame(const QByteArray &bytes, bool afterAnswer);
    void reportCame(const QByteArray &line);
    void moduleCommandEnded(const channel::ExchangeResult &result);
    void modemLineEnded(const channel::ExchangeResult &result);
    // The line itself came back among what was received.
    bool echoedBack(const QByteArray &received) const;
    void handOn(const QByteArray &bytes, bool answerWhole);

    Link &m_link;
    LinkPort &m_port;
    channel::CommandChannel m_channel;
    ReceiveGather m_gather;
    channel::Exchange m_exchange; // the command waiting
    int m_current = 0;
    bool m_modemLine = false; // the exchange waiting is a line for the modem
    QByteArray m_after;       // what followed its answer in the same read
};

} // namespace zx::link
