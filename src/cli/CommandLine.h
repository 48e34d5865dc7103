#pragma once
// One subcommand's command line, parsed the GNU way (the same rules as the
// project's other programs): options anywhere, "--" ends them, -h/--help
// shows the help on standard output and exits with 0, a usage error names
// the command and points to its --help on standard error, exit status 2.
#include "cli/Console.h"
#include "cmdline/GnuCommandLine.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace zx::cli {

class CommandLine {
public:
    // path: the words that led here, "zentorix-cli profile export".
    CommandLine(QString path, const QString &description);

    void addPositional(const QString &name, const QString &description);
    void addOption(const QCommandLineOption &option) { m_options.append(option); }
    // --json: machine-readable output.
    void addJsonOption();

    // Parses args (args[0] is the path). Returns the exit status when the
    // command ends here (help shown, usage error), otherwise nothing.
    std::optional<int> parse(const QStringList &args, Console &console, int minPositional,
                             int maxPositional);

    bool isSet(const QCommandLineOption &option) const { return m_line->isSet(option.names().first()); }
    QString value(const QCommandLineOption &option) const {
        return m_line->value(option.names().first());
    }
    // Every value of an option given more than once, in order.
    QStringList values(const QCommandLineOption &option) const {
        return m_line->values(option.names().first());
    }
    QStringList positional() const { return m_line->operands(); }
    bool json() const { return m_line->isSet(QStringLiteral("json")); }
    const QString &path() const { return m_path; }

    QString helpText() const;
    int usageError(Console &console, const QString &message) const;

private:
    cmdline::ProgramInfo programInfo() const;

    QString m_path;
    QString m_description;
    QList<QCommandLineOption> m_options;
    QStringList m_positionalNames;
    QString m_arguments; // the help's "Arguments:" lines
    std::optional<cmdline::GnuCommandLine> m_line;
};

// Prints the outcome's texts to the console and returns its exit status.
int report(Console &console, const cmdline::ParseOutcome &outcome);

} // namespace zx::cli
