#pragma once
// How a module command line is laid out on the wire: the text-table commands
// padded to their table width, a CR, and in setting mode the set-up prefix in
// front and a NUL behind. The send path and provisioning both frame here.
#include <QByteArray>
#include <QString>

namespace zx::link {

inline constexpr char kSetupPrefix[] = "              SETUP:";

// "SETTX"/"GETTX" lines blank-padded to 48 characters, "SETTI"/"GETTI" to
// 23 (keyword compared case-sensitively, longer lines left alone), then CR.
QByteArray paddedCommandLine(QByteArray line);

// Setting mode: the set-up prefix, the padded line with its CR, one NUL.
QByteArray settingModeFrame(const QByteArray &line);

// A command line as messages name it: "GETNR3", quoted, without its blanks.
QString quotedCommand(const QByteArray &line);

} // namespace zx::link
