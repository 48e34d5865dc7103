#include "settings/FileResult.h"

namespace zx::settings {

QString fileResultText(const FileResult &result) {
    switch (result.status) {
    case FileStatus::Ok:
        return {};
    case FileStatus::AccessError:
        return QStringLiteral("ZENTORIX.cfg access error");
    case FileStatus::ReadBeyondEnd:
        return QStringLiteral("Read beyond end of file");
    case FileStatus::DiskFull:
        return QStringLiteral("Disk full");
    case FileStatus::IoError:
        return QStringLiteral("I/O error %1").arg(result.errorCode);
    }
    return {};
}

} // namespace zx::settings
