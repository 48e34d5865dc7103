// The "Module" menu in SMS mode: each run item makes an SMS job for the
// window's module number, asks before anything is sent (how many SMS to
// which number, and their cost), and runs it through the modem on the
// window's port. A job is kept in the module register as it goes; closing
// the window stops it, and the next window in SMS mode goes on with it.
#include "ui/module/ModuleMenu.h"

#include "gsm/PduEncoder.h"
#include "provision/RunLists.h"
#include "register/ModuleNumber.h"
#include "register/SmsJobs.h"
#include "register/SmsRuns.h"
#include "text/Ansi.h"
#include "ui/MessageBoxes.h"
#include "ui/module/ModuleWindow.h"
#include "ui/module/SmsJobRunner.h"
#include "ui/module/SmsJobsView.h"
#include "ui/register/ModulesDialog.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace zx::ui {
namespace {

const QString kSmsWriting = QStringLiteral("Writing settings to the module by SMS");
const QString kSmsReading = QStringLiteral("Reading the module by SMS");

int openCommands(const remote::SmsJob &job) {
    int count = 0;
    for (const remote::SmsCommand &command : job.commands)
        count += remote::isFinal(command.state) ? 0 : 1;
    return count;
}

} // namespace

bool ModuleMenu::smsJobRunning() const {
    return sms_ && sms_->running();
}

void ModuleMenu::keepSmsJob() {
    if (sms_)
        sms_->stopAndKeep();
}

SmsJobsView &ModuleMenu::smsJobsView() {
    if (!smsView_) {
        smsView_ = new SmsJobsView(&window_.frame());
        connect(smsView_, &SmsJobsView::cancelRequested, this, &ModuleMenu::cancelSmsJob);
    }
    return *smsView_;
}

void ModuleMenu::showSmsJobs() {
    SmsJobsView &view = smsJobsView();
    view.show();
    view.raise();
}

QString ModuleMenu::smsModule() const {
    return reg::normaliseNumber(moduleNumber());
}

bool ModuleMenu::smsReady(const QString &what) {
    if (!portReady(what, QStringLiteral("modem's")))
        return false;
    const QString number = smsModule();
    if (number.size() < 3 || gsm::checkModuleNumber(number.toLatin1()) != gsm::NumberCheck::Ok) {
        showBox(&window_.frame(), BoxKind::Error, what,
                QStringLiteral("\"%1\" is not a telephone number. Give the module's number on "
                               "\"Main\", then try again.")
                    .arg(moduleNumber()));
        return false;
    }
    if (!window_.modemIdle()) {
        showBox(&window_.frame(), BoxKind::Warning, what,
                QStringLiteral("The modem is still busy with the window's own commands. Try again "
                               "when the status line is green."));
        return false;
    }
    return true;
}

void ModuleMenu::smsWrite(bool whole) {
    if (!smsReady(kSmsWriting))
        return;
    const QString module = smsModule();
    profile::Source source;
    source.record = window_.currentRecord();
    struct Built {
        QString problem;
        remote::SmsJob job;
        bool unknown = false;
    };
    const Built built = register_.call([&](RegisterThread::State &kept) {
        Built made;
        if (!kept.open()) {
            made.problem = kept.problem;
            return made;
        }
        made.job = reg::writeJob(*kept.reg, {module}, source, whole,
                                 [&made](const QString &) { made.unknown = true; });
        return made;
    });
    if (!built.problem.isEmpty()) {
        showBox(&window_.frame(), BoxKind::Error, kSmsWriting,
                QStringLiteral("The module register cannot be opened (%1). An SMS job is kept "
                               "there as it goes, so nothing was sent.")
                    .arg(built.problem));
        return;
    }
    if (built.job.commands.isEmpty()) {
        status(QStringLiteral("Nothing to write: the module register knows module %1 holds "
                              "these values.")
                   .arg(module));
        return;
    }
    const QString scope =
        whole ? QStringLiteral("every value of the window")
        : built.unknown
            ? QStringLiteral("every value of the window: the module register knows nothing of "
                             "module %1 yet")
                  .arg(module)
            : QStringLiteral("the values that differ from what the module register knows module "
                             "%1 holds")
                  .arg(module);
    askAndSend(built.job, source, kSmsWriting, scope);
}

void ModuleMenu::smsRead() {
    if (!smsReady(kSmsReading))
        return;
    profile::Source source;
    source.record = window_.currentRecord();
    askAndSend(reg::readJob({smsModule()}, {}), source, kSmsReading,
               QStringLiteral("the questions for the alarm numbers, the phone book, the texts and "
                              "the GPRS/FTP values"));
}

void ModuleMenu::askAndSend(remote::SmsJob job, const profile::Source &source, const QString &title,
                            const QString &scope) {
    job.modemPort = window_.runLine().name;
    job.pricePerSms = SmsJobsView::pricePerSms();
    const QString module = job.modules().value(0);
    QString details = reg::costLines(job).join(u'\n');
    details +=
        QStringLiteral("\nIt sends %1. The job is kept in the module register as it goes: "
                       "closing the window stops it, and it goes on the next time the window "
                       "opens in SMS mode.")
            .arg(scope);
    confirm(
        QStringLiteral("Send %1 SMS to %2 through the modem on %3?")
            .arg(openCommands(job))
            .arg(module, window_.runLine().name),
        details,
        [this, job, source, title]() mutable {
            if (!smsReady(title))
                return;
            if (const QString why = sms_->create(job, source.record); !why.isEmpty()) {
                showBox(&window_.frame(), BoxKind::Error, title,
                        QStringLiteral("The job could not be kept in the module register (%1); "
                                       "nothing was sent.")
                            .arg(why));
                return;
            }
            startSmsJob(job, source);
        },
        title);
}

void ModuleMenu::startSmsJob(const remote::SmsJob &job, const profile::Source &source) {
    if (const QString why = sms_->claim(job.id); !why.isEmpty()) {
        SmsJobsView &view = smsJobsView();
        view.showJob(job, QStringLiteral("does not go on here: %1").arg(why));
        showSmsJobs();
        status(QStringLiteral("SMS job %1 does not go on here: %2.").arg(job.id).arg(why));
        return;
    }
    showLast_ = {};
    running_ = true;
    updateItems();
    window_.lockForSmsJob(true);
    window_.keepModemAnswers(true);
    SmsJobsView &view = smsJobsView();
    view.showJob(job, QStringLiteral("running"));
    view.setRunning(job.id);
    showSmsJobs();
    status(QStringLiteral("SMS job %1 runs: \"SMS jobs\" shows how far it is.").arg(job.id));
    sms_->run(job, source);
}

void ModuleMenu::smsJobEnded() {
    if (!sms_)
        return;
    const remote::SmsJob &job = sms_->job();
    running_ = false;
    window_.lockForSmsJob(false);
    window_.keepModemAnswers(false);
    updateItems();
    const bool stopped = job.state == QLatin1String("running");
    QString note = job.state;
    if (!sms_->failure().isEmpty())
        note = QStringLiteral("stopped: %1; it goes on the next time the window opens")
                   .arg(sms_->failure());
    else if (stopped)
        note = QStringLiteral("stopped; it goes on the next time the window opens");
    if (smsView_) {
        smsView_->showJob(job, note);
        smsView_->setRunning(0);
    }
    if (going_)
        return;
    status(QStringLiteral("SMS job %1 %2: %3 of %4 commands answered, %5 refused, %6 given up.")
               .arg(job.id)
               .arg(note)
               .arg(job.countIn(remote::SmsState::Answered))
               .arg(job.commands.size())
               .arg(job.countIn(remote::SmsState::Refused))
               .arg(job.countIn(remote::SmsState::GivenUp)));
    if (modulesDialog_ && modulesDialog_->isVisible())
        modulesDialog_->reload();
    if (job.kind == QLatin1String("read") && job.state == QLatin1String("finished"))
        showReadJob(job);
}

// The module's answers beside the window's values, as a read over the cable
// shows them; the user takes what he wants into the controls.
void ModuleMenu::showReadJob(const remote::SmsJob &job) {
    const provision::ReadRun reads = provision::readRun(provision::readableEntries());
    provision::Report report;
    report.port = QStringLiteral("SMS %1").arg(job.modules().value(0));
    for (const remote::SmsCommand *command : job.commandsOf(job.modules().value(0)))
        report.results.append(reg::resultOf(*command, QStringLiteral("read")));
    if (report.results.size() != reads.steps.size())
        return;
    settings::ConfigRecord module;
    const QStringList answered = readBack(report.results, module);
    showLast_ = [this, module, answered, report] { showComparison(module, answered, report); };
    updateItems();
    showLast_();
}

void ModuleMenu::cancelSmsJob() {
    if (!smsJobRunning())
        return;
    auto *box = new QMessageBox(QMessageBox::Question, QStringLiteral("Cancel the SMS job"),
                                QStringLiteral("Cancel SMS job %1?").arg(sms_->job().id),
                                QMessageBox::Yes | QMessageBox::No, &smsJobsView());
    box->setObjectName(QStringLiteral("CancelSmsJobConfirm"));
    box->setInformativeText(QStringLiteral(
        "Nothing more is sent and the job is marked cancelled: it does not go on later. What was "
        "handed to the modem already may still reach the module."));
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this](int result) {
        if (result == QMessageBox::Yes && sms_)
            sms_->cancel();
    });
    box->open();
}

void ModuleMenu::loadKeptJobs() {
    const QList<remote::SmsJob> jobs = sms_->runningJobs();
    if (jobs.isEmpty())
        return;
    SmsJobsView &view = smsJobsView();
    for (auto it = jobs.crbegin(); it != jobs.crend(); ++it)
        view.showJob(*it, QStringLiteral("kept running in the module register"));
    remote::SmsJob newest = jobs.constFirst();
    profile::Source source;
    if (const QString why = sms_->prepareResume(newest, source); !why.isEmpty()) {
        view.setNote(newest.id, QStringLiteral("does not go on: %1").arg(why));
    } else {
        view.setNote(newest.id, QStringLiteral("goes on when the port is open in SMS mode"));
        resumable_ = newest;
        resumeSource_ = source;
        // What the modules answered meanwhile is the job's.
        window_.keepModemAnswers(true);
        resumeTimer_->start();
    }
    showSmsJobs();
}

void ModuleMenu::tryResume() {
    if (!resumable_) {
        resumeTimer_->stop();
        return;
    }
    if (running_ || !smsMode_ || !window_.runLine().open() || !window_.modemIdle())
        return;
    resumeTimer_->stop();
    const remote::SmsJob job = *resumable_;
    resumable_.reset();
    startSmsJob(job, resumeSource_);
}

} // namespace zx::ui
