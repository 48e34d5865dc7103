#include "remote/ModemLink.h"

#include "gsm/DeliverHeader.h"
#include "gsm/PduDecoder.h"
#include "gsm/PduEncoder.h"
#include "link/ListReply.h"

namespace zx::remote {
namespace {

channel::Exchange modemExchange(const QByteArray &bytes, const QByteArray &command,
                                channel::AnswerRule::Kind kind, int timeoutMs) {
    channel::Exchange exchange;
    exchange.bytes = bytes;
    exchange.command = command;
    exchange.rule.kind = kind;
    exchange.timeoutMs = timeoutMs;
    return exchange;
}

int referenceIn(const QByteArray &answer) {
    const qsizetype at = answer.indexOf("+CMGS:");
    if (at < 0)
        return -1;
    bool ok = false;
    const int reference = answer.mid(at + 6).split('\r').value(0).trimmed().toInt(&ok);
    return ok ? reference : -1;
}

} // namespace

ModemLink::ModemLink(channel::ChannelPort &port, channel::ChannelTiming timing, ModemTimes times,
                     QObject *parent)
    : QObject(parent), m_channel(port, timing), m_times(times) {
    connect(&m_channel, &channel::CommandChannel::finished, this, &ModemLink::exchangeDone);
    connect(&m_channel, &channel::CommandChannel::unsolicited, this, [this](const QByteArray &line) {
        if (line.startsWith("+CMTI:"))
            emit messageStored();
    });
}

QByteArray ModemLink::submitCommand(const QByteArray &pdu) {
    return "AT+CMGS=" + QByteArray::number(pdu.size() / 2 - 1) + '\r';
}

void ModemLink::start() {
    m_ops.push_back(Op{Step::Start, 0, {}, 0});
    startNext();
}

int ModemLink::submit(const QByteArray &number, const QByteArray &text) {
    Op op;
    op.step = Step::Prompt;
    op.token = m_nextToken++;
    op.pdu = gsm::TextToPDUConversion(text, number);
    m_ops.push_back(op);
    startNext();
    return op.token;
}

void ModemLink::list() {
    for (const Op &op : m_ops)
        if (op.step == Step::List)
            return;
    m_ops.push_back(Op{Step::List, 0, {}, 0});
    startNext();
}

void ModemLink::remove(int index) {
    // Deleting an index twice could take a message stored there meanwhile.
    if (m_deleting.contains(index))
        return;
    m_deleting.insert(index);
    m_ops.push_back(Op{Step::Delete, 0, {}, index});
    startNext();
}

void ModemLink::cancelAll() {
    const std::deque<Op> queued = std::move(m_ops);
    m_ops.clear();
    m_deleting.clear();
    m_channel.cancelAll();
    // Submissions that never reached the modem are not on their way.
    for (const Op &op : queued)
        if (op.step == Step::Prompt || op.step == Step::Pdu)
            emit submitFailed(op.token, QStringLiteral("cancelled"), false);
}

void ModemLink::startNext() {
    if (m_active || m_ops.empty())
        return;
    m_current = m_ops.front();
    m_ops.pop_front();
    m_active = true;
    switch (m_current.step) {
    case Step::Start:
        m_exchange = m_channel.submit(modemExchange("\x1B" "AT+CMGF=0\r", "AT+CMGF=0",
                                                    channel::AnswerRule::Kind::ModemFinal, m_times.deleteMs));
        break;
    case Step::Prompt: {
        const QByteArray bytes = submitCommand(m_current.pdu);
        m_exchange = m_channel.submit(
            modemExchange(bytes, bytes.chopped(1), channel::AnswerRule::Kind::Prompt, m_times.promptMs));
        break;
    }
    case Step::Pdu: {
        const QByteArray hex = m_current.pdu.chopped(1);
        m_exchange = m_channel.submit(modemExchange(hex + '\x1A', hex,
                                                    channel::AnswerRule::Kind::ModemFinal,
                                                    m_times.submitMs));
        break;
    }
    case Step::List:
        m_exchange = m_channel.submit(modemExchange("AT+CMGL=4\r", "AT+CMGL=4",
                                                    channel::AnswerRule::Kind::ModemFinal,
                                                    m_times.listMs));
        break;
    case Step::Delete: {
        const QByteArray line = "AT+CMGD=" + QByteArray::number(m_current.index);
        m_exchange = m_channel.submit(modemExchange(line + '\r', line,
                                                    channel::AnswerRule::Kind::ModemFinal,
                                                    m_times.deleteMs));
        break;
    }
    }
}

void ModemLink::exchangeDone(int id, const channel::ExchangeResult &result) {
    if (!m_active || id != m_exchange)
        return;
    m_active = false;
    const Op op = m_current;
    if (result.outcome == channel::Outcome::PortError) {
        m_ops.clear();
        m_deleting.clear();
        if (op.step == Step::Prompt || op.step == Step::Pdu)
            emit submitFailed(op.token, result.reason, op.step == Step::Pdu);
        emit portFailed(result.reason);
        return;
    }
    const bool answered = result.outcome == channel::Outcome::Answered;
    switch (op.step) {
    case Step::Start:
        emit ready(answered, answered ? QString()
                                      : result.outcome == channel::Outcome::Refused
                                            ? QStringLiteral("the modem refused PDU mode (%1)").arg(result.reason)
                                            : QStringLiteral("the modem does not answer (%1)")
                                                  .arg(channel::outcomeName(result.outcome)));
        break;
    case Step::Prompt:
        if (answered) {
            // The PDU goes next, before anything queued meanwhile.
            Op pdu = op;
            pdu.step = Step::Pdu;
            m_ops.push_front(pdu);
        } else {
            // A modem left waiting for a PDU takes the next command as one:
            // Escape ends the wait.
            if (result.outcome != channel::Outcome::Refused)
                m_channel.submit(modemExchange("\x1B", {}, channel::AnswerRule::Kind::ModemFinal, 200));
            emit submitFailed(op.token,
                              result.outcome == channel::Outcome::Refused
                                  ? result.reason
                                  : QStringLiteral("the modem did not ask for the message (%1)")
                                        .arg(channel::outcomeName(result.outcome)),
                              false);
        }
        break;
    case Step::Pdu: {
        const int reference = answered ? referenceIn(result.answer) : -1;
        if (reference >= 0)
            emit submitted(op.token, reference);
        else
            // A refusal keeps the message; without an answer it may be on
            // its way.
            emit submitFailed(op.token,
                              result.outcome == channel::Outcome::Refused
                                  ? result.reason
                                  : QStringLiteral("the modem gave no message reference (%1)")
                                        .arg(channel::outcomeName(result.outcome)),
                              result.outcome != channel::Outcome::Refused);
        break;
    }
    case Step::List:
        listingDone(result);
        break;
    case Step::Delete:
        m_deleting.remove(op.index);
        break;
    }
    startNext();
    if (idle())
        emit idleAgain();
}

void ModemLink::listingDone(const channel::ExchangeResult &result) {
    QList<ReceivedSms> messages;
    // Some modems answer an empty store with an error instead of OK.
    if (result.outcome == channel::Outcome::Answered) {
        for (const link::ListedMessage &listed : link::parseListedMessages(result.answer)) {
            // One on its way out was dealt with already.
            if (!listed.found || m_deleting.contains(listed.index.toInt()))
                continue;
            ReceivedSms sms;
            sms.index = listed.index.toInt();
            sms.pdu = listed.pduLine.trimmed();
            const gsm::DeliverHeader header = gsm::readDeliverHeader(sms.pdu);
            if (!header.ok)
                continue;
            sms.sender = header.sender;
            sms.text = gsm::PDUTextConversion(sms.pdu);
            messages.append(sms);
        }
    }
    emit listed(messages);
}

} // namespace zx::remote
