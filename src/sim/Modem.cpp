#include "sim/Modem.h"

#include "sim/AtCommands.h"

#include "gsm/PduDeliver.h"

#include <cstdlib>
#include <optional>

namespace zx::sim {
namespace {

constexpr char kCtrlZ = 0x1A;
constexpr char kEscape = 0x1B;
constexpr char kBackspace = 0x08;
constexpr qsizetype kMaxLine = 512;
constexpr qsizetype kMaxPdu = 1024;
constexpr int kMaxTpduOctets = 176;
constexpr qsizetype kMaxSmsCharacters = 160;

const QByteArray kError = "\r\nERROR\r\n";
const QByteArray kInvalidIndex = "\r\n+CMS ERROR: 321\r\n";
const QByteArray kInvalidPdu = "\r\n+CMS ERROR: 304\r\n";
const QByteArray kOk = "\r\nOK\r\n";
const QByteArray kStoreFull = "\r\n+CMS ERROR: 322\r\n";
const QByteArray kRing = "\r\nRING\r\n";
const QByteArray kRegistered = "\r\n+CREG: 1\r\n";
const QByteArray kReady = "\r\n+CPIN: READY\r\n\r\nSMS Ready\r\n";
// Where the answers stored before the start seem to come from when no
// module number is set.
const QByteArray kEarlierSender = "+4917000000";

std::optional<int> decimal(const QByteArray &text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QByteArray listingLine(const StoredMessage &message) {
    return "+CMGL: " + QByteArray::number(message.index) + ',' + QByteArray::number(message.stat) +
           ",," + QByteArray::number(tpduLength(message.pdu)) + "\r\n" + message.pdu + "\r\n";
}

QByteArray newMessageIndication(int index) {
    return "\r\n+CMTI: \"SM\"," + QByteArray::number(index) + "\r\n";
}

} // namespace

QByteArray deliverTimestamp(const QDateTime &time) {
    const int quarters = time.offsetFromUtc() / (15 * 60);
    const int fields[] = {time.date().year() % 100, time.date().month(), time.date().day(),
                          time.time().hour(),       time.time().minute(), time.time().second(),
                          std::abs(quarters)};
    QByteArray stamp;
    for (const int field : fields) {
        stamp += char('0' + field % 10);
        stamp += char('0' + field / 10);
    }
    // The zone's sign is bit 3 of its octet, the high bit of its tens digit.
    if (quarters < 0)
        stamp[13] = "0123456789ABCDEF"[(stamp[13] - '0') | 8];
    return stamp;
}

Modem::Modem(Module &module) : m_module(module) {
    m_started.start();
    m_networkClock.start();
    m_network.onModuleCommand = [this](int, const QByteArray &line) {
        if (onModuleCommand)
            onModuleCommand(line);
    };
}

Module *Modem::addModule(const QByteArray &number) {
    Module *added = m_network.addModule(number);
    if (added)
        added->setClock(
            [this] { return m_state.clock ? m_state.clock() : QDateTime::currentDateTime(); });
    return added;
}

void Modem::resetInput() {
    m_line.clear();
    m_pdu.clear();
    m_awaitingPdu = false;
}

void Modem::restart() {
    m_started.restart();
    m_readyAnnounced = false;
}

qint64 Modem::uptimeMs() const {
    return m_state.uptimeMs ? m_state.uptimeMs() : m_started.elapsed();
}

qint64 Modem::networkMs() const {
    return m_state.uptimeMs ? m_state.uptimeMs() : m_networkClock.elapsed();
}

bool Modem::isReady() const {
    return m_state.notReadyMs <= 0 || uptimeMs() >= m_state.notReadyMs;
}

QByteArray Modem::poll() {
    QByteArray out;
    if (m_state.notReadyMs > 0 && !m_readyAnnounced && isReady()) {
        m_readyAnnounced = true;
        out = kReady;
    }
    return out + deliverArrived();
}

QByteArray Modem::deliverArrived() {
    if (!m_network.isActive())
        return {};
    applyStoreCapacity();
    QByteArray indications;
    for (const QByteArray &pdu : m_network.advance(networkMs())) {
        const int index = storeOrHold(pdu);
        if (m_state.newMessageIndications && index > 0)
            indications += newMessageIndication(index);
    }
    return indications;
}

void Modem::applyStoreCapacity() {
    if (m_state.storeCapacity > 0)
        m_store.setCapacity(m_state.storeCapacity);
}

QByteArray Modem::storeAnswers(int count) {
    applyStoreCapacity();
    const QByteArray sender = m_state.moduleNumber.isEmpty() ? kEarlierSender : m_state.moduleNumber;
    QByteArray indications;
    for (int i = 1; i <= count; ++i) {
        const QByteArray text = "STORED ANSWER " + QByteArray::number(i);
        const int index =
            storeOrHold(gsm::buildDeliverPdu(sender, text, deliverTimestamp(m_state.now())));
        if (index > 0)
            indications += newMessageIndication(index);
    }
    return indications;
}

QByteArray Modem::feed(const QByteArray &bytes) {
    applyStoreCapacity();
    QByteArray out = poll();
    for (const char byte : bytes) {
        if (m_awaitingPdu) {
            if (byte == kCtrlZ) {
                m_awaitingPdu = false;
                out += submit();
            } else if (byte == kEscape) {
                m_awaitingPdu = false;
                m_pdu.clear();
                out += kOk;
            } else if (byte != '\r' && byte != '\n') {
                if (m_state.echo)
                    out += byte;
                if (m_pdu.size() <= kMaxPdu)
                    m_pdu += byte;
            }
            continue;
        }
        if (byte == kCtrlZ || byte == kEscape)
            continue;
        if (m_state.echo)
            out += byte;
        if (byte == '\r') {
            const QByteArray line = m_line;
            m_line.clear();
            out += commandLine(line);
        } else if (byte == kBackspace) {
            m_line.chop(1);
        } else if (byte != '\n' && m_line.size() < kMaxLine) {
            m_line += byte;
        }
    }
    return out;
}

// A line without "AT" in it is not a command; the modem stays silent.
QByteArray Modem::commandLine(const QByteArray &line) {
    const qsizetype start = line.toUpper().indexOf("AT");
    if (start < 0)
        return {};
    if (!isReady())
        return kError;
    QByteArray command = line.mid(start);
    while (command.endsWith(' '))
        command.chop(1);
    const QByteArray upper = command.toUpper();
    if (upper.startsWith("AT+CMGS="))
        return startSubmit(command.mid(8));
    if (upper.startsWith("AT+CMGL"))
        return listMessages(command.mid(7));
    if (upper.startsWith("AT+CMGD="))
        return deleteMessage(command.mid(8));
    if (upper.startsWith("AT+CMGR="))
        return readMessage(command.mid(8));
    return frameVerbose(answerAtCommand(m_state, command));
}

QByteArray Modem::startSubmit(const QByteArray &argument) {
    const std::optional<int> length = decimal(argument);
    if (m_state.smsFormat != 0 || !length || *length < 1 || *length > kMaxTpduOctets)
        return kError;
    if (m_state.refuseSubmitCode != 0)
        return "\r\n+CMS ERROR: " + QByteArray::number(m_state.refuseSubmitCode) + "\r\n";
    if (m_state.refuseWhenFull && isFull())
        return kStoreFull;
    m_announcedLength = *length;
    m_pdu.clear();
    m_awaitingPdu = true;
    return m_state.barePrompt ? ">" : "\r\n> ";
}

QByteArray Modem::listMessages(const QByteArray &argument) {
    std::optional<int> stat = 0;
    if (!argument.isEmpty())
        stat = argument.startsWith('=') ? decimal(argument.mid(1)) : std::nullopt;
    if (m_state.smsFormat != 0 || !stat || *stat < 0 || *stat > 4)
        return kError;
    if (m_state.emptyStoreError && m_store.size() == 0)
        return kInvalidIndex;
    QByteArray out;
    const QList<StoredMessage> listed = m_store.list(*stat);
    if (!listed.isEmpty())
        out += "\r\n";
    for (qsizetype i = 0; i < listed.size(); ++i) {
        if (i > 0 && m_state.unsolicitedInReplies)
            out += kRing;
        out += listingLine(listed[i]);
    }
    if (m_state.unsolicitedInReplies)
        out += kRegistered;
    return out + kOk;
}

QByteArray Modem::deleteMessage(const QByteArray &argument) {
    const QList<QByteArray> parts = argument.split(',');
    const std::optional<int> index = decimal(parts.value(0));
    const std::optional<int> flag = parts.size() > 1 ? decimal(parts[1]) : std::optional<int>(0);
    if (!flag || *flag < 0 || *flag > 4)
        return kError;
    if (*flag != 4 && (!index || !m_store.isValidIndex(*index)))
        return kInvalidIndex;
    if (*flag == 4)
        m_store.clear();
    else
        m_store.remove(*index);
    const QByteArray result = m_state.unsolicitedInReplies ? kRing + kOk : kOk;
    return result + releaseHeld();
}

QByteArray Modem::readMessage(const QByteArray &argument) {
    const std::optional<int> index = decimal(argument);
    if (m_state.smsFormat != 0 || !index || !m_store.isValidIndex(*index))
        return kInvalidIndex;
    const StoredMessage message = m_store.read(*index);
    if (message.pdu.isEmpty())
        return kOk;
    return "\r\n+CMGR: " + QByteArray::number(message.stat) + ",," +
           QByteArray::number(tpduLength(message.pdu)) + "\r\n" + message.pdu + "\r\n" + kOk;
}

QByteArray Modem::submit() {
    const QByteArray hex = m_pdu;
    m_pdu.clear();
    if (tpduLength(hex) != m_announcedLength)
        return kInvalidPdu;
    const gsm::SubmitPdu parsed = gsm::parseSubmitPdu(hex);
    if (!parsed.ok)
        return kInvalidPdu;
    m_state.messageReference = (m_state.messageReference + 1) & 0xFF;
    QByteArray result = "\r\n+CMGS: " + QByteArray::number(m_state.messageReference) + "\r\n";
    if (m_state.unsolicitedInReplies)
        result += kRing;
    result += kOk;
    if (m_network.isActive()) {
        QByteArray command = parsed.text;
        if (command.endsWith('\r'))
            command.chop(1);
        m_network.send(parsed.number, command, networkMs());
        return result + deliverArrived();
    }
    const int stored = deliverAnswer(parsed.number, parsed.text);
    if (m_state.newMessageIndications && stored > 0)
        result += newMessageIndication(stored);
    return result;
}

int Modem::deliverAnswer(const QByteArray &destination, const QByteArray &text) {
    QByteArray command = text;
    if (command.endsWith('\r'))
        command.chop(1);
    if (onModuleCommand)
        onModuleCommand(command);
    const QByteArray answer = m_module.answer(command).left(kMaxSmsCharacters);
    const QByteArray originator = m_state.moduleNumber.isEmpty() ? destination : m_state.moduleNumber;
    return storeOrHold(gsm::buildDeliverPdu(originator, answer, deliverTimestamp(m_state.now())));
}

// A full store loses the message unless storeCapacity is set: then the
// network keeps it for later, as a real one keeps trying.
int Modem::storeOrHold(const QByteArray &pdu) {
    const int index = m_store.add(pdu);
    if (index == 0 && m_state.storeCapacity > 0)
        m_held.append(pdu);
    return index;
}

QByteArray Modem::releaseHeld() {
    QByteArray indications;
    while (!m_held.isEmpty()) {
        const int index = m_store.add(m_held.first());
        if (index == 0)
            break;
        m_held.removeFirst();
        if (m_state.newMessageIndications)
            indications += newMessageIndication(index);
    }
    return indications;
}

} // namespace zx::sim
