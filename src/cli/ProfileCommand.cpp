// zentorix-cli profile export | import | diff: settings files and profiles,
// offline.
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "cli/Subcommand.h"
#include "files/UserFiles.h"
#include "profile/Profile.h"
#include "profile/ProfileDiff.h"
#include "profile/ProfileFiles.h"
#include "settings/FirstRunRecord.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <array>
#include <optional>

namespace zx::cli {
namespace {

using profile::Source;

QCommandLineOption outputOption(const QString &what) {
    return {{QStringLiteral("o"), QStringLiteral("output")}, what, QStringLiteral("FILE")};
}

const QCommandLineOption kForce({QStringLiteral("f"), QStringLiteral("force")},
                                QStringLiteral("Replace FILE if it exists."));

// Whether the output may be written: not one of the inputs, not a folder,
// FIFO or device, and replaced only with --force. Checked before anything
// is read, so that a mistaken name costs nothing.
std::optional<int> refuseOutput(const CommandLine &line, Console &console, const QString &path,
                                const QStringList &inputs) {
    if (const QString why = files::checkOutput(path, line.isSet(kForce), inputs); !why.isEmpty())
        return console.fail(ExitUsage, why);
    return std::nullopt;
}

int written(Console &console, const QString &why) {
    return why.isEmpty() ? ExitOk : console.fail(ExitUsage, why);
}

int exportCommand(const QStringList &args, Console &console) {
    CommandLine line(
        args.at(0),
        QStringLiteral("Writes a settings file as a JSON profile: every field by its "
                       "name, texts as Unicode, and every other byte kept, so that "
                       "'profile import' gives back the same file. The profile holds "
                       "the GPRS and FTP passwords; a file is written with mode 0600."));
    line.addPositional(QStringLiteral("RECORD.cfg"), QStringLiteral("The settings file to read."));
    const QCommandLineOption output =
        outputOption(QStringLiteral("Write the profile to FILE instead of standard output."));
    line.addOption(output);
    line.addOption(kForce);
    if (const auto done = line.parse(args, console, 1, 1))
        return *done;

    const QString path = line.value(output);
    if (line.isSet(output))
        if (const auto done = refuseOutput(line, console, path, {line.positional().at(0)}))
            return *done;
    const Source source = profile::readRecordFile(line.positional().at(0));
    if (!source.ok())
        return console.fail(ExitUsage, source.error);
    if (!line.isSet(output)) {
        console.out(profile::exportProfileText(source.record));
        return ExitOk;
    }
    return written(console, profile::writeProfileFile(path, source.record));
}

int importCommand(const QStringList &args, Console &console) {
    CommandLine line(
        args.at(0),
        QStringLiteral("Writes a settings file from a profile. A profile that names only "
                       "some fields changes just those of the base record: --base, or "
                       "else the record a first start creates. Nothing is written when "
                       "the profile has an error. The file gets mode 0600."));
    line.addPositional(QStringLiteral("PROFILE.json"), QStringLiteral("The profile to read."));
    const QCommandLineOption base({QStringLiteral("b"), QStringLiteral("base")},
                                  QStringLiteral("Take the fields the profile leaves out from the "
                                                 "settings file FILE."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption output =
        outputOption(QStringLiteral("The settings file to write (required)."));
    line.addOption(base);
    line.addOption(output);
    line.addOption(kForce);
    if (const auto done = line.parse(args, console, 1, 1))
        return *done;
    if (!line.isSet(output))
        return line.usageError(console, QStringLiteral("missing -o FILE"));

    const QString path = line.value(output);
    QStringList inputs{line.positional().at(0)};
    if (line.isSet(base))
        inputs << line.value(base);
    if (const auto done = refuseOutput(line, console, path, inputs))
        return *done;

    Source start{settings::firstRunRecord(), {}, {}};
    if (line.isSet(base))
        start = profile::readRecordFile(line.value(base));
    if (!start.ok())
        return console.fail(ExitUsage, start.error);
    const Source imported = profile::readProfileFile(line.positional().at(0), start.record);
    if (!imported.ok())
        return console.fail(ExitUsage, imported.error);
    return written(console, profile::writeRecordFile(path, imported.record));
}

int diffCommand(const QStringList &args, Console &console) {
    CommandLine line(
        args.at(0),
        QStringLiteral("Lists the fields that differ between A and B, each a settings "
                       "file or a profile (a name ending in .json), with the old and "
                       "the new value. Passwords show only as \"changed\". A profile "
                       "that names only some fields is compared on those alone. Bytes a "
                       "text slot holds beyond its text show as \"(remnant)\". Exit status 1 "
                       "means the files differ, as with diff(1)."));
    line.addPositional(QStringLiteral("A"), QStringLiteral("The old settings file or profile."));
    line.addPositional(QStringLiteral("B"), QStringLiteral("The new settings file or profile."));
    line.addJsonOption();
    if (const auto done = line.parse(args, console, 2, 2))
        return *done;

    const Source a = profile::readSource(line.positional().at(0), {});
    if (!a.ok())
        return console.fail(ExitUsage, a.error);
    const Source b = profile::readSource(line.positional().at(1), {});
    if (!b.ok())
        return console.fail(ExitUsage, b.error);
    const std::optional<profile::EntryNames> only = profile::commonEntries(a, b);
    const QList<profile::FieldChange> changes =
        profile::diffRecords(a.record, b.record, only ? &*only : nullptr);

    if (line.json()) {
        QJsonArray list;
        for (const profile::FieldChange &change : changes)
            list.append(profile::changeJson(change));
        console.out(QJsonDocument(QJsonObject{{QStringLiteral("changes"), list}}).toJson());
    } else {
        for (const profile::FieldChange &change : changes)
            console.printLine(profile::changeLine(change));
    }
    return changes.isEmpty() ? ExitOk : ExitDiffers;
}

constexpr std::array kProfileCommands = {
    Subcommand{"export", "write a settings file as a JSON profile", &exportCommand},
    Subcommand{"import", "write a settings file from a (partial) profile", &importCommand},
    Subcommand{"diff", "list the fields that differ between two files", &diffCommand},
};

} // namespace

int runProfile(const QStringList &args, Console &console) {
    return dispatch(args,
                    QStringLiteral("Settings profiles: the settings file ZENTORIX.cfg as readable, "
                                   "editable JSON."),
                    kProfileCommands, console);
}

} // namespace zx::cli
