#pragma once
// Ctrl-C (SIGINT), SIGTERM and SIGHUP (the terminal closed) cancel a run
// while it lasts: the signal is noted on a socket pair and cancel runs on the
// event loop, in context's thread. The previous handlers come back after.
#include <QObject>

#include <csignal>
#include <functional>

class QSocketNotifier;

namespace zx::cli {

class InterruptCancels {
public:
    InterruptCancels(QObject *context, std::function<void()> cancel);
    ~InterruptCancels();
    InterruptCancels(const InterruptCancels &) = delete;
    InterruptCancels &operator=(const InterruptCancels &) = delete;

private:
    QSocketNotifier *m_notifier = nullptr;
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
    struct sigaction m_oldHup {};
};

} // namespace zx::cli
