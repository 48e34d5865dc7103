// zentorix-cli modules list | show | history | diff | tag | set | export:
// what the module register knows, offline.
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "cli/RunRecorder.h"
#include "cli/Subcommand.h"
#include "files/UserFiles.h"
#include "files/UserFolders.h"
#include "profile/Profile.h"
#include "profile/ProfileFiles.h"
#include "register/KnownRecord.h"
#include "register/ModuleNumber.h"
#include "settings/FirstRunRecord.h"
#include "settings/PrivateFile.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <array>
#include <functional>

namespace zx::cli {
namespace {

QString shownTime(const QDateTime &time) {
    return time.isValid() ? reg::timeText(time) : QStringLiteral("-");
}

QJsonValue jsonTime(const QDateTime &time) {
    return time.isValid() ? QJsonValue(reg::timeText(time)) : QJsonValue();
}

// Columns of text, each as wide as its widest cell, two blanks apart.
QString table(const QList<QStringList> &rows) {
    QList<qsizetype> widths;
    for (const QStringList &row : rows)
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (widths.size() <= i)
                widths << 0;
            widths[i] = std::max(widths[i], row.at(i).size());
        }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row.at(i).leftJustified(widths.at(i) + 2) : row.at(i);
        text += line + QLatin1Char('\n');
    }
    return text;
}

// The register and the module a command names: a number (normalised) or a
// port key; an unknown module is an error unless add is set.
struct ModuleArgs {
    std::unique_ptr<reg::Register> reg;
    QString number;
    std::optional<reg::ModuleInfo> info;
};

std::optional<int> openModule(const CommandLine &line, Console &console, const QString &given,
                              bool add, ModuleArgs &args) {
    args.number = reg::isPortKey(given) ? given : reg::normaliseNumber(given);
    if (args.number.isEmpty())
        return line.usageError(console,
                               QStringLiteral("'%1' is not a telephone number").arg(given));
    std::optional<int> failed;
    args.reg = openRegister(line, console, &failed);
    if (!args.reg)
        return failed;
    args.info = args.reg->module(args.number);
    if (!args.info && !add)
        return console.fail(ExitUsage, QStringLiteral("the register knows no module %1; "
                                                      "'zentorix-cli modules list' shows those it knows")
                                           .arg(args.number));
    return std::nullopt;
}

// A subcommand about one module: NUMBER first, then the options the command
// adds, then --register (and --json). parse() parses, runs the command's own
// checks of its options, and opens the register at the module.
struct ModuleLine {
    struct Shape {
        bool json = false;
        bool add = false; // a module not known yet is added
        int minArguments = 1;
        int maxArguments = 1;
    };

    ModuleLine(const QStringList &args, const QString &about) : line(args.at(0), about) {
        line.addPositional(QStringLiteral("NUMBER"),
                           QStringLiteral("The module's telephone number."));
    }

    std::optional<int> parse(const QStringList &args, Console &console, Shape shape,
                             const std::function<std::optional<int>()> &check = {}) {
        line.addOption(registerOption());
        if (shape.json)
            line.addJsonOption();
        if (const auto done = line.parse(args, console, shape.minArguments, shape.maxArguments))
            return done;
        if (check)
            if (const auto done = check())
                return done;
        return openModule(line, console, line.positional().at(0), shape.add, m);
    }

    CommandLine line;
    ModuleArgs m;
};

QJsonObject moduleJson(const reg::ModuleInfo &m) {
    return {{QStringLiteral("number"), m.number},
            {QStringLiteral("name"), m.name},
            {QStringLiteral("site"), m.site},
            {QStringLiteral("firmware"), m.firmware},
            {QStringLiteral("firmwareRead"), jsonTime(m.firmwareAt)},
            {QStringLiteral("lastContact"), jsonTime(m.lastContact)},
            {QStringLiteral("lastRun"), m.lastOutcome},
            {QStringLiteral("tags"), QJsonArray::fromStringList(m.tags)}};
}

int listCommand(const QStringList &args, Console &console) {
    CommandLine line(args.at(0), QStringLiteral("Lists the modules the register knows: number, "
                                                "name, site, firmware, last contact, the last "
                                                "run's outcome and tags."));
    const QCommandLineOption tag(QStringLiteral("tag"), QStringLiteral("Only modules tagged T."),
                                 QStringLiteral("T"));
    line.addOption(tag);
    line.addOption(registerOption());
    line.addJsonOption();
    if (const auto done = line.parse(args, console, 0, 0))
        return *done;
    std::optional<int> failed;
    const std::unique_ptr<reg::Register> reg = openRegister(line, console, &failed);
    if (!reg)
        return *failed;
    const QList<reg::ModuleInfo> modules = reg->modules(line.value(tag));
    if (line.json()) {
        QJsonArray list;
        for (const reg::ModuleInfo &m : modules)
            list.append(moduleJson(m));
        console.out(QJsonDocument(list).toJson());
        return ExitOk;
    }
    QList<QStringList> rows{{QStringLiteral("NUMBER"), QStringLiteral("NAME"),
                             QStringLiteral("SITE"), QStringLiteral("FIRMWARE"),
                             QStringLiteral("LAST CONTACT"), QStringLiteral("LAST RUN"),
                             QStringLiteral("TAGS")}};
    for (const reg::ModuleInfo &m : modules)
        rows.append({m.number, m.name, m.site, m.firmware, shownTime(m.lastContact),
                     m.lastOutcome.isEmpty() ? QStringLiteral("-") : m.lastOutcome,
                     m.tags.join(QLatin1Char(','))});
    console.out(table(rows).toUtf8());
    return ExitOk;
}

int showCommand(const QStringList &args, Console &console) {
    ModuleLine ml(args,
                  QStringLiteral("Shows what the register knows of a module: its name, site, "
                                 "firmware and last contact, and every value an answered "
                                 "command confirmed, with when. Passwords show only as set."));
    CommandLine &line = ml.line;
    if (const auto done = ml.parse(args, console, {.json = true}))
        return *done;
    ModuleArgs &m = ml.m;
    const reg::KnownRecord known = reg::knownRecord(m.reg->confirmations(m.number));
    const QStringList entries = known.orderedEntries();
    if (line.json()) {
        QJsonObject confirmed;
        for (const QString &entry : entries)
            confirmed.insert(entry, reg::timeText(known.confirmed.value(entry)));
        QJsonObject out = moduleJson(*m.info);
        out.insert(QStringLiteral("profile"), reg::partialProfile(known.record, entries));
        out.insert(QStringLiteral("confirmed"), confirmed);
        out.insert(QStringLiteral("passwordsSet"), QJsonArray::fromStringList(known.secretHash.keys()));
        console.out(QJsonDocument(out).toJson());
        return ExitOk;
    }
    const reg::ModuleInfo &info = *m.info;
    QList<QStringList> head{{QStringLiteral("module:"), info.number},
                            {QStringLiteral("name:"), info.name},
                            {QStringLiteral("site:"), info.site},
                            {QStringLiteral("firmware:"), info.firmware.isEmpty()
                                                              ? QStringLiteral("(not read)")
                                                              : info.firmware},
                            {QStringLiteral("last contact:"), shownTime(info.lastContact)},
                            {QStringLiteral("tags:"), info.tags.join(QLatin1Char(','))}};
    QString text = table(head);
    if (entries.isEmpty())
        text += QStringLiteral("no value of this module is known yet\n");
    QList<QStringList> rows;
    for (const QString &entry : entries)
        rows.append({entry, reg::shownValue(known.record, entry),
                     QStringLiteral("confirmed ") + reg::timeText(known.confirmed.value(entry))});
    console.out((text + table(rows)).toUtf8());
    return ExitOk;
}

int historyCommand(const QStringList &args, Console &console) {
    ModuleLine ml(args,
                  QStringLiteral("Lists a module's runs, oldest first: when, what, port, "
                                 "operator, commands answered and the outcome; with --json "
                                 "each command's line, answer and status as well."));
    CommandLine &line = ml.line;
    if (const auto done = ml.parse(args, console, {.json = true}))
        return *done;
    ModuleArgs &m = ml.m;
    const QList<reg::RunInfo> runs = m.reg->runs(m.number);
    if (line.json()) {
        QJsonArray list;
        for (const reg::RunInfo &run : runs) {
            QJsonArray commands;
            for (const reg::CommandRow &c : m.reg->commands(run.id))
                commands.append(QJsonObject{{QStringLiteral("line"), c.line},
                                            {QStringLiteral("answer"), c.answer},
                                            {QStringLiteral("status"), c.status},
                                            {QStringLiteral("msToFirstByte"), c.firstByteMs},
                                            {QStringLiteral("msToEnd"), c.endMs}});
            list.append(QJsonObject{{QStringLiteral("id"), run.id},
                                    {QStringLiteral("kind"), run.kind},
                                    {QStringLiteral("started"), jsonTime(run.started)},
                                    {QStringLiteral("ended"), jsonTime(run.ended)},
                                    {QStringLiteral("port"), run.port},
                                    {QStringLiteral("operator"), run.operatorName},
                                    {QStringLiteral("host"), run.host},
                                    {QStringLiteral("planned"), run.plan.size()},
                                    {QStringLiteral("answered"), run.answered},
                                    {QStringLiteral("outcome"), run.outcome},
                                    {QStringLiteral("interrupted"), run.interrupted},
                                    {QStringLiteral("commands"), commands}});
        }
        console.out(QJsonDocument(list).toJson());
        return ExitOk;
    }
    QList<QStringList> rows{{QStringLiteral("RUN"), QStringLiteral("STARTED"),
                             QStringLiteral("KIND"), QStringLiteral("PORT"),
                             QStringLiteral("OPERATOR"), QStringLiteral("ANSWERED"),
                             QStringLiteral("OUTCOME")}};
    for (const reg::RunInfo &run : runs)
        rows.append({QString::number(run.id), shownTime(run.started), run.kind, run.port,
                     run.operatorName,
                     QStringLiteral("%1 of %2").arg(run.answered).arg(run.plan.size()),
                     run.outcome});
    console.out(table(rows).toUtf8());
    return ExitOk;
}

int diffCommand(const QStringList &args, Console &console) {
    ModuleLine ml(args,
                  QStringLiteral("Lists what the register knows a module holds now that "
                                 "differs from what it knew at an earlier time: before "
                                 "DATE, or after run ID (default: before the last run)."));
    CommandLine &line = ml.line;
    const QCommandLineOption since(QStringLiteral("since"),
                                   QStringLiteral("Compare with what was known at DATE "
                                                  "(2026-03-01, or 2026-03-01T12:00 UTC)."),
                                   QStringLiteral("DATE"));
    const QCommandLineOption run(QStringLiteral("run"),
                                 QStringLiteral("Compare with what was known when run ID ended "
                                                "('modules history' lists the runs)."),
                                 QStringLiteral("ID"));
    line.addOption(since);
    line.addOption(run);
    QDateTime at;
    const auto checkTimes = [&]() -> std::optional<int> {
        if (line.isSet(since) && line.isSet(run))
            return line.usageError(console, QStringLiteral("--since and --run exclude each other"));
        if (!line.isSet(since))
            return std::nullopt;
        const QString text = line.value(since);
        at = QDateTime::fromString(text, Qt::ISODateWithMs);
        if (!at.isValid())
            at = QDateTime(QDate::fromString(text, Qt::ISODate), QTime(0, 0), Qt::UTC);
        if (!at.isValid())
            return line.usageError(console, QStringLiteral("--since wants a date like 2026-03-01, "
                                                           "not '%1'")
                                                .arg(text));
        if (at.timeSpec() == Qt::LocalTime)
            at.setTimeSpec(Qt::UTC);
        at = at.addMSecs(-1); // what was known before that moment
        return std::nullopt;
    };
    if (const auto done = ml.parse(args, console, {}, checkTimes))
        return *done;
    ModuleArgs &m = ml.m;
    const QList<reg::RunInfo> runs = m.reg->runs(m.number);
    std::optional<reg::RunInfo> after;
    if (line.isSet(run)) {
        const auto found = std::find_if(runs.begin(), runs.end(), [&](const reg::RunInfo &r) {
            return QString::number(r.id) == line.value(run);
        });
        if (found == runs.end())
            return console.fail(ExitUsage, QStringLiteral("module %1 has no run %2; 'zentorix-cli "
                                                          "modules history %1' lists its runs")
                                               .arg(m.number, line.value(run)));
        at = found->ended.isValid() ? found->ended : QDateTime::currentDateTimeUtc();
        after = *found;
    } else if (!line.isSet(since)) {
        at = runs.isEmpty() ? QDateTime() : runs.constLast().started.addMSecs(-1);
    }
    const QList<reg::Confirmation> all = m.reg->confirmations(m.number);
    const reg::KnownRecord before = after        ? reg::knownAfterRun(all, *after)
                                    : at.isValid() ? reg::knownRecord(all, at)
                                                   : reg::KnownRecord{};
    const QList<reg::KnownChange> changes = reg::knownChanges(before, reg::knownRecord(all));
    for (const reg::KnownChange &change : changes)
        console.printLine(change.text());
    if (changes.isEmpty())
        console.printLine(QStringLiteral("no known value changed since %1").arg(shownTime(at)));
    return ExitOk;
}

int tagCommand(const QStringList &args, Console &console) {
    ModuleLine ml(args, QStringLiteral("Adds tags (groups) to a module, or takes them "
                                       "away with --remove."));
    CommandLine &line = ml.line;
    line.addPositional(QStringLiteral("TAG..."), QStringLiteral("One or more tags."));
    const QCommandLineOption remove(QStringLiteral("remove"),
                                    QStringLiteral("Take the tags away instead."));
    line.addOption(remove);
    QStringList tags;
    const auto checkTags = [&]() -> std::optional<int> {
        tags = line.positional().mid(1);
        for (const QString &tag : tags)
            if (tag.trimmed().isEmpty() || tag.contains(QLatin1Char(',')))
                return line.usageError(
                    console, QStringLiteral("a tag is a word without commas, not '%1'").arg(tag));
        return std::nullopt;
    };
    if (const auto done =
            ml.parse(args, console, {.minArguments = 2, .maxArguments = 1000}, checkTags))
        return *done;
    ModuleArgs &m = ml.m;
    const bool ok = line.isSet(remove) ? m.reg->removeTags(m.number, tags)
                                       : m.reg->addTags(m.number, tags);
    if (!ok)
        return console.fail(ExitUsage, QStringLiteral("the register could not keep the tags: %1")
                                           .arg(m.reg->lastError()));
    return ExitOk;
}

int setCommand(const QStringList &args, Console &console) {
    ModuleLine ml(args, QStringLiteral("Gives a module a name and a site; a number "
                                       "the register does not know yet is added."));
    CommandLine &line = ml.line;
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("What to call it."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption site(QStringLiteral("site"), QStringLiteral("Where it is."),
                                  QStringLiteral("SITE"));
    line.addOption(name);
    line.addOption(site);
    const auto checkGiven = [&]() -> std::optional<int> {
        if (!line.isSet(name) && !line.isSet(site))
            return line.usageError(console, QStringLiteral("give --name, --site or both"));
        return std::nullopt;
    };
    if (const auto done = ml.parse(args, console, {.add = true}, checkGiven))
        return *done;
    ModuleArgs &m = ml.m;
    const auto value = [&](const QCommandLineOption &option) {
        return line.isSet(option) ? std::optional<QString>(line.value(option)) : std::nullopt;
    };
    if (!m.reg->describe(m.number, value(name), value(site)))
        return console.fail(ExitUsage, QStringLiteral("the register could not keep it: %1")
                                           .arg(m.reg->lastError()));
    return ExitOk;
}

int exportCommand(const QStringList &args, Console &console) {
    ModuleLine ml(args,
                  QStringLiteral("Writes what the register knows a module holds as a partial "
                                 "profile: only the values answered commands confirmed. The "
                                 "register keeps no passwords, so the profile has none."));
    CommandLine &line = ml.line;
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The profile to write (required)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption force({QStringLiteral("f"), QStringLiteral("force")},
                                   QStringLiteral("Replace FILE if it exists."));
    line.addOption(output);
    line.addOption(force);
    QString path;
    const auto checkOutput = [&]() -> std::optional<int> {
        if (!line.isSet(output))
            return line.usageError(console, QStringLiteral("missing -o FILE"));
        path = line.value(output);
        if (const QString why = files::checkOutput(path, line.isSet(force)); !why.isEmpty())
            return console.fail(ExitUsage, why);
        return std::nullopt;
    };
    if (const auto done = ml.parse(args, console, {}, checkOutput))
        return *done;
    ModuleArgs &m = ml.m;
    const reg::KnownRecord known = reg::knownRecord(m.reg->confirmations(m.number));
    if (known.isEmpty())
        return console.fail(ExitUsage, QStringLiteral("no value of module %1 is known yet; "
                                                      "nothing written")
                                           .arg(m.number));
    const QByteArray text =
        QJsonDocument(reg::partialProfile(known.record, known.orderedEntries())).toJson();
    // The profile is checked as any other before it is written.
    const profile::ImportResult check = profile::importProfileText(text, settings::firstRunRecord());
    if (!check.ok())
        return console.fail(ExitUsage, check.error);
    if (const settings::FileResult written = settings::writePrivateFile(path, text); !written.ok())
        return console.fail(ExitUsage, QStringLiteral("%1: cannot write: %2")
                                           .arg(path, files::errnoText(written.errorCode)));
    return ExitOk;
}

constexpr std::array kModulesCommands = {
    Subcommand{"list", "the modules the register knows", &listCommand},
    Subcommand{"show", "what a module is known to hold, and when it was confirmed", &showCommand},
    Subcommand{"history", "a module's runs", &historyCommand},
    Subcommand{"diff", "what changed on a module since a date or a run", &diffCommand},
    Subcommand{"tag", "add or remove a module's tags", &tagCommand},
    Subcommand{"set", "give a module a name and a site", &setCommand},
    Subcommand{"export", "what a module is known to hold, as a profile", &exportCommand},
};

} // namespace

int runModules(const QStringList &args, Console &console) {
    return dispatch(args,
                    QStringLiteral("The module register: every module met, what it holds and "
                                   "what was done to it, kept across sessions."),
                    kModulesCommands, console);
}

} // namespace zx::cli
