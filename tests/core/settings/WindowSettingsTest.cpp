// The record side of start-up and saving, without a window: the golden
// record, with every field at its limit, goes to the controls' values and
// back byte for byte.
#include "settings/WindowSettings.h"

#include "common/RecordBytes.h"

#include <gtest/gtest.h>

using namespace zx::settings;
using zx::testing::dataFile;
using zx::testing::firstDifference;
using zx::testing::recordOf;
using zx::testing::toByteArray;

namespace {

constexpr int kScheduleTail = 4017;

// Every field a save writes, overwritten with a byte that no golden value
// holds, so that a field the save forgets shows. Reserved ranges and the two
// kept bytes have no writer and keep the golden bytes.
ConfigRecord scrambledFieldsOf(const ConfigRecord &record) {
    ConfigRecord::Bytes bytes = record.bytes();
    for (const FieldLayout &f : kConfigLayout) {
        const QByteArray name(f.name);
        if (f.kind == FieldKind::Reserved || name == "KeptByteA" || name == "KeptByteB")
            continue;
        const int stride = f.stride > 0 ? f.stride : f.size;
        std::fill(bytes.begin() + f.offset, bytes.begin() + f.offset + stride * (f.count - 1) + f.size,
                  quint8(0x5A));
    }
    ConfigRecord scrambled;
    scrambled.setBytes(bytes);
    return scrambled;
}

} // namespace

TEST(WindowSettings, GoldenRecordGoesToTheValuesAndBackByteForByte) {
    const QByteArray golden = dataFile("golden-record.cfg");
    ASSERT_EQ(golden.size(), kConfigRecordSize);
    ConfigRecord loaded = recordOf(golden);
    const WindowSettings values = loadWindowSettings(loaded);
    // The golden record already holds what start-up writes into the record.
    EXPECT_EQ(firstDifference(golden, toByteArray(loaded)).toStdString(), "");

    ConfigRecord saved = scrambledFieldsOf(loaded);
    storeWindowSettings(values, saved);
    QByteArray expected = golden;
    expected[kScheduleTail] = '\0'; // every save writes it as 0
    EXPECT_EQ(firstDifference(expected, toByteArray(saved)).toStdString(), "");
}

TEST(WindowSettings, StartupRulesWriteTheRecordsOwnDefaults) {
    struct Case {
        const char *what;
        std::function<void(ConfigRecord &)> prepare;
        std::function<void(const ConfigRecord &, const WindowSettings &)> check;
    } const cases[] = {
        {"empty masks get their disabled markers", [](ConfigRecord &) {},
         [](const ConfigRecord &r, const WindowSettings &s) {
             EXPECT_EQ(r.TempEventMask(), "---");
             EXPECT_EQ(r.AnalogEventMask(), "--------");
             EXPECT_EQ(r.DigitalEventMask(), "000000000000");
             EXPECT_EQ(s.masks.digital, "000000000000");
             EXPECT_EQ(s.work.DigitalMaskChars, "000000000000");
         }},
        {"the option string is padded to 16", [](ConfigRecord &r) { r.setOtherParameters("MP"); },
         [](const ConfigRecord &r, const WindowSettings &s) {
             EXPECT_EQ(r.OtherParameters(), "MP" + QByteArray(14, ' '));
             EXPECT_EQ(s.work.OtherParametersWork, r.OtherParameters());
         }},
        {"KeptSmall above 4 is taken as 0", [](ConfigRecord &r) { r.setKeptSmall(7); },
         [](const ConfigRecord &, const WindowSettings &s) { EXPECT_EQ(s.work.KeptSmall, 0); }},
        {"a negative KeptSmall stays", [](ConfigRecord &r) { r.setKeptSmall(-3); },
         [](const ConfigRecord &, const WindowSettings &s) { EXPECT_EQ(s.work.KeptSmall, -3); }},
        {"mask characters beyond the length byte are taken as they stand",
         [](ConfigRecord &r) {
             r.setAnalogEventMask("ABCDEF12");
             r.setAnalogEventMask("9");
         },
         [](const ConfigRecord &, const WindowSettings &s) {
             EXPECT_EQ(s.masks.analog, "9");
             EXPECT_EQ(s.work.AnalogMaskChars, "9BCDEF12");
         }},
        {"the poll factor is kept unclamped", [](ConfigRecord &r) { r.setStoredPollFactor(50); },
         [](const ConfigRecord &, const WindowSettings &s) {
             EXPECT_EQ(s.work.StoredPollFactor, 50);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ConfigRecord record;
        c.prepare(record);
        const WindowSettings values = loadWindowSettings(record);
        c.check(record, values);
    }
}
