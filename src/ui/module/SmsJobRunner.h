#pragma once
// An SMS job from the window: the modem on the window's own port, the
// engine the command line uses, the job's journal and its runs in the
// module register on the register's thread. A job is kept from its start
// with the window's values in a private profile file beside it, so that a
// window opened later goes on where this one stopped.
#include "profile/ProfileFiles.h"
#include "remote/ModemLink.h"
#include "remote/SmsEngine.h"
#include "remote/SmsJob.h"

#include <QObject>
#include <QString>

#include <memory>

namespace zx::reg {
class SmsRuns;
}

namespace zx::ui {

class ModuleWindow;
class RegisterThread;

class SmsJobRunner : public QObject {
    Q_OBJECT
public:
    SmsJobRunner(ModuleWindow &window, RegisterThread &reg, QObject *parent = nullptr);
    // A job still running stops and stays in the journal, to be resumed.
    ~SmsJobRunner() override;

    // The job into the journal (its ids given), with record as its profile;
    // empty, or why it could not be kept.
    QString create(remote::SmsJob &job, const settings::ConfigRecord &record);
    // The journal's jobs not finished or cancelled, newest first.
    QList<remote::SmsJob> runningJobs();
    // A kept job made ready to go on: its profile read again and its
    // password lines restored; empty, or why it cannot go on.
    QString prepareResume(remote::SmsJob &job, profile::Source &source);

    // The job is this program's to run (two programs on one job would send
    // its commands twice); empty, or why not. run() follows, and its end
    // gives the job back.
    QString claim(qint64 job);
    void run(remote::SmsJob job, const profile::Source &source);
    bool running() const { return engine_ && engine_->running(); }
    // Stops sending; the job stays running in the journal.
    void stopAndKeep();
    // Stops and marks the job cancelled.
    void cancel();
    const remote::SmsJob &job() const { return engine_->job(); }
    QString failure() const { return engine_ ? engine_->failure() : QString(); }

signals:
    void commandChanged(const zx::remote::SmsCommand &command);
    void finished();

private:
    class Store;
    void end();

    ModuleWindow &window_;
    RegisterThread &register_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<remote::ModemLink> modem_;
    std::unique_ptr<remote::SmsEngine> engine_;
    std::unique_ptr<reg::SmsRuns> runs_;
    qint64 claimed_ = 0;
};

} // namespace zx::ui
