#include "ui/module/SmsJobRunner.h"

#include "files/UserFolders.h"
#include "register/Journal.h"
#include "register/SmsJobs.h"
#include "register/SmsRuns.h"
#include "settings/FirstRunRecord.h"
#include "ui/module/ModuleWindow.h"
#include "ui/module/WindowRunPort.h"
#include "ui/register/RegisterThread.h"

#include <QDateTime>
#include <QFile>

namespace zx::ui {
namespace {

// The driver is polled this often while the modem belongs to the job.
constexpr int kPollMs = 20;

QString jobFolder() {
    return files::toolFolder("XDG_STATE_HOME", ".local/state") + QStringLiteral("/sms-jobs");
}

} // namespace

// The journal on the register's thread: every step waits until it is kept.
class SmsJobRunner::Store final : public remote::JobStore {
public:
    explicit Store(RegisterThread &reg) : register_(reg) {}

    bool create(remote::SmsJob &job) override {
        return onJournal([&](reg::Journal &journal) { return journal.create(job); });
    }
    bool update(const remote::SmsCommand &command) override {
        return onJournal([&](reg::Journal &journal) { return journal.update(command); });
    }
    Seen seen(const QByteArray &key) override {
        Seen said = Seen::Failed;
        onJournal([&](reg::Journal &journal) {
            said = journal.seen(key);
            return said != Seen::Failed;
        });
        return said;
    }
    bool takeMessage(const QByteArray &key, const remote::SmsCommand *answered) override {
        return onJournal([&](reg::Journal &journal) { return journal.takeMessage(key, answered); });
    }
    bool finish(qint64 job, const QString &state) override {
        return onJournal([&](reg::Journal &journal) { return journal.finish(job, state); });
    }
    QString lastError() const override { return error_; }

    template <typename Step> bool onJournal(Step step) {
        return register_.call([&](RegisterThread::State &kept) {
            if (!kept.open()) {
                error_ = kept.problem;
                return false;
            }
            reg::Journal journal(*kept.reg);
            if (step(journal))
                return true;
            error_ = journal.lastError();
            return false;
        });
    }

private:
    RegisterThread &register_;
    QString error_;
};

SmsJobRunner::SmsJobRunner(ModuleWindow &window, RegisterThread &reg, QObject *parent)
    : QObject(parent), window_(window), register_(reg), store_(std::make_unique<Store>(reg)) {}

SmsJobRunner::~SmsJobRunner() {
    if (running())
        stopAndKeep();
}

QString SmsJobRunner::create(remote::SmsJob &job, const settings::ConfigRecord &record) {
    const QString folder = jobFolder();
    if (const int error = files::makePrivatePath(folder); error != 0)
        return QStringLiteral("%1: %2").arg(folder, files::errnoText(error));
    const QString path =
        QStringLiteral("%1/window-%2.json")
            .arg(folder,
                 QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")));
    if (const QString why = profile::writeProfileFile(path, record); !why.isEmpty())
        return why;
    job.profile = path;
    job.profileHash = reg::profileHash(path);
    if (!store_->create(job))
        return store_->lastError();
    return {};
}

QList<remote::SmsJob> SmsJobRunner::runningJobs() {
    return register_.call([](RegisterThread::State &kept) {
        return kept.open() ? reg::Journal(*kept.reg).jobs(true) : QList<remote::SmsJob>{};
    });
}

QString SmsJobRunner::prepareResume(remote::SmsJob &job, profile::Source &source) {
    source = {};
    source.record = settings::firstRunRecord();
    if (job.profile.isEmpty())
        return {};
    source = profile::readSource(job.profile, settings::firstRunRecord());
    if (!source.ok())
        return source.error;
    return reg::restoreSecrets(job, source, reg::profileHash(job.profile));
}

QString SmsJobRunner::claim(qint64 job) {
    QString holder;
    if (store_->onJournal([&](reg::Journal &journal) { return journal.claim(job, false, &holder); })) {
        claimed_ = job;
        return {};
    }
    return holder.isEmpty() ? store_->lastError()
                            : QStringLiteral("%1 runs it; stop that first").arg(holder);
}

void SmsJobRunner::run(remote::SmsJob job, const profile::Source &source) {
    // What a job before this one left (it ended inside the engine's signal).
    runs_.reset();
    engine_.reset();
    modem_ = std::make_unique<remote::ModemLink>(
        window_.runPort(), channel::ChannelTiming::forBaud(window_.runLine().baud));
    window_.runPort().beginModem(*modem_, kPollMs);
    engine_ = std::make_unique<remote::SmsEngine>(*modem_, *store_);
    connect(engine_.get(), &remote::SmsEngine::commandChanged, this,
            [this](const remote::SmsCommand &command) {
                if (remote::isFinal(command.state) && runs_)
                    register_.call([&](RegisterThread::State &) { runs_->done(command); });
                emit commandChanged(command);
            });
    connect(engine_.get(), &remote::SmsEngine::finished, this, &SmsJobRunner::end);
    engine_->run(std::move(job));
    if (!engine_->running())
        return;
    register_.call([&](RegisterThread::State &kept) {
        if (!kept.open())
            return;
        runs_ = std::make_unique<reg::SmsRuns>(*kept.reg, engine_->job(), source.record);
        if (!runs_->begin())
            runs_.reset();
    });
}

void SmsJobRunner::stopAndKeep() {
    if (engine_)
        engine_->stop(false);
}

void SmsJobRunner::cancel() {
    if (engine_)
        engine_->stop(true);
}

void SmsJobRunner::end() {
    const remote::SmsJob &job = engine_->job();
    const bool stopped = job.state == QLatin1String("running");
    // The window's values with their passwords stay only while the job may
    // still go on.
    if (!stopped && job.profile.startsWith(jobFolder() + u'/'))
        QFile::remove(job.profile);
    if (runs_)
        register_.call([&](RegisterThread::State &) {
            runs_->finish(stopped);
            runs_.reset();
        });
    if (claimed_ != 0) {
        store_->onJournal([this](reg::Journal &journal) {
            journal.release(claimed_);
            return true;
        });
        claimed_ = 0;
    }
    window_.runPort().endModem();
    emit finished();
}

} // namespace zx::ui
