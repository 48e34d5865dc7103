#include "cli/CommandLine.h"
#include "cli/ExitCode.h"

namespace zx::cli {

CommandLine::CommandLine(QString path, const QString &description)
    : m_path(std::move(path)), m_description(description) {}

void CommandLine::addPositional(const QString &name, const QString &description) {
    m_positionalNames.append(name);
    m_arguments += QStringLiteral("  %1  %2\n").arg(name, description);
}

void CommandLine::addJsonOption() {
    addOption(
        QCommandLineOption(QStringLiteral("json"), QStringLiteral("Write machine-readable JSON.")));
}

cmdline::ProgramInfo CommandLine::programInfo() const {
    QString notes = QLatin1String(kExitStatusHelp);
    if (!m_arguments.isEmpty())
        notes = QStringLiteral("Arguments:\n") + m_arguments + QLatin1Char('\n') + notes;
    return {m_path, m_description, notes.trimmed(), m_positionalNames.join(QLatin1Char(' '))};
}

std::optional<int> CommandLine::parse(const QStringList &args, Console &console, int minPositional,
                                      int maxPositional) {
    m_line.emplace(programInfo(), m_options);
    const cmdline::ParseOutcome outcome = m_line->parse(args);
    if (!outcome.run)
        return report(console, outcome);
    const qsizetype count = m_line->operands().size();
    if (count < minPositional)
        return usageError(console,
                          QStringLiteral("missing %1").arg(m_positionalNames.value(count)));
    if (count > maxPositional)
        return usageError(console, QStringLiteral("unexpected argument '%1'")
                                       .arg(m_line->operands().at(maxPositional)));
    return std::nullopt;
}

QString CommandLine::helpText() const {
    return cmdline::GnuCommandLine(programInfo(), m_options).helpText();
}

int CommandLine::usageError(Console &console, const QString &message) const {
    return report(console, cmdline::GnuCommandLine(programInfo(), m_options).usageError(message));
}

int report(Console &console, const cmdline::ParseOutcome &outcome) {
    console.out(outcome.standardOutput.toUtf8());
    console.err(outcome.standardError.toUtf8());
    return outcome.exitCode;
}

} // namespace zx::cli
