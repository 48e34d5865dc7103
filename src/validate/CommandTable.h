#pragma once
// The module's command table as the lines it takes: for each keyword the
// shape of a whole line (index digits, fixed-width fields, the characters a
// value may hold). A plan builds only lines this table accepts, and a line
// typed for "send" must pass it before it goes out.
#include <QByteArray>
#include <QString>

namespace zx::validate {

// Empty when the line is one the module takes; otherwise one line saying
// why, without the line's text when it carries a password.
QString checkCommandLine(const QByteArray &line);

// The line writes a password ("SETPW ", "SETPF "), leading blanks aside.
bool writesPassword(const QByteArray &line);

} // namespace zx::validate
