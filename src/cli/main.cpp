#include "cli/Cli.h"

#include <QCoreApplication>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zentorix-cli"));
    zx::cli::StandardConsole console;
    return zx::cli::runCli(QCoreApplication::arguments(), console);
}
