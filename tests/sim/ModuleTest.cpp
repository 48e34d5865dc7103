#include "sim/Module.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using zx::sim::Module;

namespace {

QByteArray framedText(const QByteArray &head, const QByteArray &text, qsizetype width) {
    return (head + text).leftJustified(width, ' ');
}

struct Exchange {
    QByteArray command;
    QByteArray answer;
};

// Each sequence runs on a fresh module; every answer is checked in order.
void runSequence(const std::vector<Exchange> &sequence) {
    Module module;
    for (const Exchange &step : sequence)
        EXPECT_EQ(module.answer(step.command), step.answer) << "command: " << step.command.constData();
}

} // namespace

TEST(Module, AnswersReadCommandsInTheShapesTheToolParses) {
    runSequence({
        // Alarm numbers: key digit in the fourth place, number between ": " and a blank.
        {"GETNR3", "NUM3:  "},
        {"SETNN3 +4917012345", "OK"},
        {"GETNR3", "NUM3: +4917012345 "},
        {"CLRNR3", "OK"},
        {"GETNR3", "NUM3:  "},
        // Phone book: "P" then "N<digit>:<number> " per entry.
        {"SETPB1 +111", "OK"},
        {"SETPB3 +333", "OK"},
        {"  GETPB", "PN1:+111 N2: N3:+333 N4: N5: N6: N7: "},
        // Texts: two-digit number, two characters, the text.
        {"GETTX05" + QByteArray(41, ' '), "05: Temperature 2 Normal"},
        {framedText("SETTX57 ", "Door open", 48), "OK"},
        {framedText("GETTX57 ", "", 48), "57: Door open"},
        {framedText("SETTI60 ", "Pump running!!!", 23), "OK"},
        {framedText("GETTI60 ", "", 23), "60: Pump running!!!"},
        {framedText("GETTI82 ", "", 23), "82: OUT1 1"},
        {framedText("GETTI01 ", "", 23), "01: "},
        // GPRS and FTP pairs: exact keys, a colon and a blank.
        {"SETAP internet.example", "OK"},
        {"GETAP ", "APN: internet.example"},
        {"SETID alice smith", "OK"},
        {"GETID ", "UserID: alice"},
        {"SETPW s3cret", "OK"},
        {"GETPW ", "PASSWORD: s3cret"},
        {"GETIP ", "IP address: 0.0.0.0"},
        {"SETIP 10.1.2.3", "OK"},
        {"GETIP ", "IP address: 10.1.2.3"},
        {"SETFT ftp.example.org", "OK"},
        {"GETFT ", "FTPURL: ftp.example.org"},
        {"SETAF logger", "OK"},
        {"GETAF ", "UserName FTP: logger"},
        {"SETPF pw2", "OK"},
        {"GETPF ", "Password FTP: pw2"},
        {"SETDN /data", "OK"},
        {"GETDN ", "DirName: /data"},
        {"SETAP    ", "OK"},
        {"GETAP ", "APN: "},
    });
}

TEST(Module, AnswersIoCommandsAndKeepsTheirState) {
    runSequence({
        {"SETOU5", "OUT5 ON"},
        {"GETOS5", "OUT5 ON"},
        {"RSTOU5", "OUT5 OFF"},
        {"GETOS5", "OUT5 OFF"},
        {"OUTP 10x1", "OUTP 10010000"},
        {"GETOS0", "OUT1 1, OUT2 0, OUT3 0, OUT4 1, OUT5 0, OUT6 0, OUT7 0, OUT8 0"},
        {"GETIS09", "INP09 ON"},
        {"GETIS01", "INP01 OFF"},
        {"SETMP LPEDEDEDDEEDEDE ", "OK"}, // option 7: inputs inverted
        {"GETIS09", "INP09 OFF"},
        {"GETMP", "OPTIONS LPEDEDEDDEEDEDE "},
        {"ANLEV3 05 95", "OK"},
        {"ANLEV0", "AN1 00 00, AN2 00 00, AN3 05 95, AN4 00 00, AN5 00 00, AN6 00 00, AN7 00 00, "
                   "AN8 00 00"},
        {"ANLEV1 20 90", "OK"},
        {"VALTX2 mA   ", "OK"},
        {"GETAN", "AN1 12%L AN2 47mA AN3 88% AN4 3% AN5 50% AN6 64% AN7 0% AN8 99%"},
        {"TCLEV2-099+149", "OK"},
        {"TCLEV0", "T1 +000 +000, T2 -099 +149, T3 +000 +000"},
        {"GETTC", "T1 +21.5C T2 +19.0C T3 -3.5C"},
        {"RTMOD2I0240", "OK"},
        {"RTMODR", "RTMOD2I0240"},
        {"RTMOD4D12", "OK"},
        {"RTMODR", "RTMOD4D0012"},
        {"GETRT", "RT1 01234 RT2 00042"},
        {"SETTF 05 12 3", "FILTER 05 12 3"},
        {"SETTF    40 ", "FILTER 05 40 3"},
        {"SETTF       7", "FILTER 05 40 7"},
        {"SETTF 09 ", "FILTER 09 40 7"},
        {"SETSH T08  1520", "OK"},
        {"GETSH", "SCHEDULE T08  1520"},
        {"SETSH" + QByteArray(10, ' '), "OK"},
        {"GETSH", "SCHEDULE          "},
        {"  GETVR", "VERSION 2.07"},
        {"  OK", "OK"},
        {"  +EXIT", "EXIT SETUP"},
    });
}

TEST(Module, RejectsMalformedLines) {
    runSequence({
        {"SETOU9", "ERROR"},
        {"SETOU", "ERROR"},
        {"GETIS13", "ERROR"},
        {"GETNR8", "ERROR"},
        {"SETNN1", "ERROR"},
        {"GETTX58" + QByteArray(41, ' '), "ERROR"},
        {"GETTX00" + QByteArray(41, ' '), "ERROR"},
        {"GETTI98" + QByteArray(16, ' '), "ERROR"},
        {"ANLEV9 05 95", "ERROR"},
        {"ANLEV3 5 95", "ERROR"},
        {"TCLEV1 010+050", "ERROR"},
        {"RTLEV 240 32000", "ERROR"},
        {"RTMOD5A0004", "ERROR"},
        {"SETTN0 0 0000000", "ERROR"},
        {"AMODE51111111 11111111 11111111", "ERROR"},
        {"SETME FFF FFFFFFFF FFFFFFFFFFFF", "ERROR"},
        {"SETTF", "ERROR"},
        {"DTFTP8", "ERROR"},
        {"SETTM 26/13/06,18:30:05+02", "ERROR"},
        {"HELLO", "ERROR"},
        {"", "ERROR"},
    });
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
