#include "cmdline/GnuCommandLine.h"
#include "cmdline/ProjectInfo.h"

#include <QTextStream>

#include <algorithm>
#include <utility>

namespace zx::cmdline {
namespace {

constexpr int kLineWidth = 79;
constexpr int kWidestOptionColumn = 30; // longer option texts put their description below

const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");

// "  -c, --com=N" or "      --force"
QString optionText(const QCommandLineOption &option) {
    QString shortName;
    QString longName;
    for (const QString &name : option.names()) {
        if (name.size() == 1 && shortName.isEmpty())
            shortName = QStringLiteral("-") + name;
        else if (name.size() > 1 && longName.isEmpty())
            longName = QStringLiteral("--") + name;
    }
    QString text = QStringLiteral("  ");
    text += shortName.isEmpty() ? QStringLiteral("    ") : shortName + QStringLiteral(", ");
    if (!longName.isEmpty())
        text += longName;
    else
        text.chop(2); // no ", " after a lone short name
    if (!option.valueName().isEmpty())
        text +=
            (longName.isEmpty() ? QStringLiteral(" ") : QStringLiteral("=")) + option.valueName();
    return text;
}

// Words of text in lines of at most kLineWidth, each but the first behind indent.
QString wrapped(const QString &text, int firstLineUsed, int indent) {
    QString result;
    int used = firstLineUsed;
    bool lineStarted = false;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineStarted && used + 1 + word.size() > kLineWidth) {
            result += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            used = indent;
            lineStarted = false;
        }
        if (lineStarted) {
            result += QLatin1Char(' ');
            ++used;
        }
        result += word;
        used += word.size();
        lineStarted = true;
    }
    return result;
}

// Each line wrapped on its own; a line that starts with a blank is a table
// row laid out by the caller and stands as it is.
QString paragraphs(const QString &text) {
    QString result;
    for (const QString &line : text.split(QLatin1Char('\n')))
        result += (line.startsWith(QLatin1Char(' ')) ? line : wrapped(line, 0, 0)) +
                  QLatin1Char('\n');
    return result;
}

QString unknownOptionMessage(const QString &name) {
    if (name.size() == 1)
        return QStringLiteral("invalid option -- '%1'").arg(name);
    return QStringLiteral("unrecognized option '--%1'").arg(name);
}

// Qt's "Missing value after '--com'." in the lower-case GNU manner.
QString parserMessage(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

GnuCommandLine::GnuCommandLine(ProgramInfo program, const QList<QCommandLineOption> &options)
    : m_program(std::move(program)), m_options(options) {
    m_options.append(QCommandLineOption({QStringLiteral("h"), kHelp},
                                        QStringLiteral("Display this help and exit.")));
    m_options.append(QCommandLineOption({QStringLiteral("V"), kVersion},
                                        QStringLiteral("Output version information and exit.")));
    m_parser.addOptions(m_options);
}

ParseOutcome GnuCommandLine::parse(const QStringList &arguments) {
    const bool parsed = m_parser.parse(arguments);
    if (m_parser.isSet(kHelp) || m_parser.isSet(kVersion))
        return helpOrVersion();
    if (!m_parser.unknownOptionNames().isEmpty())
        return usageError(unknownOptionMessage(m_parser.unknownOptionNames().constFirst()));
    if (!parsed)
        return usageError(parserMessage(m_parser.errorText()));
    if (m_program.operands.isEmpty() && !m_parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument '%1'")
                              .arg(m_parser.positionalArguments().constFirst()));
    return {};
}

ParseOutcome GnuCommandLine::answerHelpOrVersion(const QStringList &arguments) {
    m_parser.parse(arguments);
    if (m_parser.isSet(kHelp) || m_parser.isSet(kVersion))
        return helpOrVersion();
    return {};
}

// The first of the two on the line wins, as with getopt.
ParseOutcome GnuCommandLine::helpOrVersion() const {
    const QStringList given = m_parser.optionNames();
    const auto first = std::find_if(given.begin(), given.end(), [](const QString &name) {
        return name == QLatin1String("h") || name == kHelp || name == QLatin1String("V") ||
               name == kVersion;
    });
    const bool help = first != given.end() && (*first == QLatin1String("h") || *first == kHelp);
    ParseOutcome outcome;
    outcome.run = false;
    outcome.standardOutput = help ? helpText() : versionText();
    return outcome;
}

QString GnuCommandLine::helpText() const {
    QString text = QStringLiteral("Usage: %1 [OPTION]...").arg(m_program.name);
    if (!m_program.operands.isEmpty())
        text += QLatin1Char(' ') + m_program.operands;
    text += QLatin1Char('\n');
    text += paragraphs(m_program.summary);
    text += QStringLiteral("\nOptions:\n");

    int column = 0;
    for (const QCommandLineOption &option : m_options) {
        if (!(option.flags() & QCommandLineOption::HiddenFromHelp))
            column = std::max(column, static_cast<int>(optionText(option).size()) + 2);
    }
    column = std::min(column, kWidestOptionColumn);
    for (const QCommandLineOption &option : m_options) {
        if (option.flags() & QCommandLineOption::HiddenFromHelp)
            continue;
        QString line = optionText(option);
        if (line.size() + 2 > column)
            line += QLatin1Char('\n') + QString(column, QLatin1Char(' '));
        else
            line += QString(column - line.size(), QLatin1Char(' '));
        text += line + wrapped(option.description(), column, column) + QLatin1Char('\n');
    }
    if (!m_program.notes.isEmpty())
        text += QLatin1Char('\n') + paragraphs(m_program.notes);
    text += QStringLiteral("\nReport bugs to: <%1>\n%2 home page: <%3>\n")
                .arg(bugReportUrl(), projectName(), projectHomepage());
    return text;
}

QString GnuCommandLine::versionText() const {
    QString first = m_program.name;
    if (m_program.name != projectName())
        first += QStringLiteral(" (%1)").arg(projectName());
    return QStringLiteral("%1 %2\n%3\nThere is NO WARRANTY, to the extent permitted by law.\n")
        .arg(first, projectVersion(), copyrightLine());
}

ParseOutcome GnuCommandLine::usageError(const QString &message) const {
    ParseOutcome outcome;
    outcome.run = false;
    outcome.exitCode = kUsageErrorStatus;
    outcome.standardError = QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                                .arg(m_program.name, message);
    return outcome;
}

int GnuCommandLine::report(const ParseOutcome &outcome) {
    if (!outcome.standardOutput.isEmpty())
        QTextStream(stdout) << outcome.standardOutput;
    if (!outcome.standardError.isEmpty())
        QTextStream(stderr) << outcome.standardError;
    return outcome.exitCode;
}

QStringList GnuCommandLine::argumentsOf(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace zx::cmdline
