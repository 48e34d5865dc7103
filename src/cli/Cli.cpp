#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "cli/Subcommand.h"

#include <array>

namespace zx::cli {
namespace {

constexpr std::array kCommands = {
    Subcommand{"profile", "export, import and compare settings profiles (offline)", &runProfile},
    Subcommand{"ports", "list Com1..Com16 with the device each opens", &runPorts},
};

} // namespace

int runCli(const QStringList &arguments, Console &console) {
    const QString program = QLatin1String(kProgramName);
    if (arguments.value(1) == QLatin1String("--version")) {
        console.printLine(program + QStringLiteral(" " ZENTORIX_VERSION));
        return ExitOk;
    }
    return dispatch(QStringList{program} + arguments.mid(1),
                    QStringLiteral("Configures ZENTORIX / ZENTORIQ modules from the command line.\n"
                                   "--version shows the program's version."),
                    kCommands, console);
}

} // namespace zx::cli
