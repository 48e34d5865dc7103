#include "ui/module/ModuleMenu.h"

#include "profile/ProfileFiles.h"
#include "provision/Plan.h"
#include "provision/RunLists.h"
#include "register/ModuleNumber.h"
#include "ui/MessageBoxes.h"
#include "ui/module/ModuleRunner.h"
#include "ui/module/ModuleWindow.h"
#include "ui/module/ReadCompareDialog.h"
#include "ui/module/RunResultDialog.h"
#include "ui/module/RunStatus.h"
#include "ui/module/SmsJobRunner.h"
#include "ui/module/SmsJobsView.h"
#include "ui/register/ModuleNumberDialog.h"
#include "ui/register/ModulesDialog.h"
#include "text/Ansi.h"
#include "ui/widgets/FileChooser.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

namespace zx::ui {
namespace {

const QString kWriting = QStringLiteral("Writing settings to the module");
const QString kReading = QStringLiteral("Reading the module");
const QString kSmsModeTip =
    QStringLiteral("In SMS mode: an SMS job for the module number on \"Main\", through the modem "
                   "on the serial port; \"SMS jobs\" shows how it goes");

// A run's report saved as JSON: "Open profile…" does not list it.
bool isRunReport(const QString &path) {
    if (!path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        return false;
    QFile file(path);
    constexpr qint64 kLargestReport = 16 << 20;
    if (file.size() > kLargestReport || !file.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    return json.contains(QLatin1String("commands")) && json.contains(QLatin1String("totals"));
}

} // namespace

QString RunLine::text() const {
    return QStringLiteral("%1 (%2) at %3 baud, parity %4")
        .arg(name, device)
        .arg(baud)
        .arg(evenParity ? QStringLiteral("even") : QStringLiteral("none"));
}

ModuleMenu::ModuleMenu(ModuleWindow &window, QMenu &menu, QObject *parent)
    : QObject(parent), window_(window), runner_(new ModuleRunner(window, this)) {
    menu.setToolTipsVisible(true);
    writeAll_ = addItem(menu, "WriteToModule1", QStringLiteral("&Write settings to module…"),
                        QStringLiteral("Send every value of the window to the module, one "
                                       "command at a time, without saving the file"),
                        &ModuleMenu::writeAll);
    writeChanges_ = addItem(menu, "WriteChanges1", QStringLiteral("Write only &changes…"),
                            QStringLiteral("Send only the values that differ from what the "
                                           "module register knows the module holds (else "
                                           "from what it was last written or read here)"),
                            &ModuleMenu::writeChanges);
    read_ = addItem(menu, "ReadModule1", QStringLiteral("&Read module into window…"),
                    QStringLiteral("Ask the module for its numbers, texts and GPRS/FTP values "
                                   "and show them beside the window's"),
                    &ModuleMenu::readModule);
    menu.addSeparator();
    openProfile_ = addItem(menu, "OpenProfile1", QStringLiteral("&Open profile…"),
                           QStringLiteral("Load a JSON profile or a ZENTORIX.cfg into the "
                                          "controls; the port stays as chosen"),
                           &ModuleMenu::openProfile);
    openProfile_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    exportProfile_ = addItem(menu, "ExportProfile1", QStringLiteral("&Export profile…"),
                             QStringLiteral("Write the window's values as a JSON profile (it "
                                            "holds the passwords)"),
                             &ModuleMenu::exportProfile);
    exportProfile_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    menu.addSeparator();
    lastResult_ = addItem(menu, "LastResult1", QStringLiteral("Show &last result…"),
                          QStringLiteral("Open the results of the last write or read again; "
                                         "the next run replaces them"),
                          &ModuleMenu::showLastResult);
    lastResult_->setEnabled(false);
    smsJobs_ = addItem(menu, "SmsJobs1", QStringLiteral("&SMS jobs…"),
                       QStringLiteral("The SMS jobs running or kept in the module register, "
                                      "module by module, and the price of one SMS"),
                       &ModuleMenu::showSmsJobs);
    addItem(menu, "Modules1", QStringLiteral("Mo&dules…"),
            QStringLiteral("What the module register knows of every module met: its values, "
                           "firmware, runs and tags"),
            &ModuleMenu::showModules);
    // Each outcome is kept at once: a window that dies in the middle of a
    // run leaves the commands answered so far known.
    connect(runner_, &ModuleRunner::commandDone, this,
            [this](const provision::CommandResult &result) {
                register_.post([result](RegisterThread::State &kept) {
                    if (kept.keeper.running() && !kept.keeper.record(result))
                        kept.problem = kept.keeper.lastError();
                });
            });
    sms_ = std::make_unique<SmsJobRunner>(window_, register_);
    connect(sms_.get(), &SmsJobRunner::commandChanged, this, [this](const remote::SmsCommand &command) {
        if (smsView_)
            smsView_->update(command);
    });
    connect(sms_.get(), &SmsJobRunner::finished, this, &ModuleMenu::smsJobEnded);
    resumeTimer_ = new QTimer(this);
    resumeTimer_->setInterval(250);
    connect(resumeTimer_, &QTimer::timeout, this, &ModuleMenu::tryResume);
    // The window is built before the jobs kept from an earlier session show.
    QTimer::singleShot(0, this, &ModuleMenu::loadKeptJobs);
}

ModuleMenu::~ModuleMenu() {
    going_ = true;
    keepSmsJob();
    sms_.reset();
}

QAction *ModuleMenu::addItem(QMenu &menu, const char *name, const QString &text,
                             const QString &tip, void (ModuleMenu::*handler)()) {
    QAction *action = menu.addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(tip);
    action->setStatusTip(tip);
    action->setData(tip);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void ModuleMenu::setSmsMode(bool on) {
    smsMode_ = on;
    updateItems();
}

void ModuleMenu::updateItems() {
    for (QAction *action : {writeAll_, writeChanges_, read_}) {
        action->setEnabled(!running_);
        action->setToolTip(smsMode_ ? kSmsModeTip : action->data().toString());
    }
    openProfile_->setEnabled(!running_);
    lastResult_->setEnabled(!running_ && showLast_);
}

QString ModuleMenu::moduleNumber() const {
    return text::fromAnsi(window_.currentRecord().ModuleNumber()).trimmed();
}

QString ModuleMenu::runName(const QString &verb) const {
    const QString number = moduleNumber();
    return QStringLiteral("%1 %2").arg(verb, number.isEmpty() ? window_.runLine().name : number);
}

void ModuleMenu::runStarts() {
    showLast_ = {};
    running_ = true;
    updateItems();
}

void ModuleMenu::runEnded(const provision::Report &report, const QString &run,
                          const QString &note) {
    running_ = false;
    updateItems();
    QString line = runStatusLine(report, run);
    if (!note.isEmpty())
        line += QStringLiteral("; ") + note;
    if (!registerProblem_.isEmpty())
        line += QStringLiteral("; the module register could not keep the run (%1)")
                    .arg(registerProblem_);
    status(line);
}

QString ModuleMenu::moduleKey() const {
    const QString number = reg::normaliseNumber(moduleNumber());
    return number.isEmpty() ? reg::portKey(window_.runLine().name) : number;
}

void ModuleMenu::keepRun(const QString &kind, const QList<provision::Command> &commands,
                         std::function<void(reg::RunKeeper &)> expect) {
    register_.post([key = moduleKey(), port = window_.runLine().name, kind, commands,
                    expect = std::move(expect)](RegisterThread::State &kept) {
        kept.problem.clear();
        kept.keeper.setModule(key);
        kept.open();
        expect(kept.keeper);
        kept.kept = kept.keeper.begin(kind, port, commands);
        if (kept.reg && !kept.kept)
            kept.problem = kept.keeper.lastError();
    });
}

void ModuleMenu::endKeptRun(const provision::Report &report) {
    struct Ended {
        bool kept = false;
        QString module;
        QString problem;
    };
    const Ended ended = register_.call([&report](RegisterThread::State &kept) {
        if (kept.keeper.running() && !kept.keeper.finish(report))
            kept.problem = kept.keeper.lastError();
        return Ended{kept.kept, kept.keeper.module(), kept.problem};
    });
    kept_ = ended.kept;
    keptModule_ = ended.module;
    registerProblem_ = ended.problem;
    if (modulesDialog_ && modulesDialog_->isVisible())
        modulesDialog_->reload();
}

void ModuleMenu::askForNumber() {
    if (!kept_ || !reg::isPortKey(keptModule_))
        return;
    const QString key = keptModule_;
    const QString port = window_.runLine().name;
    auto *dialog = new ModuleNumberDialog(port, givenNumbers_.value(port), &window_.frame());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, key, port] {
        const QString number = dialog->number();
        const QString name = dialog->name();
        if (number.isEmpty() && name.isEmpty())
            return;
        struct Said {
            bool renumbered = false;
            QString text;
        };
        const Said said = register_.call([&](RegisterThread::State &kept) {
            if (!kept.open())
                return Said{false, QStringLiteral("The module register cannot be opened (%1).")
                                       .arg(kept.problem)};
            if (!number.isEmpty() && !kept.reg->renumber(key, number))
                return Said{false, QStringLiteral("The module register could not keep the module "
                                                  "on %1 as %2 (%3); it stays under the port.")
                                       .arg(port, number, kept.reg->lastError())};
            const QString named = number.isEmpty() ? key : number;
            if (!name.isEmpty() && !kept.reg->describe(named, name, std::nullopt))
                return Said{!number.isEmpty(),
                            QStringLiteral("The module register could not keep the name %1 (%2).")
                                .arg(name, kept.reg->lastError())};
            return Said{!number.isEmpty(),
                        QStringLiteral("The module register keeps the module on %1 as %2%3.")
                            .arg(port, number.isEmpty() ? QStringLiteral("the port") : number,
                                 name.isEmpty() ? QString()
                                                : QStringLiteral(" (\"%1\")").arg(name))};
        });
        if (said.renumbered)
            givenNumbers_.insert(port, number);
        status(said.text);
        if (modulesDialog_ && modulesDialog_->isVisible())
            modulesDialog_->reload();
    });
    dialog->open();
}

void ModuleMenu::showLastResult() {
    if (showLast_ && !running_)
        showLast_();
}

void ModuleMenu::status(const QString &text) { window_.frame().statusBar()->showMessage(text); }

bool ModuleMenu::portReady(const QString &what, const QString &device) {
    if (running_)
        return false;
    const RunLine line = window_.runLine();
    if (!line.open()) {
        showBox(&window_.frame(), BoxKind::Error, what,
                QStringLiteral("The port %1 is not open. Choose the %2 port on \"Serial "
                               "Port\", then try again.")
                    .arg(line.name, device));
        return false;
    }
    return true;
}

void ModuleMenu::confirm(const QString &text, const QString &details, std::function<void()> go,
                         const QString &title) {
    auto *box = new QMessageBox(QMessageBox::Question, title.isEmpty() ? kWriting : title, text,
                                QMessageBox::Yes | QMessageBox::Cancel, &window_.frame());
    box->setObjectName(QStringLiteral("ModuleConfirm"));
    box->setInformativeText(details);
    box->setDefaultButton(QMessageBox::Yes);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [go = std::move(go)](int result) {
        if (result == QMessageBox::Yes)
            go();
    });
    box->open();
}

void ModuleMenu::writeAll() {
    if (smsMode_) {
        smsWrite(true);
        return;
    }
    if (!portReady(kWriting))
        return;
    const settings::ConfigRecord record = window_.currentRecord();
    write(provision::writePlan(record), record, QStringLiteral("every value of the window"));
}

void ModuleMenu::writeChanges() {
    if (smsMode_) {
        smsWrite(false);
        return;
    }
    if (!portReady(kWriting))
        return;
    const settings::ConfigRecord record = window_.currentRecord();
    const QString module = moduleKey();
    const reg::KnownRecord registered = register_.call([&module](RegisterThread::State &kept) {
        kept.keeper.setModule(module);
        return kept.open() ? kept.keeper.known() : reg::KnownRecord{};
    });
    if (!registered.isEmpty()) {
        const provision::Plan plan = reg::changesPlan(registered, module, record);
        if (plan.steps.isEmpty()) {
            status(QStringLiteral("Nothing to write: the module register knows module %1 holds "
                                  "these values.")
                       .arg(module));
            return;
        }
        write(plan, record,
              QStringLiteral("the values that differ from what the module register knows "
                             "module %1 holds, and those it knows nothing of")
                  .arg(module));
        return;
    }
    const auto known = modules_.constFind(window_.runLine().device);
    if (known == modules_.constEnd()) {
        write(provision::writePlan(record), record,
              QStringLiteral("every value of the window: neither the module register nor this "
                             "session knows what module %1 holds yet")
                  .arg(module),
              QStringLiteral("the whole plan was sent, as nothing was known of module %1")
                  .arg(module));
        return;
    }
    const provision::Plan plan =
        provision::diffPlan(known->record, record, known->whole ? nullptr : &known->known);
    if (plan.steps.isEmpty()) {
        status(QStringLiteral("Nothing to write: the module on %1 was last given or read "
                              "these values.")
                   .arg(window_.runLine().name));
        return;
    }
    write(plan, record,
          known->whole ? QStringLiteral("the values changed since the last write")
                       : QStringLiteral("the values that differ from the last read, and "
                                        "those the module cannot be asked for"));
}

void ModuleMenu::write(const provision::Plan &plan, const settings::ConfigRecord &record,
                       const QString &scope, const QString &note) {
    const RunLine line = window_.runLine();
    const QList<provision::Command> commands = provision::writeCommands(plan);
    QString details = QStringLiteral("It sends %1. The settings file is not saved.").arg(scope);
    if (!plan.skipped.isEmpty())
        details += QStringLiteral("\n%1 values cannot be sent and are left out: %2")
                       .arg(plan.skipped.size())
                       .arg(plan.skipped.join(QStringLiteral("; ")));
    confirm(QStringLiteral("Write %1 commands to the module on %2?")
                .arg(commands.size())
                .arg(line.text()),
            details, [this, plan, commands, record, note, device = line.device] {
                runStarts();
                keepRun(QStringLiteral("write"), commands,
                        [plan, record](reg::RunKeeper &keeper) { keeper.expectWrites(plan, record); });
                connect(
                    runner_, &ModuleRunner::finished, this,
                    [this, record, skipped = plan.skipped, note, device] {
                        provision::Report report = runner_->report();
                        report.skipped = skipped;
                        endKeptRun(report);
                        if (report.allAnswered() && report.portError.isEmpty() &&
                            !report.cancelled)
                            modules_.insert(device, {record, true, {}});
                        showLast_ = [this, report, note, number = moduleNumber()] {
                            auto *view = new RunResultDialog(report, kWriting, &window_.frame());
                            view->setModuleNumber(number);
                            view->addNote(note.isEmpty() ? QString()
                                                         : note.at(0).toUpper() + note.mid(1) +
                                                               QLatin1Char('.'));
                            view->open();
                        };
                        runEnded(report, runName(QStringLiteral("Write to")), note);
                        showLast_();
                        askForNumber();
                    },
                    Qt::SingleShotConnection);
                runner_->start(kWriting, commands);
            });
}

void ModuleMenu::readModule() {
    if (smsMode_) {
        smsRead();
        return;
    }
    if (!portReady(kReading))
        return;
    runStarts();
    const provision::ReadRun reads = provision::readRun(provision::readableEntries());
    keepRun(QStringLiteral("read"), reads.commands,
            [reads](reg::RunKeeper &keeper) { keeper.expectReads(reads); });
    connect(runner_, &ModuleRunner::finished, this, &ModuleMenu::readEnded,
            Qt::SingleShotConnection);
    runner_->start(kReading, reads.commands);
}

QStringList ModuleMenu::readBack(const QList<provision::CommandResult> &results,
                                 settings::ConfigRecord &module) {
    const provision::ReadRun reads = provision::readRun(provision::readableEntries());
    const QSet<QString> took = provision::applyReadResults(reads, results, module);
    QStringList answered;
    for (const QString &entry : provision::readableEntries())
        if (took.contains(entry))
            answered << entry;
    return answered;
}

void ModuleMenu::readEnded() {
    const provision::Report report = runner_->report();
    endKeptRun(report);
    settings::ConfigRecord module;
    const QStringList answered = readBack(report.results, module);
    const Comparison comparison = compareWithModule(window_.currentRecord(), module, answered);
    showLast_ = [this, module, answered, report] { showComparison(module, answered, report); };
    runEnded(report, runName(QStringLiteral("Read from")));

    // What is now known of the module: the values it answered, except those
    // its answer cannot carry whole, on top of what was known before. A value
    // that differs only in the blanks the send path pads with stays as known,
    // or every padded text would count as changed.
    const QString device = window_.runLine().device;
    Knowledge knowledge = modules_.value(device, {comparison.window, false, {}});
    QStringList readWhole = answered;
    readWhole.removeIf([&](const QString &e) { return comparison.unverifiable.contains(e); });
    for (const provision::Mismatch &m :
         provision::compareReadBack(knowledge.record, module, readWhole))
        provision::setReadableValue(knowledge.record, m.field, m.readBack);
    for (const QString &entry : readWhole)
        knowledge.known.insert(entry);
    modules_.insert(device, knowledge);
    showLast_();
    askForNumber();
}

// The module's values beside what the window holds now.
void ModuleMenu::showComparison(const settings::ConfigRecord &module, const QStringList &answered,
                                const provision::Report &report) {
    auto *dialog = new ReadCompareDialog(
        compareWithModule(window_.currentRecord(), module, answered), report, &window_.frame());
    connect(dialog, &ReadCompareDialog::take, this, [this, module](const QStringList &entries) {
        settings::ConfigRecord record = window_.currentRecord();
        for (const QString &entry : entries)
            provision::setReadableValue(record, entry,
                                        provision::readableValue(module, entry).value_or(QByteArray()));
        window_.takeModuleValues(record);
        status(QStringLiteral("%1 module values are in the window now; \"Save Setting\" stores "
                              "them in the settings file.")
                   .arg(entries.size()));
    });
    dialog->open();
}

void ModuleMenu::openProfile() {
    if (running_)
        return;
    const FileChoice choice{"OpenProfileDialog", QStringLiteral("Open profile"),
                            QFileDialog::AcceptOpen,
                            QStringLiteral("Profiles and settings files (*.json *.cfg *.CFG);;"
                                           "All files (*)"),
                            {}, {}, isRunReport};
    chooseFile(&window_.frame(), choice, [this](const QString &path) {
        const profile::Source source = profile::readSource(path, window_.currentRecord());
        if (!source.ok()) {
            showBox(&window_.frame(), BoxKind::Error, QStringLiteral("Open profile"),
                    source.error + QStringLiteral("\nNothing in the window was changed. Correct "
                                                  "the file or choose another one."));
            return;
        }
        window_.openRecord(source.record);
        status(QStringLiteral("%1 is in the window (%2); the port on \"Serial Port\" is "
                              "unchanged. \"Save Setting\" stores it.")
                   .arg(QFileInfo(path).fileName(),
                        source.named ? QStringLiteral("%1 fields").arg(source.named->size())
                                     : QStringLiteral("every value")));
    });
}

void ModuleMenu::showModules() {
    if (!modulesDialog_) {
        modulesDialog_ = new ModulesDialog(
            {[this] { return window_.currentRecord(); },
             [this](const settings::ConfigRecord &record) { window_.openRecord(record); },
             [this] { return running_; }},
            &window_.frame());
    } else {
        modulesDialog_->reload();
    }
    modulesDialog_->show();
    modulesDialog_->raise();
    modulesDialog_->activateWindow();
}

void ModuleMenu::exportProfile() {
    const FileChoice choice{"ExportProfileDialog", QStringLiteral("Export profile"),
                            QFileDialog::AcceptSave, QStringLiteral("Profiles (*.json)"),
                            QStringLiteral("json"),
                            suggestedFileName(QStringLiteral("zentorix-profile"), moduleNumber(),
                                              QDateTime::currentDateTime()) +
                                QStringLiteral(".json")};
    chooseFile(&window_.frame(), choice, [this](const QString &path) {
        if (const QString why = profile::writeProfileFile(path, window_.currentRecord());
            !why.isEmpty()) {
            showBox(&window_.frame(), BoxKind::Error, QStringLiteral("Export profile"),
                    why + QStringLiteral("\nChoose another folder or free some space, then "
                                         "export again."));
            return;
        }
        status(QStringLiteral("The window's values are in %1; it holds the passwords, so only "
                              "you can read it.")
                   .arg(path));
    });
}

} // namespace zx::ui
