#pragma once
// The module register on a thread of its own: the window's runs are kept
// there, one command at a time, so that a slow disk or a distant PostgreSQL
// server never holds up the window's event loop. What is posted runs in
// order; call() waits for its answer (and for all that was posted before).
#include "register/Register.h"
#include "register/RunKeeper.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace zx::ui {

class RegisterThread {
public:
    // What lives on the thread: the register (opened on first use, again
    // after a failure) and the keeper of the run going on.
    struct State {
        std::unique_ptr<reg::Register> reg;
        reg::RunKeeper keeper;
        QString problem; // why the run is not (wholly) kept
        bool kept = false; // the run was kept from its start
        // Opens the register the user's setting names; false, with problem
        // set, when it cannot be.
        bool open();
    };

    RegisterThread();
    // A run left without an end is marked interrupted, then the register
    // closes and the thread stops.
    ~RegisterThread();
    RegisterThread(const RegisterThread &) = delete;
    RegisterThread &operator=(const RegisterThread &) = delete;

    void post(std::function<void(State &)> job);
    template <typename Job> auto call(Job job) -> decltype(job(std::declval<State &>())) {
        using Result = decltype(job(std::declval<State &>()));
        if constexpr (std::is_void_v<Result>) {
            run([&](State &state) { job(state); });
        } else {
            Result result{};
            run([&](State &state) { result = job(state); });
            return result;
        }
    }

private:
    void run(const std::function<void(State &)> &job);

    QThread thread_;
    QObject *context_ = nullptr; // on the thread
    State *state_ = nullptr;     // made and destroyed on the thread
};

} // namespace zx::ui
