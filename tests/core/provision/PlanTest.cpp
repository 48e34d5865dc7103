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

settings::ConfigRecord golden() {
    const QByteArray bytes = dataFile("golden-record.cfg");
    EXPECT_EQ(bytes.size(), settings::kConfigRecordSize);
    return recordOf(bytes);
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
        "SETME 7EAx  FEDC---- ABC1235000--",
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
    EXPECT_EQ(plan.skipped, QStringList{QStringLiteral(
                                "AlarmNumbers[4]: \"12\" is not a number the module takes")});
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
