#include "link/LinkChannel.h"

#include "link/CommandFrame.h"
#include "link/Link.h"
#include "text/Ansi.h"

#include <utility>

namespace zx::link {

LinkChannel::LinkChannel(Link &link, LinkPort &port, QObject *parent)
    : QObject(parent), m_link(link), m_port(port),
      m_channel(*this, channel::ChannelTiming::forBaud(9600)) {
    connect(&m_channel, &channel::CommandChannel::finished, this, &LinkChannel::exchangeEnded);
    connect(&m_channel, &channel::CommandChannel::strayReceived, this, &LinkChannel::strayCame);
    connect(&m_channel, &channel::CommandChannel::unsolicited, this, &LinkChannel::reportCame);
    connect(&m_gather, &ReceiveGather::gathered, this,
            [this](const QByteArray &bytes) { handOn(bytes, !m_link.view().smsMode()); });
}

void LinkChannel::setBaud(quint32 baud) {
    m_channel.setTiming(channel::ChannelTiming::forBaud(baud));
    m_gather.setBaud(baud);
}

void LinkChannel::send(const channel::Exchange &exchange) { start(exchange, false); }

void LinkChannel::start(const channel::Exchange &exchange, bool modemLine) {
    m_channel.cancelAll(channel::CommandChannel::AfterCancel::SendAtOnce);
    m_exchange = exchange;
    m_modemLine = modemLine;
    m_current = m_channel.submit(exchange);
}

void LinkChannel::askModem(const QByteArray &bytes, channel::AnswerRule::Kind kind,
                           int timeoutMs) {
    channel::Exchange exchange;
    exchange.bytes = bytes;
    // The modem echoes the line, or the PDU with its Ctrl-Z.
    exchange.command = bytes;
    while (exchange.command.endsWith('\r') || exchange.command.endsWith('\x1A'))
        exchange.command.chop(1);
    exchange.rule = {kind, {}};
    exchange.timeoutMs = timeoutMs;
    // A listing is read by position within the reply as it came.
    exchange.blankLinesKept = true;
    start(exchange, true);
}

bool LinkChannel::write(const QByteArray &bytes) { return m_port.send(bytes); }

void LinkChannel::receive(const QByteArray &bytes, bool smsMode) {
    // The channel judges everything; what it sets aside while a command
    // waits is in the traffic log, never in the memo (strayCame).
    m_gather.setSmsMode(smsMode);
    m_channel.receive(bytes);
    // In SMS mode what the modem says counts when it is handed on whole.
    if (!smsMode && bytes.count('\0') < bytes.size())
        m_link.bytesArrived();
}

// Bytes outside any exchange are handed on as they come: those while no
// command waits, and what followed an answer in the same read (once the
// answer is taken, exchangeEnded).
void LinkChannel::strayCame(const QByteArray &bytes, bool afterAnswer) {
    if (afterAnswer)
        m_after += bytes;
    else if (!m_channel.busy())
        m_gather.receive(bytes);
}

// A modem's own report in the middle of a reply (a new message stored) is
// acted on at once, alone.
void LinkChannel::reportCame(const QByteArray &line) {
    if (m_channel.busy() && m_link.view().smsMode())
        handOn(line + "\r\n", false);
}

void LinkChannel::flush() {
    m_channel.flushPending();
    m_gather.flush();
}

bool LinkChannel::echoedBack(const QByteArray &received) const {
    QByteArray lines = received;
    lines.replace('\0', QByteArray());
    for (const QByteArray &line : lines.split('\n'))
        if (channel::judgeLine(m_exchange.rule, m_exchange.command, line.trimmed()) ==
            channel::LineVerdict::Echo)
            return true;
    return false;
}

void LinkChannel::handOn(const QByteArray &bytes, bool answerWhole) {
    m_link.CommPortDriver1ReceiveData(bytes.constData(), unsigned(bytes.size()));
    if (answerWhole)
        m_link.AnswerComplete();
}

// What followed the answer in the same read: a module's lines show after
// its answer, in the order they came; a modem's reports there are taken
// before its reply, since what they say changes what the reply leads to.
void LinkChannel::exchangeEnded(int id, const channel::ExchangeResult &result) {
    const QByteArray after = std::exchange(m_after, QByteArray());
    const bool waited = id == m_current;
    if (waited && !m_modemLine) {
        moduleCommandEnded(result);
        m_gather.receive(after);
        return;
    }
    m_gather.receive(after);
    if (waited)
        modemLineEnded(result);
}

void LinkChannel::moduleCommandEnded(const channel::ExchangeResult &result) {
    LinkView &view = m_link.view();
    const QString command = quotedCommand(m_exchange.command);
    switch (result.outcome) {
    case channel::Outcome::Answered:
        handOn(result.answer, true);
        break;
    case channel::Outcome::Refused:
        handOn(result.answer, true);
        view.showStatusMessage(QStringLiteral("The module refused %1 (%2).")
                                   .arg(command, text::fromAnsi(result.answer.trimmed())));
        break;
    case channel::Outcome::NoAnswer:
        view.showStatusMessage(
            QStringLiteral("No answer to %1 in %2 s: check the cable, the port, the baud rate "
                           "and parity, and that the module is in setting mode.")
                .arg(command)
                .arg(kAnswerTimeoutMs / 1000));
        break;
    case channel::Outcome::NotRecognised:
        if (echoedBack(result.answer)) {
            view.showStatusMessage(
                QStringLiteral("%1 came back as sent: a modem with its echo on is on this "
                               "port. Choose the module's port on \"Serial Port\", or tick "
                               "\"SMS mode\".")
                    .arg(command));
            break;
        }
        view.showStatusMessage(
            QStringLiteral("What came back is not an answer to %1 (it is in the traffic log): "
                           "check the baud rate and parity, and that the module is in setting "
                           "mode.")
                .arg(command));
        break;
    case channel::Outcome::PortError:
        // A port that was not open has been reported when the command was given.
        if (m_port.connected())
            view.showStatusMessage(
                QStringLiteral("%1 could not be written: %2.").arg(command, result.reason));
        break;
    case channel::Outcome::Cancelled:
        break;
    }
}

// A reply is handed on whole, refusals too: the link's SMS mode reads them.
// Nothing came, or only the echo and lines that answer nothing: a reply still
// to come is handed on as it comes.
void LinkChannel::modemLineEnded(const channel::ExchangeResult &result) {
    if (result.outcome == channel::Outcome::Answered ||
        result.outcome == channel::Outcome::Refused)
        handOn(result.answer, false);
}

} // namespace zx::link
