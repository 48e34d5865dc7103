#include "ui/register/RegisterThread.h"

namespace zx::ui {

bool RegisterThread::State::open() {
    if (!reg) {
        QString error;
        reg = reg::Register::openConfigured(&error);
        keeper.setRegister(reg.get());
        if (!reg)
            problem = error;
    }
    return reg != nullptr;
}

RegisterThread::RegisterThread() {
    thread_.setObjectName(QStringLiteral("ModuleRegister"));
    context_ = new QObject;
    context_->moveToThread(&thread_);
    thread_.start();
}

RegisterThread::~RegisterThread() {
    QMetaObject::invokeMethod(
        context_,
        [this] {
            if (state_)
                state_->keeper.interrupt();
            delete state_;
            state_ = nullptr;
        },
        Qt::BlockingQueuedConnection);
    context_->deleteLater();
    thread_.quit();
    thread_.wait();
}

void RegisterThread::post(std::function<void(State &)> job) {
    QMetaObject::invokeMethod(
        context_,
        [this, job = std::move(job)] {
            if (!state_)
                state_ = new State;
            job(*state_);
        },
        Qt::QueuedConnection);
}

void RegisterThread::run(const std::function<void(State &)> &job) {
    QMetaObject::invokeMethod(
        context_,
        [this, &job] {
            if (!state_)
                state_ = new State;
            job(*state_);
        },
        Qt::BlockingQueuedConnection);
}

} // namespace zx::ui
