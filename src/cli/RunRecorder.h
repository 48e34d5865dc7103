#pragma once
// How write, read and verify keep themselves in the module register: the
// options (--no-register, --register, --module), opening the register before
// anything is sent, the run's start before its first command, each command's
// outcome as soon as it has one (the values an answered command confirms with
// it), and the run's end.
#include "cli/CommandLine.h"
#include "cli/ModuleRun.h"
#include "provision/Plan.h"
#include "provision/RunLists.h"
#include "register/KnownRecord.h"
#include "register/Register.h"
#include "register/RunKeeper.h"

#include <QCommandLineOption>

#include <memory>
#include <optional>

namespace zx::cli {

// --register URL, shared with 'modules'.
QCommandLineOption registerOption();
// Opens the register --register (or the user's setting) names; the exit
// status and a line saying what to do when it cannot.
std::unique_ptr<reg::Register> openRegister(const CommandLine &line, Console &console,
                                            std::optional<int> *failed);

class RunRecorder {
public:
    explicit RunRecorder(CommandLine &line);

    // After parsing: opens the register unless --no-register. The exit
    // status when --module is not a number or the register cannot be opened.
    std::optional<int> open(Console &console);
    bool enabled() const { return m_register != nullptr; }
    bool noRegister() const;
    reg::Register *reg() const { return m_register.get(); }

    // The module's key: --module, else the number the record names, else the
    // port's. A module kept under its port is told on standard error.
    void setModule(const QByteArray &recordNumber, const QString &port);
    const QString &module() const { return m_keeper.module(); }
    // The key setModule would give, for a run of its own on port.
    QString moduleKey(const QByteArray &recordNumber, const QString &port) const;
    // --module was given.
    bool moduleGiven() const;
    // What the register knows the module holds.
    reg::KnownRecord known() const;

    // What the next commands confirm when answered, in the order they go out.
    void expectWrites(const provision::Plan &plan, const settings::ConfigRecord &record);
    void expectReads(const provision::ReadRun &reads);
    void expectFirmware();

    // The run's start, before its first command; from then on each result
    // the run reports is written at once.
    void begin(ModuleRun &run, Console &console, const QString &kind, const QString &port,
               const QList<provision::Command> &plan);
    // The run's end, from its report.
    void finish(const provision::Report &report);

private:
    void failed(const QString &what);

    CommandLine &m_line;
    QCommandLineOption m_noRegister;
    QCommandLineOption m_registerOption;
    QCommandLineOption m_moduleOption;
    std::unique_ptr<reg::Register> m_register;
    reg::RunKeeper m_keeper;
    Console *m_console = nullptr;
};

} // namespace zx::cli
