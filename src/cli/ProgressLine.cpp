#include "cli/ProgressLine.h"

#include <cmath>

namespace zx::cli {
namespace {

// Back to the start of the line and erase it.
constexpr char kClearLine[] = "\r\033[K";

} // namespace

QString ProgressLine::text(int done, int total, qint64 elapsedMs) {
    QString line = QStringLiteral("command %1 of %2").arg(done).arg(total);
    if (done <= 0 || elapsedMs <= 0)
        return line;
    const double perSecond = done * 1000.0 / double(elapsedMs);
    const auto secondsLeft = static_cast<qint64>(std::ceil((total - done) / perSecond));
    return line + QStringLiteral(", %1/s, %2 s left").arg(perSecond, 0, 'f', 1).arg(secondsLeft);
}

void ProgressLine::update(int done, int total, qint64 elapsedMs) {
    if (!m_console.errIsTerminal())
        return;
    m_console.err(QByteArray(kClearLine) + text(done, total, elapsedMs).toUtf8());
    m_shown = true;
}

void ProgressLine::finish() {
    if (m_shown)
        m_console.err(kClearLine);
    m_shown = false;
}

} // namespace zx::cli
