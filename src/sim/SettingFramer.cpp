#include "sim/SettingFramer.h"

namespace zx::sim {
namespace {

// Longer than any command line; noise without a CR must not pile up.
constexpr qsizetype kMaxLine = 1024;

QByteArray withoutPrefix(const QByteArray &line) {
    const QByteArray prefix(kSetupPrefix);
    const qsizetype at = line.indexOf(prefix);
    if (at >= 0)
        return line.mid(at + prefix.size());
    // A prefix whose leading blanks were lost still marks the line's start.
    const qsizetype setup = line.indexOf("SETUP:");
    if (setup >= 0 && line.left(setup).trimmed().isEmpty())
        return line.mid(setup + 6);
    return line;
}

} // namespace

QList<QByteArray> SettingFramer::feed(const QByteArray &bytes) {
    QList<QByteArray> lines;
    for (const char byte : bytes) {
        // The NUL behind the CR of a framed line, and line feeds, end nothing.
        if (byte == '\0' || byte == '\n')
            continue;
        if (byte != '\r') {
            if (m_pending.size() < kMaxLine)
                m_pending += byte;
            continue;
        }
        const QByteArray line = withoutPrefix(m_pending);
        m_pending.clear();
        if (!line.trimmed().isEmpty())
            lines.append(line);
    }
    return lines;
}

} // namespace zx::sim
