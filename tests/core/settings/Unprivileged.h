#pragma once
// File permission checks mean nothing to root, so the tests that need them
// run their body in a child process that has given root up.
#include <QString>

#include <functional>
#include <optional>

namespace zx::settings::testing {

// Hands a file or directory to the user the child runs as (only when root).
bool giveToUnprivilegedUser(const QString &path);

// Runs body in a child process as an unprivileged user and returns the
// child's exit code (body's result, 0..99), or a value of 1000 and above when
// the child died. Empty when no such child can be made: the test then skips.
std::optional<int> runUnprivileged(const std::function<int()> &body);

} // namespace zx::settings::testing
