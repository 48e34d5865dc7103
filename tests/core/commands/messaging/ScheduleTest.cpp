#include "commands/messaging/Schedule.h"

#include <gtest/gtest.h>

using namespace zx::commands::messaging;

namespace {

ScheduleString loaded(const QByteArray &stored) {
    ScheduleString s;
    s.load(stored);
    return s;
}

} // namespace

TEST(ScheduleSet, LinesForTheWorkedExamples) {
    struct Case {
        const char *name;
        QByteArray before;
        ScheduleControls controls;
        QByteArray line;
    } const cases[] = {
        {"Temperature, other, hours 8, -, 15, 20",
         "",
         {1, kRepetitionOther, {true, false, true, true}, {8, 3, 15, 20}},
         "SETSH T08  1520"},
        {"Analog every hour", "", {0, 0, {false, false, false, false}, {}}, "SETSH A33      "},
        {"10 min wins over an enabled first hour",
         "",
         {2, 1, {true, false, false, false}, {7, 0, 0, 0}},
         "SETSH D44      "},
        {"Disable",
         "T08  1520",
         {10, 0, {true, true, true, true}, {1, 2, 3, 4}},
         "SETSH          "},
        {"no type item", "A33      ", {-1, 0, {}, {}}, "SETSH          "},
        {"other keeps pair 1 as it is",
         "P17      ",
         {7, 4, {false, true, false, false}, {0, 9, 0, 0}},
         "SETSH P1709    "},
        {"no repetition item keeps pair 1", "8  21    ", {8, -1, {}, {}}, "SETSH 8  21    "},
        {"Runtime and Analog", "", {9, 3, {}, {}}, "SETSH 966      "},
    };
    for (const auto &c : cases) {
        ScheduleString s = loaded(c.before);
        EXPECT_EQ(buildSetScheduleLine(s, c.controls), c.line) << c.name;
        EXPECT_EQ(s.text(), c.line.mid(6)) << c.name;
        EXPECT_EQ(s.length(), 9) << c.name;
    }
}

TEST(ScheduleString, PlacesBeyondTheLengthAreKeptButNotStored) {
    ScheduleString s;
    EXPECT_EQ(s.length(), 0);
    s.setAt(1, 'T');
    s.setPair(3, hourPair(7));
    EXPECT_EQ(s.text(), QByteArray());
    EXPECT_EQ(s.at(1), 'T');
    EXPECT_EQ(s.at(6), '0');
    EXPECT_EQ(s.at(7), '7');
    s.setAt(10, 'x'); // outside: ignored
    s.setAt(0, 'x');
    EXPECT_EQ(s.at(10), '\0');

    s.load("A33");
    EXPECT_EQ(s.text(), QByteArray("A33"));
    EXPECT_EQ(s.at(4), '\0');
    s.load("T0815162099"); // longer than nine: cut
    EXPECT_EQ(s.text(), QByteArray("T08151620"));
}

TEST(ScheduleSet, AShortStoredStringIsFilledUpWithBlanks) {
    // Only a damaged settings file holds a length of 1..8; the line still
    // carries nine characters.
    ScheduleString s = loaded("A1");
    EXPECT_EQ(buildSetScheduleLine(s, {1, 4, {false, false, true, false}, {0, 0, 6, 0}}),
              QByteArray("SETSH T1   06  "));
    ScheduleString empty;
    empty.setAt(1, 'P'); // written by a reaction, beyond the length
    EXPECT_EQ(buildSetScheduleLine(empty, {1, 4, {}, {}}), QByteArray("SETSH T        "));
}

TEST(ScheduleHelpers, LettersCodesAndHours) {
    const char letters[] = "ATD3567P89";
    for (int item = 0; item < 10; ++item)
        EXPECT_EQ(scheduleTypeLetter(item), letters[item]) << item;
    EXPECT_EQ(scheduleTypeLetter(10), ' ');
    EXPECT_EQ(scheduleTypeLetter(-1), ' ');
    EXPECT_EQ(repetitionCode(0), QByteArray("33"));
    EXPECT_EQ(repetitionCode(3), QByteArray("66"));
    EXPECT_EQ(repetitionCode(4), QByteArray());
    EXPECT_EQ(repetitionCode(-1), QByteArray());
    EXPECT_EQ(hourPair(0), QByteArray("00"));
    EXPECT_EQ(hourPair(9), QByteArray("09"));
    EXPECT_EQ(hourPair(23), QByteArray("23"));
}

TEST(ScheduleDecode, StoredStringsGiveTheControls) {
    using H = std::array<std::optional<int>, kScheduleHours>;
    using E = std::array<bool, kScheduleHours>;
    struct Case {
        const char *name;
        QByteArray stored;
        H hours;
        E enabled;
        int type;
        std::optional<int> repetition;
    } const cases[] = {
        {"T, 08, blanks, 15, 20",
         "T08  1520",
         {8, std::nullopt, 15, 20},
         {true, false, true, true},
         1,
         kRepetitionOther},
        {"pair 1 33",
         "A33      ",
         {0, std::nullopt, std::nullopt, std::nullopt},
         {true, false, false, false},
         0,
         0},
        {"pair 1 35",
         "A35      ",
         {0, std::nullopt, std::nullopt, std::nullopt},
         {true, false, false, false},
         0,
         std::nullopt},
        {"pair 2 30 (the bar clamps)",
         "D0830    ",
         {8, 30, std::nullopt, std::nullopt},
         {true, true, false, false},
         2,
         kRepetitionOther},
        {"66",
         "966      ",
         {0, std::nullopt, std::nullopt, std::nullopt},
         {true, false, false, false},
         9,
         3},
        {"empty record", "", {}, {}, 10, kRepetitionOther},
        {"unknown type letter",
         "x12      ",
         {12, std::nullopt, std::nullopt, std::nullopt},
         {true, false, false, false},
         10,
         kRepetitionOther},
        {"lower case is unknown", "a        ", {}, {}, 10, kRepetitionOther},
    };
    for (const auto &c : cases) {
        const ScheduleDecoding d = decodeSchedule(loaded(c.stored));
        EXPECT_EQ(d.hours, c.hours) << c.name;
        EXPECT_EQ(d.enabled, c.enabled) << c.name;
        EXPECT_EQ(d.typeItem, c.type) << c.name;
        EXPECT_EQ(d.repetitionItem, c.repetition) << c.name;
    }
}

TEST(ScheduleDecode, AllNinePlacesAreReadWhateverTheLength) {
    // Places beyond the stored length hold what was there before the load:
    // a fresh string holds NUL there, which is no digit.
    ScheduleString s = loaded("T08");
    const ScheduleDecoding d = decodeSchedule(s);
    EXPECT_EQ(d.hours[0], 8);
    EXPECT_FALSE(d.enabled[1]);
}
