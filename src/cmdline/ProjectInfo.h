#pragma once
// Facts about the project that its programs print: the version the build was
// made from and where to report bugs.
#include <QString>

namespace zx::cmdline {

QString projectName();    // "zentorix", the package name
QString projectVersion(); // "0.1"
QString projectHomepage();
QString bugReportUrl();
QString copyrightLine();
// The menu entry's id, which names the desktop file, the icon and the
// AppStream metadata.
QString applicationId();

} // namespace zx::cmdline
