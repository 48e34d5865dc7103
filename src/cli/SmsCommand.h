#pragma once
// write, read and verify --sms, and the 'jobs' command.
#include "cli/Console.h"

#include <QStringList>

namespace zx::cli {

// --sms is among the arguments: the command goes by SMS.
bool wantsSms(const QStringList &args);
// kind: "write", "read" or "verify".
int runSmsModuleCommand(const QString &kind, const QStringList &args, Console &console);
int runJobs(const QStringList &args, Console &console);

} // namespace zx::cli
