#include "cli/SmsRun.h"

#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/ModuleSteps.h"
#include "files/UserFolders.h"
#include "provision/RunLists.h"
#include "register/Journal.h"
#include "register/KnownRecord.h"
#include "register/SmsJobs.h"
#include "register/SmsRuns.h"
#include "remote/SmsEngine.h"
#include "settings/PrivateFile.h"

#include <QEventLoop>
#include <QScopeGuard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zx::cli {
namespace {

class ModemPortAdapter final : public channel::ChannelPort {
public:
    explicit ModemPortAdapter(DriverPort &port) : m_port(port) {}
    bool write(const QByteArray &bytes) override { return m_port.write(bytes); }

private:
    DriverPort &m_port;
};

int retriesOf(const remote::SmsJob &job) {
    int count = 0;
    for (const remote::SmsCommand &command : job.commands)
        count += std::max(0, command.attempts - 1);
    return count;
}

QString money(double amount) { return QString::number(amount, 'f', 2); }

void say(Console &console, const QString &line) {
    console.err((QLatin1String(kProgramName) + QStringLiteral(": ") + line + u'\n').toUtf8());
}

QString progressLine(const remote::SmsCommand &command) {
    QString text = QStringLiteral("%1: %2 %3").arg(command.module, command.shownLine,
                                                   remote::smsStateName(command.state));
    if (command.state == remote::SmsState::Handed)
        text += command.reference >= 0 ? QStringLiteral(" (reference %1").arg(command.reference)
                                       : QStringLiteral(" (");
    if (command.state == remote::SmsState::Handed)
        text += (command.reference >= 0 ? QStringLiteral(", ") : QString()) +
                QStringLiteral("attempt %1)").arg(command.attempts);
    if (!command.reason.isEmpty() && remote::isFinal(command.state))
        text += QStringLiteral(": ") + command.reason;
    return text;
}

QJsonObject commandJson(const remote::SmsCommand &command) {
    QJsonObject o{{QStringLiteral("line"), command.shownLine},
                  {QStringLiteral("fields"), QJsonArray::fromStringList(command.entries)},
                  {QStringLiteral("state"), remote::smsStateName(command.state)},
                  {QStringLiteral("attempts"), command.attempts},
                  {QStringLiteral("retried"), std::max(0, command.attempts - 1)}};
    if (command.reference >= 0)
        o.insert(QStringLiteral("reference"), command.reference);
    if (command.handedAt.isValid())
        o.insert(QStringLiteral("handedAt"), reg::timeText(command.handedAt));
    if (command.doneAt.isValid())
        o.insert(QStringLiteral("doneAt"), reg::timeText(command.doneAt));
    if (!command.answer.isNull())
        o.insert(QStringLiteral("answer"), command.secret ? QStringLiteral("(password)")
                                                          : QString::fromLatin1(command.answer));
    if (!command.reason.isEmpty())
        o.insert(QStringLiteral("reason"), command.reason);
    return o;
}

} // namespace

QStringList jobLines(const remote::SmsJob &job) {
    QStringList lines;
    lines << QStringLiteral("job %1: %2 by SMS via %3, %4, made %5")
                 .arg(job.id)
                 .arg(job.kind, job.modemPort, job.state, reg::timeText(job.created));
    for (const QString &module : job.modules()) {
        int answered = 0, refused = 0, givenUp = 0, handOvers = 0;
        const QList<const remote::SmsCommand *> commands = job.commandsOf(module);
        for (const remote::SmsCommand *command : commands) {
            answered += command->state == remote::SmsState::Answered;
            refused += command->state == remote::SmsState::Refused;
            givenUp += command->state == remote::SmsState::GivenUp;
            handOvers += command->attempts;
        }
        lines << QStringLiteral("%1: %2 of %3 answered, %4 refused, %5 given up; %6 SMS sent")
                     .arg(module)
                     .arg(answered)
                     .arg(commands.size())
                     .arg(refused)
                     .arg(givenUp)
                     .arg(handOvers);
    }
    return lines;
}

int runSmsJob(Console &console, reg::Register &reg, remote::SmsJob job, const profile::Source &source,
              const SmsOptions &options) {
    DriverPort port;
    if (const QString why = port.open(options.modem); !why.isEmpty())
        return console.fail(ExitPort, why);
    reg::Journal journal(reg);
    if (job.id == 0 && !journal.create(job))
        return console.fail(ExitUsage, QStringLiteral("the job could not be kept in the module register: %1")
                                           .arg(journal.lastError()));
    // Two programs on one job would send its commands twice.
    if (QString holder; !journal.claim(job.id, options.takeOver, &holder))
        return console.fail(ExitUsage, QStringLiteral("job %1 is being run by %2; stop that first, or give "
                                                      "--take-over when it is gone")
                                           .arg(job.id)
                                           .arg(holder));
    const auto release = qScopeGuard([&] { journal.release(job.id); });
    say(console, QStringLiteral("job %1: %2").arg(job.id).arg(reg::costLines(job).join(QStringLiteral("; "))));

    ModemPortAdapter adapter(port);
    remote::ModemLink modem(adapter, channel::ChannelTiming::forBaud(options.modem.baud));
    port.forward([&modem](const QByteArray &bytes) { modem.receive(bytes); },
                 [&modem](const QString &why) { modem.portLost(why); });
    remote::SmsEngine engine(modem, journal, {options.listEveryMs, 5000, 1100, 3});
    engine.run(job);
    reg::SmsRuns runs(reg, engine.job(), source.record);
    if (!runs.begin())
        say(console, QStringLiteral("the module register did not keep this session's runs: %1").arg(runs.lastError()));
    QObject::connect(&engine, &remote::SmsEngine::commandChanged, &engine,
                     [&](const remote::SmsCommand &command) {
                         say(console, progressLine(command));
                         if (remote::isFinal(command.state))
                             runs.done(command);
                     });
    bool interrupted = false;
    QEventLoop loop;
    QObject::connect(&engine, &remote::SmsEngine::finished, &loop, &QEventLoop::quit);
    {
        InterruptCancels cancels(&engine, [&] {
            interrupted = true;
            engine.stop(false);
        });
        if (engine.running())
            loop.exec();
    }
    const remote::SmsJob &done = engine.job();
    const bool stopped = done.state == QLatin1String("running");
    runs.finish(stopped);

    // What a verify found, module by module.
    QJsonArray modulesJson;
    int differing = 0;
    QStringList summary = jobLines(done);
    for (const QString &module : done.modules()) {
        QJsonArray commands;
        provision::ReadRun reads;
        QList<provision::CommandResult> results;
        for (const remote::SmsCommand *command : done.commandsOf(module)) {
            commands.append(commandJson(*command));
            if (done.kind == QLatin1String("verify"))
                for (const provision::ReadStep &step : provision::readPlan())
                    if (step.line == command->line) {
                        reads.steps.append(step);
                        results.append(reg::resultOf(*command, QStringLiteral("read")));
                    }
        }
        QJsonObject moduleJson{{QStringLiteral("module"), module}, {QStringLiteral("commands"), commands}};
        if (done.kind == QLatin1String("verify")) {
            provision::Report report;
            QStringList entries;
            for (const provision::ReadStep &step : reads.steps)
                entries += provision::stepEntries(step);
            compareReadBack(report, source.record, readableOf(source, entries), takeReads(reads, results));
            QJsonArray mismatches;
            for (const provision::Mismatch &mismatch : report.mismatches) {
                mismatches.append(mismatch.text());
                summary << QStringLiteral("%1: %2").arg(module, mismatch.text());
            }
            for (const QString &entry : report.unread)
                summary << QStringLiteral("%1: %2 could not be read").arg(module, entry);
            differing += int(report.mismatches.size() + report.unread.size());
            moduleJson.insert(QStringLiteral("differences"), mismatches);
            moduleJson.insert(QStringLiteral("unread"), QJsonArray::fromStringList(report.unread));
        }
        modulesJson.append(moduleJson);
    }
    summary << QStringLiteral("%1 SMS handed to the modem, %2 of them retries; %3 duplicate and %4 "
                              "stray answers set aside, %5 messages of other senders left in the store")
                   .arg(done.handOvers())
                   .arg(retriesOf(done))
                   .arg(engine.duplicateMessages())
                   .arg(engine.strayMessages())
                   .arg(engine.foreignMessages());
    if (done.pricePerSms > 0)
        summary << QStringLiteral("cost: %1").arg(money(done.handOvers() * done.pricePerSms));
    if (!engine.failure().isEmpty())
        summary << QStringLiteral("stopped: %1").arg(engine.failure());
    if (stopped)
        summary << QStringLiteral("job %1 is not finished; go on with: %2 jobs resume %1")
                       .arg(done.id)
                       .arg(QLatin1String(kProgramName));

    QJsonObject reportJson{{QStringLiteral("job"), done.id},
                           {QStringLiteral("kind"), done.kind},
                           {QStringLiteral("modemPort"), done.modemPort},
                           {QStringLiteral("state"), done.state},
                           {QStringLiteral("modules"), modulesJson},
                           {QStringLiteral("handedToModem"), done.handOvers()},
                           {QStringLiteral("duplicates"), engine.duplicateMessages()},
                           {QStringLiteral("stray"), engine.strayMessages()},
                           {QStringLiteral("otherSenders"), engine.foreignMessages()},
                           {QStringLiteral("pricePerSms"), done.pricePerSms},
                           {QStringLiteral("failure"), engine.failure()},
                           {QStringLiteral("interrupted"), interrupted}};
    if (!options.reportPath.isEmpty()) {
        if (const settings::FileResult written =
                settings::writePrivateFile(options.reportPath, QJsonDocument(reportJson).toJson());
            !written.ok())
            return console.fail(ExitUsage, QStringLiteral("%1: cannot write the report: %2")
                                               .arg(options.reportPath, files::errnoText(written.errorCode)));
    }
    if (options.json)
        console.out(QJsonDocument(reportJson).toJson());
    else
        for (const QString &line : summary)
            console.printLine(line);

    if (!engine.failure().isEmpty() && engine.failure().contains(QLatin1String("port")))
        return ExitPort;
    const bool all = done.countIn(remote::SmsState::Answered) == done.commands.size();
    return all && differing == 0 && !stopped ? ExitOk : ExitNotAnswered;
}

} // namespace zx::cli
