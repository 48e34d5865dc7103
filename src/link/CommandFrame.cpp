#include "link/CommandFrame.h"

#include "text/Ansi.h"

namespace zx::link {
namespace {

constexpr int kTextTableWidth = 48;  // "SETTX"/"GETTX" lines
constexpr int kShortTableWidth = 23; // "SETTI"/"GETTI" lines

void padTo(QByteArray &line, int width) {
    if (line.size() < width)
        line.append(QByteArray(width - line.size(), ' '));
}

} // namespace

QByteArray paddedCommandLine(QByteArray line) {
    const QByteArray keyword = line.left(5);
    if (keyword == "SETTX" || keyword == "GETTX")
        padTo(line, kTextTableWidth);
    if (keyword == "SETTI" || keyword == "GETTI")
        padTo(line, kShortTableWidth);
    line.append('\r');
    return line;
}

QByteArray settingModeFrame(const QByteArray &line) {
    return QByteArray(kSetupPrefix) + paddedCommandLine(line) + QByteArray(1, '\0');
}

QString quotedCommand(const QByteArray &line) {
    return QStringLiteral("\"%1\"").arg(text::fromAnsi(line).trimmed());
}

} // namespace zx::link
