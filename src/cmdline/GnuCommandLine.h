#pragma once
// The command line of each of the project's programs, in the GNU manner:
// --help and --version print to standard output and end with status 0; a
// wrong option prints the program's name, the fault and a hint to --help on
// standard error and ends with status 2.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

namespace zx::cmdline {

inline constexpr int kUsageErrorStatus = 2;

struct ProgramInfo {
    QString name;    // as typed in a shell: "zentorix-sim"
    QString summary; // the sentence under the usage line
    QString notes;   // lines after the option list, each wrapped unless it starts
                     // with a blank (a table row); may be empty
    // What follows the options on the usage line, e.g. "COMMAND [ARGUMENT]...";
    // empty: the program takes no arguments besides options.
    QString operands = {};
};

// What main() does next: run, or print and end with exitCode.
struct ParseOutcome {
    bool run = true;
    int exitCode = 0;
    QString standardOutput;
    QString standardError;
};

class GnuCommandLine {
public:
    // options: the program's own; -h/--help and -V/--version are added.
    GnuCommandLine(ProgramInfo program, const QList<QCommandLineOption> &options);

    // The whole argument list, program name first. --help or --version,
    // wherever they stand, answer even when other arguments are wrong.
    ParseOutcome parse(const QStringList &arguments);

    // Only --help and --version; anything else, wrong or not, means run. For
    // programs that must answer these before their toolkit strips its own
    // options (and before it needs a display).
    ParseOutcome answerHelpOrVersion(const QStringList &arguments);

    bool isSet(const QString &name) const { return m_parser.isSet(name); }
    QString value(const QString &name) const { return m_parser.value(name); }
    QStringList values(const QString &name) const { return m_parser.values(name); }
    QStringList operands() const { return m_parser.positionalArguments(); }

    QString helpText() const;
    QString versionText() const;
    // A usage error: the outcome that prints "program: message" and the hint.
    ParseOutcome usageError(const QString &message) const;

    // Prints the outcome's texts and returns its exit code.
    static int report(const ParseOutcome &outcome);
    static QStringList argumentsOf(int argc, char *argv[]);

private:
    ParseOutcome helpOrVersion() const;

    ProgramInfo m_program;
    QList<QCommandLineOption> m_options;
    QCommandLineParser m_parser;
};

} // namespace zx::cmdline
