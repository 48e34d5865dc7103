#pragma once
// What the module commands of zentorix-cli (send, write, read, verify) share:
// the port options, opening the port, running a list of commands with a
// progress line and Ctrl-C to cancel, and writing the report.
#include "cli/CommandLine.h"
#include "cli/DriverPort.h"
#include "provision/Engine.h"
#include "provision/Report.h"

#include <QCommandLineOption>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

namespace zx::cli {

// One port of a run over several at once, and the profile it gets (empty:
// the command's FILE).
struct FleetPort {
    QString name;
    QString profile;
};

// The serial layer words its advice for the window's "Serial Port" tab;
// a shell user gives another --port instead.
QString forTheShell(QString why);

class ModuleRun {
public:
    explicit ModuleRun(CommandLine &line, bool withReport);

    // The limits readOptions holds the options to.
    static constexpr int kMaxTimeoutMs = 60000;
    static constexpr int kMaxGapMs = 10000;
    static constexpr int kFirstComPort = 1;
    static constexpr int kLastComPort = 16;

    // After parsing: checks the options, and that every output (--report
    // and the given ones) may be written without touching an input; the
    // exit status on an error.
    std::optional<int> readOptions(Console &console, const QStringList &inputs = {},
                                   const QStringList &outputs = {});
    // Several ports at once (write, read, verify): --port given more than
    // once, --ports, or a port with its own profile (PORT=FILE). Known after
    // parsing; readOptions then checks fleetPorts() instead of the one port.
    bool fleet() const;
    const QList<FleetPort> &fleetPorts() const { return m_fleet; }
    // Before readOptions: every port is given as PORT=FILE, so the command
    // needs no FILE of its own.
    bool portsNameTheirProfiles() const;
    // The profiles the ports name for themselves, as given.
    QStringList fleetProfiles() const;
    // The line settings every port gets, and the engine's timing.
    const PortChoice &choice() const { return m_choice; }
    const provision::Timing &timing() const { return m_timing; }
    // --report FILE, or empty.
    QString reportPath() const;

    // --force was given: outputs that exist may be replaced.
    bool forced() const;
    // Opens the port; the exit status when it cannot be opened.
    std::optional<int> openPort(Console &console);

    // Runs the commands and adds their rows to the report. False when the
    // run stopped early (port error, Ctrl-C).
    bool run(Console &console, const QList<provision::Command> &commands);

    // Called with each command's result as soon as it has one, during run().
    void setObserver(std::function<void(const provision::CommandResult &)> observer) {
        m_observer = std::move(observer);
    }

    provision::Report &report() { return m_report; }
    // Writes --report FILE (CSV for a name ending in .csv, JSON otherwise);
    // then the exit status: 3 port error, 1 not all answered or verified, 0.
    int finish(Console &console);
    // The summary lines on standard output, or the report as JSON (--json).
    void printSummary(Console &console, const QString &what);

private:
    CommandLine &m_line;
    bool m_withReport;
    std::optional<int> readFleet(Console &console);

    QCommandLineOption m_port;
    QCommandLineOption m_ports;
    QCommandLineOption m_baud;
    QCommandLineOption m_parity;
    QCommandLineOption m_timeout;
    QCommandLineOption m_gap;
    QCommandLineOption m_reportFile;
    QCommandLineOption m_force;
    PortChoice m_choice;
    QList<FleetPort> m_fleet;
    provision::Timing m_timing;
    DriverPort m_driver;
    provision::Report m_report;
    std::function<void(const provision::CommandResult &)> m_observer;
};

} // namespace zx::cli
