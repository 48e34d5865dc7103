#include "cli/CommandLine.h"
#include "cli/ExitCode.h"

#include <QCoreApplication>

namespace zx::cli {

CommandLine::CommandLine(QString path, const QString &description)
    : m_path(std::move(path)), m_help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                      QStringLiteral("Show this help and exit.")) {
    m_parser.setApplicationDescription(description);
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    m_parser.addOption(m_help);
}

void CommandLine::addPositional(const QString &name, const QString &description) {
    m_parser.addPositionalArgument(name, description);
    m_positionalNames.append(name);
}

void CommandLine::addJsonOption() {
    m_parser.addOption(
        QCommandLineOption(QStringLiteral("json"), QStringLiteral("Write machine-readable JSON.")));
}

std::optional<int> CommandLine::parse(const QStringList &args, Console &console, int minPositional,
                                      int maxPositional) {
    if (!m_parser.parse(args))
        return usageError(console, m_parser.errorText());
    if (m_parser.isSet(m_help)) {
        console.out(helpText().toUtf8());
        return ExitOk;
    }
    const qsizetype count = m_parser.positionalArguments().size();
    if (count < minPositional)
        return usageError(console,
                          QStringLiteral("missing %1").arg(m_positionalNames.value(count)));
    if (count > maxPositional)
        return usageError(console, QStringLiteral("unexpected argument '%1'")
                                       .arg(m_parser.positionalArguments().at(maxPositional)));
    return std::nullopt;
}

QString CommandLine::helpText() const {
    // The parser names the program by argv[0]; show the whole command path.
    QString text = m_parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const QString program = QCoreApplication::instance() ? QCoreApplication::arguments().value(0)
                                                         : QStringLiteral("<executable_name>");
    if (text.startsWith(usage + program))
        text.replace(usage.size(), program.size(), m_path);
    return text + QLatin1Char('\n') + QLatin1String(kExitStatusHelp);
}

int CommandLine::usageError(Console &console, const QString &message) const {
    console.err(QStringLiteral("%1: %2; see '%1 --help'\n").arg(m_path, message).toUtf8());
    return ExitUsage;
}

} // namespace zx::cli
