#pragma once
// The SMS jobs' journal, kept in the register's database beside the runs:
// every job, each of its commands' states, and the received messages dealt
// with. Each change is one transaction, so a program killed anywhere leaves
// a job that goes on from where it stopped. A password line is not kept (the
// profile gives it again on resume), nor an answer that carries one.
#include "register/Register.h"
#include "remote/SmsJob.h"

#include <optional>

namespace zx::reg {

class Journal final : public remote::JobStore {
public:
    explicit Journal(Register &reg) : m_db(reg.database()) {}

    bool create(remote::SmsJob &job) override;
    bool update(const remote::SmsCommand &command) override;
    Seen seen(const QByteArray &key) override;
    bool takeMessage(const QByteArray &key, const remote::SmsCommand *answered) override;
    bool finish(qint64 job, const QString &state) override;
    QString lastError() const override { return m_db.lastError(); }

    // This program runs the job from now on; false, with *holder saying
    // which, when a program that is still there on this machine runs it, or
    // one on another machine (unless takeOver).
    bool claim(qint64 job, bool takeOver, QString *holder);
    void release(qint64 job);

    // Newest first; with runningOnly only jobs not finished or cancelled.
    QList<remote::SmsJob> jobs(bool runningOnly = false);
    std::optional<remote::SmsJob> job(qint64 id);

private:
    bool loadCommands(remote::SmsJob &job);
    Database &m_db;
};

} // namespace zx::reg
