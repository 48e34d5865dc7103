#include "cli/Subcommand.h"
#include "cli/ExitCode.h"

namespace zx::cli {
namespace {

QString groupHelp(const QString &path, const QString &description,
                  std::span<const Subcommand> table) {
    QString text = QStringLiteral("Usage: %1 [-h|--help] COMMAND [ARGUMENTS...]\n%2\n\nCommands:\n")
                       .arg(path, description);
    for (const Subcommand &command : table)
        text += QStringLiteral("  %1 %2\n")
                    .arg(QLatin1String(command.name), -10)
                    .arg(QLatin1String(command.summary));
    return text +
           QStringLiteral("\n'%1 COMMAND --help' shows a command's arguments and options.\n\n")
               .arg(path) +
           QLatin1String(kExitStatusHelp);
}

int usageError(Console &console, const QString &path, const QString &message) {
    console.err(QStringLiteral("%1: %2; see '%1 --help'\n").arg(path, message).toUtf8());
    return ExitUsage;
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
        return usageError(console, path, QStringLiteral("unknown option '%1'").arg(word));
    return usageError(console, path, QStringLiteral("'%1' is not a command").arg(word));
}

} // namespace zx::cli
