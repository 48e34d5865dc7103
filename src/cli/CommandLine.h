#pragma once
// One subcommand's command line, parsed the GNU way: options anywhere, "--"
// ends them, -h/--help shows the help on standard output and exits with 0, a
// usage error is one line on standard error and exit status 2.
#include "cli/Console.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

namespace zx::cli {

class CommandLine {
public:
    // path: the words that led here, "zentorix-cli profile export".
    CommandLine(QString path, const QString &description);

    void addPositional(const QString &name, const QString &description);
    void addOption(const QCommandLineOption &option) { m_parser.addOption(option); }
    // --json: machine-readable output.
    void addJsonOption();

    // Parses args (args[0] is the path). Returns the exit status when the
    // command ends here (help shown, usage error), otherwise nothing.
    std::optional<int> parse(const QStringList &args, Console &console, int minPositional,
                             int maxPositional);

    bool isSet(const QCommandLineOption &option) const { return m_parser.isSet(option); }
    QString value(const QCommandLineOption &option) const { return m_parser.value(option); }
    QStringList positional() const { return m_parser.positionalArguments(); }
    bool json() const { return m_parser.isSet(QStringLiteral("json")); }
    const QString &path() const { return m_path; }

    QString helpText() const;
    // "zentorix-cli profile import: message; see '... --help'" on standard error; returns 2.
    int usageError(Console &console, const QString &message) const;

private:
    QString m_path;
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QStringList m_positionalNames;
};

} // namespace zx::cli
