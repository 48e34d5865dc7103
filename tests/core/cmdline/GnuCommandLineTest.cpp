#include "cmdline/GnuCommandLine.h"
#include "cmdline/ProjectInfo.h"

#include <gtest/gtest.h>

using zx::cmdline::GnuCommandLine;
using zx::cmdline::ParseOutcome;

namespace {

GnuCommandLine sampleProgram() {
    QCommandLineOption hidden(QStringLiteral("debug-port"), QStringLiteral("Not for users."));
    hidden.setFlags(QCommandLineOption::HiddenFromHelp);
    return GnuCommandLine(
        {QStringLiteral("prog"), QStringLiteral("Does one thing well."),
         QStringLiteral("A note after the options.")},
        {{QStringLiteral("flag"), QStringLiteral("A switch.")},
         {{QStringLiteral("c"), QStringLiteral("count")},
          QStringLiteral("How many."),
          QStringLiteral("N")},
         {QStringLiteral("a-rather-long-option-name"),
          QStringLiteral("A description long enough to need a second line when it stands in "
                         "the column beside the option names of this help text."),
          QStringLiteral("VALUE")},
         hidden});
}

const QString kHint = QStringLiteral("Try 'prog --help' for more information.\n");

QStringList line(std::initializer_list<const char *> words) {
    QStringList arguments{QStringLiteral("prog")};
    for (const char *word : words)
        arguments.append(QString::fromUtf8(word));
    return arguments;
}

} // namespace

TEST(GnuCommandLine, OutcomeOfEachKindOfCommandLine) {
    const QString help = sampleProgram().helpText();
    const QString version = sampleProgram().versionText();
    struct Case {
        QStringList arguments;
        bool run;
        int exitCode;
        QString standardOutput;
        QString standardError;
    };
    const Case cases[] = {
        {line({}), true, 0, {}, {}},
        {line({"--flag", "--count=3", "--count", "4", "-c5"}), true, 0, {}, {}},
        {line({"--help"}), false, 0, help, {}},
        {line({"-h"}), false, 0, help, {}},
        {line({"--version"}), false, 0, version, {}},
        {line({"-V"}), false, 0, version, {}},
        // The first of the two wins, as with getopt; both win over mistakes.
        {line({"--version", "--help"}), false, 0, version, {}},
        {line({"-h", "-V"}), false, 0, help, {}},
        {line({"--bogus", "--help"}), false, 0, help, {}},
        {line({"--bogus"}),
         false,
         2,
         {},
         QStringLiteral("prog: unrecognized option '--bogus'\n") + kHint},
        {line({"-x"}), false, 2, {}, QStringLiteral("prog: invalid option -- 'x'\n") + kHint},
        {line({"--count"}),
         false,
         2,
         {},
         QStringLiteral("prog: missing value after '--count'\n") + kHint},
        {line({"--flag=yes"}),
         false,
         2,
         {},
         QStringLiteral("prog: unexpected value after '--flag'\n") + kHint},
        {line({"stray"}),
         false,
         2,
         {},
         QStringLiteral("prog: unexpected argument 'stray'\n") + kHint},
        {line({"--", "--help"}),
         false,
         2,
         {},
         QStringLiteral("prog: unexpected argument '--help'\n") + kHint},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        GnuCommandLine commandLine = sampleProgram();
        const ParseOutcome outcome = commandLine.parse(c.arguments);
        EXPECT_EQ(outcome.run, c.run);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_EQ(outcome.standardOutput.toStdString(), c.standardOutput.toStdString());
        EXPECT_EQ(outcome.standardError.toStdString(), c.standardError.toStdString());
    }
}

TEST(GnuCommandLine, ValuesReachTheProgram) {
    GnuCommandLine commandLine = sampleProgram();
    ASSERT_TRUE(commandLine.parse(line({"--count=7", "--flag"})).run);
    EXPECT_EQ(commandLine.value(QStringLiteral("count")), QStringLiteral("7"));
    EXPECT_TRUE(commandLine.isSet(QStringLiteral("flag")));
    EXPECT_FALSE(commandLine.isSet(QStringLiteral("a-rather-long-option-name")));
}

TEST(GnuCommandLine, AProgramWithOperandsNamesThemAndGetsThem) {
    GnuCommandLine commandLine({QStringLiteral("prog"),
                                QStringLiteral("Runs commands."),
                                {},
                                QStringLiteral("COMMAND [ARGUMENT]...")},
                               {{QStringLiteral("flag"), QStringLiteral("A switch.")}});
    EXPECT_TRUE(commandLine.helpText().startsWith(
        QStringLiteral("Usage: prog [OPTION]... COMMAND [ARGUMENT]...\nRuns commands.\n")));
    ASSERT_TRUE(commandLine.parse(line({"send", "--flag", "GETVR", "--", "--raw"})).run);
    EXPECT_EQ(commandLine.operands(), (QStringList{QStringLiteral("send"), QStringLiteral("GETVR"),
                                                   QStringLiteral("--raw")}));
    EXPECT_TRUE(commandLine.isSet(QStringLiteral("flag")));
}

// A GUI program answers these before its toolkit has taken its own options
// (such as "-platform offscreen") out of the line; everything else waits.
TEST(GnuCommandLine, HelpAndVersionAnswerAmongForeignOptions) {
    const struct {
        QStringList arguments;
        bool run;
    } cases[] = {
        {line({"-platform", "offscreen", "--help"}), false},
        {line({"-style", "fusion", "-V"}), false},
        {line({"-platform", "offscreen"}), true},
        {line({"--bogus"}), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        GnuCommandLine commandLine = sampleProgram();
        const ParseOutcome outcome = commandLine.answerHelpOrVersion(c.arguments);
        EXPECT_EQ(outcome.run, c.run);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_TRUE(outcome.standardError.isEmpty());
    }
}

TEST(GnuCommandLine, HelpTextLaysOutOptionsInTheGnuManner) {
    const QString expected =
        QStringLiteral(
            "Usage: prog [OPTION]...\n"
            "Does one thing well.\n"
            "\n"
            "Options:\n"
            "      --flag                  A switch.\n"
            "  -c, --count=N               How many.\n"
            "      --a-rather-long-option-name=VALUE\n"
            "                              A description long enough to need a second line\n"
            "                              when it stands in the column beside the option\n"
            "                              names of this help text.\n"
            "  -h, --help                  Display this help and exit.\n"
            "  -V, --version               Output version information and exit.\n"
            "\n"
            "A note after the options.\n"
            "\n"
            "Report bugs to: <%1>\n"
            "zentorix home page: <%2>\n")
            .arg(zx::cmdline::bugReportUrl(), zx::cmdline::projectHomepage());
    EXPECT_EQ(sampleProgram().helpText().toStdString(), expected.toStdString());
}

TEST(GnuCommandLine, VersionNamesThePackageOnlyWhenTheProgramIsNamedOtherwise) {
    const QString tail =
        QStringLiteral(" %1\n%2\nThere is NO WARRANTY, to the extent permitted by law.\n")
            .arg(zx::cmdline::projectVersion(), zx::cmdline::copyrightLine());
    EXPECT_EQ(sampleProgram().versionText(), QStringLiteral("prog (zentorix)") + tail);
    const GnuCommandLine tool({QStringLiteral("zentorix"), QStringLiteral("."), {}}, {});
    EXPECT_EQ(tool.versionText(), QStringLiteral("zentorix") + tail);
}
