#pragma once
// Where the tool keeps its own files under the user's home, and making those
// folders private to the user.
#include <QString>

namespace zx::files {

// $xdgVariable when it holds an absolute path, else ~/fallbackUnderHome;
// then "/zentorix": toolFolder("XDG_STATE_HOME", ".local/state").
QString toolFolder(const char *xdgVariable, const char *fallbackUnderHome);

// mkdir -p, each level it makes with mode 0700. Returns 0 or the errno; a
// path that ends in something other than a folder gives ENOTDIR.
int makePrivatePath(const QString &directory);

// The system's text for an errno value.
QString errnoText(int error);

} // namespace zx::files
