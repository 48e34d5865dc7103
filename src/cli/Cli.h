#pragma once
// zentorix-cli: the module tool's command-line front end. main() only builds
// the application object and calls runCli, so tests run commands in-process.
#include "cli/Console.h"

#include <QStringList>

namespace zx::cli {

// arguments as QCoreApplication::arguments() gives them; returns the exit status.
int runCli(const QStringList &arguments, Console &console);

} // namespace zx::cli
