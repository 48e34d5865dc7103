#include "cmdline/ProjectInfo.h"

// The build passes these from the project's CMake settings.
#ifndef ZX_PROJECT_VERSION
#error "ZX_PROJECT_VERSION is set by the build"
#endif

namespace zx::cmdline {

QString projectName() {
    return QStringLiteral("zentorix");
}

QString projectVersion() {
    return QStringLiteral(ZX_PROJECT_VERSION);
}

QString projectHomepage() {
    return QStringLiteral(ZX_PROJECT_HOMEPAGE);
}

QString bugReportUrl() {
    return projectHomepage() + QStringLiteral("/issues");
}

QString copyrightLine() {
    return QStringLiteral("Copyright (C) 2026 the ZENTORIX developers.");
}

QString applicationId() {
    return QStringLiteral(ZX_APPLICATION_ID);
}

} // namespace zx::cmdline
