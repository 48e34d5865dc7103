#pragma once
// Where a start from the desktop menu keeps the settings file: one folder per
// user, as the XDG base directories have it, instead of whatever working
// directory the desktop happened to give.
#include <QString>

namespace zx::settings {

// $XDG_DATA_HOME/zentorix, or ~/.local/share/zentorix when XDG_DATA_HOME is
// unset, empty or not an absolute path.
QString userSettingsDirectory();

struct SettingsHomeResult {
    bool ok = true;
    QString message; // for the user when !ok: what failed and what to do
};

// Makes the folder (each new level private to the user, mode 0700), stores
// the first-run record as ZENTORIX.cfg there when nothing of that name exists
// yet, and makes the folder the working directory, where the window reads and
// saves its settings. An existing file, even a broken one, is left as it is.
SettingsHomeResult enterSettingsHome(const QString &directory);

} // namespace zx::settings
