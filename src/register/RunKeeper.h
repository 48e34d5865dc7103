#pragma once
// One run kept in the module register as it happens, for zentorix-cli and the
// window alike: its start (module, kind, port, plan) before the first command,
// each command's outcome as soon as it has one, with the values an answered
// command confirms, and its end. A run left without an end (its keeper gone
// first) is marked interrupted, as one of a program that died is.
#include "provision/Report.h"
#include "provision/RunLists.h"
#include "register/KnownRecord.h"
#include "register/Register.h"

#include <QList>
#include <QString>

#include <optional>

namespace zx::reg {

class RunKeeper {
public:
    // The register is the caller's and outlives the keeper; without one the
    // keeper keeps nothing.
    explicit RunKeeper(Register *reg = nullptr) : m_register(reg) {}
    ~RunKeeper();
    RunKeeper(const RunKeeper &) = delete;
    RunKeeper &operator=(const RunKeeper &) = delete;

    void setRegister(Register *reg) { m_register = reg; }
    Register *reg() const { return m_register; }

    // The module's key: a normalised number or a port key.
    void setModule(const QString &key) { m_module = key; }
    const QString &module() const { return m_module; }
    // What the register knows the module holds now.
    KnownRecord known() const;

    // What the next commands confirm when answered, in the order they go out.
    void expectWrites(const provision::Plan &plan, const settings::ConfigRecord &record);
    void expectReads(const provision::ReadRun &reads);
    void expectFirmware();

    // The run's start, before its first command. False when the register
    // could not keep it (see lastError); nothing of the run is kept then.
    bool begin(const QString &kind, const QString &port, const QList<provision::Command> &plan);
    bool running() const { return m_run.has_value(); }
    std::optional<qint64> runId() const { return m_run; }
    // The next command's outcome. False when the register could not keep it;
    // the rest of the run is then not kept either.
    bool record(const provision::CommandResult &result);
    // The run's end, from its report.
    bool finish(const provision::Report &report);
    // The run left as it stands, marked interrupted.
    bool interrupt();

    QString lastError() const { return m_register ? m_register->lastError() : QString(); }

private:
    struct Expect {
        QList<Value> written;
        std::optional<provision::ReadStep> read;
        bool firmware = false;
    };
    QList<Value> readValues(const settings::ConfigRecord &parsed, const QStringList &entries) const;

    Register *m_register = nullptr;
    QString m_module;
    QList<Expect> m_expected;
    KnownRecord m_known; // at the run's start
    std::optional<qint64> m_run;
    int m_seq = 0;
};

// "complete", "incomplete", "differs", "cancelled" or "port error".
QString runOutcome(const provision::Report &report);

// The lines of a write of wanted that differ from what known says the module
// holds. A password known by its hash only counts as held when wanted's
// hashes alike; an entry never confirmed is sent whatever.
provision::Plan changesPlan(const KnownRecord &known, const QString &module,
                            const settings::ConfigRecord &wanted);

} // namespace zx::reg
