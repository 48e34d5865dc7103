// zentorix-cli send | write | read | verify: module commands over a serial
// port in setting mode, one at a time, each paired with its answer.
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "cli/Fleet.h"
#include "cli/ModuleRun.h"
#include "cli/ModuleSteps.h"
#include "cli/RunRecorder.h"
#include "cli/SmsCommand.h"
#include "profile/Profile.h"
#include "profile/ProfileFiles.h"
#include "profile/ProfileEntries.h"
#include "provision/Plan.h"
#include "provision/ReadPlan.h"
#include "provision/RunLists.h"
#include "register/KnownRecord.h"
#include "register/RunKeeper.h"
#include "settings/FirstRunRecord.h"
#include "files/UserFolders.h"
#include "settings/PrivateFile.h"
#include "text/Ansi.h"
#include "validate/CommandTable.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <algorithm>

namespace zx::cli {
namespace {

using provision::Command;

// Reads the module back for the given entries.
ReadBack readBack(ModuleRun &run, Console &console, const QStringList &entries,
                  RunRecorder &recorder) {
    const provision::ReadRun reads = provision::readRun(entries);
    recorder.expectReads(reads);
    const qsizetype first = run.report().results.size();
    run.run(console, reads.commands);
    return takeReads(reads, run.report().results.mid(first));
}

// Reads the entries back and compares with expected only those whose answer
// was read; the others are listed as unread, not as differing.
void verifyAgainst(ModuleRun &run, Console &console, const settings::ConfigRecord &expected,
                   const QStringList &entries, RunRecorder &recorder) {
    compareReadBack(run.report(), expected, entries, readBack(run, console, entries, recorder));
}

// The answer as the module gave it, for the person who asked.
QString plainAnswer(const provision::CommandResult &result) {
    QByteArray answer = result.answer;
    answer.replace(QByteArray(1, '\0'), QByteArray());
    return text::fromAnsi(answer).trimmed();
}

// The port as given, before it is opened: what a module met without a
// number is kept under.
// Shown in the cable path's help; the arguments go to the SMS path before
// they are parsed here.
QCommandLineOption smsOption() {
    return {QStringLiteral("sms"), QStringLiteral("Reach remote modules by SMS through a GSM modem instead; "
                                                  "its options: --sms --help.")};
}

QString portGiven(const CommandLine &line) {
    return line.value(QCommandLineOption(QStringList{QStringLiteral("p"), QStringLiteral("port")},
                                         QString()));
}

int sendCommand(const QStringList &args, Console &console) {
    CommandLine line(args.at(0),
                     QStringLiteral("Sends one module command in setting mode (the set-up prefix, "
                                    "the line, CR, NUL) and prints the module's answer."));
    line.addPositional(QStringLiteral("LINE"),
                       QStringLiteral("The command, as the tabs send it: \"GETNR3\", \"SETNN3 +4930123\"."));
    ModuleRun run(line, false);
    if (const auto done = line.parse(args, console, 1, 1))
        return *done;
    if (const auto done = run.readOptions(console))
        return *done;
    const QString typed = line.positional().at(0);
    if (const qsizetype bad = text::firstNonAnsi(typed); bad >= 0)
        return line.usageError(console, QStringLiteral("LINE: character %1 has no Windows-1252 "
                                                       "byte; a command line is printable ASCII")
                                            .arg(bad + 1));
    const QByteArray command = text::toAnsi(typed);
    if (command.trimmed().isEmpty())
        return line.usageError(console, QStringLiteral("LINE is empty"));
    if (const QString why = validate::checkCommandLine(command); !why.isEmpty())
        return line.usageError(console, QStringLiteral("LINE: ") + why);
    if (const auto done = run.openPort(console))
        return *done;
    run.run(console, {Command{command, {}, validate::writesPassword(command), QStringLiteral("send")}});
    const provision::CommandResult &result = run.report().results.constFirst();
    if (line.json())
        run.printSummary(console, QStringLiteral("send"));
    else if (result.status == provision::Status::Answered)
        console.printLine(plainAnswer(result));
    else
        console.err(QStringLiteral("%1: %2\n")
                        .arg(QLatin1String(kProgramName), statusName(result.status))
                        .toUtf8());
    return run.finish(console);
}

int writeCommand(const QStringList &args, Console &console) {
    CommandLine line(
        args.at(0),
        QStringLiteral("Writes a configuration to the module: one command per value, built as "
                       "the tabs build them, each paired with the module's answer. A profile "
                       "that names only some fields writes just those. Nothing is sent when a "
                       "file has an error."));
    line.addPositional(QStringLiteral("FILE"),
                       QStringLiteral("A profile (.json) or a settings file (ZENTORIX.cfg)."));
    const QCommandLineOption changedFrom(
        QStringLiteral("only-changed-from"),
        QStringLiteral("Send only the commands whose line differs from OLD's (a profile or "
                       "settings file of what the module holds now)."),
        QStringLiteral("OLD"));
    const QCommandLineOption verify(
        QStringLiteral("verify"),
        QStringLiteral("Afterwards read the module back (numbers, phone book, texts, GPRS/FTP) "
                       "and list every field that differs from what was written."));
    const QCommandLineOption changes(
        QStringLiteral("changes"),
        QStringLiteral("Send only the commands whose line differs from what the module register "
                       "knows the module holds, from any earlier run on any port; with nothing "
                       "known, the whole plan."));
    line.addOption(changedFrom);
    line.addOption(changes);
    line.addOption(verify);
    line.addOption(smsOption());
    ModuleRun run(line, true);
    RunRecorder recorder(line);
    if (const auto done = line.parse(args, console, 0, 1))
        return *done;
    if (line.positional().isEmpty() && !run.portsNameTheirProfiles())
        return line.usageError(console, QStringLiteral("missing FILE"));
    const QString path = line.positional().value(0);
    QStringList inputs;
    if (!path.isEmpty())
        inputs << path;
    if (line.isSet(changedFrom))
        inputs << line.value(changedFrom);
    if (const auto done = run.readOptions(console, inputs))
        return *done;
    if (line.isSet(changes) && line.isSet(changedFrom))
        return line.usageError(console,
                               QStringLiteral("--changes and --only-changed-from exclude each other"));
    if (line.isSet(changes) && recorder.noRegister())
        return line.usageError(console, QStringLiteral("--changes needs the module register; "
                                                       "leave out --no-register"));
    if (const auto done = recorder.open(console))
        return *done;
    if (run.fleet())
        return runFleet(line, run, recorder, console,
                        {QStringLiteral("write"), path,
                         line.isSet(changedFrom) ? line.value(changedFrom) : QString(),
                         line.isSet(changes), line.isSet(verify), {}});

    profile::Source source;
    provision::Plan plan;
    if (line.isSet(changedFrom)) {
        const profile::Source old = profile::readSource(line.value(changedFrom), settings::firstRunRecord());
        if (!old.ok())
            return console.fail(ExitUsage, old.error);
        // What the new profile leaves out stays as the module holds it.
        source = profile::readSource(path, old.record);
        if (!source.ok())
            return console.fail(ExitUsage, source.error);
        recorder.setModule(source.record.ModuleNumber(), portGiven(line));
        plan = provision::diffPlan(old.record, source.record);
    } else {
        source = profile::readSource(path, settings::firstRunRecord());
        if (!source.ok())
            return console.fail(ExitUsage, source.error);
        recorder.setModule(source.record.ModuleNumber(), portGiven(line));
        if (line.isSet(changes))
            plan = changesPlan(recorder.known(), recorder.module(), source, console);
        else
            plan = source.named ? provision::namedPlan(source.record, *source.named)
                                : provision::writePlan(source.record);
    }
    if (const auto done = refuseUntaken(console, path, plan))
        return *done;
    if (const auto done = run.openPort(console))
        return *done;
    const QList<Command> commands = provision::writeCommands(plan);
    recorder.expectWrites(plan, source.record);
    recorder.begin(run, console, QStringLiteral("write"), run.report().port, commands);
    const bool whole = run.run(console, commands);
    if (whole && line.isSet(verify)) {
        QStringList written;
        for (const provision::PlanStep &step : plan.steps)
            written += step.entries;
        verifyAgainst(run, console, source.record, readableOf(source, written), recorder);
    }
    recorder.finish(run.report());
    run.printSummary(console, QStringLiteral("write"));
    return run.finish(console);
}

int readCommand(const QStringList &args, Console &console) {
    CommandLine line(
        args.at(0),
        QStringLiteral("Reads the module's alarm numbers, phone book, texts and GPRS/FTP "
                       "parameters and writes them as a profile on standard output or to FILE "
                       "(it holds the passwords; FILE gets mode 0600). A field without an "
                       "answer, or one the answer cannot show whole (an alarm number of 20 "
                       "characters), is null or left out, so that writing the profile back "
                       "leaves it as it is. With the module register, the firmware version "
                       "(GETVR) is read as well."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the profile to FILE instead of "
                                                   "standard output."),
                                    QStringLiteral("FILE"));
    line.addOption(output);
    line.addOption(smsOption());
    ModuleRun run(line, true);
    RunRecorder recorder(line);
    if (const auto done = line.parse(args, console, 0, 0))
        return *done;
    const QStringList outputs = line.isSet(output) && !run.fleet()
                                    ? QStringList{line.value(output)}
                                    : QStringList{};
    if (const auto done = run.readOptions(console, {}, outputs))
        return *done;
    if (const auto done = recorder.open(console))
        return *done;
    if (run.fleet())
        return runFleet(line, run, recorder, console,
                        {QStringLiteral("read"), {}, {}, false, false,
                         line.isSet(output) ? line.value(output) : QString()});
    recorder.setModule({}, portGiven(line));
    if (const auto done = run.openPort(console))
        return *done;
    const provision::ReadRun plan = provision::readRun(provision::readableEntries());
    const Command firmware{QByteArrayLiteral("GETVR"), QStringLiteral("firmware"), false,
                           QStringLiteral("read")};
    recorder.begin(run, console, QStringLiteral("read"), run.report().port,
                   plan.commands + QList<Command>{firmware});
    const ReadBack back = readBack(run, console, provision::readableEntries(), recorder);
    if (recorder.enabled() && run.report().portError.isEmpty() && !run.report().cancelled) {
        recorder.expectFirmware();
        run.run(console, {firmware});
    }
    recorder.finish(run.report());

    const QByteArray profileText = readProfile(back.record, back.answered);
    if (line.isSet(output)) {
        const QString path = line.value(output);
        if (const settings::FileResult written = settings::writePrivateFile(path, profileText);
            !written.ok())
            return console.fail(ExitUsage, QStringLiteral("%1: cannot write: %2")
                                               .arg(path, files::errnoText(written.errorCode)));
    }
    if (line.json())
        run.printSummary(console, QStringLiteral("read"));
    else if (!line.isSet(output))
        console.out(profileText);
    if (!line.json() && !run.report().ok())
        console.err(QStringLiteral("%1: read: %2 of %3 commands answered%4 ")
                        .arg(QLatin1String(kProgramName))
                        .arg(run.report().count(provision::Status::Answered))
                        .arg(run.report().results.size())
                        .arg(run.report().stopText().isEmpty()
                                 ? QString()
                                 : QStringLiteral("; ") + run.report().stopText())
                        .toUtf8());
    return run.finish(console);
}

int verifyCommand(const QStringList &args, Console &console) {
    CommandLine line(
        args.at(0),
        QStringLiteral("Reads the module back and lists every field that differs from FILE "
                       "(alarm numbers, phone book, texts, GPRS/FTP: what the module can be "
                       "asked for). Passwords show only as \"differs\"."));
    line.addPositional(QStringLiteral("FILE"),
                       QStringLiteral("A profile (.json) or a settings file (ZENTORIX.cfg)."));
    line.addOption(smsOption());
    ModuleRun run(line, true);
    RunRecorder recorder(line);
    if (const auto done = line.parse(args, console, 0, 1))
        return *done;
    if (line.positional().isEmpty() && !run.portsNameTheirProfiles())
        return line.usageError(console, QStringLiteral("missing FILE"));
    const QString path = line.positional().value(0);
    if (const auto done = run.readOptions(console, path.isEmpty() ? QStringList{} : QStringList{path}))
        return *done;
    if (const auto done = recorder.open(console))
        return *done;
    if (run.fleet())
        return runFleet(line, run, recorder, console,
                        {QStringLiteral("verify"), path, {}, false, false, {}});
    const profile::Source source = profile::readSource(path, settings::firstRunRecord());
    if (!source.ok())
        return console.fail(ExitUsage, source.error);
    recorder.setModule(source.record.ModuleNumber(), portGiven(line));
    if (const auto done = run.openPort(console))
        return *done;
    const QStringList entries = readableOf(source, provision::readableEntries());
    recorder.begin(run, console, QStringLiteral("verify"), run.report().port,
                   provision::readRun(entries).commands);
    verifyAgainst(run, console, source.record, entries, recorder);
    // Nothing was written: each difference is what the file holds and what was read.
    for (provision::Mismatch &mismatch : run.report().mismatches)
        mismatch.afterWrite = false;
    recorder.finish(run.report());
    run.printSummary(console, QStringLiteral("verify"));
    return run.finish(console);
}

} // namespace

int runSend(const QStringList &args, Console &console) { return sendCommand(args, console); }
int runWrite(const QStringList &args, Console &console) {
    return wantsSms(args) ? runSmsModuleCommand(QStringLiteral("write"), args, console) : writeCommand(args, console);
}
int runRead(const QStringList &args, Console &console) {
    return wantsSms(args) ? runSmsModuleCommand(QStringLiteral("read"), args, console) : readCommand(args, console);
}
int runVerify(const QStringList &args, Console &console) {
    return wantsSms(args) ? runSmsModuleCommand(QStringLiteral("verify"), args, console)
                          : verifyCommand(args, console);
}

} // namespace zx::cli
