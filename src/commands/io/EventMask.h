#pragma once
// The event masks: one upper-case hexadecimal character per event source,
// whose bits 1, 2, 4, 8 send the source's events to alarm numbers 1..4. A
// disabled row shows a marker instead of its digit; its real digit waits in
// a working copy.
#include <QByteArray>

#include <array>

namespace zx::commands::io {

enum class MaskKind { Temperature, Analog, Digital };

inline constexpr int kNumberColumns = 4;

// Rows of a mask: 3 temperature/runtime, 8 analog, 12 digital.
int maskLength(MaskKind kind);

// Hexadecimal value of a mask character: "0".."9", "A".."F"; anything else 0.
int maskValue(char c);
// Upper-case hexadecimal digit of v (0..15).
char maskDigit(int v);

// Bit value of number column c (1..4): 1, 2, 4, 8.
int columnBit(int column);
// The nibble with bit set; a bit other than 1, 2, 4, 8 leaves it unchanged.
int HEXfromCheckBox(int bit, int nibble);
// The nibble with bit cleared, kept within four bits.
int HEXfromUnCheckBox(int bit, int nibble);

// A mask text brought to at least the mask's length: an empty or short text
// is filled with "-" (a source row without a digit). A longer text, which only
// a settings file written elsewhere can hold, keeps its extra characters, so
// that a save stores it as it was read.
QByteArray normalizedMask(MaskKind kind, const QByteArray &text);

// A number box of (row, column) now shows checked: the source text with the
// bit of that column set or cleared in character row (rows count from 1).
QByteArray applyNumberBox(MaskKind kind, const QByteArray &source, int row, int column,
                          bool checked);

// The marker a disabled row shows: "-", except "0" for digital rows 1..10.
char disabledMarker(MaskKind kind, int row);

// The mask edit and the working copy of one mask after a "Disable" box changed.
struct MaskPair {
    QByteArray mask;
    QByteArray work;
};
// Row disabled: the edit's character moves into the working copy and the
// edit shows the marker.
MaskPair disableRow(MaskKind kind, const QByteArray &mask, const QByteArray &work, int row);
// Row enabled: the working copy's character comes back into the edit; for
// temperature and analog rows a "-" comes back as "0".
MaskPair enableRow(MaskKind kind, const QByteArray &mask, const QByteArray &work, int row);

// How a stored mask character sets its row: "1".."9", "A".."F" enable the
// row with the boxes of its bits (index 0 = bit value 1); anything else,
// "0" included, disables the row with every box cleared.
struct RowState {
    bool disabled = true;
    std::array<bool, kNumberColumns> numbers{};
};
RowState decodeMaskChar(char c);

// "SETME " + temperature mask + two blanks + analog mask + one blank + digital mask.
QByteArray numberFilterLine(const QByteArray &temperature, const QByteArray &analog,
                            const QByteArray &digital);

} // namespace zx::commands::io
