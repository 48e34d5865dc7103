#pragma once
// A word of the command line that leads to more words or to a command:
// "zentorix-cli profile export". Each group is a table of these.
#include "cli/Console.h"

#include <QString>
#include <QStringList>

#include <span>

namespace zx::cli {

// args[0] is the path of words so far ("zentorix-cli profile export"), the
// rest are the arguments after them.
using RunCommand = int (*)(const QStringList &args, Console &console);

struct Subcommand {
    const char *name;
    const char *summary;
    RunCommand run;
};

// Runs the subcommand args[1] names, or shows the group's help (-h, --help).
// An unknown or missing subcommand is a usage error.
int dispatch(const QStringList &args, const QString &description, std::span<const Subcommand> table,
             Console &console);

} // namespace zx::cli
