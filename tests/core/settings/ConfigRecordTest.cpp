#include "settings/ConfigRecord.h"
#include "common/RecordBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using zx::settings::ConfigRecord;
using zx::testing::firstChangeOutside;
using zx::testing::slice;

namespace {

ConfigRecord patterned() {
    ConfigRecord::Bytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<quint8>(0x41 + i % 26); // 'A'..'Z', never zero
    ConfigRecord record;
    record.setBytes(bytes);
    return record;
}

// A short string slot's bytes: the length byte, then the characters.
QByteArray lengthThen(int length, const QByteArray &characters) {
    return QByteArray(1, static_cast<char>(length)) + characters;
}

void putBytes(ConfigRecord &record, int offset, const QByteArray &bytes) {
    ConfigRecord::Bytes image = record.bytes();
    std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
    record.setBytes(image);
}

} // namespace

TEST(ConfigRecord, StartsAllZero) {
    const ConfigRecord record;
    EXPECT_TRUE(
        std::all_of(record.bytes().begin(), record.bytes().end(), [](quint8 b) { return b == 0; }));
}

TEST(ConfigRecord, ShortStringsCutLongTextsClampLengthsAndKeepRemnants) {
    using R = ConfigRecord;
    struct Case {
        const char *what;
        int slotOffset;
        QByteArray rawSlot; // put into the record before the step, when not empty
        std::function<void(R &)> step;
        std::function<QByteArray(const R &)> read;
        QByteArray expectedText;
        QByteArray expectedSlot; // the whole slot afterwards
    } const cases[] = {
        {"30 characters in a capacity-26 slot keep their first 26",
         60,
         {},
         [](R &r) { r.setExternalText(1, "abcdefghijklmnopqrstuvwxyz1234"); },
         [](const R &r) { return r.ExternalText(1); },
         "abcdefghijklmnopqrstuvwxyz",
         lengthThen(26, "abcdefghijklmnopqrstuvwxyz")},
        {"length 255 in a capacity-20 slot reads 20 characters", 16,
         lengthThen(255, "01234567890123456789"), nullptr,
         [](const R &r) { return r.ModuleNumberCopy(); }, "01234567890123456789",
         lengthThen(255, "01234567890123456789")},
        {"length 255 in the last text slot stays inside it", 4069, lengthThen(255, "87654321"),
         nullptr, [](const R &r) { return r.AnalogDividers(); }, "87654321",
         lengthThen(255, "87654321")},
        {"length 16 in a capacity-15 array element stays inside it", 1599 + 16 * 96,
         lengthThen(16, "ABCDEFGHIJKLMNO"), nullptr, [](const R &r) { return r.ShortText(97); },
         "ABCDEFGHIJKLMNO", lengthThen(16, "ABCDEFGHIJKLMNO")},
        {"a shorter text leaves the older characters after it", 4060, lengthThen(8, "ABCDEFGH"),
         [](R &r) { r.setAnalogCoefficients("xy"); },
         [](const R &r) { return r.AnalogCoefficients(); }, "xy", lengthThen(2, "xyCDEFGH")},
        {"an empty text writes only the length", 3308, lengthThen(4, "F0F1"),
         [](R &r) { r.setTempEventMask(""); }, [](const R &r) { return r.TempEventMask(); }, "",
         lengthThen(0, "F0F1")},
        {"bytes above 0x7F pass unchanged",
         3376,
         {},
         [](R &r) { r.setGprsUserId("\xE4\x80\x9F"); },
         [](const R &r) { return r.GprsUserId(); },
         "\xE4\x80\x9F",
         lengthThen(3, "\xE4\x80\x9F")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ConfigRecord record = patterned();
        if (!c.rawSlot.isEmpty())
            putBytes(record, c.slotOffset, c.rawSlot);
        const ConfigRecord::Bytes before = record.bytes();
        if (c.step)
            c.step(record);
        EXPECT_EQ(c.read(record), c.expectedText);
        const int size = static_cast<int>(c.expectedSlot.size());
        EXPECT_EQ(slice(record.bytes(), c.slotOffset, size), c.expectedSlot);
        // Nothing outside the slot moved, the next slot's length byte included.
        EXPECT_EQ(firstChangeOutside(before, record.bytes(), c.slotOffset, size), -1);
    }
}

TEST(ConfigRecord, FlagsReadAnyNonZeroByteAsTrueAndWriteZeroOrOne) {
    constexpr int kSmsModeOn = 3209;
    for (const char raw : {'\0', '\1', '\x80', '\xFF'}) {
        ConfigRecord record;
        putBytes(record, kSmsModeOn, QByteArray(1, raw));
        EXPECT_EQ(record.SmsModeOn(), raw != 0) << int(raw);
    }
    ConfigRecord record;
    putBytes(record, kSmsModeOn, "\x7F");
    record.setSmsModeOn(true);
    EXPECT_EQ(record.bytes()[kSmsModeOn], 1);
    record.setSmsModeOn(false);
    EXPECT_EQ(record.bytes()[kSmsModeOn], 0);
}

TEST(ConfigRecord, ElementNumbersOutsideAnArrayReadNothingAndWriteNothing) {
    using R = ConfigRecord;
    struct Case {
        const char *what;
        std::function<bool(const R &)> readsEmpty;
        std::function<void(R &)> write;
    } const cases[] = {
        {"ExternalText(0)", [](const R &r) { return r.ExternalText(0).isEmpty(); },
         [](R &r) { r.setExternalText(0, "x"); }},
        {"ExternalText(58)", [](const R &r) { return r.ExternalText(58).isEmpty(); },
         [](R &r) { r.setExternalText(58, "x"); }},
        {"ShortText(98)", [](const R &r) { return r.ShortText(98).isEmpty(); },
         [](R &r) { r.setShortText(98, "x"); }},
        {"AlarmNumber(8)", [](const R &r) { return r.AlarmNumber(8).isEmpty(); },
         [](R &r) { r.setAlarmNumber(8, "1"); }},
        {"PhoneBookNumber(-1)", [](const R &r) { return r.PhoneBookNumber(-1).isEmpty(); },
         [](R &r) { r.setPhoneBookNumber(-1, "1"); }},
        {"OutputPulse(9)", [](const R &r) { return r.OutputPulse(9) == 0; },
         [](R &r) { r.setOutputPulse(9, 5); }},
        {"AnalogMin(0)", [](const R &r) { return r.AnalogMin(0) == 0; },
         [](R &r) { r.setAnalogMin(0, 5); }},
        {"AnalogMax(9)", [](const R &r) { return r.AnalogMax(9) == 0; },
         [](R &r) { r.setAnalogMax(9, 5); }},
        {"TempMax(4)", [](const R &r) { return r.TempMax(4) == 0; },
         [](R &r) { r.setTempMax(4, 5); }},
        {"AnalogMode(9)", [](const R &r) { return r.AnalogMode(9) == 0; },
         [](R &r) { r.setAnalogMode(9, 2); }},
    };
    for (const Case &c : cases) {
        ConfigRecord record = patterned();
        const ConfigRecord before = record;
        EXPECT_TRUE(c.readsEmpty(record)) << c.what;
        c.write(record);
        EXPECT_TRUE(record == before) << c.what;
    }
}
