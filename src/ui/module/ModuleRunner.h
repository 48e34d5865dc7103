#pragma once
// One provisioning run from the window: the engine on the window's port, a
// progress dialog with command n of N, the command on the line, the time
// left and Cancel, and the run's report when it ends. The window's sending
// controls are locked for the run.
#include "provision/Engine.h"
#include "provision/Report.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QProgressDialog;

namespace zx::ui {

class ModuleWindow;

class ModuleRunner : public QObject {
    Q_OBJECT
public:
    explicit ModuleRunner(ModuleWindow &window, QObject *parent = nullptr);
    ~ModuleRunner() override;

    // Starts the commands; finished() follows, also for an empty list.
    // `what` names the run in the progress dialog: "Writing settings".
    void start(const QString &what, const QList<provision::Command> &commands);
    bool running() const { return engine_ && engine_->running(); }
    // The command on the line finishes; nothing further is sent.
    void cancel();
    const provision::Report &report() const { return report_; }

signals:
    // Each command's result as soon as it has one.
    void commandDone(const zx::provision::CommandResult &result);
    void finished();

private:
    void showProgress(int done, int total);
    void end();

    ModuleWindow &window_;
    std::unique_ptr<provision::Engine> engine_;
    QPointer<QProgressDialog> progress_;
    provision::Report report_;
    QString what_;
};

// "About 12 s left", from the time the commands so far took.
QString timeLeftText(qint64 elapsedMs, int done, int total);

} // namespace zx::ui
