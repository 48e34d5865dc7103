// zentorix-cli's commands run in-process (exit status, standard output and
// error, files) and, for the wiring of main(), the built program.
#include "cli/Cli.h"
#include "CliTestSupport.h"
#include "cli/ProgressLine.h"
#include "profile/ProfileTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

using namespace zx::cli;
using namespace zx::profile::testing;

namespace {

Outcome run(const QStringList &args) {
    BufferConsole console;
    const int status = runCli(QStringList{QStringLiteral("zentorix-cli")} + args, console);
    return {status, console.stdOut, console.stdErr};
}

mode_t modeOf(const QString &path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

QStringList entriesOf(const QString &directory) {
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                     QDir::NoDotAndDotDot);
}

class Cli : public testing::Test {
protected:
    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
    // One line on standard error, nothing on standard output.
    static void expectOneLineError(const Outcome &o, int status, const char *containing) {
        EXPECT_EQ(o.status, status);
        EXPECT_TRUE(o.out.isEmpty()) << o.out.constData();
        EXPECT_EQ(o.err.count('\n'), 1) << o.err.constData();
        EXPECT_TRUE(o.err.endsWith('\n'));
        EXPECT_TRUE(o.err.startsWith("zentorix-cli")) << o.err.constData();
        EXPECT_TRUE(o.err.contains(containing)) << o.err.constData();
    }

    QTemporaryDir dir;
    const QString golden = dataPath("golden-record.cfg");
    const QString goldenProfile = dataPath("golden-profile.json");
};

TEST_F(Cli, EveryCommandHasHelpWithItsUsageAndTheExitStatuses) {
    const struct {
        QStringList args;
        const char *usage;
    } cases[] = {
        {{QStringLiteral("--help")}, "Usage: zentorix-cli [OPTION]... COMMAND [ARGUMENT]...\n"},
        {{QStringLiteral("profile"), QStringLiteral("-h")},
         "Usage: zentorix-cli profile [OPTION]... COMMAND [ARGUMENT]...\n"},
        {{QStringLiteral("profile"), QStringLiteral("export"), QStringLiteral("--help")},
         "Usage: zentorix-cli profile export [OPTION]... RECORD.cfg\n"},
        {{QStringLiteral("profile"), QStringLiteral("import"), QStringLiteral("--help")},
         "Usage: zentorix-cli profile import [OPTION]... PROFILE.json\n"},
        {{QStringLiteral("profile"), QStringLiteral("diff"), QStringLiteral("-h")},
         "Usage: zentorix-cli profile diff [OPTION]... A B\n"},
        {{QStringLiteral("ports"), QStringLiteral("--help")},
         "Usage: zentorix-cli ports [OPTION]...\n"},
        {{QStringLiteral("send"), QStringLiteral("--help")},
         "Usage: zentorix-cli send [OPTION]... LINE\n"},
        {{QStringLiteral("write"), QStringLiteral("--help")},
         "Usage: zentorix-cli write [OPTION]... FILE\n"},
        {{QStringLiteral("read"), QStringLiteral("--help")},
         "Usage: zentorix-cli read [OPTION]...\n"},
        {{QStringLiteral("verify"), QStringLiteral("--help")},
         "Usage: zentorix-cli verify [OPTION]... FILE\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.usage);
        const Outcome o = run(c.args);
        EXPECT_EQ(o.status, 0);
        EXPECT_TRUE(o.out.startsWith(c.usage)) << o.out.constData();
        EXPECT_TRUE(o.out.contains("  3  serial port error")) << o.out.constData();
        EXPECT_TRUE(o.err.isEmpty());
        // The description is one paragraph filled to the width: no line
        // over 79 characters, and none but its last ends well short of the
        // width (a line break typed into the text would leave one so).
        const QList<QByteArray> lines = o.out.split('\n');
        for (const QByteArray &line : lines)
            EXPECT_LE(line.size(), 79) << line.constData();
        for (qsizetype i = 1; i + 1 < lines.size() && !lines.at(i + 1).isEmpty(); ++i)
            EXPECT_GE(lines.at(i).size(), 60) << lines.at(i).constData();
    }
    EXPECT_TRUE(run({QStringLiteral("--version")}).out.startsWith("zentorix-cli (zentorix) "));
}

TEST_F(Cli, UsageErrorsNameTheCommandPointToItsHelpAndExitTwo) {
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {{}, "zentorix-cli: missing command"},
        {{QStringLiteral("flash")}, "zentorix-cli: 'flash' is not a command"},
        {{QStringLiteral("--verbose")}, "zentorix-cli: unrecognized option '--verbose'"},
        {{QStringLiteral("profile")}, "zentorix-cli profile: missing command"},
        {{QStringLiteral("profile"), QStringLiteral("export")},
         "zentorix-cli profile export: missing RECORD.cfg"},
        {{QStringLiteral("profile"), QStringLiteral("export"), QStringLiteral("a"),
          QStringLiteral("b")},
         "zentorix-cli profile export: unexpected argument 'b'"},
        {{QStringLiteral("profile"), QStringLiteral("diff"), QStringLiteral("a.cfg")},
         "zentorix-cli profile diff: missing B"},
        {{QStringLiteral("profile"), QStringLiteral("import"), QStringLiteral("p.json")},
         "zentorix-cli profile import: missing -o FILE"},
        {{QStringLiteral("ports"), QStringLiteral("--all")},
         "zentorix-cli ports: unrecognized option '--all'"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        const Outcome o = run(c.args);
        EXPECT_EQ(o.status, 2);
        EXPECT_TRUE(o.out.isEmpty()) << o.out.constData();
        const QList<QByteArray> lines = o.err.split('\n');
        ASSERT_EQ(lines.size(), 3) << o.err.constData(); // two lines and the end
        EXPECT_EQ(lines[0], QByteArray(c.message));
        const QByteArray command = lines[0].left(lines[0].indexOf(':'));
        EXPECT_EQ(lines[1], "Try '" + command + " --help' for more information.");
    }
}

TEST_F(Cli, ExportThenImportGivesBackTheGoldenRecordInPrivateFiles) {
    const QString profile = file("golden.json");
    const QString record = file("ZENTORIX.cfg");
    Outcome o = run({QStringLiteral("profile"), QStringLiteral("export"), golden,
                     QStringLiteral("-o"), profile});
    ASSERT_EQ(o.status, 0) << o.err.constData();
    EXPECT_EQ(firstDifferentLine(fileBytes(goldenProfile), fileBytes(profile)), QString());
    EXPECT_EQ(modeOf(profile), mode_t(0600));

    o = run({QStringLiteral("profile"), QStringLiteral("import"), profile,
             QStringLiteral("--output=") + record});
    ASSERT_EQ(o.status, 0) << o.err.constData();
    EXPECT_EQ(firstDifference(fileBytes(golden), fileBytes(record)), QString());
    EXPECT_EQ(modeOf(record), mode_t(0600));
    EXPECT_TRUE(o.out.isEmpty() && o.err.isEmpty());

    // Without -o the profile goes to standard output.
    o = run({QStringLiteral("profile"), QStringLiteral("export"), record});
    EXPECT_EQ(o.out, fileBytes(goldenProfile));
}

TEST_F(Cli, APartialProfileChangesItsFieldsOfTheBase) {
    const QString changes = file("changes.json");
    writeFile(changes, R"({"version": 1, "fields": {"BaudRateIndex": 2, "GprsPassword": "neu"}})");
    const QString record = file("new.cfg");
    const Outcome o = run({QStringLiteral("profile"), QStringLiteral("import"), changes,
                           QStringLiteral("--base"), golden, QStringLiteral("-o"), record});
    ASSERT_EQ(o.status, 0) << o.err.constData();

    // Files that differ: exit status 1, as diff(1) has it; equal files 0.
    const Outcome diff = run({QStringLiteral("profile"), QStringLiteral("diff"), golden, record});
    EXPECT_EQ(diff.status, 1);
    const Outcome same = run({QStringLiteral("profile"), QStringLiteral("diff"), golden, golden});
    EXPECT_EQ(same.status, 0);
    EXPECT_TRUE(same.out.isEmpty() && same.err.isEmpty());
    EXPECT_EQ(diff.out, QByteArray("BaudRateIndex: 6 -> 2\n"
                                   "GprsPassword: changed\n"
                                   "GprsPassword (remnant): changed\n"));
    // Compared with the partial profile, only the fields it names count.
    const Outcome partial = run({QStringLiteral("profile"), QStringLiteral("diff"), golden, changes,
                                 QStringLiteral("--json")});
    EXPECT_EQ(partial.status, 1);
    const QJsonArray list =
        QJsonDocument::fromJson(partial.out).object().value(QStringLiteral("changes")).toArray();
    ASSERT_EQ(list.size(), 3) << partial.out.constData();
    EXPECT_EQ(list.at(0).toObject(),
              QJsonObject({{QStringLiteral("field"), QStringLiteral("BaudRateIndex")},
                           {QStringLiteral("old"), 6},
                           {QStringLiteral("new"), 2}}));
    EXPECT_FALSE(partial.out.contains("neu") || partial.out.contains("Geheim"));
}

TEST_F(Cli, BadInputIsOneLineExitStatusTwoAndWritesNothing) {
    writeFile(file("unknown.json"), R"({"version": 1, "fields": {"Baudrate": 2}})");
    writeFile(
        file("long.json"),
        R"({"version": 1, "fields": {"FtpHost": "12345678901234567890123456789012345678901"}})");
    writeFile(file("cjk.json"), R"({"version": 1, "fields": {"GprsUserId": "用户"}})");
    writeFile(file("broken.json"), R"({"version": 1, "fields": )");
    writeFile(file("short.cfg"), fileBytes(golden).left(4000));
    writeFile(file("long.cfg"), fileBytes(golden) + 'x');
    writeFile(file("huge.cfg"), QByteArray(1024 * 1024, 'x'));
    writeFile(file("old.cfg"), "the old file");
    writeFile(file("cr.json"), R"({"version": 1, "fields": {"GprsApn": "apn\rCLRNR1"}})");
    writeFile(file("ctrlz.json"), "{\"version\": 1, \"fields\": {\"ShortTexts\": [\"a\\u001ab\"" +
                                      QByteArray(", null").repeated(96) + "]}}");
    writeFile(file("twice.json"), R"({"version": 1, "fields": {"GprsApn": "a", "GprsApn": "b"}})");
    writeFile(file("fields-twice.json"),
              R"({"version": 1, "fields": {"GprsApn": "a"}, "fields": {"FtpHost": "b"}})");
    writeFile(file("empty.json"), R"({"version": 1, "fields": {}})");
    ASSERT_EQ(::mkfifo(QFile::encodeName(file("fifo.json")).constData(), 0600), 0);
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(file("dangling.cfg")).constData()), 0);
    const QString out = file("out.cfg");
    const auto import = [&](const char *profile, const QString &base) {
        return run({QStringLiteral("profile"), QStringLiteral("import"), file(profile),
                    QStringLiteral("-b"), base, QStringLiteral("-o"), file("old.cfg"),
                    QStringLiteral("--force")});
    };
    const struct {
        Outcome outcome;
        const char *message;
    } cases[] = {
        {import("unknown.json", golden), "unknown.json: Baudrate: no such field"},
        {import("long.json", golden), "long.json: FtpHost: 41 characters, the slot holds 40"},
        {import("cjk.json", golden),
         "cjk.json: GprsUserId: character 1 (U+7528) has no Windows-1252 byte"},
        {import("broken.json", golden), "broken.json: not valid JSON"},
        {import("missing.json", golden), "missing.json: No such file or directory"},
        {import("unknown.json", file("short.cfg")),
         "short.cfg: only 4000 bytes, a settings file holds 4096 (truncated?)"},
        {run({QStringLiteral("profile"), QStringLiteral("export"), file("short.cfg"),
              QStringLiteral("-o"), out}),
         "short.cfg: only 4000 bytes"},
        {run({QStringLiteral("profile"), QStringLiteral("export"), dir.path(), QStringLiteral("-o"),
              out}),
         "is a folder; give a file"},
        {import("cr.json", golden),
         "cr.json: GprsApn: character 4 is a control character (CR); a text must be one line"},
        {import("ctrlz.json", golden), "ctrlz.json: ShortTexts[1]: character 2 is a control "
                                       "character (Ctrl-Z)"},
        {import("twice.json", golden), "twice.json: GprsApn: given twice"},
        {import("fields-twice.json", golden), "fields-twice.json: fields: given twice"},
        {import("empty.json", golden), "empty.json: the profile names no field"},
        {import("unknown.json", file("long.cfg")),
         "long.cfg: more than 4096 bytes; a settings file holds exactly 4096"},
        {import("unknown.json", file("huge.cfg")), "huge.cfg: "},
        {import("fifo.json", golden), "fifo.json: is a FIFO; give a file"},
        {run({QStringLiteral("profile"), QStringLiteral("export"), QStringLiteral("/dev/zero")}),
         "/dev/zero: is a device; give a file"},
        // An output that is an input, a folder, a FIFO or a device; a link
        // that leads nowhere is replaced only with --force.
        {run({QStringLiteral("profile"), QStringLiteral("import"), file("twice.json"),
              QStringLiteral("-o"), file("twice.json"), QStringLiteral("--force")}),
         "twice.json: is also an input"},
        {run({QStringLiteral("profile"), QStringLiteral("export"), golden, QStringLiteral("-o"),
              golden, QStringLiteral("--force")}),
         "golden-record.cfg: is also an input"},
        {run({QStringLiteral("profile"), QStringLiteral("export"), golden, QStringLiteral("-o"),
              dir.path(), QStringLiteral("--force")}),
         "is a folder; give a file name"},
        {run({QStringLiteral("profile"), QStringLiteral("export"), golden, QStringLiteral("-o"),
              file("fifo.json"), QStringLiteral("--force")}),
         "fifo.json: is a FIFO; give a file name"},
        {run({QStringLiteral("profile"), QStringLiteral("export"), golden, QStringLiteral("-o"),
              QStringLiteral("/dev/null"), QStringLiteral("--force")}),
         "/dev/null: is a device; give a file name"},
        {run({QStringLiteral("profile"), QStringLiteral("export"), golden, QStringLiteral("-o"),
              file("dangling.cfg")}),
         "dangling.cfg: is a link that leads nowhere; add --force to replace it"},
        {run({QStringLiteral("profile"), QStringLiteral("diff"), file("short.cfg"), golden}),
         "short.cfg: only 4000 bytes"},
        {run({QStringLiteral("profile"), QStringLiteral("diff"), golden, file("long.json")}),
         "long.json: FtpHost:"},
        {run({QStringLiteral("profile"), QStringLiteral("export"), golden, QStringLiteral("-o"),
              file("old.cfg")}),
         "old.cfg: exists; add --force to replace it"},
        {run({QStringLiteral("profile"), QStringLiteral("export"), golden, QStringLiteral("-o"),
              file("no/such/dir.json")}),
         "no/such/dir.json: the folder"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        expectOneLineError(c.outcome, 2, c.message);
    }
    EXPECT_EQ(fileBytes(file("old.cfg")), QByteArray("the old file"));
    EXPECT_EQ(fileBytes(file("twice.json")),
              QByteArray(R"({"version": 1, "fields": {"GprsApn": "a", "GprsApn": "b"}})"));
    EXPECT_EQ(entriesOf(dir.path()),
              QStringList({QStringLiteral("broken.json"), QStringLiteral("cjk.json"),
                           QStringLiteral("cr.json"), QStringLiteral("ctrlz.json"),
                           QStringLiteral("dangling.cfg"), QStringLiteral("empty.json"),
                           QStringLiteral("fields-twice.json"), QStringLiteral("fifo.json"),
                           QStringLiteral("huge.cfg"), QStringLiteral("long.cfg"),
                           QStringLiteral("long.json"), QStringLiteral("old.cfg"),
                           QStringLiteral("short.cfg"), QStringLiteral("twice.json"),
                           QStringLiteral("unknown.json")}));
    // With --force the link is replaced by a private file (the link, not
    // where it pointed).
    const Outcome forced = run({QStringLiteral("profile"), QStringLiteral("export"), golden,
                                QStringLiteral("-o"), file("dangling.cfg"), QStringLiteral("--force")});
    EXPECT_EQ(forced.status, 0) << forced.err.constData();
    EXPECT_EQ(modeOf(file("dangling.cfg")), mode_t(0600));
    EXPECT_FALSE(QFile::exists(file("nowhere")));
}

TEST_F(Cli, PortsListsTheMappedDeviceAsTextAndJson) {
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    ASSERT_TRUE(QDir().mkpath(file("zentorix/ports")));
    writeFile(file("device"), {});
    ASSERT_TRUE(QFile::link(file("device"), file("zentorix/ports/com16")));

    const Outcome text = run({QStringLiteral("ports")});
    const Outcome json = run({QStringLiteral("ports"), QStringLiteral("--json")});
    qputenv("XDG_CONFIG_HOME", savedConfig);

    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.endsWith("Com16  " + QFile::encodeName(file("device")) + "\n"))
        << text.out.constData();
    const QJsonArray ports =
        QJsonDocument::fromJson(json.out).object().value(QStringLiteral("ports")).toArray();
    ASSERT_FALSE(ports.isEmpty()) << json.out.constData();
    EXPECT_EQ(ports.last().toObject(),
              QJsonObject({{QStringLiteral("port"), QStringLiteral("Com16")},
                           {QStringLiteral("device"), file("device")}}));
}

TEST(ProgressLine, DrawsInPlaceOnATerminalAndNothingOtherwise) {
    for (const bool terminal : {false, true}) {
        BufferConsole console;
        console.terminal = terminal;
        {
            ProgressLine progress(console);
            progress.update(0, 40, 0);
            progress.update(10, 40, 4000);
        }
        EXPECT_EQ(console.stdErr, terminal ? QByteArray("\r\033[Kcommand 0 of 40"
                                                        "\r\033[Kcommand 10 of 40, 2.5/s, 12 s left"
                                                        "\r\033[K")
                                           : QByteArray());
        EXPECT_TRUE(console.stdOut.isEmpty());
    }
}

TEST(CliProgram, MainPassesArgumentsAndExitStatus) {
    const struct {
        QStringList args;
        int status;
        const char *out; // the start of standard output
    } cases[] = {
        {{QStringLiteral("--version")}, 0, "zentorix-cli (zentorix) "},
        {{QStringLiteral("profile"), QStringLiteral("export"),
          QStringLiteral("/nonexistent/ZENTORIX.cfg")},
         2,
         ""},
    };
    for (const auto &c : cases) {
        QProcess program;
        program.start(QStringLiteral(ZENTORIX_CLI_BINARY), c.args);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitCode(), c.status);
        EXPECT_TRUE(program.readAllStandardOutput().startsWith(c.out));
    }
}

// Output that cannot be written is an error: a full disk under standard
// output gives exit status 2 and says so, where a lost profile would
// otherwise look like success.
TEST(CliProgram, AFullStandardOutputIsAnError) {
    QProcess program;
    program.setStandardOutputFile(QStringLiteral("/dev/full"));
    program.start(QStringLiteral(ZENTORIX_CLI_BINARY),
                  {QStringLiteral("profile"), QStringLiteral("export"),
                   dataPath("golden-record.cfg")});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 2);
    const QByteArray err = program.readAllStandardError();
    EXPECT_EQ(err, "zentorix-cli: standard output: No space left on device; the output is "
                   "incomplete\n");
}

} // namespace
