#include "common/ModuleTranscript.h"
#include "sim/Module.h"

#include <QSet>
#include <QTimeZone>

#include <optional>

#include <gtest/gtest.h>

using zx::sim::Module;

TEST(Module, AnswersEveryTranscriptExchange) {
    const QList<zx::test::TranscriptExchange> transcript = zx::test::moduleTranscript();
    std::optional<Module> module;
    for (const zx::test::TranscriptExchange &step : transcript) {
        if (step.fresh)
            module.emplace();
        EXPECT_EQ(module->answer(step.command), step.answer)
            << "module-transcript.txt:" << step.lineNumber << ": " << step.command.constData();
    }
    // Every keyword the module dispatches on appears in a command.
    QSet<QByteArray> keywords;
    for (const zx::test::TranscriptExchange &step : transcript)
        keywords.insert(step.command.trimmed().left(5).toUpper());
    for (const char *keyword :
         {"SETOU", "RSTOU", "GETOS", "GETIS", "OUTP ", "SETTN", "ANLEV", "AMODE", "VALTX",
          "GETAN", "TCLEV", "GETTC", "GETTH", "RTLEV", "RTMOD", "GETRT", "SETTF", "SETMP",
          "GETMP", "DTFTP", "SETME", "GETNR", "SETNN", "CLRNR", "GETPB", "SETPB", "GETTX",
          "SETTX", "GETTI", "SETTI", "GETSH", "SETSH", "GETST", "GETVR", "SETTM", "RSTRT",
          "GETMH", "GETTO", "SETTO", "TEMPV", "GETAP", "SETAP", "GETID", "SETID", "GETPW",
          "SETPW", "GETIP", "SETIP", "GETFT", "SETFT", "GETAF", "SETAF", "GETPF", "SETPF",
          "GETDN", "SETDN", "OK", "+EXIT", "AT+CS", "AT#BN"})
        EXPECT_TRUE(keywords.contains(keyword)) << "no exchange for " << keyword;
}

TEST(ModuleTranscript, DecodesEscapesAndRefusesMalformedLines) {
    const QList<zx::test::TranscriptExchange> read = zx::test::parseModuleTranscript(
        "# comment\n\n>   AT\\\\x\\r\\x20\n< a\n<\n< b\\x20\n= fresh\n>\n< \\xff\\n\n",
        QStringLiteral("t"));
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read[0].command, QByteArray("  AT\\x\r "));
    EXPECT_EQ(read[0].answer, QByteArray("a\r\n\r\nb "));
    EXPECT_TRUE(read[0].fresh);
    EXPECT_EQ(read[0].lineNumber, 3);
    EXPECT_EQ(read[1].command, QByteArray());
    EXPECT_EQ(read[1].answer, QByteArray("\xff\n"));
    EXPECT_TRUE(read[1].fresh);
    EXPECT_EQ(read[1].lineNumber, 8);

    struct Case {
        const char *text;
        const char *where; // the line the error names
    } const malformed[] = {
        {"> GETVR \n< OK\n", "t:1:"},        // a literal trailing blank
        {"> GETVR\n< OK\t\n", "t:2:"},
        {"> GETVR\n", "t:1:"},                // no answer
        {"> GETVR\n> GETST\n< OK\n", "t:1:"},
        {"> GETVR\n= fresh\n< OK\n", "t:2:"},
        {"< OK\n", "t:1:"},                   // no command
        {"> GETVR\n< OK\n= fresh\n< OK\n", "t:4:"},
        {"> GETVR\n< \\q\n", "t:2:"},        // unknown escape
        {"> GETVR\n< \\x4\n", "t:2:"},
        {"> GETVR\n< \\xg0\n", "t:2:"},
        {"> GETVR\n< OK\\\n", "t:2:"},      // a backslash at the end
        {">GETVR\n< OK\n", "t:1:"},
        {"> GETVR\r\n< OK\n", "t:1:"},
        {"> GETVR\n< OK\nGETST\n", "t:3:"},
    };
    for (const Case &c : malformed) {
        try {
            zx::test::parseModuleTranscript(c.text, QStringLiteral("t"));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const std::runtime_error &error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(c.where))
                << c.text << " -> " << error.what();
        }
    }
}

TEST(Module, KeepsWrittenSettingsInItsState) {
    Module module;
    EXPECT_EQ(module.answer("SETTN3 5 04000000"), "OK");
    EXPECT_EQ(module.answer("AMODE31111114 12345123 11111110"), "OK");
    EXPECT_EQ(module.answer("SETME -FF  F-FFFFFF FFFF0FFFFFFF"), "OK");
    EXPECT_EQ(module.answer("DTFTP7"), "OK");
    EXPECT_EQ(module.answer("RTLEV 00240 32000"), "OK");
    const auto &state = module.state();
    EXPECT_EQ(state.samplingRate, '3');
    EXPECT_EQ(state.loggerPeriod, '5');
    EXPECT_EQ(state.pulses, "04000000");
    EXPECT_EQ(state.analog[0].mode, '3');
    EXPECT_EQ(state.analog[7].mode, '4');
    EXPECT_EQ(state.analogMultipliers, "12345123");
    EXPECT_EQ(state.analogDividers, "11111110");
    EXPECT_EQ(state.temperatureMask, "-FF");
    EXPECT_EQ(state.analogMask, "F-FFFFFF");
    EXPECT_EQ(state.digitalMask, "FFFF0FFFFFFF");
    EXPECT_EQ(state.timeSource, '7');
    EXPECT_EQ(state.runtimes[0].level, 240);
    EXPECT_EQ(state.runtimes[1].level, 32000);
}

TEST(Module, ClockRunsFromTheTimeItWasSetTo) {
    QDateTime pc(QDate(2026, 12, 6), QTime(10, 0, 0), QTimeZone::utc());
    Module module;
    module.setClock([&pc] { return pc; });
    EXPECT_EQ(module.answer("  GETTM"), "TIME 26/12/06,10:00:00+02");
    EXPECT_EQ(module.answer("SETTM 27/02/01,09:05:03+01"), "OK");
    EXPECT_EQ(module.answer("  GETTM"), "TIME 27/02/01,09:05:03+01");
    pc = pc.addSecs(65);
    EXPECT_EQ(module.answer("  GETTM"), "TIME 27/02/01,09:06:08+01");
}

TEST(Module, RestartKeepsOutputsOnlyWhenTheOptionSaysSo) {
    Module module;
    module.answer("SETOU1");
    EXPECT_EQ(module.answer("RSTRT"), "RESTART");
    EXPECT_TRUE(module.state().outputs[0]); // option 5 "E" by default
    module.answer("SETMP MPEDDDDDDEEDEDE ");
    EXPECT_EQ(module.answer("RSTRT"), "RESTART");
    EXPECT_FALSE(module.state().outputs[0]);
    EXPECT_EQ(module.state().restarts, 2);
}

TEST(Module, RawAtLinesReachItsGsmEngine) {
    Module module;
    EXPECT_EQ(module.answer("  AT+CSQ\r"), "+CSQ: 17,0\r\n\r\nOK");
    EXPECT_EQ(module.answer("  AT#BND=2"), "OK");
    EXPECT_EQ(module.answer("  AT#BND?"), "#BND: 2\r\n\r\nOK");
    EXPECT_EQ(module.answer("  AT#BND=?"), "#BND: (0-3)\r\n\r\nOK");
    EXPECT_EQ(module.answer("  AT#BND=4"), "ERROR");
    EXPECT_EQ(module.answer("  AT+NOPE"), "ERROR");
}
