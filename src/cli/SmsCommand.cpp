// write, read and verify --sms: the options, the job they make, and 'jobs'.
#include "cli/SmsCommand.h"

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/ModuleSteps.h"
#include "cli/RunRecorder.h"
#include "cli/SmsRun.h"
#include "gsm/PduEncoder.h"
#include "register/Journal.h"
#include "register/ModuleNumber.h"
#include "register/SmsJobs.h"
#include "settings/FirstRunRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zx::cli {
namespace {

constexpr int kDefaultAnswerTimeoutSec = 120;
constexpr int kMaxRetries = 5;

struct SmsLine {
    explicit SmsLine(CommandLine &line)
        : sms(QStringLiteral("sms"), QStringLiteral("Reach the modules by SMS through a GSM modem instead of "
                                                     "over a cable.")),
          modemPort(QStringLiteral("modem-port"),
                    QStringLiteral("The modem's port: Com1..Com16 or a device path."), QStringLiteral("PORT")),
          baud(QStringLiteral("baud"), QStringLiteral("The modem port's baud rate (default 9600)."),
               QStringLiteral("RATE"), QStringLiteral("9600")),
          module(QStringLiteral("module"),
                 QStringLiteral("A module's telephone number; give it once per module."),
                 QStringLiteral("NUMBER")),
          answerTimeout(QStringLiteral("answer-timeout"),
                        QStringLiteral("Seconds to wait for a module's answer SMS (default %1).")
                            .arg(kDefaultAnswerTimeoutSec),
                        QStringLiteral("SEC")),
          retries(QStringLiteral("retries"),
                  QStringLiteral("Times a command whose answer did not come is sent again (default 1)."),
                  QStringLiteral("N")),
          listEvery(QStringLiteral("list-every"),
                    QStringLiteral("Seconds between listings of the modem's store (default 5)."),
                    QStringLiteral("SEC")),
          price(QStringLiteral("price"), QStringLiteral("What one SMS costs, to show the job's cost."),
                QStringLiteral("AMOUNT")),
          dryRun(QStringLiteral("dry-run"),
                 QStringLiteral("Show how many SMS would go to which modules, and their cost; send "
                                "nothing.")),
          report(QStringLiteral("report"), QStringLiteral("Write the job's report to FILE (JSON, mode 0600)."),
                 QStringLiteral("FILE")) {
        for (const QCommandLineOption *option : {&sms, &modemPort, &baud, &module, &answerTimeout, &retries,
                                                 &listEvery, &price, &dryRun, &report})
            line.addOption(*option);
        line.addOption(registerOption());
        line.addJsonOption();
    }

    // The options' values into job and options; the exit status on an error.
    std::optional<int> read(CommandLine &line, Console &console, remote::SmsJob &job, SmsOptions &options,
                            QStringList &modules) const {
        if (!line.isSet(modemPort))
            return line.usageError(console, QStringLiteral("--sms needs --modem-port PORT"));
        options.modem.name = line.value(modemPort);
        bool ok = false;
        options.modem.baud = line.value(baud).toUInt(&ok);
        if (!ok || options.modem.baud < 300 || options.modem.baud > 4000000)
            return line.usageError(console, QStringLiteral("--baud wants a rate such as 9600 or 115200"));
        for (const QString &given : line.values(module)) {
            const QString number = reg::normaliseNumber(given);
            if (number.isEmpty() || gsm::checkModuleNumber(number.toLatin1()) != gsm::NumberCheck::Ok ||
                number.size() < 3)
                return line.usageError(console, QStringLiteral("--module %1: not a telephone number").arg(given));
            if (modules.contains(number))
                return line.usageError(console, QStringLiteral("--module %1 is given twice").arg(given));
            modules << number;
        }
        if (modules.isEmpty())
            return line.usageError(console, QStringLiteral("--sms needs --module NUMBER, once per module"));
        const auto number = [&](const QCommandLineOption &option, int low, int high, int fallback,
                                int *into) -> bool {
            if (!line.isSet(option)) {
                *into = fallback;
                return true;
            }
            bool good = false;
            *into = line.value(option).toInt(&good);
            return good && *into >= low && *into <= high;
        };
        int timeoutSec = 0, listSec = 0;
        if (!number(answerTimeout, 1, 86400, kDefaultAnswerTimeoutSec, &timeoutSec))
            return line.usageError(console, QStringLiteral("--answer-timeout wants 1..86400 seconds"));
        if (!number(retries, 0, kMaxRetries, 1, &job.retries))
            return line.usageError(console, QStringLiteral("--retries wants 0..%1").arg(kMaxRetries));
        if (!number(listEvery, 1, 3600, 5, &listSec))
            return line.usageError(console, QStringLiteral("--list-every wants 1..3600 seconds"));
        job.timeoutMs = timeoutSec * 1000;
        options.listEveryMs = listSec * 1000;
        if (line.isSet(price)) {
            job.pricePerSms = line.value(price).toDouble(&ok);
            if (!ok || job.pricePerSms < 0 || job.pricePerSms > 1000)
                return line.usageError(console, QStringLiteral("--price wants an amount such as 0.09"));
        }
        job.modemPort = options.modem.name;
        options.reportPath = line.isSet(report) ? line.value(report) : QString();
        options.json = line.json();
        return std::nullopt;
    }

    QCommandLineOption sms, modemPort, baud, module, answerTimeout, retries, listEvery, price, dryRun, report;
};

std::unique_ptr<reg::Register> registerFor(const CommandLine &line, Console &console, std::optional<int> *failed) {
    return openRegister(line, console, failed);
}

int dryRun(Console &console, const remote::SmsJob &job, bool json) {
    if (json) {
        QJsonArray modules;
        for (const QString &module : job.modules()) {
            QJsonArray lines;
            for (const remote::SmsCommand *command : job.commandsOf(module))
                lines.append(command->shownLine);
            modules.append(QJsonObject{{QStringLiteral("module"), module}, {QStringLiteral("commands"), lines}});
        }
        console.out(QJsonDocument(QJsonObject{{QStringLiteral("modules"), modules},
                                              {QStringLiteral("sms"), int(job.commands.size())},
                                              {QStringLiteral("pricePerSms"), job.pricePerSms},
                                              {QStringLiteral("cost"), job.commands.size() * job.pricePerSms}})
                        .toJson());
        return ExitOk;
    }
    for (const QString &module : job.modules())
        for (const remote::SmsCommand *command : job.commandsOf(module))
            console.printLine(QStringLiteral("%1: %2").arg(module, command->shownLine));
    for (const QString &line : reg::costLines(job))
        console.printLine(line);
    console.printLine(QStringLiteral("nothing was sent (--dry-run)"));
    return ExitOk;
}

} // namespace

bool wantsSms(const QStringList &args) { return args.contains(QStringLiteral("--sms")); }

int runSmsModuleCommand(const QString &kind, const QStringList &args, Console &console) {
    const bool write = kind == QLatin1String("write");
    CommandLine line(args.at(0),
                     write ? QStringLiteral("Writes a profile to remote modules by SMS through a modem: by "
                                            "default only what the module register does not know each "
                                            "module to hold. The job is kept in the register as it goes; "
                                            "one that stopped goes on with 'jobs resume'.")
                           : kind == QLatin1String("read")
                                 ? QStringLiteral("Reads remote modules back by SMS through a modem into the "
                                                  "module register.")
                                 : QStringLiteral("Reads remote modules back by SMS and lists every field that "
                                                  "differs from FILE."));
    if (kind != QLatin1String("read"))
        line.addPositional(QStringLiteral("FILE"), QStringLiteral("A profile (.json) or a settings file."));
    SmsLine sms(line);
    const QCommandLineOption whole(QStringLiteral("whole"),
                                   QStringLiteral("Send every command of the profile, not only the changes."));
    if (write)
        line.addOption(whole);
    const int files = kind == QLatin1String("read") ? 0 : 1;
    if (const auto done = line.parse(args, console, files, files))
        return *done;
    remote::SmsJob job;
    job.kind = kind;
    SmsOptions options;
    QStringList modules;
    if (const auto failed = sms.read(line, console, job, options, modules))
        return *failed;
    profile::Source source;
    source.record = settings::firstRunRecord();
    if (files == 1) {
        job.profile = line.positional().at(0);
        source = profile::readSource(job.profile, settings::firstRunRecord());
        if (!source.ok())
            return console.fail(ExitUsage, source.error);
        job.profileHash = reg::profileHash(job.profile);
    }
    std::optional<int> failed;
    const std::unique_ptr<reg::Register> reg = registerFor(line, console, &failed);
    if (!reg)
        return failed.value_or(ExitUsage);
    remote::SmsJob built;
    if (write) {
        built = reg::writeJob(*reg, modules, source, line.isSet(whole), [&console](const QString &module) {
            console.err(QStringLiteral("%1: the register knows nothing of module %2 yet; "
                                       "sending the whole plan\n")
                            .arg(QLatin1String(kProgramName), module)
                            .toUtf8());
        });
    } else {
        QStringList entries;
        if (kind == QLatin1String("verify"))
            entries = readableOf(source, provision::readableEntries());
        built = reg::readJob(modules, entries);
    }
    built.kind = job.kind;
    built.modemPort = job.modemPort;
    built.profile = job.profile;
    built.profileHash = job.profileHash;
    built.timeoutMs = job.timeoutMs;
    built.retries = job.retries;
    built.pricePerSms = job.pricePerSms;
    if (line.isSet(sms.dryRun))
        return dryRun(console, built, options.json);
    if (built.commands.isEmpty()) {
        console.printLine(QStringLiteral("nothing to send: the register knows every module holds the profile"));
        return ExitOk;
    }
    return runSmsJob(console, *reg, built, source, options);
}

int runJobs(const QStringList &args, Console &console) {
    CommandLine line(args.at(0), QStringLiteral("The SMS jobs the module register keeps: list, show ID, "
                                                "resume ID (goes on where it stopped), cancel ID."));
    line.addPositional(QStringLiteral("ACTION"), QStringLiteral("list, show, resume or cancel."));
    line.addPositional(QStringLiteral("ID"), QStringLiteral("The job's number, as 'jobs list' shows it."));
    const QCommandLineOption modemPort(QStringLiteral("modem-port"),
                                       QStringLiteral("resume: the modem's port, when not the job's own."),
                                       QStringLiteral("PORT"));
    const QCommandLineOption baud(QStringLiteral("baud"), QStringLiteral("resume: the modem port's baud rate."),
                                  QStringLiteral("RATE"), QStringLiteral("9600"));
    const QCommandLineOption listEvery(QStringLiteral("list-every"),
                                       QStringLiteral("resume: seconds between listings (default 5)."),
                                       QStringLiteral("SEC"), QStringLiteral("5"));
    const QCommandLineOption report(QStringLiteral("report"), QStringLiteral("resume: the job's report to FILE."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption takeOver(QStringLiteral("take-over"),
                                      QStringLiteral("resume: run the job although a program on another machine "
                                                     "claims it (that program is gone)."));
    for (const QCommandLineOption *option : {&modemPort, &baud, &listEvery, &report, &takeOver})
        line.addOption(*option);
    line.addOption(registerOption());
    line.addJsonOption();
    if (const auto done = line.parse(args, console, 1, 2))
        return *done;
    const QString action = line.positional().at(0);
    if (action != QLatin1String("list") && line.positional().size() < 2)
        return line.usageError(console, QStringLiteral("%1 needs the job's ID").arg(action));
    std::optional<int> failed;
    const std::unique_ptr<reg::Register> reg = registerFor(line, console, &failed);
    if (!reg)
        return failed.value_or(ExitUsage);
    reg::Journal journal(*reg);
    if (action == QLatin1String("list")) {
        const QList<remote::SmsJob> jobs = journal.jobs();
        if (line.json()) {
            QJsonArray list;
            for (const remote::SmsJob &job : jobs)
                list.append(QJsonObject{{QStringLiteral("id"), job.id},
                                        {QStringLiteral("kind"), job.kind},
                                        {QStringLiteral("state"), job.state},
                                        {QStringLiteral("modules"), QJsonArray::fromStringList(job.modules())},
                                        {QStringLiteral("answered"), job.countIn(remote::SmsState::Answered)},
                                        {QStringLiteral("commands"), int(job.commands.size())}});
            console.out(QJsonDocument(list).toJson());
            return ExitOk;
        }
        if (jobs.isEmpty())
            console.printLine(QStringLiteral("no SMS job is kept in the module register"));
        for (const remote::SmsJob &job : jobs)
            console.printLine(QStringLiteral("%1  %2  %3  %4 of %5 answered  %6")
                                  .arg(job.id)
                                  .arg(job.kind, job.state)
                                  .arg(job.countIn(remote::SmsState::Answered))
                                  .arg(job.commands.size())
                                  .arg(job.modules().join(QStringLiteral(", "))));
        return ExitOk;
    }
    if (action != QLatin1String("show") && action != QLatin1String("resume") && action != QLatin1String("cancel"))
        return line.usageError(console, QStringLiteral("unknown action %1: give list, show, resume or cancel").arg(action));
    bool ok = false;
    const qint64 id = line.positional().at(1).toLongLong(&ok);
    std::optional<remote::SmsJob> job = ok ? journal.job(id) : std::nullopt;
    if (!job)
        return console.fail(ExitUsage, QStringLiteral("no SMS job %1 in the module register; 'jobs list' shows them")
                                           .arg(line.positional().at(1)));
    if (action == QLatin1String("show")) {
        for (const QString &text : jobLines(*job))
            console.printLine(text);
        for (const remote::SmsCommand &command : job->commands)
            console.printLine(QStringLiteral("  %1 #%2 %3: %4, sent %5 time(s)%6")
                                  .arg(command.module)
                                  .arg(command.seq + 1)
                                  .arg(command.shownLine, remote::smsStateName(command.state))
                                  .arg(command.attempts)
                                  .arg(command.reason.isEmpty() ? QString() : QStringLiteral(": ") + command.reason));
        return ExitOk;
    }
    if (job->state != QLatin1String("running"))
        return console.fail(ExitUsage, QStringLiteral("job %1 is %2 already").arg(id).arg(job->state));
    if (action == QLatin1String("cancel")) {
        if (!journal.finish(id, QStringLiteral("cancelled")))
            return console.fail(ExitUsage, journal.lastError());
        console.printLine(QStringLiteral("job %1 cancelled; what was handed to the modem may still be "
                                         "answered")
                              .arg(id));
        return ExitOk;
    }
    profile::Source source;
    source.record = settings::firstRunRecord();
    if (!job->profile.isEmpty()) {
        source = profile::readSource(job->profile, settings::firstRunRecord());
        if (!source.ok())
            return console.fail(ExitUsage, source.error);
        if (const QString why = reg::restoreSecrets(*job, source, reg::profileHash(job->profile)); !why.isEmpty())
            return console.fail(ExitUsage, why);
    }
    SmsOptions options;
    options.modem.name = line.isSet(modemPort) ? line.value(modemPort) : job->modemPort;
    options.modem.baud = line.value(baud).toUInt(&ok);
    if (!ok || options.modem.baud < 300)
        return line.usageError(console, QStringLiteral("--baud wants a rate such as 9600 or 115200"));
    options.listEveryMs = std::max(1, line.value(listEvery).toInt()) * 1000;
    options.reportPath = line.isSet(report) ? line.value(report) : QString();
    options.json = line.json();
    options.takeOver = line.isSet(takeOver);
    return runSmsJob(console, *reg, *job, source, options);
}

} // namespace zx::cli
