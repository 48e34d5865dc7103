#pragma once
// The simulated module: takes one command line as the tool sends it and
// gives the text the module answers. No I/O; the simulator frames it.
#include "sim/ModemState.h"
#include "sim/ModuleState.h"

#include <QByteArray>
#include <QDateTime>

#include <functional>

namespace zx::sim {

class Module {
public:
    Module() = default;
    explicit Module(ModuleState state) : m_state(std::move(state)) {}

    // commandLine: the line without the set-up prefix; a trailing CR, LF or
    // NUL and leading blanks are ignored. Never empty: unknown or malformed
    // commands answer "ERROR".
    QByteArray answer(const QByteArray &commandLine);

    ModuleState &state() { return m_state; }
    const ModuleState &state() const { return m_state; }
    // The GSM engine inside the module, reached with raw "  AT..." lines.
    ModemState &engine() { return m_engine; }

    // The PC clock the module's clock runs from; empty: the local clock.
    void setClock(std::function<QDateTime()> clock);
    QDateTime now() const;

private:
    friend struct ModuleDispatch;

    // Each takes the whole line (leading blanks and terminator removed).
    QByteArray outputCommand(const QByteArray &line, bool on);
    QByteArray outputState(const QByteArray &line) const;
    QByteArray inputState(const QByteArray &line) const;
    QByteArray parallelOutputs(const QByteArray &line);
    QByteArray loggerParameters(const QByteArray &line);
    QByteArray analogLevel(const QByteArray &line);
    QByteArray analogMode(const QByteArray &line);
    QByteArray analogUnit(const QByteArray &line);
    QByteArray analogReading(const QByteArray &line) const;
    QByteArray temperatureLevel(const QByteArray &line);
    QByteArray temperatureReading() const;
    QByteArray temperatureHumidity() const;
    QByteArray runtimeLevels(const QByteArray &line);
    QByteArray runtimeMode(const QByteArray &line);
    QByteArray runtimeReading() const;
    QByteArray timeoutFilters(const QByteArray &line);
    QByteArray setOptions(const QByteArray &line);
    QByteArray timeSource(const QByteArray &line);
    QByteArray eventMasks(const QByteArray &line);

    QByteArray alarmNumber(const QByteArray &line) const;
    QByteArray setAlarmNumber(const QByteArray &line);
    QByteArray clearAlarmNumber(const QByteArray &line);
    QByteArray phoneBookListing() const;
    QByteArray setPhoneBook(const QByteArray &line);
    QByteArray readText(const QByteArray &line, bool external) const;
    QByteArray writeText(const QByteArray &line, bool external);
    QByteArray setSchedule(const QByteArray &line);
    QByteArray gprsParameter(const QByteArray &line);
    QByteArray status() const;
    QByteArray clockReading() const;
    QByteArray setClockFromLine(const QByteArray &line);
    QByteArray restart();
    QByteArray engineCommand(const QByteArray &line);

    bool inputReads(int index) const;

    ModuleState m_state;
    ModemState m_engine;
    std::function<QDateTime()> m_clock;
};

} // namespace zx::sim
