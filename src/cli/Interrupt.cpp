#include "cli/Interrupt.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

namespace zx::cli {
namespace {

int interruptPipe[2] = {-1, -1};

void onInterrupt(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(interruptPipe[1], &byte, 1);
}

} // namespace

InterruptCancels::InterruptCancels(QObject *context, std::function<void()> cancel) {
    if (interruptPipe[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, interruptPipe) != 0)
        return;
    m_notifier = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier, &QSocketNotifier::activated, context,
                     [cancel = std::move(cancel)] {
                         char byte = 0;
                         [[maybe_unused]] const ssize_t ignored =
                             ::read(interruptPipe[0], &byte, 1);
                         cancel();
                     });
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &m_oldInt);
    ::sigaction(SIGTERM, &action, &m_oldTerm);
    ::sigaction(SIGHUP, &action, &m_oldHup);
}

InterruptCancels::~InterruptCancels() {
    if (!m_notifier)
        return;
    ::sigaction(SIGINT, &m_oldInt, nullptr);
    ::sigaction(SIGTERM, &m_oldTerm, nullptr);
    ::sigaction(SIGHUP, &m_oldHup, nullptr);
    delete m_notifier;
}

} // namespace zx::cli
