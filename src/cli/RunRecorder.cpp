#include "cli/RunRecorder.h"

#include "cli/ExitCode.h"
#include "register/ModuleNumber.h"
#include "text/Ansi.h"

namespace zx::cli {

QCommandLineOption registerOption() {
    return {QStringLiteral("register"),
            QStringLiteral("The module register: an SQLite file or postgresql://user@host/db "
                           "(default: $ZENTORIX_REGISTER, else ~/.config/zentorix/register, else "
                           "~/.local/share/zentorix/register.sqlite)."),
            QStringLiteral("URL")};
}

std::unique_ptr<reg::Register> openRegister(const CommandLine &line, Console &console,
                                            std::optional<int> *failed) {
    const QCommandLineOption option = registerOption();
    const QString text = line.isSet(option) ? line.value(option) : reg::configuredLocation();
    QString error;
    const std::optional<reg::Location> location = reg::parseLocation(text, &error);
    if (!location) {
        *failed = line.usageError(console, error);
        return nullptr;
    }
    std::unique_ptr<reg::Register> opened = reg::Register::open(*location, &error);
    if (!opened)
        *failed = console.fail(ExitUsage, error);
    else if (!opened->backupPath().isEmpty())
        console.err(QStringLiteral("%1: the module register was updated to this version; its old "
                                   "form is kept as %2\n")
                        .arg(QLatin1String(kProgramName), opened->backupPath())
                        .toUtf8());
    return opened;
}

RunRecorder::RunRecorder(CommandLine &line)
    : m_line(line),
      m_noRegister(QStringLiteral("no-register"),
                   QStringLiteral("Do not keep this run in the module register.")),
      m_registerOption(registerOption()),
      m_moduleOption(QStringLiteral("module"),
                     QStringLiteral("The module's telephone number, as the register knows it "
                                    "(default: the ModuleNumber the file names, else the port)."),
                     QStringLiteral("NUMBER")) {
    line.addOption(m_noRegister);
    line.addOption(m_registerOption);
    line.addOption(m_moduleOption);
}

bool RunRecorder::noRegister() const { return m_line.isSet(m_noRegister); }

std::optional<int> RunRecorder::open(Console &console) {
    m_console = &console;
    if (m_line.isSet(m_moduleOption) && reg::normaliseNumber(m_line.value(m_moduleOption)).isEmpty())
        return m_line.usageError(console, QStringLiteral("--module wants a telephone number, not '%1'")
                                              .arg(m_line.value(m_moduleOption)));
    if (noRegister())
        return std::nullopt;
    std::optional<int> failed;
    m_register = openRegister(m_line, console, &failed);
    m_keeper.setRegister(m_register.get());
    if (!m_register && failed)
        console.err(QStringLiteral("%1: nothing was sent; add --no-register to run without the "
                                   "register\n")
                        .arg(QLatin1String(kProgramName))
                        .toUtf8());
    return failed;
}

void RunRecorder::setModule(const QByteArray &recordNumber, const QString &port) {
    m_keeper.setModule(moduleKey(recordNumber, port));
}

QString RunRecorder::moduleKey(const QByteArray &recordNumber, const QString &port) const {
    if (moduleGiven())
        return reg::normaliseNumber(m_line.value(m_moduleOption));
    const QString number = reg::normaliseNumber(text::fromAnsi(recordNumber));
    return number.isEmpty() ? reg::portKey(port) : number;
}

bool RunRecorder::moduleGiven() const { return m_line.isSet(m_moduleOption); }

reg::KnownRecord RunRecorder::known() const { return m_keeper.known(); }

void RunRecorder::expectWrites(const provision::Plan &plan, const settings::ConfigRecord &record) {
    m_keeper.expectWrites(plan, record);
}

void RunRecorder::expectReads(const provision::ReadRun &reads) { m_keeper.expectReads(reads); }

void RunRecorder::expectFirmware() { m_keeper.expectFirmware(); }

void RunRecorder::begin(ModuleRun &run, Console &console, const QString &kind, const QString &port,
                        const QList<provision::Command> &plan) {
    m_console = &console;
    if (!m_register)
        return;
    if (reg::isPortKey(module()))
        console.err(QStringLiteral("%1: the register keeps this run under %2, as no module "
                                   "number is known; give it with --module NUMBER\n")
                        .arg(QLatin1String(kProgramName), module())
                        .toUtf8());
    if (!m_keeper.begin(kind, port, plan)) {
        failed(QStringLiteral("its start"));
        return;
    }
    run.setObserver([this](const provision::CommandResult &result) {
        if (m_keeper.running() && !m_keeper.record(result))
            failed(QStringLiteral("the outcome of %1").arg(provision::shownLine(result.command)));
    });
}

void RunRecorder::finish(const provision::Report &report) {
    if (m_keeper.running() && !m_keeper.finish(report))
        failed(QStringLiteral("its end"));
}

void RunRecorder::failed(const QString &what) {
    m_console->err(QStringLiteral("%1: the module register %2 could not keep %3 of this run (%4); "
                                  "the run goes on without it\n")
                       .arg(QLatin1String(kProgramName), m_register->location().shown(), what,
                            m_register->lastError())
                       .toUtf8());
}

} // namespace zx::cli
