#pragma once
// The GSM network between the simulated modem and the modules it reaches by
// SMS: which module a number belongs to, how long each SMS is on its way,
// and which ones it loses, duplicates or holds back. No I/O and no clock of
// its own: the modem says what time it is.
#include "sim/ModemState.h"
#include "sim/Module.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>

#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace zx::sim {

struct NetworkOptions {
    // Each leg (command to the module, answer back) takes a time drawn
    // evenly from this range.
    int delayMinMs = 0;
    int delayMaxMs = 0;
    int lossPercent = 0;      // each leg, either way
    int duplicatePercent = 0; // answers only: delivered a second time
    int reorderPercent = 0;   // answers only: arrive after the next one
    quint32 seed = 0;
    // Every SMS goes through the network, to be counted, even when the
    // network does nothing to it.
    bool counted = false;

    bool anyEffect() const {
        return delayMaxMs > 0 || lossPercent > 0 || duplicatePercent > 0 || reorderPercent > 0;
    }
};

// What the network saw of one module, for the count file and tests.
struct ModuleCounts {
    QList<std::pair<QByteArray, int>> received; // line, times, in first-seen order
    int answersSent = 0;
    int answersLost = 0;
    int answersDuplicated = 0;
    int answersReordered = 0;
    int commandsLost = 0;
};

// "+4915112345", "004915112345" and "4915112345" are one number.
QByteArray normalisedNumber(const QByteArray &number);

class SmsNetwork {
public:
    // defaultModule answers every number while no module is added; modem
    // gives the time stamps' clock and the default module's number.
    SmsNetwork(Module &defaultModule, const ModemState &modem);

    void setOptions(const NetworkOptions &options);
    const NetworkOptions &options() const { return m_options; }
    // A module of its own behind number; nullptr when the number (as
    // normalised) already has one.
    Module *addModule(const QByteArray &number);
    // Whether SMS go through this network at all rather than straight to
    // the module as they always did.
    bool isActive() const { return m_added || m_options.counted || m_options.anyEffect(); }

    int moduleCount() const { return int(m_endpoints.size()); }
    Module &module(int i) { return *m_endpoints[size_t(i)].module; }
    QByteArray moduleNumber(int i) const { return m_endpoints[size_t(i)].number; }
    const ModuleCounts &counts(int i) const { return m_endpoints[size_t(i)].counts; }
    int lostToUnknownNumbers() const { return m_lostToUnknown; }
    // Messages on their way either way or held back.
    int inFlight() const { return int(m_legs.size() + m_heldBack.size()); }

    // The command SMS leaves the modem at nowMs (text without the CR).
    void send(const QByteArray &destination, const QByteArray &text, qint64 nowMs);
    // Runs everything due by nowMs: commands reach their modules, which
    // answer at once. Returns the answer PDUs that reach the modem, in the
    // order they arrive.
    QList<QByteArray> advance(qint64 nowMs);

    // "modules" (number, received, answer and loss counts, the module's
    // answers to a few read commands now), "lostToUnknownNumbers", "seed".
    QJsonObject countsJson() const;

    // Each command line a module (its index) receives.
    std::function<void(int, const QByteArray &)> onModuleCommand;
    // After every change of the counts.
    std::function<void()> onChange;

private:
    struct Endpoint {
        QByteArray number; // as given; empty: the default module
        QByteArray key;
        Module *module = nullptr;
        std::unique_ptr<Module> owned;
        ModuleCounts counts;
    };
    struct Leg {
        qint64 dueMs = 0;
        quint64 order = 0;
        bool toModule = false;
        int endpoint = 0;
        QByteArray payload; // command text, or the answer's PDU
        bool reorder = false;
        QByteArray destination; // commands: the number the tool sent to
    };

    int endpointFor(const QByteArray &destination) const;
    void schedule(Leg leg, qint64 fromMs);
    void receiveCommand(const Leg &leg, qint64 nowMs);
    void changed();
    int delayMs();
    bool chance(int percent);

    Module &m_defaultModule;
    const ModemState &m_modem;
    NetworkOptions m_options;
    std::mt19937 m_random;
    std::vector<Endpoint> m_endpoints;
    bool m_added = false;
    std::vector<Leg> m_legs;
    // Answers due but held back until the next one arrives, with the time
    // after which they come anyway.
    std::vector<std::pair<Leg, qint64>> m_heldBack;
    quint64 m_nextOrder = 0;
    int m_lostToUnknown = 0;
};

} // namespace zx::sim
