#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/SmsCommand.h"
#include "cli/ExitCode.h"
#include "cli/Subcommand.h"
#include "files/UserFolders.h"

#include <array>

namespace zx::cli {
namespace {

constexpr std::array kCommands = {
    Subcommand{"profile", "export, import and compare settings profiles (offline)", &runProfile},
    Subcommand{"ports", "list Com1..Com16 with the device each opens", &runPorts},
    Subcommand{"send", "send one module command and print the answer", &runSend},
    Subcommand{"write", "write a profile or settings file to the module", &runWrite},
    Subcommand{"read", "read the module back as a profile", &runRead},
    Subcommand{"verify", "list the fields where the module differs from a file", &runVerify},
    Subcommand{"modules", "what the module register knows of each module (offline)", &runModules},
    Subcommand{"jobs", "list, show, resume or cancel the SMS jobs the register keeps", &runJobs},
};

} // namespace

namespace {

int runCommand(const QStringList &arguments, Console &console) {
    const QString program = QLatin1String(kProgramName);
    const QString word = arguments.value(1);
    if (word == QLatin1String("--version") || word == QLatin1String("-V"))
        return report(console, cmdline::GnuCommandLine({program, {}, {}, {}}, {}).parse({program, word}));
    return dispatch(QStringList{program} + arguments.mid(1),
                    QStringLiteral("Configures ZENTORIX / ZENTORIQ modules from the command line.\n"
                                   "-V, --version shows the program's version."),
                    kCommands, console);
}

} // namespace

int runCli(const QStringList &arguments, Console &console) {
    const int status = runCommand(arguments, console);
    // Output that did not arrive is a failure, whatever the command found.
    if (const int error = console.outError(); error != 0)
        return console.fail(ExitUsage, QStringLiteral("standard output: %1; the output is incomplete")
                                           .arg(files::errnoText(error)));
    return status;
}

} // namespace zx::cli
