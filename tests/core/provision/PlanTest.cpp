// The provisioning plan of a record: which lines, byte for byte, and which
// of them a diff plan keeps.
#include "common/RecordBytes.h"
#include "common/Wire.h"
#include "profile/ProfileTestSupport.h"
#include "link/CommandFrame.h"
#include "profile/ProfileEntries.h"
#include "provision/Plan.h"
#include "provision/ReadPlan.h"

#include <gtest/gtest.h>

#include <QMap>

namespace zx::provision {
namespace {

using zx::testing::dataFile;
using zx::testing::framed;
using zx::testing::recordOf;

settings::ConfigRecord goldenAsStored() {
    const QByteArray bytes = dataFile("golden-record.cfg");
    EXPECT_EQ(bytes.size(), settings::kConfigRecordSize);
    return recordOf(bytes);
}

// The golden record with its one value the module does not take mended: its
// temperature mask holds a fourth character ("7EAx"), which would shift
// every later field of the "SETME" line.
settings::ConfigRecord golden() {
    settings::ConfigRecord record = goldenAsStored();
    record.setTempEventMask("7EA");
    return record;
}

QByteArray wire(const Plan &plan) {
    QByteArray bytes;
    for (const PlanStep &step : plan.steps)
        bytes += link::settingModeFrame(step.line);
    return bytes;
}

// The golden record's lines of the single-command rows, written out from its
// values by the command rules (two-digit levels, signed three-digit
// temperatures, item index + 1 for a mode, masks as stored).
TEST(ProvisionPlan, GoldenRecordGivesTheTabsLines) {
    const Plan plan = writePlan(golden());
    QMap<QByteArray, QList<QByteArray>> byKeyword;
    for (const PlanStep &step : plan.steps)
        byKeyword[step.line.left(5)].append(step.line);

    const QList<QByteArray> expected = {
        "SETME 7EA  FEDC---- ABC1235000--",
        "AMODE41414141 54321543 90123456",
        "SETTN9 9 90909090",
        "SETTF 99 99 9",
        "SETMP MPEDEEDEDEDDEDDE",
        "SETSH 733232221",
    };
    for (const QByteArray &line : expected)
        EXPECT_EQ(byKeyword.value(line.left(5)), QList<QByteArray>{line}) << line.constData();
    EXPECT_EQ(byKeyword.value("ANLEV").value(0), QByteArray("ANLEV1 99 00"));
    EXPECT_EQ(byKeyword.value("ANLEV").value(1), QByteArray("ANLEV2 00 99"));
    EXPECT_EQ(byKeyword.value("TCLEV").value(2), QByteArray("TCLEV3-099+149"));
    EXPECT_EQ(byKeyword.value("SETNN").value(6), QByteArray("SETNN7 +4917077777777777777"));
    EXPECT_EQ(byKeyword.value("SETPB").value(0), QByteArray("SETPB1 +4366017777777777777"));

    const QMap<QByteArray, qsizetype> counts = {
        {"SETNN", 7}, {"SETPB", 7}, {"SETTX", 57}, {"SETTI", 97}, {"ANLEV", 8}, {"TCLEV", 3},
        {"SETAP", 1}, {"SETID", 1}, {"SETPW", 1}, {"SETIP", 1}, {"SETFT", 1}, {"SETAF", 1},
        {"SETPF", 1}, {"SETDN", 1},
    };
    for (auto it = counts.begin(); it != counts.end(); ++it)
        EXPECT_EQ(byKeyword.value(it.key()).size(), it.value()) << it.key().constData();
    EXPECT_EQ(plan.steps.size(), 7 + 7 + 1 + 57 + 97 + 8 + 1 + 3 + 1 + 1 + 1 + 1 + 8);
    EXPECT_TRUE(plan.skipped.isEmpty()) << plan.skipped.join(QLatin1Char('\n')).toStdString();
    // Every entry a step names is an entry of the record.
    for (const PlanStep &step : plan.steps)
        for (const QString &entry : step.entries)
            EXPECT_NE(profile::findEntry(entry).field, nullptr) << entry.toStdString();
}

TEST(ProvisionPlan, DiffPlanSendsOnlyWhatChanged) {
    const settings::ConfigRecord base = golden();
    struct Case {
        const char *name;
        void (*change)(settings::ConfigRecord &);
        QByteArray wire;
        QStringList shown;
    };
    const QList<Case> cases = {
        {"two alarm numbers",
         [](settings::ConfigRecord &r) {
             r.setAlarmNumber(2, "+4930123456");
             r.setAlarmNumber(5, "0171555");
         },
         framed("SETNN2 +4930123456") + framed("SETNN5 0171555"),
         {QStringLiteral("SETNN2 +4930123456"), QStringLiteral("SETNN5 0171555")}},
        {"nothing", [](settings::ConfigRecord &) {}, {}, {}},
        {"a field no command carries", [](settings::ConfigRecord &r) { r.setBaudRateIndex(2); },
         {}, {}},
        {"an emptied alarm number", [](settings::ConfigRecord &r) { r.setAlarmNumber(3, ""); },
         framed("CLRNR3"), {QStringLiteral("CLRNR3")}},
        {"the FTP password",
         [](settings::ConfigRecord &r) { r.setFtpPassword("Sesam"); },
         framed("SETPF Sesam"), {QStringLiteral("SETPF (password)")}},
        {"a short text, padded on the wire",
         [](settings::ConfigRecord &r) { r.setShortText(60, "Pumpe"); },
         framed("SETTI60 Pumpe" + QByteArray(10, ' ')), {QStringLiteral("SETTI60 Pumpe")}},
    };
    for (const Case &c : cases) {
        settings::ConfigRecord changed = base;
        c.change(changed);
        const Plan plan = diffPlan(base, changed);
        EXPECT_EQ(wire(plan), c.wire) << c.name;
        QStringList shown;
        for (const PlanStep &step : plan.steps)
            shown << step.shownLine();
        EXPECT_EQ(shown, c.shown) << c.name;
    }
}

// After a read-back only the readable entries are known: the commands that
// carry anything else go out whatever the old record says.
TEST(ProvisionPlan, DiffFromAReadBackResendsWhatCannotBeRead) {
    const settings::ConfigRecord base = golden();
    settings::ConfigRecord changed = base;
    changed.setAlarmNumber(2, "+4930123456");
    changed.setAlarmNumber(5, "0171555");
    const QStringList readable = readableEntries();
    const QSet<QString> known(readable.begin(), readable.end());
    QList<QByteArray> keywords;
    QList<QByteArray> numbers;
    for (const PlanStep &step : diffPlan(base, changed, &known).steps) {
        keywords << step.line.left(5);
        if (step.line.startsWith("SETNN"))
            numbers << step.line;
    }
    EXPECT_EQ(numbers, (QList<QByteArray>{"SETNN2 +4930123456", "SETNN5 0171555"}));
    for (const char *unreadable : {"SETME", "SETTN", "SETTF", "SETMP", "SETSH"})
        EXPECT_TRUE(keywords.contains(unreadable)) << unreadable;
    for (const char *unchanged : {"SETPB", "SETTX", "SETTI", "SETAP", "SETPW"})
        EXPECT_FALSE(keywords.contains(unchanged)) << unchanged;
}

TEST(ProvisionPlan, PartialProfileLimitsThePlanAndBadNumbersAreSkipped) {
    settings::ConfigRecord record = golden();
    record.setAlarmNumber(4, "12"); // too short for the module
    const Plan plan = namedPlan(record, {QStringLiteral("AlarmNumbers"), QStringLiteral("AnalogMax[2]"),
                                         QStringLiteral("GprsApn")});
    QList<QByteArray> lines;
    for (const PlanStep &step : plan.steps)
        lines << step.line;
    EXPECT_EQ(lines, (QList<QByteArray>{"SETNN1 +4917011111111111111", "SETNN2 +4917022222222222222",
                                        "SETNN3 +4917033333333333333", "SETNN5 +4917055555555555555",
                                        "SETNN6 +4917066666666666666", "SETNN7 +4917077777777777777",
                                        "ANLEV2 00 99", lines.value(7)}));
    EXPECT_TRUE(lines.value(7).startsWith("SETAP internet.m"));
    EXPECT_EQ(plan.skipped,
              QStringList{QStringLiteral("AlarmNumbers[4]: \"12\" is not a number the module takes "
                                         "(\"+\" or a digit, a digit, \"+\" or a digit, then up "
                                         "to 17 more)")});
}

// A value the module would not take, or would take as something else, is
// never built into a line: its command is left out and the reason is one
// line naming the entry (never a password's characters). The rest of the
// plan is built as usual.
TEST(ProvisionPlan, ValuesTheModuleDoesNotTakeAreLeftOutWithOneLine) {
    using Change = void (*)(settings::ConfigRecord &);
    const struct {
        const char *name;
        Change change;
        const char *keyword; // the command left out
        QString skipped;
    } cases[] = {
        {"CR in the APN", [](settings::ConfigRecord &r) { r.setGprsApn("apn\rCLRNR1"); }, "SETAP",
         QStringLiteral("GprsApn: character 4 is a control character (CR); a text must be one "
                        "line of printable characters")},
        {"LF in a text", [](settings::ConfigRecord &r) { r.setExternalText(3, "a\nb"); }, "SETTX",
         QStringLiteral("ExternalTexts[3]: character 2 is a control character (LF); a text must be "
                        "one line of printable characters")},
        {"NUL in a name", [](settings::ConfigRecord &r) { r.setShortText(60, QByteArray("a\0b", 3)); },
         "SETTI", QStringLiteral("ShortTexts[60]: character 2 is a control character (NUL); a text "
                                 "must be one line of printable characters")},
        {"Ctrl-Z in the FTP host", [](settings::ConfigRecord &r) { r.setFtpHost("h\x1A"); }, "SETFT",
         QStringLiteral("FtpHost: character 2 is a control character (Ctrl-Z); a text must be one "
                        "line of printable characters")},
        {"a blank in the APN", [](settings::ConfigRecord &r) { r.setGprsApn("my apn"); }, "SETAP",
         QStringLiteral("GprsApn: \"my apn\": character 3 is a blank; the module's answer ends a "
                        "value at its first blank, so a value has none")},
        {"a blank in a password", [](settings::ConfigRecord &r) { r.setGprsPassword("se cret"); },
         "SETPW", QStringLiteral("GprsPassword: the password: character 3 is a blank; the module's "
                                 "answer ends a value at its first blank, so a value has none")},
        {"CR in a password", [](settings::ConfigRecord &r) { r.setFtpPassword("se\rcret"); }, "SETPF",
         QStringLiteral("FtpPassword: character 3 of the password is a control character")},
        {"letters for an alarm number", [](settings::ConfigRecord &r) { r.setAlarmNumber(1, "abc"); },
         "SETNN", QStringLiteral("AlarmNumbers[1]: \"abc\" is not a number the module takes (\"+\" "
                                 "or a digit, a digit, \"+\" or a digit, then up to 17 more)")},
        {"a blank in a phone-book number",
         [](settings::ConfigRecord &r) { r.setPhoneBookNumber(2, "+49 30"); }, "SETPB",
         QStringLiteral("PhoneBookNumbers[2]: \"+49 30\": character 4 is a blank; a number has none")},
        {"sampling rate -1", [](settings::ConfigRecord &r) { r.setSamplingRate(-1); }, "SETTN",
         QStringLiteral("SamplingRate: -1 is outside 0..9")},
        {"sampling rate 2147483647",
         [](settings::ConfigRecord &r) { r.setSamplingRate(2147483647); }, "SETTN",
         QStringLiteral("SamplingRate: 2147483647 is outside 0..9")},
        {"a pulse of 10", [](settings::ConfigRecord &r) { r.setOutputPulse(8, 10); }, "SETTN",
         QStringLiteral("OutputPulse[8]: 10 is outside 0..9")},
        {"an analog level of 100", [](settings::ConfigRecord &r) { r.setAnalogMax(4, 100); }, "ANLEV",
         QStringLiteral("AnalogMax[4]: 100 is outside 0..99")},
        {"a temperature of 150", [](settings::ConfigRecord &r) { r.setTempMax(1, 150); }, "TCLEV",
         QStringLiteral("TempMax[1]: 150 is outside -99..149")},
        {"analog mode 4", [](settings::ConfigRecord &r) { r.setAnalogMode(2, 4); }, "AMODE",
         QStringLiteral("AnalogModes[2]: 4 is outside 0..3")},
        {"a digital filter of 10", [](settings::ConfigRecord &r) { r.setDigitalInputFilter(10); },
         "SETTF", QStringLiteral("DigitalInputFilter: 10 is outside 0..9")},
        {"a mask of four characters", [](settings::ConfigRecord &r) { r.setTempEventMask("7EAx"); },
         "SETME", QStringLiteral("TempEventMask: \"7EAx\" has 4 characters, the mask has 3")},
        {"a lower-case mask digit",
         [](settings::ConfigRecord &r) { r.setAnalogEventMask("fedc----"); }, "SETME",
         QStringLiteral("AnalogEventMask: \"fedc----\": character 1 is not one of 0-9, A-F or \"-\"")},
        {"a blank among the multipliers",
         [](settings::ConfigRecord &r) { r.setAnalogCoefficients("1 2"); }, "AMODE",
         QStringLiteral("AnalogCoefficients: \"1 2\": character 2 is a blank, which would split "
                        "the line's fields")},
    };
    const Plan whole = writePlan(golden());
    ASSERT_TRUE(whole.skipped.isEmpty());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        settings::ConfigRecord record = golden();
        c.change(record);
        const Plan plan = writePlan(record);
        EXPECT_EQ(plan.skipped, QStringList{c.skipped});
        const auto carries = [&](const Plan &p) {
            return std::count_if(p.steps.begin(), p.steps.end(),
                                 [&](const PlanStep &s) { return s.line.startsWith(c.keyword); });
        };
        EXPECT_EQ(carries(plan), carries(whole) - 1);
        EXPECT_EQ(plan.steps.size(), whole.steps.size() - 1);
        for (const PlanStep &step : plan.steps)
            EXPECT_FALSE(step.line.contains("CLRNR1") || step.line.contains('\r'));
    }
    // The golden record as stored holds the four-character mask.
    EXPECT_EQ(writePlan(goldenAsStored()).skipped,
              QStringList{QStringLiteral("TempEventMask: \"7EAx\" has 4 characters, the mask has 3")});
}

// Answers in the shapes the tab parsers read go back into a record; what
// differs is listed, a password without its value.
TEST(ProvisionReadPlan, AnswersFillARecordAndDifferencesAreListed) {
    const settings::ConfigRecord written = golden();
    settings::ConfigRecord read;
    const QList<ReadStep> steps = readPlan();
    ASSERT_EQ(steps.size(), 7 + 1 + 57 + 97 + 8);
    const QList<std::pair<int, QByteArray>> answers = {
        {0, "NUM1: +49301 \r\n"},
        {7, "PN1:+111 N2:+222 N3:+333 N4:+444 N5:+555 N6:+666 N7:+777 \r\n"},
        {8, "01: E01 text\r\n"},
        {8 + 57 + 59, "60: Pumpe\r\n"},
        {8 + 57 + 97 + 2, "PASSWORD: geheim\r\n"},
    };
    for (const auto &[index, answer] : answers)
        EXPECT_TRUE(applyAnswer(steps.at(index), answer, read)) << answer.constData();
    EXPECT_FALSE(applyAnswer(steps.at(0), "ERROR\r\n", read));
    EXPECT_EQ(read.AlarmNumber(1), QByteArray("+49301"));
    EXPECT_EQ(read.PhoneBookNumber(7), QByteArray("+777"));
    EXPECT_EQ(read.ExternalText(1), QByteArray("E01 text"));
    EXPECT_EQ(read.ShortText(60), QByteArray("Pumpe"));
    EXPECT_EQ(read.GprsPassword(), QByteArray("geheim"));

    settings::ConfigRecord same = written;
    same.setExternalText(5, written.ExternalText(5).trimmed()); // a trailing blank lost
    same.setShortText(3, "other");
    same.setGprsPassword("x");
    QStringList unverifiable;
    const QList<Mismatch> mismatches =
        compareReadBack(written, same, readableEntries(), &unverifiable);
    QStringList texts;
    for (const Mismatch &m : mismatches)
        texts << m.text();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("ShortTexts[3]: wrote \"I03 Tür‰öffnen.\", read \"other\""),
                                  QStringLiteral("GprsPassword: differs")}));
    // The golden alarm numbers fill all 20 places, more than an answer carries.
    EXPECT_EQ(unverifiable.size(), 7);
}

} // namespace
} // namespace zx::provision
