// Byte-exact command lines of the I/O configuration tabs.
#include "commands/io/AnalogCommands.h"
#include "commands/io/FilterCommands.h"
#include "commands/io/OptionCommands.h"
#include "commands/io/OutputCommands.h"
#include "commands/io/TemperatureCommands.h"

#include <gtest/gtest.h>

#include <functional>

namespace io = zx::commands::io;

namespace {

struct LineCase {
    const char *name;
    std::function<QByteArray()> build;
    QByteArray expected;
};

class IoLine : public testing::TestWithParam<LineCase> {};

TEST_P(IoLine, IsByteExact) {
    const LineCase &c = GetParam();
    const QByteArray line = c.build();
    EXPECT_EQ(line.toStdString(), c.expected.toStdString());
    EXPECT_EQ(line.size(), c.expected.size());
}

const std::array<int, 8> kNoPulses{};
const std::array<int, 8> kDefaultModes{};

INSTANTIATE_TEST_SUITE_P(
    Lines, IoLine,
    testing::Values(
        LineCase{"SetOutput5", [] { return io::setOutputLine(5); }, "SETOU5"},
        LineCase{"ResetOutput5", [] { return io::resetOutputLine(5); }, "RSTOU5"},
        LineCase{"GetOutput8", [] { return io::getOutputLine(8); }, "GETOS8"},
        LineCase{"GetAllOutputs", [] { return io::getOutputLine(0); }, "GETOS0"},
        LineCase{"GetInput9", [] { return io::getInputLine(9); }, "GETIS09"},
        LineCase{"GetInput12", [] { return io::getInputLine(12); }, "GETIS12"},
        LineCase{"GetAllInputs", [] { return io::getInputLine(0); }, "GETIS00"},
        LineCase{"ParallelAsTyped", [] { return io::parallelOutputLine("10x1"); }, "OUTP 10x1"},
        LineCase{"ParallelEmpty", [] { return io::parallelOutputLine(""); }, "OUTP "},
        LineCase{"ParallelCutAt16",
                 [] { return io::parallelOutputLine("0123456789ABCDEF"); }, "OUTP 0123456789A"},
        LineCase{"DataLoggerZero", [] { return io::dataLoggerLine(0, 0, kNoPulses); },
                 "SETTN0 0 00000000"},
        LineCase{"DataLoggerSet",
                 [] { return io::dataLoggerLine(3, 5, {0, 4, 0, 0, 0, 0, 0, 0}); },
                 "SETTN3 5 04000000"},
        LineCase{"DataLoggerClampsTo9",
                 [] { return io::dataLoggerLine(12, 9, {0, 0, 0, 0, 0, 0, 9, 0}); },
                 "SETTN9 9 00000090"},
        LineCase{"AnalogLevel2", [] { return io::analogLevelLine(2, 0, 7); }, "ANLEV2 00 07"},
        LineCase{"AnalogLevel3", [] { return io::analogLevelLine(3, 5, 95); }, "ANLEV3 05 95"},
        LineCase{"AnalogLevelMinAboveMax", [] { return io::analogLevelLine(8, 99, 10); },
                 "ANLEV8 99 10"},
        LineCase{"AnalogModeDefault",
                 [] { return io::analogModeLine(kDefaultModes, "11111111", "11111111"); },
                 "AMODE11111111 11111111 11111111"},
        LineCase{"AnalogModeMixed",
                 [] { return io::analogModeLine({2, 0, 0, 0, 0, 0, 0, 3}, "11111111", "11111111"); },
                 "AMODE31111114 11111111 11111111"},
        LineCase{"AnalogModeTextsAsTyped",
                 [] { return io::analogModeLine({1, 1, 1, 1, 1, 1, 1, 1}, "5", ""); },
                 "AMODE22222222 5 "},
        LineCase{"ValueText4", [] { return io::valueTextLine(4, "mA"); }, "VALTX4 mA   "},
        LineCase{"ValueText7", [] { return io::valueTextLine(7, "mA"); }, "VALTX7 mA       "},
        LineCase{"ValueTextEmpty", [] { return io::valueTextLine(1, ""); }, "VALTX1    "},
        LineCase{"TempLevel1", [] { return io::temperatureLevelLine(1, -10, 50); },
                 "TCLEV1-010+050"},
        LineCase{"TempLevel2", [] { return io::temperatureLevelLine(2, -99, 149); },
                 "TCLEV2-099+149"},
        LineCase{"TempLevel3", [] { return io::temperatureLevelLine(3, 0, 0); },
                 "TCLEV3+000+000"},
        LineCase{"TempLevelSmall", [] { return io::temperatureLevelLine(1, -5, 12); },
                 "TCLEV1-005+012"},
        LineCase{"RuntimeLevels", [] { return io::runtimeLevelLine(240, 32000); },
                 "RTLEV 00240 32000"},
        LineCase{"RuntimeLevelSmall", [] { return io::runtimeLevelLine(5, 0); },
                 "RTLEV 00005 00000"},
        LineCase{"RuntimeSource2I", [] { return io::runtimeSourceLine(1, 2, "0240"); },
                 "RTMOD2I0240"},
        LineCase{"RuntimeSource4DTyped", [] { return io::runtimeSourceLine(3, 1, "12"); },
                 "RTMOD4D12"},
        LineCase{"RuntimeSourceDefault", [] { return io::runtimeSourceLine(0, 0, "0004"); },
                 "RTMOD1A0004"},
        LineCase{"FiltersOther", [] { return io::timeoutFilterLine(5, 12, 3); }, "SETTF 05 12 3"},
        LineCase{"FiltersOtherZero", [] { return io::timeoutFilterLine(0, 0, 0); },
                 "SETTF 00 00 0"},
        LineCase{"FilterTemperature", [] { return io::temperatureFilterLine("00"); }, "SETTF 00 "},
        LineCase{"FilterTemperatureFromDesignText", [] { return io::temperatureFilterLine("0"); },
                 "SETTF 00 "},
        LineCase{"FilterAnalog", [] { return io::analogFilterLine("12"); }, "SETTF    12 "},
        LineCase{"FilterDigital", [] { return io::digitalFilterLine("3"); }, "SETTF       3"},
        LineCase{"OptionsInitial", [] { return io::optionsLine(io::kInitialOptions); },
                 "SETMP MPEDEDDDDEEDEDE "},
        LineCase{"OptionsAlreadyPadded",
                 [] { return io::optionsLine(io::paddedOptions(io::kInitialOptions)); },
                 "SETMP MPEDEDDDDEEDEDE "},
        LineCase{"DateTimeSource3", [] { return io::dateTimeSourceLine(2); }, "DTFTP3"},
        LineCase{"DateTimeSource7", [] { return io::dateTimeSourceLine(6); }, "DTFTP7"}),
    [](const testing::TestParamInfo<LineCase> &info) { return std::string(info.param.name); });

TEST(IoDisplays, DividerAndTemperatureForms) {
    const struct {
        int value;
        const char *divider;
        const char *temperature;
    } cases[] = {{0, "0000", "+000"},  {4, "0004", "+004"},    {12, "0012", "+012"},
                 {240, "0240", "+240"}, {9600, "9600", "+9600"}, {-10, "-0010", "-010"},
                 {-99, "-0099", "-099"}, {149, "0149", "+149"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(io::runtimeDivider(c.value), QByteArray(c.divider));
        EXPECT_EQ(io::signedTemperature(c.value), QByteArray(c.temperature));
    }
}

TEST(IoDisplays, TwoDigitFieldFromDisplayText) {
    const struct {
        const char *text;
        const char *field;
    } cases[] = {{"09", "09"}, {"42", "42"}, {"0", "00"}, {"7", "07"},
                 {"7x", "07"}, {"", "00"},   {"123", "12"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(io::twoDigitField(c.text), QByteArray(c.field));
    }
}

TEST(IoParallelOutputs, PatternGovernsIndicators) {
    const io::OutputStates states = io::parallelOutputStates("10x1");
    EXPECT_EQ(states[0], true);
    EXPECT_EQ(states[1], false);
    EXPECT_FALSE(states[2].has_value());
    EXPECT_EQ(states[3], true);
    for (int k = 4; k < 8; ++k)
        EXPECT_FALSE(states[k].has_value()) << k;
    for (const auto &s : io::parallelOutputStates(""))
        EXPECT_FALSE(s.has_value());
    // Only the first eight characters count.
    const io::OutputStates nine = io::parallelOutputStates("000000001");
    EXPECT_EQ(nine[7], false);
    EXPECT_EQ(io::outputIndicator(true), QByteArray("ON "));
    EXPECT_EQ(io::outputIndicator(false), QByteArray("OFF"));
}

TEST(IoOptions, EditsKeepTheRestOfTheString) {
    QByteArray s = io::kInitialOptions;
    s = io::withOption(s, 5, io::optionFlag(false));
    EXPECT_EQ(s, QByteArray("MPEDDDDDDEEDEDE"));
    s = io::withOption(s, 5, io::optionFlag(true));
    EXPECT_EQ(s, QByteArray("MPEDEDDDDEEDEDE"));
    s = io::withOption(s, 1, 'L');
    EXPECT_EQ(s, QByteArray("LPEDEDDDDEEDEDE"));
    EXPECT_EQ(io::withOption("MP", 4, 'E'), QByteArray("MP E"));
    EXPECT_EQ(io::withOption("MP", 0, 'E'), QByteArray("MP"));
    EXPECT_EQ(io::paddedOptions(s).size(), 16);
    EXPECT_EQ(io::paddedOptions(QByteArray(20, 'E')), QByteArray(16, 'E'));
}

} // namespace
