#include "settings/Unprivileged.h"

#include <QFile>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zx::settings::testing {
namespace {

constexpr uid_t kNobody = 65534;
constexpr int kCannotDropRoot = 125;

} // namespace

bool giveToUnprivilegedUser(const QString &path) {
    if (::geteuid() != 0)
        return true;
    return ::chown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0;
}

std::optional<int> runUnprivileged(const std::function<int()> &body) {
    const bool root = ::geteuid() == 0;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        if (root &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(kCannotDropRoot);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return std::nullopt;
    if (!WIFEXITED(status))
        return 1000 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    if (WEXITSTATUS(status) == kCannotDropRoot)
        return std::nullopt;
    return WEXITSTATUS(status);
}

} // namespace zx::settings::testing
