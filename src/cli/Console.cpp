#include "cli/Console.h"

#include <cstdio>
#include <unistd.h>

namespace zx::cli {
namespace {

void write(std::FILE *stream, QByteArrayView bytes) {
    if (bytes.isEmpty()) // an empty view may carry no buffer at all
        return;
    std::fwrite(bytes.data(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void Console::printLine(const QString &line) {
    out((line + QLatin1Char('\n')).toUtf8());
}

int Console::fail(int code, const QString &message) {
    err(QStringLiteral("%1: %2\n").arg(QLatin1String(kProgramName), message).toUtf8());
    return code;
}

void StandardConsole::out(QByteArrayView bytes) {
    write(stdout, bytes);
}

void StandardConsole::err(QByteArrayView bytes) {
    write(stderr, bytes);
}

bool StandardConsole::errIsTerminal() const {
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace zx::cli
