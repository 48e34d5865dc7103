#include "sim/SmsNetwork.h"

#include "sim/Modem.h"

#include "gsm/PduDeliver.h"

#include <QJsonArray>

#include <algorithm>

namespace zx::sim {
namespace {

constexpr qsizetype kMaxSmsCharacters = 160;
// A held-back answer with nothing after it comes anyway after another
// longest delay, and never sooner than this.
constexpr qint64 kLeastHoldMs = 10000;

// The read commands whose answers the count file shows for each module.
const char *const kStateCommands[] = {"GETNR1", "GETNR2", "GETNR3", "GETNR4", "GETNR5",
                                      "GETNR6", "GETNR7", "GETAP",  "GETID",  "GETIP"};

} // namespace

QByteArray normalisedNumber(const QByteArray &number) {
    QByteArray digits = number.trimmed();
    if (digits.startsWith('+'))
        digits.remove(0, 1);
    else if (digits.startsWith("00"))
        digits.remove(0, 2);
    QByteArray kept;
    for (const char c : digits) {
        if (c >= '0' && c <= '9')
            kept += c;
    }
    return kept;
}

SmsNetwork::SmsNetwork(Module &defaultModule, const ModemState &modem)
    : m_defaultModule(defaultModule), m_modem(modem) {
    m_endpoints.push_back(Endpoint{{}, {}, &m_defaultModule, nullptr, {}});
}

void SmsNetwork::setOptions(const NetworkOptions &options) {
    m_options = options;
    m_random.seed(options.seed);
}

Module *SmsNetwork::addModule(const QByteArray &number) {
    const QByteArray key = normalisedNumber(number);
    if (key.isEmpty())
        return nullptr;
    if (m_added) {
        for (const Endpoint &endpoint : m_endpoints) {
            if (endpoint.key == key)
                return nullptr;
        }
    } else {
        m_endpoints.clear();
        m_added = true;
    }
    auto module = std::make_unique<Module>();
    Module *added = module.get();
    m_endpoints.push_back(Endpoint{number, key, added, std::move(module), {}});
    return added;
}

int SmsNetwork::endpointFor(const QByteArray &destination) const {
    if (!m_added)
        return 0;
    const QByteArray key = normalisedNumber(destination);
    for (size_t i = 0; i < m_endpoints.size(); ++i) {
        if (m_endpoints[i].key == key)
            return int(i);
    }
    return -1;
}

bool SmsNetwork::chance(int percent) {
    if (percent <= 0)
        return false;
    return std::uniform_int_distribution<int>(0, 99)(m_random) < percent;
}

int SmsNetwork::delayMs() {
    if (m_options.delayMaxMs <= m_options.delayMinMs)
        return m_options.delayMinMs;
    return std::uniform_int_distribution<int>(m_options.delayMinMs, m_options.delayMaxMs)(m_random);
}

void SmsNetwork::schedule(Leg leg, qint64 fromMs) {
    leg.dueMs = fromMs + delayMs();
    leg.order = m_nextOrder++;
    m_legs.push_back(std::move(leg));
}

void SmsNetwork::send(const QByteArray &destination, const QByteArray &text, qint64 nowMs) {
    const int endpoint = endpointFor(destination);
    if (endpoint < 0) {
        ++m_lostToUnknown;
        changed();
        return;
    }
    if (chance(m_options.lossPercent)) {
        ++m_endpoints[size_t(endpoint)].counts.commandsLost;
        changed();
        return;
    }
    Leg leg;
    leg.toModule = true;
    leg.endpoint = endpoint;
    leg.payload = text;
    leg.destination = destination;
    schedule(std::move(leg), nowMs);
}

void SmsNetwork::receiveCommand(const Leg &leg, qint64 nowMs) {
    Endpoint &endpoint = m_endpoints[size_t(leg.endpoint)];
    auto seen = std::find_if(endpoint.counts.received.begin(), endpoint.counts.received.end(),
                             [&](const auto &entry) { return entry.first == leg.payload; });
    if (seen == endpoint.counts.received.end())
        endpoint.counts.received.append({leg.payload, 1});
    else
        ++seen->second;
    if (onModuleCommand)
        onModuleCommand(leg.endpoint, leg.payload);
    const QByteArray answer = endpoint.module->answer(leg.payload).left(kMaxSmsCharacters);
    ++endpoint.counts.answersSent;
    QByteArray originator = endpoint.number;
    if (!m_added)
        originator = m_modem.moduleNumber.isEmpty() ? leg.destination : m_modem.moduleNumber;
    // Stamped as the module sends it, so a late or repeated copy keeps it.
    const QByteArray pdu =
        gsm::buildDeliverPdu(originator, answer, deliverTimestamp(m_modem.now()));
    if (chance(m_options.lossPercent)) {
        ++endpoint.counts.answersLost;
        return;
    }
    const int copies = chance(m_options.duplicatePercent) ? 2 : 1;
    if (copies == 2)
        ++endpoint.counts.answersDuplicated;
    for (int copy = 0; copy < copies; ++copy) {
        Leg back;
        back.endpoint = leg.endpoint;
        back.payload = pdu;
        back.reorder = chance(m_options.reorderPercent);
        schedule(std::move(back), nowMs);
    }
}

QList<QByteArray> SmsNetwork::advance(qint64 nowMs) {
    QList<QByteArray> arrived;
    bool anyChange = false;
    const qint64 holdMs = std::max<qint64>(m_options.delayMaxMs, kLeastHoldMs);
    for (;;) {
        auto due = std::min_element(m_legs.begin(), m_legs.end(), [](const Leg &a, const Leg &b) {
            return a.dueMs != b.dueMs ? a.dueMs < b.dueMs : a.order < b.order;
        });
        auto overdue =
            std::min_element(m_heldBack.begin(), m_heldBack.end(),
                             [](const auto &a, const auto &b) { return a.second < b.second; });
        const bool legDue = due != m_legs.end() && due->dueMs <= nowMs;
        const bool heldDue = overdue != m_heldBack.end() && overdue->second <= nowMs;
        if (heldDue && (!legDue || overdue->second < due->dueMs)) {
            arrived.append(overdue->first.payload);
            m_heldBack.erase(overdue);
            continue;
        }
        if (!legDue)
            break;
        Leg leg = std::move(*due);
        m_legs.erase(due);
        anyChange = true;
        if (leg.toModule) {
            receiveCommand(leg, nowMs);
            continue;
        }
        if (leg.reorder) {
            ++m_endpoints[size_t(leg.endpoint)].counts.answersReordered;
            const qint64 deadline = leg.dueMs + holdMs;
            m_heldBack.emplace_back(std::move(leg), deadline);
            continue;
        }
        arrived.append(leg.payload);
        for (const auto &held : m_heldBack)
            arrived.append(held.first.payload);
        m_heldBack.clear();
    }
    if (anyChange)
        changed();
    return arrived;
}

void SmsNetwork::changed() {
    if (onChange)
        onChange();
}

QJsonObject SmsNetwork::countsJson() const {
    QJsonArray modules;
    for (const Endpoint &endpoint : m_endpoints) {
        QJsonArray received;
        for (const auto &[line, times] : endpoint.counts.received)
            received.append(QJsonObject{{QStringLiteral("line"), QString::fromLatin1(line)},
                                        {QStringLiteral("times"), times}});
        QJsonObject state;
        for (const char *command : kStateCommands)
            state.insert(QLatin1String(command),
                         QString::fromLatin1(endpoint.module->answer(command)));
        const QByteArray number = m_added ? endpoint.number : m_modem.moduleNumber;
        modules.append(QJsonObject{
            {QStringLiteral("number"), QString::fromLatin1(number)},
            {QStringLiteral("received"), received},
            {QStringLiteral("answersSent"), endpoint.counts.answersSent},
            {QStringLiteral("answersLost"), endpoint.counts.answersLost},
            {QStringLiteral("answersDuplicated"), endpoint.counts.answersDuplicated},
            {QStringLiteral("answersReordered"), endpoint.counts.answersReordered},
            {QStringLiteral("commandsLost"), endpoint.counts.commandsLost},
            {QStringLiteral("state"), state},
        });
    }
    return QJsonObject{{QStringLiteral("modules"), modules},
                       {QStringLiteral("lostToUnknownNumbers"), m_lostToUnknown},
                       {QStringLiteral("seed"), qint64(m_options.seed)}};
}

} // namespace zx::sim
