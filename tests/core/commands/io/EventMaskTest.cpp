// Bit edits, disable/enable of rows and decoding of the event masks.
#include "commands/io/EventMask.h"

#include <gtest/gtest.h>

namespace io = zx::commands::io;
using io::MaskKind;

namespace {

TEST(EventMaskBits, NibbleRoutines) {
    const struct {
        int bit, nibble, set, cleared;
    } cases[] = {{1, 0, 1, 0},    {2, 15, 15, 13}, {4, 15, 15, 11}, {8, 15, 15, 7},
                 {8, 7, 15, 7},   {3, 5, 5, 5},    {0, 0x1F, 0x1F, 15}, {16, 15, 15, 15}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.bit << "/" << c.nibble);
        EXPECT_EQ(io::HEXfromCheckBox(c.bit, c.nibble), c.set);
        EXPECT_EQ(io::HEXfromUnCheckBox(c.bit, c.nibble), c.cleared);
    }
}

TEST(EventMaskBits, CharacterValues) {
    EXPECT_EQ(io::maskValue('0'), 0);
    EXPECT_EQ(io::maskValue('9'), 9);
    EXPECT_EQ(io::maskValue('A'), 10);
    EXPECT_EQ(io::maskValue('F'), 15);
    EXPECT_EQ(io::maskValue('a'), 0);
    EXPECT_EQ(io::maskValue('-'), 0);
    EXPECT_EQ(io::maskDigit(14), 'E');
}

TEST(EventMaskBoxes, NumberBoxSequence) {
    const struct {
        MaskKind kind;
        const char *before;
        int row, column;
        bool checked;
        const char *after;
    } cases[] = {
        {MaskKind::Analog, "FFFFFFFF", 3, 2, false, "FFDFFFFF"},
        {MaskKind::Analog, "FFDFFFFF", 3, 2, true, "FFFFFFFF"},
        {MaskKind::Temperature, "FFF", 1, 1, false, "EFF"},
        {MaskKind::Temperature, "EFF", 1, 2, false, "CFF"},
        {MaskKind::Temperature, "CFF", 1, 3, false, "8FF"},
        {MaskKind::Temperature, "8FF", 1, 4, false, "0FF"},
        {MaskKind::Digital, "FFFFFFFFFFFF", 12, 4, false, "FFFFFFFFFFF7"},
        // A marker or any non-digit counts as 0 before the bit goes in.
        {MaskKind::Analog, "F-FFFFFF", 2, 3, true, "F4FFFFFF"},
        {MaskKind::Temperature, "a00", 1, 1, true, "100"},
        // An empty text counts as a run of "-".
        {MaskKind::Temperature, "", 2, 4, true, "-8-"},
        // A short stored text is brought to the mask's length; a longer one
        // keeps the characters beyond it.
        {MaskKind::Digital, "FF", 5, 1, true, "FF--1-------"},
        {MaskKind::Temperature, "FFFFF", 3, 1, false, "FFEFF"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << " row " << c.row << " col " << c.column);
        EXPECT_EQ(io::applyNumberBox(c.kind, c.before, c.row, c.column, c.checked),
                  QByteArray(c.after));
    }
}

TEST(EventMaskRows, DisableAndEnable) {
    // Digital row 5: marker "0"; the working copy edited while disabled comes back.
    io::MaskPair d = io::disableRow(MaskKind::Digital, "FFFFFFFFFFFF", QByteArray(12, '\0'), 5);
    EXPECT_EQ(d.mask, QByteArray("FFFF0FFFFFFF"));
    EXPECT_EQ(d.work[4], 'F');
    d.work = io::applyNumberBox(MaskKind::Digital, d.work, 5, 1, false);
    EXPECT_EQ(d.work[4], 'E');
    d = io::enableRow(MaskKind::Digital, d.mask, d.work, 5);
    EXPECT_EQ(d.mask, QByteArray("FFFFEFFFFFFF"));

    EXPECT_EQ(io::disableRow(MaskKind::Digital, "FFFFFFFFFFFF", "", 11).mask,
              QByteArray("FFFFFFFFFF-F"));
    const io::MaskPair a = io::disableRow(MaskKind::Analog, "FFFFFFFF", "", 2);
    EXPECT_EQ(a.mask, QByteArray("F-FFFFFF"));
    EXPECT_EQ(io::enableRow(MaskKind::Analog, a.mask, a.work, 2).mask, QByteArray("FFFFFFFF"));

    // A "-" restored on a temperature or analog row becomes "0"; digital keeps it.
    EXPECT_EQ(io::enableRow(MaskKind::Temperature, "-FF", "-00", 1).mask, QByteArray("0FF"));
    EXPECT_EQ(io::enableRow(MaskKind::Analog, "--------", "--------", 8).mask,
              QByteArray("-------0"));
    EXPECT_EQ(io::enableRow(MaskKind::Digital, "0000000000--", "------------", 12).mask,
              QByteArray("0000000000--"));
    // Rows outside the mask change nothing.
    EXPECT_EQ(io::disableRow(MaskKind::Temperature, "FFF", "000", 4).mask, QByteArray("FFF"));
}

TEST(EventMaskRows, Markers) {
    EXPECT_EQ(io::disabledMarker(MaskKind::Temperature, 1), '-');
    EXPECT_EQ(io::disabledMarker(MaskKind::Analog, 8), '-');
    EXPECT_EQ(io::disabledMarker(MaskKind::Digital, 1), '0');
    EXPECT_EQ(io::disabledMarker(MaskKind::Digital, 10), '0');
    EXPECT_EQ(io::disabledMarker(MaskKind::Digital, 11), '-');
    EXPECT_EQ(io::disabledMarker(MaskKind::Digital, 12), '-');
}

TEST(EventMaskDecode, StoredCharacters) {
    const struct {
        char c;
        bool disabled;
        std::array<bool, 4> numbers;
    } cases[] = {{'F', false, {true, true, true, true}},  {'B', false, {true, true, false, true}},
                 {'1', false, {true, false, false, false}}, {'8', false, {false, false, false, true}},
                 {'0', true, {}}, {'-', true, {}}, {'b', true, {}}, {' ', true, {}}, {'\0', true, {}},
                 {'G', true, {}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.c));
        const io::RowState s = io::decodeMaskChar(c.c);
        EXPECT_EQ(s.disabled, c.disabled);
        EXPECT_EQ(s.numbers, c.numbers);
    }
}

TEST(EventMaskLine, NumberFilter) {
    EXPECT_EQ(io::numberFilterLine("FFF", "FFFFFFFF", "FFFFFFFFFFFF"),
              QByteArray("SETME FFF  FFFFFFFF FFFFFFFFFFFF"));
    EXPECT_EQ(io::numberFilterLine("-FF", "F-FFFFFF", "0000000000--"),
              QByteArray("SETME -FF  F-FFFFFF 0000000000--"));
}

} // namespace
