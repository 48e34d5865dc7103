#pragma once
// A readable record entry as the window labels it: "Abonents: Numbers for
// alarm SMS, Nr3" for "AlarmNumbers[3]", "GPRS, FTP: FTP Host Name" for
// "FtpHost". An entry the window has no control for keeps its own name.
#include <QString>

namespace zx::ui {

QString fieldCaption(const QString &entry);

} // namespace zx::ui
