#include "cli/Subcommand.h"
#include "cli/CommandLine.h"
#include "cli/ExitCode.h"

namespace zx::cli {
namespace {

QString groupHelp(const QString &path, const QString &description,
                  std::span<const Subcommand> table) {
    QString notes = QStringLiteral("Commands:\n");
    for (const Subcommand &command : table)
        notes += QStringLiteral("  %1 %2\n")
                     .arg(QLatin1String(command.name), -10)
                     .arg(QLatin1String(command.summary));
    notes += QStringLiteral("\n'%1 COMMAND --help' shows a command's arguments and options.\n\n")
                 .arg(path) +
             QLatin1String(kExitStatusHelp);
    const cmdline::ProgramInfo info{path, description, notes.trimmed(),
                                    QStringLiteral("COMMAND [ARGUMENT]...")};
    return cmdline::GnuCommandLine(info, {}).helpText();
}

int usageError(Console &console, const QString &path, const QString &message) {
    return report(console, cmdline::GnuCommandLine({path, {}, {}, {}}, {}).usageError(message));
}

} // namespace

int dispatch(const QStringList &args, const QString &description, std::span<const Subcommand> table,
             Console &console) {
    const QString &path = args.at(0);
    if (args.size() < 2)
        return usageError(console, path, QStringLiteral("missing command"));
    const QString &word = args.at(1);
    if (word == QLatin1String("-h") || word == QLatin1String("--help")) {
        console.out(groupHelp(path, description, table).toUtf8());
        return ExitOk;
    }
    for (const Subcommand &command : table) {
        if (word == QLatin1String(command.name))
            return command.run(QStringList{path + QLatin1Char(' ') + word} + args.mid(2), console);
    }
    if (word.startsWith(QLatin1Char('-')))
        return usageError(console, path, QStringLiteral("unrecognized option '%1'").arg(word));
    return usageError(console, path, QStringLiteral("'%1' is not a command").arg(word));
}

} // namespace zx::cli
