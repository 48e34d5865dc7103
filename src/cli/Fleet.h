#pragma once
// write, read and verify on several ports at once: one channel per port, all
// on one event loop, each port with its own driver, engine, report and run
// in the module register; a progress line per port, one report holding each
// port's part, a table of the outcomes, and the worst port's exit status.
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ModuleRun.h"
#include "cli/RunRecorder.h"

#include <QString>

namespace zx::cli {

struct FleetWork {
    QString kind;        // "write", "read" or "verify"
    QString file;        // the command's FILE: the profile of ports without their own
    QString changedFrom; // write --only-changed-from OLD
    bool changes = false; // write --changes
    bool verify = false;  // write --verify
    QString output;       // read -o: a name holding {port}
};

// After run.readOptions and recorder.open; the exit status.
int runFleet(const CommandLine &line, ModuleRun &run, RunRecorder &recorder, Console &console,
             const FleetWork &work);

// The name -o gives port's profile: {port} replaced by the port's name
// ("Com3", or a device path's last part).
QString fleetOutputPath(const QString &pattern, const QString &port);

} // namespace zx::cli
