#include "cli/Fleet.h"

#include "cli/DriverPort.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/ModuleSteps.h"
#include "cli/ProgressLine.h"
#include "files/UserFiles.h"
#include "files/UserFolders.h"
#include "profile/ProfileFiles.h"
#include "provision/Engine.h"
#include "provision/Plan.h"
#include "provision/ReadPlan.h"
#include "provision/Report.h"
#include "provision/RunLists.h"
#include "register/ModuleNumber.h"
#include "register/RunKeeper.h"
#include "settings/FirstRunRecord.h"
#include "settings/PrivateFile.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace zx::cli {
namespace {

using provision::Command;
using provision::Status;

const Command kFirmware{QByteArrayLiteral("GETVR"), QStringLiteral("firmware"), false,
                        QStringLiteral("read")};

// One port's run: its phases (the write, the read-back; the reads, the
// firmware) follow one another on the shared event loop, each on an engine
// of its own, as ModuleRun::run does on a loop of its own.
class PortJob : public QObject {
public:
    PortJob(const FleetWork &work, const FleetPort &port, reg::Register *reg)
        : work(work), port(port), keeper(reg) {}

    const FleetWork &work;
    FleetPort port;
    QString profilePath;
    profile::Source source;
    provision::Plan plan;
    reg::RunKeeper keeper;
    DriverPort driver;
    provision::Report report;
    ReadBack readBack; // read: what the answers held
    std::optional<qint64> runId;

    QString phase;
    int done = 0;
    int total = 0;
    qint64 elapsedMs = 0;
    bool finished = false;
    int exitCode = ExitOk;
    std::function<void()> changed; // progress or the end
    std::function<void(const QString &)> keepFailed;

    void start(const provision::Timing &timing, Console &console);
    void cancel() {
        m_cancelled = true;
        if (m_engine && m_engine->running())
            m_engine->cancel();
    }

private:
    void begin(const QString &kind, const QList<Command> &commands, Console &console);
    void runPhase(const QString &name, const QList<Command> &commands,
                  std::function<void(bool whole)> then);
    void end();

    provision::Timing m_timing;
    std::unique_ptr<provision::Engine> m_engine;
    QList<provision::CommandResult> m_last; // the last phase's results
    bool m_cancelled = false;
};

void PortJob::begin(const QString &kind, const QList<Command> &commands, Console &console) {
    if (!keeper.reg())
        return;
    if (reg::isPortKey(keeper.module()))
        console.err(QStringLiteral("%1: %2: the register keeps this run under %3, as no module "
                                   "number is known%4\n")
                        .arg(QLatin1String(kProgramName), port.name, keeper.module(),
                             kind == QLatin1String("read")
                                 ? QString()
                                 : QStringLiteral("; give ModuleNumber in its profile"))
                        .toUtf8());
    if (!keeper.begin(kind, port.name, commands)) {
        keepFailed(QStringLiteral("its start"));
        return;
    }
    runId = keeper.runId();
}

void PortJob::start(const provision::Timing &timing, Console &console) {
    m_timing = timing;
    if (!report.portError.isEmpty()) { // not opened
        end();
        return;
    }
    if (work.kind == QLatin1String("write")) {
        const QList<Command> commands = provision::writeCommands(plan);
        keeper.expectWrites(plan, source.record);
        begin(QStringLiteral("write"), commands, console);
        runPhase(QStringLiteral("write"), commands, [this](bool whole) {
            if (!whole || !work.verify) {
                end();
                return;
            }
            QStringList written;
            for (const provision::PlanStep &step : plan.steps)
                written += step.entries;
            const QStringList entries = readableOf(source, written);
            const provision::ReadRun reads = provision::readRun(entries);
            keeper.expectReads(reads);
            runPhase(QStringLiteral("verify"), reads.commands, [this, reads, entries](bool) {
                compareReadBack(report, source.record, entries, takeReads(reads, m_last));
                end();
            });
        });
    } else if (work.kind == QLatin1String("verify")) {
        const QStringList entries = readableOf(source, provision::readableEntries());
        const provision::ReadRun reads = provision::readRun(entries);
        begin(QStringLiteral("verify"), reads.commands, console);
        keeper.expectReads(reads);
        runPhase(QStringLiteral("verify"), reads.commands, [this, reads, entries](bool) {
            compareReadBack(report, source.record, entries, takeReads(reads, m_last));
            // Nothing was written: each difference is what the file holds and what was read.
            for (provision::Mismatch &mismatch : report.mismatches)
                mismatch.afterWrite = false;
            end();
        });
    } else {
        const provision::ReadRun reads = provision::readRun(provision::readableEntries());
        begin(QStringLiteral("read"), reads.commands + QList<Command>{kFirmware}, console);
        keeper.expectReads(reads);
        runPhase(QStringLiteral("read"), reads.commands, [this, reads](bool) {
            readBack = takeReads(reads, m_last);
            if (!keeper.reg() || !report.portError.isEmpty() || report.cancelled) {
                end();
                return;
            }
            keeper.expectFirmware();
            runPhase(QStringLiteral("read"), {kFirmware}, [this](bool) { end(); });
        });
    }
}

void PortJob::runPhase(const QString &name, const QList<Command> &commands,
                       std::function<void(bool whole)> then) {
    if (m_cancelled) { // between two phases
        report.cancelled = true;
        end();
        return;
    }
    phase = name;
    done = 0;
    total = int(commands.size());
    m_engine = std::make_unique<provision::Engine>(driver, m_timing);
    provision::Engine *engine = m_engine.get();
    connect(engine, &provision::Engine::progress, this, [this, engine](int n, int of) {
        done = n;
        total = of;
        elapsedMs = engine->elapsedMs();
        if (n > 0 && keeper.running() && !keeper.record(engine->results().at(n - 1)))
            keepFailed(QStringLiteral("the outcome of %1")
                           .arg(provision::shownLine(engine->results().at(n - 1).command)));
        changed();
    });
    connect(engine, &provision::Engine::finished, this, [this, engine, then] {
        m_last = engine->results();
        report.results += m_last;
        report.strayBytes += engine->strayBytes();
        report.cancelled = report.cancelled || engine->cancelled();
        report.stoppedSilent = report.stoppedSilent || engine->stoppedSilent();
        if (!engine->portError().isEmpty())
            report.portError = engine->portError();
        report.ended = QDateTime::currentDateTimeUtc();
        const bool whole =
            engine->portError().isEmpty() && !engine->cancelled() && !engine->stoppedSilent();
        // The engine is still inside its own signal: the next phase starts
        // from the event loop, after it has returned.
        QTimer::singleShot(0, this, [this, then, whole] {
            m_engine.reset();
            then(whole);
        });
    });
    engine->start(commands);
}

void PortJob::end() {
    if (keeper.running() && !keeper.finish(report))
        keepFailed(QStringLiteral("its end"));
    exitCode = !report.portError.isEmpty() ? ExitPort : report.ok() ? ExitOk : ExitNotAnswered;
    finished = true;
    changed();
}

// "Com3: write: command 12 of 180, 6.1/s, 28 s left" for each port, drawn
// in place as one block on a terminal; elsewhere one plain line per port as
// it ends.
class FleetProgress {
public:
    FleetProgress(Console &console, const std::vector<std::unique_ptr<PortJob>> &jobs)
        : m_console(console), m_jobs(jobs) {
        if (!console.errIsTerminal())
            return;
        m_timer.setInterval(200);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { draw(); });
        m_timer.start();
    }
    ~FleetProgress() { clear(); }
    FleetProgress(const FleetProgress &) = delete;
    FleetProgress &operator=(const FleetProgress &) = delete;

    void ended(const PortJob &job) {
        if (!m_console.errIsTerminal())
            m_console.err((lineOf(job) + QLatin1Char('\n')).toUtf8());
    }
    void clear() {
        m_timer.stop();
        if (m_shown > 0)
            m_console.err(up() + "\r\033[J");
        m_shown = 0;
    }

private:
    static QString lineOf(const PortJob &job) {
        if (!job.finished)
            return QStringLiteral("%1: %2: %3")
                .arg(job.port.name, job.phase, ProgressLine::text(job.done, job.total, job.elapsedMs));
        const provision::Report &r = job.report;
        QString line = QStringLiteral("%1: %2 of %3 commands answered")
                           .arg(job.port.name)
                           .arg(r.count(Status::Answered))
                           .arg(r.results.size());
        if (!r.stopText().isEmpty())
            line += QStringLiteral("; ") + r.stopText();
        else if (r.results.isEmpty() && !r.portError.isEmpty())
            line += QStringLiteral("; ") + r.portError;
        return line;
    }
    QByteArray up() const {
        return m_shown > 1 ? QByteArray("\033[") + QByteArray::number(m_shown - 1) + 'A'
                           : QByteArray();
    }
    void draw() {
        QByteArray block = up() + '\r';
        for (std::size_t i = 0; i < m_jobs.size(); ++i) {
            block += "\033[K" + lineOf(*m_jobs[i]).left(79).toUtf8();
            if (i + 1 < m_jobs.size())
                block += '\n';
        }
        m_console.err(block);
        m_shown = int(m_jobs.size());
    }

    Console &m_console;
    const std::vector<std::unique_ptr<PortJob>> &m_jobs;
    QTimer m_timer;
    int m_shown = 0;
};

QString moduleOf(const PortJob &job) {
    const QString &key = job.keeper.module();
    return key.isEmpty() || reg::isPortKey(key) ? QString() : key;
}

QString verifiedText(const provision::Report &r) {
    if (!r.verified)
        return QStringLiteral("-");
    if (!r.mismatches.isEmpty())
        return QStringLiteral("%1 differ").arg(r.mismatches.size());
    if (!r.unread.isEmpty())
        return QStringLiteral("%1 unread").arg(r.unread.size());
    return QStringLiteral("yes");
}

// The columns of the table: refused counts the lines the module did not
// recognise as well, not sent the ones cancelled or lost with the port.
QStringList tableRow(const PortJob &job) {
    const provision::Report &r = job.report;
    const QString module = moduleOf(job);
    return {job.port.name,
            module.isEmpty() ? QStringLiteral("-") : module,
            QString::number(r.count(Status::Answered)),
            QString::number(r.count(Status::Refused) + r.count(Status::NotRecognised)),
            QString::number(r.count(Status::NoAnswer)),
            QString::number(r.count(Status::NotSent) + r.count(Status::Cancelled) +
                            r.count(Status::PortError)),
            verifiedText(r),
            QString::number(job.exitCode)};
}

void printTable(Console &console, const FleetWork &work,
                const std::vector<std::unique_ptr<PortJob>> &jobs, int worst) {
    QList<QStringList> rows{{QStringLiteral("port"), QStringLiteral("module"),
                             QStringLiteral("answered"), QStringLiteral("refused"),
                             QStringLiteral("no answer"), QStringLiteral("not sent"),
                             QStringLiteral("verified"), QStringLiteral("exit")}};
    for (const auto &job : jobs)
        rows << tableRow(*job);
    QList<qsizetype> width(rows.constFirst().size(), 0);
    for (const QStringList &row : rows)
        for (qsizetype c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], row.at(c).size());
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c) {
            // Names left, counts right, as a table of figures reads.
            const bool left = c < 2 || c == 6;
            line += left ? row.at(c).leftJustified(width[c]) : row.at(c).rightJustified(width[c]);
            if (c + 1 < row.size())
                line += QStringLiteral("  ");
        }
        console.printLine(line.trimmed());
    }
    for (const auto &job : jobs) {
        const provision::Report &r = job->report;
        if (!r.stopText().isEmpty())
            console.printLine(QStringLiteral("%1: %2").arg(job->port.name, r.stopText()));
        else if (!r.portError.isEmpty())
            console.printLine(QStringLiteral("%1: %2").arg(job->port.name, r.portError));
        if (!r.mismatches.isEmpty())
            console.printLine(QStringLiteral("%1: %2 fields differ from what %3; the report "
                                             "(--report FILE) lists them")
                                  .arg(job->port.name)
                                  .arg(r.mismatches.size())
                                  .arg(work.kind == QLatin1String("verify")
                                           ? QStringLiteral("the file holds")
                                           : QStringLiteral("was written")));
    }
    const auto ok = std::count_if(jobs.begin(), jobs.end(),
                                  [](const auto &job) { return job->exitCode == ExitOk; });
    console.printLine(QStringLiteral("%1 ports, %2 done, %3 not; exit status %4")
                          .arg(jobs.size())
                          .arg(ok)
                          .arg(qsizetype(jobs.size()) - ok)
                          .arg(worst));
}

QJsonObject fleetJson(const FleetWork &work, const std::vector<std::unique_ptr<PortJob>> &jobs,
                      int worst) {
    QJsonArray ports;
    for (const auto &job : jobs) {
        QJsonObject part = job->report.toJson();
        const QString module = moduleOf(*job);
        part.insert(QStringLiteral("module"), module.isEmpty() ? QJsonValue() : QJsonValue(module));
        if (!job->port.profile.isEmpty() || !job->profilePath.isEmpty())
            part.insert(QStringLiteral("profile"), job->profilePath);
        if (!job->report.portError.isEmpty())
            part.insert(QStringLiteral("portError"), job->report.portError);
        if (job->runId)
            part.insert(QStringLiteral("registerRun"), *job->runId);
        part.insert(QStringLiteral("exitCode"), job->exitCode);
        ports.append(part);
    }
    return {{QStringLiteral("kind"), work.kind},
            {QStringLiteral("ports"), ports},
            {QStringLiteral("exitCode"), worst}};
}

// Each port's profile and plan, before any port is opened; the exit status
// when one of them cannot be sent.
std::optional<int> planPorts(const FleetWork &work, Console &console,
                             std::vector<std::unique_ptr<PortJob>> &jobs) {
    profile::Source old;
    if (!work.changedFrom.isEmpty()) {
        old = profile::readSource(work.changedFrom, settings::firstRunRecord());
        if (!old.ok())
            return console.fail(ExitUsage, old.error + QStringLiteral("; nothing was sent"));
    }
    for (auto &job : jobs) {
        if (work.kind == QLatin1String("read"))
            continue;
        job->profilePath = job->port.profile.isEmpty() ? work.file : job->port.profile;
        const settings::ConfigRecord base =
            work.changedFrom.isEmpty() ? settings::firstRunRecord() : old.record;
        job->source = profile::readSource(job->profilePath, base);
        if (!job->source.ok())
            return console.fail(ExitUsage, QStringLiteral("%1: %2; nothing was sent on any port")
                                               .arg(job->port.name, job->source.error));
    }
    return std::nullopt;
}

} // namespace

QString fleetOutputPath(const QString &pattern, const QString &port) {
    QString name = port;
    if (name.contains(QLatin1Char('/')))
        name = QFileInfo(name).fileName();
    return QString(pattern).replace(QLatin1String("{port}"), name);
}

int runFleet(const CommandLine &line, ModuleRun &run, RunRecorder &recorder, Console &console,
             const FleetWork &work) {
    const QList<FleetPort> &ports = run.fleetPorts();
    if (recorder.moduleGiven() && ports.size() > 1)
        return line.usageError(console, QStringLiteral("--module names one module; with several "
                                                       "ports each module's number comes from "
                                                       "its profile's ModuleNumber"));
    if (run.reportPath().endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return line.usageError(console, QStringLiteral("--report %1: the report of several ports "
                                                       "is JSON; give a FILE not ending in .csv")
                                            .arg(run.reportPath()));
    if (work.kind == QLatin1String("read")) {
        if (work.output.isEmpty() || !work.output.contains(QLatin1String("{port}")))
            return line.usageError(console, QStringLiteral("a read of several ports writes a "
                                                           "profile for each: give -o FILE with "
                                                           "{port} in it, such as -o "
                                                           "site-{port}.json"));
        QStringList outputs;
        for (const FleetPort &port : ports) {
            const QString path = fleetOutputPath(work.output, port.name);
            const QStringList taken = outputs + QStringList{run.reportPath()};
            if (outputs.contains(path) || path == run.reportPath())
                return console.fail(ExitUsage, QStringLiteral("%1: given for two outputs; give "
                                                              "each its own file")
                                                   .arg(path));
            if (const QString why = files::checkOutput(path, run.forced(), taken); !why.isEmpty())
                return console.fail(ExitUsage, why);
            outputs << path;
        }
    } else if (work.file.isEmpty() &&
               std::any_of(ports.begin(), ports.end(),
                           [](const FleetPort &port) { return port.profile.isEmpty(); })) {
        return line.usageError(console, QStringLiteral("missing FILE, the profile of the ports "
                                                       "given without PORT=FILE"));
    }

    std::vector<std::unique_ptr<PortJob>> jobs;
    for (const FleetPort &port : ports)
        jobs.push_back(std::make_unique<PortJob>(work, port, recorder.reg()));
    if (const auto done = planPorts(work, console, jobs))
        return *done;
    for (auto &job : jobs) {
        job->keeper.setModule(recorder.moduleKey(
            work.kind == QLatin1String("read") ? QByteArray() : job->source.record.ModuleNumber(),
            job->port.name));
        if (work.kind != QLatin1String("write"))
            continue;
        if (!work.changedFrom.isEmpty()) {
            const profile::Source old = profile::readSource(work.changedFrom, settings::firstRunRecord());
            job->plan = provision::diffPlan(old.record, job->source.record);
        } else if (work.changes) {
            job->plan = changesPlan(job->keeper.known(), job->keeper.module(), job->source, console);
        } else {
            job->plan = job->source.named
                            ? provision::namedPlan(job->source.record, *job->source.named)
                            : provision::writePlan(job->source.record);
        }
        if (const auto done = refuseUntaken(console, QStringLiteral("%1: %2")
                                                         .arg(job->port.name, job->profilePath),
                                            job->plan))
            return *done;
    }

    // Every port is opened before any sends: one that cannot be opened is
    // that port's error, the others run.
    for (auto &job : jobs) {
        PortChoice choice = run.choice();
        choice.name = job->port.name;
        job->report.port = job->port.name;
        job->report.baud = choice.baud;
        job->report.started = QDateTime::currentDateTimeUtc();
        job->report.ended = job->report.started;
        if (const QString why = job->driver.open(choice); !why.isEmpty())
            job->report.portError = forTheShell(why);
    }

    QEventLoop loop;
    int left = int(jobs.size());
    FleetProgress progress(console, jobs);
    for (auto &job : jobs) {
        PortJob *one = job.get();
        one->keepFailed = [&console, one](const QString &what) {
            console.err(QStringLiteral("%1: %2: the module register %3 could not keep %4 of this "
                                       "run (%5); the run goes on without it\n")
                            .arg(QLatin1String(kProgramName), one->port.name,
                                 one->keeper.reg()->location().shown(), what,
                                 one->keeper.lastError())
                            .toUtf8());
        };
        one->changed = [&progress, &loop, &left, one] {
            if (!one->finished)
                return;
            progress.ended(*one);
            if (--left == 0)
                loop.quit();
        };
    }
    InterruptCancels interrupt(&loop, [&jobs] {
        for (auto &job : jobs)
            job->cancel();
    });
    for (auto &job : jobs)
        job->start(run.timing(), console);
    if (left > 0)
        loop.exec();
    progress.clear();

    if (work.kind == QLatin1String("read"))
        for (auto &job : jobs) {
            const QString path = fleetOutputPath(work.output, job->port.name);
            const QByteArray text = readProfile(job->readBack.record, job->readBack.answered);
            if (const settings::FileResult written = settings::writePrivateFile(path, text);
                !written.ok())
                return console.fail(ExitUsage, QStringLiteral("%1: cannot write: %2")
                                                   .arg(path, files::errnoText(written.errorCode)));
        }

    int worst = ExitOk;
    for (const auto &job : jobs)
        worst = std::max(worst, job->exitCode);
    const QJsonObject json = fleetJson(work, jobs, worst);
    if (line.json())
        console.out(QJsonDocument(json).toJson());
    else
        printTable(console, work, jobs, worst);
    if (const QString path = run.reportPath(); !path.isEmpty())
        if (const settings::FileResult written =
                settings::writePrivateFile(path, QJsonDocument(json).toJson());
            !written.ok())
            return console.fail(ExitUsage, QStringLiteral("%1: cannot write the report: %2")
                                               .arg(path, files::errnoText(written.errorCode)));
    return worst;
}

} // namespace zx::cli
