#pragma once
// The commands of zentorix-cli: each group lives in a file of its own
// (<Group>Command.cpp) and has one row in the table in Cli.cpp.
#include "cli/Console.h"

#include <QStringList>

namespace zx::cli {

int runProfile(const QStringList &args, Console &console); // ProfileCommand.cpp
int runPorts(const QStringList &args, Console &console);   // PortsCommand.cpp
// ModuleCommand.cpp
int runSend(const QStringList &args, Console &console);
int runWrite(const QStringList &args, Console &console);
int runRead(const QStringList &args, Console &console);
int runVerify(const QStringList &args, Console &console);
int runModules(const QStringList &args, Console &console); // ModulesCommand.cpp

} // namespace zx::cli
