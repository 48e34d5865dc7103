#include "cli/Console.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace zx::cli {
namespace {

// 0 or the errno of a write that did not take all the bytes.
int write(std::FILE *stream, QByteArrayView bytes) {
    if (bytes.isEmpty()) // an empty view may carry no buffer at all
        return 0;
    errno = 0;
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    if (std::fwrite(bytes.data(), 1, size, stream) != size || std::fflush(stream) != 0)
        return errno != 0 ? errno : EIO;
    return 0;
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
    if (const int error = write(stdout, bytes); error != 0 && m_outError == 0)
        m_outError = error;
}

void StandardConsole::err(QByteArrayView bytes) {
    write(stderr, bytes);
}

bool StandardConsole::errIsTerminal() const {
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace zx::cli
