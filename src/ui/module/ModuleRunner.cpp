#include "ui/module/ModuleRunner.h"

#include "ui/module/ModuleWindow.h"
#include "ui/module/RunStatus.h"
#include "ui/module/WindowRunPort.h"

#include <QMainWindow>
#include <QProgressDialog>

#include <cmath>

namespace zx::ui {

QString timeLeftText(qint64 elapsedMs, int done, int total) {
    if (done <= 0)
        return QStringLiteral("Estimating the time left…");
    const double left = double(elapsedMs) / done * (total - done) / 1000.0;
    if (left < 1.0)
        return QStringLiteral("Less than a second left");
    return QStringLiteral("About %1 s left").arg(std::lround(left));
}

ModuleRunner::ModuleRunner(ModuleWindow &window, QObject *parent)
    : QObject(parent), window_(window) {}

ModuleRunner::~ModuleRunner() {
    // The window closing in the middle of a run: the port lets go of the
    // engine before the engine goes.
    if (running()) {
        window_.runPort().endRun();
        window_.lockForRun(false);
    }
    delete progress_;
}

void ModuleRunner::start(const QString &what, const QList<provision::Command> &commands) {
    const RunLine line = window_.runLine();
    what_ = what;
    report_ = {};
    report_.port = line.name;
    report_.baud = line.baud;
    report_.started = QDateTime::currentDateTimeUtc();

    // The last run's engine may still be on the stack of its own finished().
    if (engine_)
        engine_.release()->deleteLater();
    engine_ = std::make_unique<provision::Engine>(window_.runPort(),
                                                  provision::Timing::forBaud(line.baud));
    connect(engine_.get(), &provision::Engine::progress, this, &ModuleRunner::showProgress);
    connect(engine_.get(), &provision::Engine::progress, this,
            [this, engine = engine_.get()](int done, int) {
                if (done > 0 && done <= engine->results().size())
                    emit commandDone(engine->results().at(done - 1));
            });
    connect(engine_.get(), &provision::Engine::finished, this, &ModuleRunner::end);

    auto *dialog = new QProgressDialog(&window_.frame());
    progress_ = dialog;
    dialog->setObjectName(QStringLiteral("ModuleProgress"));
    dialog->setWindowTitle(what);
    dialog->setWindowModality(Qt::NonModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    dialog->setMinimumWidth(460);
    dialog->setRange(0, int(commands.size()));
    dialog->setCancelButtonText(QStringLiteral("&Cancel"));
    dialog->setToolTip(QStringLiteral(
        "Cancel lets the command on the line finish and sends nothing after it"));
    // Cancel must wait for the command on the line: the dialog stays until
    // the run has really ended instead of hiding itself at once.
    QObject::disconnect(dialog, SIGNAL(canceled()), dialog, SLOT(cancel()));
    connect(dialog, &QProgressDialog::canceled, this, &ModuleRunner::cancel);
    // Escape closes a dialog: here it cancels, and the dialog stays up until
    // the command on the line has finished.
    connect(dialog, &QDialog::rejected, this, [this] {
        cancel();
        if (progress_ && running())
            progress_->show();
    });

    window_.lockForRun(true);
    showProgress(0, int(commands.size()));
    dialog->show();
    engine_->start(commands);
}

void ModuleRunner::cancel() {
    if (!running())
        return;
    engine_->cancel();
    if (progress_ && running())
        progress_->setLabelText(QStringLiteral(
            "Cancelling: the command on the line is finishing; nothing more is sent."));
}

void ModuleRunner::showProgress(int done, int total) {
    if (!progress_ || !engine_)
        return;
    progress_->setValue(done);
    if (engine_->cancelled())
        return;
    const QList<provision::CommandResult> &results = engine_->results();
    const QString current = done < results.size() ? provision::shownLine(results.at(done).command)
                                                  : QString();
    QString text = QStringLiteral("%1: command %2 of %3\n%4\n%5")
                       .arg(what_)
                       .arg(std::min(done + 1, total))
                       .arg(total)
                       .arg(current, timeLeftText(engine_->elapsedMs(), done, total));
    if (const QString silent = silenceText(results, done); !silent.isEmpty())
        text += QStringLiteral("\n\n") + silent;
    progress_->setLabelText(text);
}

void ModuleRunner::end() {
    report_.results = engine_->results();
    report_.cancelled = engine_->cancelled();
    report_.stoppedSilent = engine_->stoppedSilent();
    report_.portError = engine_->portError();
    report_.strayBytes = engine_->strayBytes();
    report_.ended = QDateTime::currentDateTimeUtc();
    if (progress_) {
        progress_->hide();
        progress_->deleteLater();
    }
    window_.lockForRun(false);
    emit finished();
}

} // namespace zx::ui
