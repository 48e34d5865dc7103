#include "cli/RunRecorder.h"

#include "cli/ExitCode.h"
#include "register/ModuleNumber.h"
#include "settings/FirstRunRecord.h"
#include "text/Ansi.h"

namespace zx::cli {
namespace {

QString outcomeOf(const provision::Report &report) {
    if (!report.portError.isEmpty())
        return QStringLiteral("port error");
    if (report.cancelled)
        return QStringLiteral("cancelled");
    if (!report.allAnswered())
        return QStringLiteral("incomplete");
    if (!report.mismatches.isEmpty())
        return QStringLiteral("differs");
    return QStringLiteral("complete");
}

// The first line of an answer with text, without the blanks around it.
QString firstLine(const QByteArray &answer) {
    for (const QByteArray &line : answer.split('\n')) {
        const QByteArray text = QByteArray(line).replace('\r', ' ').replace('\0', ' ').trimmed();
        if (!text.isEmpty())
            return text::fromAnsi(text);
    }
    return {};
}

// A text slot's characters without the blanks at their end.
QByteArray textOf(const QByteArray &slot) {
    QByteArray text = slot.isEmpty() ? QByteArray() : slot.mid(1, quint8(slot.at(0)));
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

} // namespace

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
    if (!m_register && failed)
        console.err(QStringLiteral("%1: nothing was sent; add --no-register to run without the "
                                   "register\n")
                        .arg(QLatin1String(kProgramName))
                        .toUtf8());
    return failed;
}

void RunRecorder::setModule(const QByteArray &recordNumber, const QString &port) {
    if (m_line.isSet(m_moduleOption)) {
        m_module = reg::normaliseNumber(m_line.value(m_moduleOption));
        return;
    }
    m_module = reg::normaliseNumber(text::fromAnsi(recordNumber));
    if (!m_module.isEmpty())
        return;
    m_module = reg::portKey(port);
}

reg::KnownRecord RunRecorder::known() const {
    if (!m_register)
        return {};
    return reg::knownRecord(m_register->confirmations(m_module));
}

void RunRecorder::expectWrites(const provision::Plan &plan, const settings::ConfigRecord &record) {
    for (const provision::PlanStep &step : plan.steps)
        m_expected.append({reg::valuesOf(record, step.entries), std::nullopt, false});
}

void RunRecorder::expectReads(const provision::ReadRun &reads) {
    for (const provision::ReadStep &step : reads.steps)
        m_expected.append({{}, step, false});
}

void RunRecorder::expectFirmware() { m_expected.append({{}, std::nullopt, true}); }

void RunRecorder::begin(ModuleRun &run, Console &console, const QString &kind, const QString &port,
                        const QList<provision::Command> &plan) {
    m_console = &console;
    if (!m_register)
        return;
    QStringList lines;
    for (const provision::Command &command : plan)
        lines << provision::shownLine(command);
    m_known = known();
    if (reg::isPortKey(m_module))
        console.err(QStringLiteral("%1: the register keeps this run under %2, as no module "
                                   "number is known; give it with --module NUMBER\n")
                        .arg(QLatin1String(kProgramName), m_module)
                        .toUtf8());
    m_run = m_register->beginRun({m_module, kind, port, lines});
    if (!m_run) {
        failed(QStringLiteral("its start"));
        return;
    }
    run.setObserver([this](const provision::CommandResult &result) { commandDone(result); });
}

void RunRecorder::commandDone(const provision::CommandResult &result) {
    if (!m_run)
        return;
    const int seq = m_seq++;
    reg::CommandOutcome outcome;
    outcome.line = provision::shownLine(result.command);
    outcome.answer = provision::shownAnswer(result);
    outcome.status = provision::statusName(result.status);
    // Only an answer counts: a command refused, not recognised, cancelled or
    // unanswered leaves the module's value as unknown as it was.
    outcome.answered = result.status == provision::Status::Answered;
    outcome.firstByteMs = result.firstByteMs;
    outcome.endMs = result.endMs;
    const Expect expect = m_expected.value(seq);
    if (outcome.answered) {
        outcome.values = expect.written;
        if (expect.read) {
            settings::ConfigRecord parsed;
            if (provision::applyAnswer(*expect.read, result.answer, parsed))
                outcome.values = readValues(parsed, provision::stepEntries(*expect.read));
        }
        if (expect.firmware)
            outcome.firmware = firstLine(result.answer);
    }
    if (!m_register->recordCommand(*m_run, seq, outcome))
        failed(QStringLiteral("the outcome of %1").arg(outcome.line));
}

QList<reg::Value> RunRecorder::readValues(const settings::ConfigRecord &parsed,
                                          const QStringList &entries) const {
    QList<reg::Value> values;
    for (reg::Value value : reg::valuesOf(parsed, entries)) {
        // An alarm number of 20 characters fills the answer's whole number
        // field and is read as empty: an empty one read back confirms nothing.
        if (value.entry.startsWith(QLatin1String("AlarmNumbers[")) && textOf(value.bytes).isEmpty())
            continue;
        // The padded lines cannot carry a text's trailing blanks: a text read
        // back as the one known but for them is that one.
        if (!value.secret && m_known.confirmed.contains(value.entry)) {
            const QByteArray known = reg::entryBytes(m_known.record, value.entry);
            if (textOf(known) == textOf(value.bytes))
                value.bytes = known;
        }
        values << value;
    }
    return values;
}

void RunRecorder::finish(const provision::Report &report) {
    if (m_run && !m_register->finishRun(*m_run, outcomeOf(report)))
        failed(QStringLiteral("its end"));
}

void RunRecorder::failed(const QString &what) {
    m_console->err(QStringLiteral("%1: the module register %2 could not keep %3 of this run (%4); "
                                  "the run goes on without it\n")
                       .arg(QLatin1String(kProgramName), m_register->location().shown(), what,
                            m_register->lastError())
                       .toUtf8());
    m_run.reset();
}

} // namespace zx::cli
