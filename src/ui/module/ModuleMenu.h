#pragma once
// The "Module" menu: the window's values written to the module in one run
// (all of them, or only what differs from what the module register knows the
// module holds, else from what it was last written or read in this session on
// this port), the module read back beside the window, and profiles opened
// into the controls or exported from them. Every run is kept in the module
// register as it goes, one command at a time. In SMS mode the same items run
// an SMS job through the modem on the window's port (ModuleMenuSms.cpp).
#include "profile/ProfileFiles.h"
#include "remote/SmsJob.h"
#include "settings/ConfigRecord.h"
#include "ui/register/RegisterThread.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QTimer;


namespace zx::ui {

class ModuleRunner;
class ModulesDialog;
class SmsJobRunner;
class SmsJobsView;
class ModuleWindow;

class ModuleMenu : public QObject {
    Q_OBJECT
public:
    ModuleMenu(ModuleWindow &window, QMenu &menu, QObject *parent = nullptr);
    // An SMS job still going stops and stays in the register.
    ~ModuleMenu() override;

    // In SMS mode the run items send SMS jobs through the modem.
    void setSmsMode(bool on);
    bool smsJobRunning() const;
    // Stops the SMS job; the next window in SMS mode goes on with it.
    void keepSmsJob();
    // "SMS jobs", made when first needed.
    SmsJobsView &smsJobsView();
    ModuleRunner &runner() { return *runner_; }
    // The view of the last run (its results, or the module beside the
    // window), until the next run starts.
    void showLastResult();

private:
    // What is known of a module on a port: what the last completed write
    // gave it (everything), or what the last read brought back (the
    // readable entries only) on top of what was known before.
    struct Knowledge {
        settings::ConfigRecord record;
        bool whole = false;
        QSet<QString> known; // when not whole
    };

    QAction *addItem(QMenu &menu, const char *name, const QString &text, const QString &tip,
                     void (ModuleMenu::*handler)());
    void updateItems();
    // device: whose port it is, "module's" or "modem's".
    bool portReady(const QString &what, const QString &device = QStringLiteral("module's"));
    void writeAll();
    void writeChanges();
    void write(const provision::Plan &plan, const settings::ConfigRecord &record,
               const QString &scope, const QString &note = {});
    void readModule();
    void readEnded();
    // A read's answers into module; the readable entries they gave, in order.
    static QStringList readBack(const QList<provision::CommandResult> &results,
                                settings::ConfigRecord &module);
    void runStarts();
    // note: what the status line adds after the run's own words.
    void runEnded(const provision::Report &report, const QString &run, const QString &note = {});
    // The register's key for the module on the window's port: its number,
    // else the port's ("port:Com1").
    QString moduleKey() const;
    // The run's start in the register, before the runner starts (expect
    // tells the keeper what its commands confirm); the kept run's end when
    // it has ended, once every outcome before it is kept.
    void keepRun(const QString &kind, const QList<provision::Command> &commands,
                 std::function<void(reg::RunKeeper &)> expect);
    void endKeptRun(const provision::Report &report);
    // After a run kept under the port: the user may give the module's number
    // or a name.
    void askForNumber();
    void showComparison(const settings::ConfigRecord &module, const QStringList &answered,
                        const provision::Report &report);
    // "Write to +4917012345", or to the port when the window holds no number.
    QString runName(const QString &verb) const;
    QString moduleNumber() const;
    void openProfile();
    void exportProfile();
    void showModules();
    void confirm(const QString &text, const QString &details, std::function<void()> go,
                 const QString &title = {});
    // SMS mode
    bool smsReady(const QString &what);
    QString smsModule() const;
    void smsWrite(bool whole);
    void smsRead();
    void askAndSend(remote::SmsJob job, const profile::Source &source, const QString &title,
                    const QString &scope);
    void startSmsJob(const remote::SmsJob &job, const profile::Source &source);
    void smsJobEnded();
    void showReadJob(const remote::SmsJob &job);
    void loadKeptJobs();
    void tryResume();
    void cancelSmsJob();
    void showSmsJobs();
    void status(const QString &text);

    ModuleWindow &window_;
    ModuleRunner *runner_ = nullptr;
    QHash<QString, Knowledge> modules_; // by device
    QAction *writeAll_ = nullptr;
    QAction *writeChanges_ = nullptr;
    QAction *read_ = nullptr;
    QAction *openProfile_ = nullptr;
    QAction *exportProfile_ = nullptr;
    QAction *lastResult_ = nullptr;
    std::function<void()> showLast_;
    QPointer<ModulesDialog> modulesDialog_;
    RegisterThread register_;
    QString registerProblem_; // why the last run is not (wholly) kept
    bool kept_ = false;       // the last run was kept from its start
    QString keptModule_;      // under this key
    QHash<QString, QString> givenNumbers_; // port name -> the number given last
    bool smsMode_ = false;
    bool running_ = false;
    QAction *smsJobs_ = nullptr;
    // After register_: a job stopped on the way out is kept there.
    std::unique_ptr<SmsJobRunner> sms_;
    QPointer<SmsJobsView> smsView_;
    QTimer *resumeTimer_ = nullptr;
    std::optional<remote::SmsJob> resumable_; // a kept job, once the modem is free
    profile::Source resumeSource_;
    bool going_ = false; // the window is being destroyed
};

} // namespace zx::ui
