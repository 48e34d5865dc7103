// The "Module" menu against the simulated module: the golden record written
// byte for byte and read back without a difference, a change of two alarm
// numbers written as exactly two lines, a cancelled run that stops after the
// command on the line, and a silent module that leaves every command
// unanswered while the window keeps running its timers on time. Each run
// leaves its line in the status bar and its view under "Show last result…";
// closing the window in the middle of a run asks first and stops cleanly.
// Every run is kept in the module register, command by command; "Write only
// changes" in a new window goes by what the register knows, and a module met
// without a number is given one afterwards.
#include "common/RecordBytes.h"
#include "common/Wire.h"
#include "profile/ProfileFiles.h"
#include "provision/Plan.h"
#include "register/KnownRecord.h"
#include "register/ModuleNumber.h"
#include "register/Register.h"
#include "support/SimHarness.h"
#include "text/Ansi.h"
#include "ui/widgets/DisabledReason.h"
#include "ui/module/ModuleMenu.h"
#include "ui/module/ModuleRunner.h"
#include "ui/module/ReadCompareDialog.h"
#include "ui/module/RunResultDialog.h"
#include "ui/module/RunStatus.h"
#include "ui/register/ModuleNumberDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

using zx::provision::Status;
using zx::sim::Simulator;
using zx::testing::framed;

namespace {

// The golden record as the window on the simulator's port must hold it:
// setting mode, "Com1".
QByteArray goldenOnCom1() {
    zx::settings::ConfigRecord record = zx::testing::recordOf(zx::testing::dataFile("golden-record.cfg"));
    record.setSmsModeOn(false);
    record.setComPortIndex(0);
    return zx::testing::toByteArray(record);
}

// A timer due every 20 ms while a run lasts; it keeps how late it fired at
// worst. A window that blocked its event loop shows here as lateness.
class LatencyProbe {
public:
    LatencyProbe() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.elapsed();
            worst_ = std::max(worst_, now - due_);
            due_ = now + kPeriodMs;
        });
    }
    void start() {
        worst_ = 0;
        clock_.start();
        due_ = kPeriodMs;
        timer_.start(kPeriodMs);
    }
    qint64 worstLatenessMs() const { return worst_; }

private:
    static constexpr int kPeriodMs = 20;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 due_ = 0;
    qint64 worst_ = 0;
};

} // namespace

class ModuleMenuTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { sim_.reset(); }

    void goldenWriteReadsBackAndWritesOnlyChanges();
    void cancelStopsAfterTheCommandOnTheLine();
    void silentModuleLeavesEveryCommandUnansweredWithoutFreezing();
    void profilesOpenIntoTheControlsAndExportFromThem();
    void closingDuringARunAsksAndStopsAfterTheCommandOnTheLine();
    void runsInWordsForTheStatusBarAndTheProgress();
    void runsAreKeptInTheRegisterAndChangesComeFromIt();
    void aModuleWithoutANumberIsGivenOneAfterTheRun();

private:
    void start(const QByteArray &settings, const zx::sim::FaultOptions &faults = {}) {
        sim_ = std::make_unique<SimHarness>(Simulator::Mode::Setting, faults);
        QVERIFY(sim_->simulatorRunning());
        sim_->open(settings);
        QVERIFY(sim_->window().CommPortDriver1().Connected());
    }
    TForm1 &form() { return sim_->window(); }
    zx::settings::ConfigRecord windowRecord() {
        return static_cast<zx::ui::ModuleWindow &>(form()).currentRecord();
    }
    const zx::provision::Report &report() { return form().moduleMenu().runner().report(); }
    QAction *item(const char *name) { return sim_->child<QAction>(QString::fromLatin1(name)); }
    // Chooses a write item and answers its confirmation with Yes.
    void write(const char *name) {
        item(name)->trigger();
        auto *box = sim_->child<QMessageBox>(QStringLiteral("ModuleConfirm"));
        QVERIFY(box && box->isVisible());
        box->button(QMessageBox::Yes)->click();
        QVERIFY(form().moduleMenu().runner().running());
    }
    // Waits for the run's end and the dialog it opens; the caller deletes it.
    template <typename Dialog> Dialog *waitForDialog(const char *name, int timeoutMs) {
        const QString objectName = QString::fromLatin1(name);
        Dialog *dialog = nullptr;
        sim_->pumpUntil(
            [&] {
                dialog = form().findChild<Dialog *>(objectName);
                return dialog != nullptr;
            },
            timeoutMs);
        return dialog;
    }
    // Chooses a file item and picks path in its dialog.
    void pickFile(const char *item, const char *dialogName, const QString &path) {
        // The last dialog of the name is closed and only waits to be deleted.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        this->item(item)->trigger();
        auto *dialog = sim_->child<QFileDialog>(QString::fromLatin1(dialogName));
        QVERIFY(dialog && dialog->isVisible());
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
    }
    // Whether a normal tab button reaches the module: "Version number" on "Main".
    bool tabButtonWorks() {
        const qsizetype before = sim_->commands.size();
        auto *button = sim_->child<QPushButton>(QStringLiteral("Version"));
        if (!button || !button->isEnabled())
            return false;
        button->click();
        return sim_->pumpUntil([&] { return sim_->commands.size() > before; });
    }

    // The register the window keeps its runs in (the test's folder).
    std::unique_ptr<zx::reg::Register> openRegister() {
        QString error;
        std::unique_ptr<zx::reg::Register> r = zx::reg::Register::openConfigured(&error);
        if (!r)
            qWarning("register: %s", qPrintable(error));
        return r;
    }
    // A write item through to its result view, which is then closed.
    void writeThrough(const char *name, int timeoutMs = 60000) {
        write(name);
        if (QTest::currentTestFailed())
            return;
        auto *result = waitForDialog<zx::ui::RunResultDialog>("RunResult", timeoutMs);
        QVERIFY(result);
        delete result;
    }

    std::unique_ptr<SimHarness> sim_;
};

void ModuleMenuTest::goldenWriteReadsBackAndWritesOnlyChanges() {
    const QByteArray settings = goldenOnCom1();
    start(settings);
    LatencyProbe probe;

    // Every command of the golden record's plan, framed as the tabs frame it.
    QByteArray expected;
    for (const zx::provision::PlanStep &step :
         zx::provision::writePlan(zx::testing::recordOf(settings)).steps)
        expected += zx::testing::framedAsSent(step.line);
    const qsizetype before = sim_->wire.size();
    const QString memoBefore = sim_->memoText();
    probe.start();
    write("WriteToModule1");
    auto *result = waitForDialog<zx::ui::RunResultDialog>("RunResult", 60000);
    QVERIFY(result);
    QVERIFY2(sim_->wire.mid(before) == expected,
             qPrintable(zx::testing::firstDifference(expected, sim_->wire.mid(before))));
    QVERIFY2(report().ok(), qPrintable(report().stopText()));
    QVERIFY(sim_->child<QLabel>(QStringLiteral("RunResultSummary"))
                ->text()
                .contains(QStringLiteral("all %1 commands were answered").arg(report().results.size())));
    QCOMPARE(sim_->child<QTableWidget>(QStringLiteral("RunResultTable"))->rowCount(),
             report().results.size());
    QVERIFY2(probe.worstLatenessMs() < 100, qPrintable(QString::number(probe.worstLatenessMs())));
    // The answers went to the run, not to the reception memo.
    QCOMPARE(sim_->memoText(), memoBefore);
    // Enter closes the result view; the status bar keeps the run's line and
    // the view opens again from the menu.
    const QString number = zx::text::fromAnsi(zx::testing::recordOf(settings).ModuleNumber()).trimmed();
    QVERIFY(!number.isEmpty());
    const QString line = sim_->statusMessage();
    QVERIFY2(line.startsWith(QStringLiteral("Write to %1: %2 of %2 answered in ")
                                 .arg(number)
                                 .arg(report().results.size())) &&
                 line.endsWith(QLatin1String(" s")),
             qPrintable(line));
    QTest::keyClick(result, Qt::Key_Return);
    QVERIFY(result->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(item("LastResult1")->isEnabled());
    item("LastResult1")->trigger();
    result = form().findChild<zx::ui::RunResultDialog *>(QStringLiteral("RunResult"));
    QVERIFY(result && result->isVisible());
    QCOMPARE(sim_->child<QTableWidget>(QStringLiteral("RunResultTable"))->rowCount(),
             report().results.size());
    delete result;
    // The controls that send come back after the run.
    QVERIFY(tabButtonWorks());

    // Reading back: the module holds every value the window does.
    item("ReadModule1")->trigger();
    // The last write's view is gone with the new run.
    QVERIFY(!item("LastResult1")->isEnabled());
    auto *compare = waitForDialog<zx::ui::ReadCompareDialog>("ReadCompare", 60000);
    QVERIFY(compare);
    QVERIFY(report().allAnswered());
    auto *table = sim_->child<QTableWidget>(QStringLiteral("CompareTable"));
    QVERIFY(table->rowCount() > 80);
    for (int row = 0; row < table->rowCount(); ++row)
        QVERIFY2(table->item(row, 0)->text().isEmpty(), qPrintable(table->item(row, 1)->text()));
    QVERIFY(compare->ticked().isEmpty());
    delete compare;

    // Two alarm numbers changed in the window: only their two lines go out.
    sim_->child<QLineEdit>(QStringLiteral("NNumber2"))->setText(QStringLiteral("+4930123456"));
    sim_->child<QLineEdit>(QStringLiteral("NNumber5"))->setText(QStringLiteral("0171555"));
    const qsizetype beforeChanges = sim_->wire.size();
    write("WriteChanges1");
    result = waitForDialog<zx::ui::RunResultDialog>("RunResult", 10000);
    QVERIFY(result);
    QCOMPARE(sim_->wire.mid(beforeChanges), framed("SETNN2 +4930123456") + framed("SETNN5 0171555"));
    QVERIFY(report().ok());
    delete result;

    // The module now holds what was written: read back, one number differs
    // after the window changes it again, and taking the module's value puts
    // the written one back into the box.
    auto *box = sim_->child<QLineEdit>(QStringLiteral("NNumber5"));
    box->setText(QStringLiteral("0999"));
    item("ReadModule1")->trigger();
    compare = waitForDialog<zx::ui::ReadCompareDialog>("ReadCompare", 60000);
    QVERIFY(compare);
    QVERIFY2(sim_->statusMessage().startsWith(QStringLiteral("Read from %1: ").arg(number)),
             qPrintable(sim_->statusMessage()));
    // Nothing is ticked, and Enter closes without taking anything.
    QCOMPARE(compare->ticked(), QStringList());
    auto *takeTicked = compare->findChild<QPushButton *>(QStringLiteral("TakeTicked"));
    QVERIFY(!takeTicked->isEnabled());
    QCOMPARE(takeTicked->shortcut(), QKeySequence(Qt::ALT | Qt::Key_T));
    QTest::keyClick(compare, Qt::Key_Return);
    QVERIFY(compare->isHidden());
    QCOMPARE(box->text(), QStringLiteral("0999"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Opened again, the differing row is marked with the window's label;
    // the user ticks it and takes it.
    item("LastResult1")->trigger();
    compare = form().findChild<zx::ui::ReadCompareDialog *>(QStringLiteral("ReadCompare"));
    QVERIFY(compare && compare->isVisible());
    auto *rows = compare->findChild<QTableWidget *>(QStringLiteral("CompareTable"));
    int marked = -1;
    for (int row = 0; row < rows->rowCount(); ++row)
        if (!rows->item(row, 0)->text().isEmpty())
            marked = marked < 0 ? row : -2;
    QVERIFY(marked >= 0);
    QCOMPARE(rows->item(marked, 1)->text(), QStringLiteral("Abonents: Numbers for alarm SMS, Nr5"));
    QCOMPARE(rows->item(marked, 1)->toolTip(), QStringLiteral("AlarmNumbers[5]"));
    rows->item(marked, 0)->setCheckState(Qt::Checked);
    QCOMPARE(compare->ticked(), QStringList{QStringLiteral("AlarmNumbers[5]")});
    takeTicked = compare->findChild<QPushButton *>(QStringLiteral("TakeTicked"));
    QVERIFY(takeTicked->isEnabled());
    takeTicked->click();
    QCOMPARE(box->text(), QStringLiteral("0171555"));
    // Nothing was saved on the way.
    QCOMPARE(zx::testing::fileBytes(sim_->env.settingsPath()), settings);
}

void ModuleMenuTest::cancelStopsAfterTheCommandOnTheLine() {
    zx::sim::FaultOptions slow;
    slow.delayMs = 40;
    start(goldenOnCom1(), slow);
    const qsizetype before = sim_->commands.size();
    write("WriteToModule1");
    QVERIFY(sim_->pumpUntil([&] { return sim_->commands.size() >= before + 3; }, 10000));
    auto *progress = sim_->child<QProgressDialog>(QStringLiteral("ModuleProgress"));
    QVERIFY(progress && progress->isVisible());
    QVERIFY(progress->labelText().contains(QStringLiteral(" of %1\n").arg(progress->maximum())));
    // Cancel: the run ends at once, nothing goes out after the command on
    // the line, which counts as cancelled unless its answer came first.
    auto *cancel = progress->findChild<QPushButton *>();
    QVERIFY(cancel);
    cancel->click();
    const qsizetype sentAtCancel = sim_->commands.size() - before;
    auto *result = waitForDialog<zx::ui::RunResultDialog>("RunResult", 10000);
    QVERIFY(result);
    const QByteArray wireAtEnd = sim_->wire;
    sim_->pumpFor(300);
    QCOMPARE(sim_->wire, wireAtEnd);

    const zx::provision::Report &r = report();
    QVERIFY(r.cancelled);
    const int answered = r.count(Status::Answered);
    const int cancelled = r.count(Status::Cancelled);
    QVERIFY(cancelled <= 1);
    QCOMPARE(qsizetype(answered + cancelled), sim_->commands.size() - before);
    QVERIFY(answered + cancelled == sentAtCancel || answered + cancelled == sentAtCancel + 1);
    QCOMPARE(r.count(Status::NotSent), int(r.results.size()) - answered - cancelled);
    const QString summary = sim_->child<QLabel>(QStringLiteral("RunResultSummary"))->text();
    QVERIFY2(summary.contains(QStringLiteral("cancelled %1 command %2 of")
                                  .arg(cancelled ? QStringLiteral("at") : QStringLiteral("before"))
                                  .arg(answered + 1)),
             qPrintable(summary));
    delete result;
    QVERIFY(tabButtonWorks());

    // The window closing in the middle of a run takes the run with it.
    const qsizetype beforeClose = sim_->commands.size();
    write("WriteToModule1");
    QVERIFY(sim_->pumpUntil([&] { return sim_->commands.size() >= beforeClose + 2; }, 10000));
    sim_->form.reset();
    QTest::qWait(200);

    // The register has both runs: the cancelled one with what was answered,
    // and the one the window took with it as interrupted, with the commands
    // answered before it went.
    const std::unique_ptr<zx::reg::Register> reg = openRegister();
    QVERIFY(reg);
    const QList<zx::reg::RunInfo> runs = reg->runs(zx::reg::normaliseNumber(
        zx::text::fromAnsi(zx::testing::recordOf(goldenOnCom1()).ModuleNumber())));
    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs.at(0).outcome, QStringLiteral("cancelled"));
    QCOMPARE(runs.at(0).answered, answered);
    QCOMPARE(runs.at(0).done, answered + cancelled);
    QVERIFY(runs.at(1).interrupted);
    QCOMPARE(runs.at(1).outcome, QStringLiteral("interrupted"));
    QVERIFY(runs.at(1).ended.isValid());
    QVERIFY2(runs.at(1).answered >= 1 && runs.at(1).answered < runs.at(1).plan.size(),
             qPrintable(QString::number(runs.at(1).answered)));
}

void ModuleMenuTest::silentModuleLeavesEveryCommandUnansweredWithoutFreezing() {
    start(goldenOnCom1());
    write("WriteToModule1");
    auto *result = waitForDialog<zx::ui::RunResultDialog>("RunResult", 60000);
    QVERIFY(result && report().ok());
    delete result;

    // The module stops answering; two changed numbers go out as two lines
    // and each waits out its time-out.
    sim_->sim.setFaults([] {
        zx::sim::FaultOptions silent;
        silent.silent = true;
        return silent;
    }());
    sim_->child<QLineEdit>(QStringLiteral("NNumber1"))->setText(QStringLiteral("+111"));
    sim_->child<QLineEdit>(QStringLiteral("NNumber3"))->setText(QStringLiteral("+333"));
    LatencyProbe probe;
    probe.start();
    QElapsedTimer took;
    took.start();
    write("WriteChanges1");
    result = waitForDialog<zx::ui::RunResultDialog>("RunResult", 15000);
    QVERIFY(result);
    const zx::provision::Timing timing = zx::provision::Timing::forBaud(report().baud);
    QCOMPARE(report().count(Status::NoAnswer), 2);
    QCOMPARE(report().results.size(), 2);
    QVERIFY(took.elapsed() >= 2 * timing.timeoutMs);
    QVERIFY(took.elapsed() < 2 * timing.timeoutMs + 2000);
    QVERIFY2(probe.worstLatenessMs() < 100, qPrintable(QString::number(probe.worstLatenessMs())));
    QVERIFY(sim_->child<QLabel>(QStringLiteral("RunResultSummary"))
                ->text()
                .contains(QStringLiteral("2 had no answer")));
    delete result;

    // In SMS mode the run items make SMS jobs and say so.
    sim_->child<QCheckBox>(QStringLiteral("SMSmode"))->setChecked(true);
    for (const char *name : {"WriteToModule1", "WriteChanges1", "ReadModule1"}) {
        QVERIFY(item(name)->isEnabled());
        QVERIFY(item(name)->toolTip().contains(QStringLiteral("an SMS job")));
    }
}

void ModuleMenuTest::profilesOpenIntoTheControlsAndExportFromThem() {
    start(goldenOnCom1());
    const QString dir = sim_->env.dir();
    auto *apn = sim_->child<QLineEdit>(QStringLiteral("APN"));
    apn->setText(QStringLiteral("typed.apn"));

    // Export: what the window holds, passwords and all, readable by its owner only.
    const QString exported = dir + QStringLiteral("/site.json");
    pickFile("ExportProfile1", "ExportProfileDialog", exported);
    if (QTest::currentTestFailed())
        return;
    // (The user, group and other bits; the owner bits repeat the user's.)
    QCOMPARE(QFile(exported).permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser);
    const zx::profile::Source back = zx::profile::readSource(exported, {});
    QVERIFY2(back.ok(), qPrintable(back.error));
    QVERIFY(back.record == windowRecord());

    // A partial profile changes its fields only; its port is not this machine's.
    struct Case {
        const char *name;
        QByteArray json;
        QString apn;      // in the box afterwards
        bool error;
    };
    const Case cases[] = {
        {"partial", R"({"version": 1, "fields": {"GprsApn": "site.apn", "ComPortIndex": 5}})",
         QStringLiteral("site.apn"), false},
        {"unknown field", R"({"version": 1, "fields": {"GprsApn": "x", "Nope": 1}})",
         QStringLiteral("site.apn"), true},
        // A control character would end the APN's line and start another command.
        {"control character", R"({"version": 1, "fields": {"GprsApn": "a\rCLRNR1"}})",
         QStringLiteral("site.apn"), true},
        {"whole export", {}, QStringLiteral("typed.apn"), false},
    };
    for (const Case &c : cases) {
        QString path = exported;
        if (!c.json.isEmpty()) {
            path = dir + QStringLiteral("/%1.json").arg(QString::fromLatin1(c.name).replace(QLatin1Char(' '), QLatin1Char('-')));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(c.json) == c.json.size());
        }
        const qsizetype boxes = sim_->env.boxes.size();
        pickFile("OpenProfile1", "OpenProfileDialog", path);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(apn->text(), c.apn);
        QCOMPARE(sim_->env.boxes.size() > boxes, c.error);
        if (c.error)
            QVERIFY(sim_->env.boxes.last().text.contains(QStringLiteral("Nothing in the window was changed")));
        QCOMPARE(windowRecord().ComPortIndex(), 0);
        QVERIFY(form().CommPortDriver1().Connected());
    }
}

// At 9600 baud, with the simulator taking the bytes at the line's pace:
// closing the window (the title bar's close, as Ctrl+Q and Exit are off)
// asks; "Keep running" goes on, "Stop and close" lets the command on the
// line finish, sends nothing after it, shows the result, and the window
// closes with the result.
void ModuleMenuTest::closingDuringARunAsksAndStopsAfterTheCommandOnTheLine() {
    zx::settings::ConfigRecord record = zx::testing::recordOf(goldenOnCom1());
    record.setBaudRateIndex(2);
    zx::sim::FaultOptions line;
    line.lineRate = true;
    start(zx::testing::toByteArray(record), line);
    QCOMPARE(form().CommPortDriver1().BaudRateValue(), 9600u);
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    QByteArray expected;
    QList<QByteArray> lines;
    for (const zx::provision::PlanStep &step : zx::provision::writePlan(record).steps)
        lines << zx::testing::framedAsSent(step.line);

    const qsizetype before = sim_->wire.size();
    const qsizetype commandsBefore = sim_->commands.size();
    write("WriteToModule1");
    auto *exitButton = sim_->child<QPushButton>(QStringLiteral("ExitBtn"));
    QVERIFY(!exitButton->isEnabled());
    QVERIFY(!item("Exit1")->isEnabled());
    QVERIFY(zx::ui::disabledReason(exitButton).contains(QLatin1String("Cancel")));
    QVERIFY(sim_->pumpUntil([&] { return sim_->commands.size() >= commandsBefore + 2; }, 10000));

    QVERIFY(!form().close());
    auto *ask = sim_->child<QMessageBox>(QStringLiteral("CloseDuringRun"));
    QVERIFY(ask && ask->isVisible());
    QCOMPARE(ask->text(), QStringLiteral("Stop after the command on the line, or keep running?"));
    // Escape and Enter both mean "Keep running".
    QCOMPARE(ask->defaultButton()->objectName(), QStringLiteral("KeepRunning"));
    sim_->child<QPushButton>(QStringLiteral("KeepRunning"))->click();
    const qsizetype kept = sim_->commands.size();
    QVERIFY(sim_->pumpUntil([&] { return sim_->commands.size() >= kept + 2; }, 10000));
    QVERIFY(form().moduleMenu().runner().running());
    QVERIFY(form().isVisible());

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!form().close());
    sim_->child<QPushButton>(QStringLiteral("StopAndClose"))->click();
    auto *result = waitForDialog<zx::ui::RunResultDialog>("RunResult", 10000);
    QVERIFY(result && result->isVisible());
    QVERIFY(form().isVisible());
    const zx::provision::Report &r = report();
    QVERIFY(r.cancelled);
    const int answered = r.count(Status::Answered);
    const int cancelled = r.count(Status::Cancelled);
    QVERIFY(cancelled <= 1);
    QCOMPARE(qsizetype(answered + cancelled), sim_->commands.size() - commandsBefore);
    QCOMPARE(r.count(Status::NotSent), int(r.results.size()) - answered - cancelled);
    QVERIFY(answered < r.results.size());
    // The module got whole commands only: the first ones of the plan.
    for (int i = 0; i < answered + cancelled; ++i)
        expected += lines[i];
    sim_->pumpFor(300);
    QVERIFY2(sim_->wire.mid(before) == expected,
             qPrintable(zx::testing::firstDifference(expected, sim_->wire.mid(before))));
    QVERIFY2(sim_->statusMessage().contains(
                 QStringLiteral("%1 of %2 answered").arg(answered).arg(r.results.size())) &&
                 sim_->statusMessage().endsWith(QLatin1String("not sent, see the result")),
             qPrintable(sim_->statusMessage()));

    // Enter closes the result, and the window with it.
    QTest::keyClick(result, Qt::Key_Return);
    QVERIFY(waitFor([&] { return !form().isVisible(); }, 2000));
}


namespace {

// A report of commands with these statuses, in order, over 16.4 s.
zx::provision::Report reportOf(const QList<Status> &statuses) {
    zx::provision::Report report;
    report.started = QDateTime(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);
    report.ended = report.started.addMSecs(16400);
    for (const Status status : statuses) {
        zx::provision::CommandResult r;
        r.command.line = "GETNR";
        r.status = status;
        report.results << r;
    }
    return report;
}

} // namespace

// The status bar's line names what did not go through, most telling first;
// the progress dialog speaks of a silent module after five unanswered
// commands in a row, and only then.
void ModuleMenuTest::runsInWordsForTheStatusBarAndTheProgress() {
    const Status A = Status::Answered, N = Status::NoAnswer, P = Status::PortError,
                 S = Status::NotSent;
    struct Line {
        QList<Status> statuses;
        bool mismatch;
        QString expected;
    };
    const Line lines[] = {
        {{A, A, A}, false, QStringLiteral("Write to +49170: 3 of 3 answered in 16 s")},
        {{}, false, QStringLiteral("Write to +49170: 0 of 0 answered in 16 s")},
        {{A, A, A}, true, QStringLiteral("Write to +49170: 3 of 3 answered in 16 s, see the result")},
        {{A, S, N, P, N}, false,
         QStringLiteral("Write to +49170: 1 of 5 answered in 16 s, 2 without an answer, 2 not "
                        "sent, see the result")},
    };
    for (const Line &l : lines) {
        zx::provision::Report report = reportOf(l.statuses);
        if (l.mismatch)
            report.mismatches << zx::provision::Mismatch{};
        QCOMPARE(zx::ui::runStatusLine(report, QStringLiteral("Write to +49170")), l.expected);
    }

    struct Silence {
        QList<Status> statuses;
        int done;
        int silent; // commands named, 0 for no words at all
    };
    const Silence silences[] = {
        {{N, N, N, N}, 4, 0},
        {{A, N, N, N, N, N}, 6, 5},
        {{N, N, N, N, N, N, N}, 7, 7},
        // The run goes on and the module answers again.
        {{N, N, N, N, N, A}, 6, 0},
        // Only the commands done so far count; the one on the line has none yet.
        {{N, N, N, N, N, S}, 4, 0},
        {{N, N, N, N, P, N}, 6, 0},
    };
    for (const Silence &c : silences) {
        const QString words = zx::ui::silenceText(reportOf(c.statuses).results, c.done);
        if (c.silent == 0)
            QVERIFY2(words.isEmpty(), qPrintable(words));
        else
            QVERIFY2(words.startsWith(
                         QStringLiteral("The module has not answered the last %1 commands.")
                             .arg(c.silent)),
                     qPrintable(words));
    }
}

// A window write is kept as it goes: each command's line, status and answer,
// and the values the answered ones confirmed. Commands without an answer
// confirm nothing. A new window (a new session of the register, no memory of
// the last) then writes only the lines that differ from what the register
// knows, byte for byte.
void ModuleMenuTest::runsAreKeptInTheRegisterAndChangesComeFromIt() {
    const QByteArray settings = goldenOnCom1();
    const zx::settings::ConfigRecord golden = zx::testing::recordOf(settings);
    const QString number =
        zx::reg::normaliseNumber(zx::text::fromAnsi(golden.ModuleNumber()));
    QVERIFY(!number.isEmpty());
    start(settings);
    writeThrough("WriteToModule1");
    QVERIFY(report().ok());
    const zx::provision::Report written = report();

    // The module stops answering: two changed numbers go out unanswered.
    sim_->sim.setFaults([] {
        zx::sim::FaultOptions silent;
        silent.silent = true;
        return silent;
    }());
    sim_->child<QLineEdit>(QStringLiteral("NNumber1"))->setText(QStringLiteral("+111"));
    sim_->child<QLineEdit>(QStringLiteral("NNumber3"))->setText(QStringLiteral("+333"));
    writeThrough("WriteChanges1", 15000);
    QCOMPARE(report().count(Status::NoAnswer), 2);

    {
        const std::unique_ptr<zx::reg::Register> r = openRegister();
        QVERIFY(r);
        const QList<zx::reg::RunInfo> runs = r->runs(number);
        QCOMPARE(runs.size(), 2);
        QCOMPARE(runs.at(0).kind, QStringLiteral("write"));
        QCOMPARE(runs.at(0).port, QStringLiteral("Com1"));
        QCOMPARE(runs.at(0).outcome, QStringLiteral("complete"));
        QCOMPARE(runs.at(0).plan.size(), written.results.size());
        QCOMPARE(runs.at(0).answered, int(written.results.size()));
        const QList<zx::reg::CommandRow> rows = r->commands(runs.at(0).id);
        QCOMPARE(rows.size(), written.results.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows.at(i).seq, int(i));
            QCOMPARE(rows.at(i).line, zx::provision::shownLine(written.results.at(i).command));
            QCOMPARE(rows.at(i).answer, zx::provision::shownAnswer(written.results.at(i)));
            QCOMPARE(rows.at(i).status, QStringLiteral("answered"));
        }
        QCOMPARE(runs.at(1).outcome, QStringLiteral("incomplete"));
        QCOMPARE(runs.at(1).plan, (QStringList{QStringLiteral("SETNN1 +111"), QStringLiteral("SETNN3 +333")}));
        QCOMPARE(runs.at(1).answered, 0);
        const QList<zx::reg::CommandRow> silent = r->commands(runs.at(1).id);
        QCOMPARE(silent.size(), 2);
        for (const zx::reg::CommandRow &row : silent)
            QCOMPARE(row.status, QStringLiteral("no answer"));

        // What is known: every value the plan carried as the window held it,
        // the unanswered numbers as they were; passwords only as hashes.
        const zx::reg::KnownRecord known = zx::reg::knownRecord(r->confirmations(number));
        QStringList entries;
        for (const zx::provision::PlanStep &step : zx::provision::writePlan(golden).steps)
            entries += step.entries;
        QVERIFY(entries.size() > 80);
        for (const QString &entry : entries) {
            QVERIFY2(known.confirmed.contains(entry), qPrintable(entry));
            if (known.secretHash.contains(entry))
                QCOMPARE(known.secretHash.value(entry),
                         zx::reg::Register::secretHash(
                             number, entry, zx::reg::valuesOf(golden, {entry}).first().bytes));
            else
                QVERIFY2(zx::reg::entryBytes(known.record, entry) == zx::reg::entryBytes(golden, entry),
                         qPrintable(entry));
        }
        QVERIFY(!known.secretHash.isEmpty());
        QCOMPARE(known.record.AlarmNumber(1), golden.AlarmNumber(1));
        QCOMPARE(known.record.AlarmNumber(3), golden.AlarmNumber(3));
        QCOMPARE(known.run.value(QStringLiteral("AlarmNumbers[1]")), runs.at(0).id);
    }

    // A new window knows nothing of the last one's runs but what the
    // register holds: two numbers changed, two lines go out.
    sim_->sim.setFaults({});
    sim_->form.reset();
    sim_->open(settings);
    QVERIFY(form().CommPortDriver1().Connected());
    sim_->child<QLineEdit>(QStringLiteral("NNumber2"))->setText(QStringLiteral("+4930123456"));
    sim_->child<QLineEdit>(QStringLiteral("NNumber5"))->setText(QStringLiteral("0171555"));
    const qsizetype before = sim_->wire.size();
    writeThrough("WriteChanges1", 10000);
    QCOMPARE(sim_->wire.mid(before), framed("SETNN2 +4930123456") + framed("SETNN5 0171555"));
    QVERIFY(report().ok());
    // Nothing differs any more.
    const qsizetype after = sim_->wire.size();
    item("WriteChanges1")->trigger();
    QVERIFY(!form().findChild<QMessageBox *>(QStringLiteral("ModuleConfirm")));
    QVERIFY2(sim_->statusMessage().startsWith(QStringLiteral("Nothing to write: the module register")),
             qPrintable(sim_->statusMessage()));
    sim_->pumpFor(200);
    QCOMPARE(sim_->wire.size(), after);
    const std::unique_ptr<zx::reg::Register> r = openRegister();
    QVERIFY(r);
    QCOMPARE(r->runs(number).size(), 3);
    QCOMPARE(zx::reg::knownRecord(r->confirmations(number)).record.AlarmNumber(5), QByteArray("0171555"));
}

// A window without a module number: the run is kept under the port, the
// whole plan goes out as nothing is known, and afterwards a small dialog
// asks for the number and a name. A number that is none keeps it open;
// the number given moves the run to that module, merged with what the
// register had of it. The next run offers the same number; Escape leaves
// that run under the port.
void ModuleMenuTest::aModuleWithoutANumberIsGivenOneAfterTheRun() {
    zx::settings::ConfigRecord record = zx::testing::recordOf(goldenOnCom1());
    record.setModuleNumber({});
    const QString pump = QStringLiteral("+4930555");
    start(zx::testing::toByteArray(record));
    {
        // The register met the module before, by its number, on another port.
        const std::unique_ptr<zx::reg::Register> r = openRegister();
        QVERIFY(r);
        const std::optional<qint64> run =
            r->beginRun({pump, QStringLiteral("read"), QStringLiteral("/dev/ttyUSB7"), {QStringLiteral("GETVR")}});
        QVERIFY(run && r->finishRun(*run, QStringLiteral("complete")));
        QVERIFY(r->describe(pump, QStringLiteral("Tank"), QStringLiteral("North")));
        QVERIFY(r->addTags(pump, {QStringLiteral("pumps")}));
    }
    QByteArray expected;
    for (const zx::provision::PlanStep &step : zx::provision::writePlan(record).steps)
        expected += zx::testing::framedAsSent(step.line);
    const qsizetype before = sim_->wire.size();
    write("WriteChanges1");
    auto *ask = waitForDialog<zx::ui::ModuleNumberDialog>("ModuleNumberDialog", 60000);
    QVERIFY(ask && ask->isVisible());
    QVERIFY2(sim_->wire.mid(before) == expected,
             qPrintable(zx::testing::firstDifference(expected, sim_->wire.mid(before))));
    QVERIFY2(sim_->statusMessage().endsWith(
                 QStringLiteral("; the whole plan was sent, as nothing was known of module port:Com1")),
             qPrintable(sim_->statusMessage()));
    auto *result = form().findChild<zx::ui::RunResultDialog *>(QStringLiteral("RunResult"));
    QVERIFY(result);
    QVERIFY(sim_->child<QLabel>(QStringLiteral("RunResultSummary"))
                ->text()
                .endsWith(QStringLiteral("\nThe whole plan was sent, as nothing was known of module port:Com1.")));
    {
        const std::unique_ptr<zx::reg::Register> r = openRegister();
        QCOMPARE(r->runs(QStringLiteral("port:Com1")).size(), 1);
    }

    auto *numberEdit = ask->findChild<QLineEdit *>(QStringLiteral("ModuleNumberEdit"));
    auto *nameEdit = ask->findChild<QLineEdit *>(QStringLiteral("ModuleNameEdit"));
    auto *problem = ask->findChild<QLabel *>(QStringLiteral("ModuleNumberProblem"));
    QVERIFY(numberEdit && nameEdit && problem);
    QCOMPARE(numberEdit->text(), QString());
    QTest::keyClicks(numberEdit, QStringLiteral("pump 1"));
    QTest::keyClick(ask, Qt::Key_Return);
    QVERIFY(ask->isVisible());
    QVERIFY(!problem->isHidden());
    numberEdit->selectAll();
    QTest::keyClicks(numberEdit, QStringLiteral("0049 30-555"));
    QVERIFY(problem->isHidden());
    QTest::keyClicks(nameEdit, QStringLiteral("Pump station"));
    QTest::keyClick(ask, Qt::Key_Return);
    QVERIFY(ask->isHidden());
    QVERIFY2(sim_->statusMessage() == QStringLiteral("The module register keeps the module on Com1 as "
                                                     "+4930555 (\"Pump station\")."),
             qPrintable(sim_->statusMessage()));
    {
        const std::unique_ptr<zx::reg::Register> r = openRegister();
        QVERIFY(!r->module(QStringLiteral("port:Com1")));
        const std::optional<zx::reg::ModuleInfo> info = r->module(pump);
        QVERIFY(info);
        QCOMPARE(info->name, QStringLiteral("Pump station"));
        QCOMPARE(info->site, QStringLiteral("North"));
        QCOMPARE(info->tags, QStringList{QStringLiteral("pumps")});
        const QList<zx::reg::RunInfo> runs = r->runs(pump);
        QCOMPARE(runs.size(), 2);
        QCOMPARE(runs.at(1).port, QStringLiteral("Com1"));
        QCOMPARE(runs.at(1).answered, int(report().results.size()));
        const zx::reg::KnownRecord known = zx::reg::knownRecord(r->confirmations(pump));
        QCOMPARE(known.record.AlarmNumber(2), record.AlarmNumber(2));
        QCOMPARE(known.record.GprsApn(), record.GprsApn());
    }
    delete result;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Still no number in the window: this session's write is what the
    // module holds, so one changed number is one line.
    sim_->child<QLineEdit>(QStringLiteral("NNumber4"))->setText(QStringLiteral("+444"));
    const qsizetype beforeOne = sim_->wire.size();
    write("WriteChanges1");
    ask = waitForDialog<zx::ui::ModuleNumberDialog>("ModuleNumberDialog", 10000);
    QVERIFY(ask && ask->isVisible());
    QCOMPARE(sim_->wire.mid(beforeOne), framed("SETNN4 +444"));
    QCOMPARE(ask->findChild<QLineEdit *>(QStringLiteral("ModuleNumberEdit"))->text(), pump);
    QTest::keyClick(ask, Qt::Key_Escape);
    QVERIFY(ask->isHidden());
    const std::unique_ptr<zx::reg::Register> r = openRegister();
    const QList<zx::reg::RunInfo> underPort = r->runs(QStringLiteral("port:Com1"));
    QCOMPARE(underPort.size(), 1);
    QCOMPARE(underPort.at(0).plan, QStringList{QStringLiteral("SETNN4 +444")});
    QCOMPARE(r->runs(pump).size(), 2);
}

QTEST_MAIN(ModuleMenuTest)
#include "tst_module_menu.moc"
