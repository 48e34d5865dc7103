#pragma once
// Lines of the "Analog" tab and the analog queries of "Main".
#include <QByteArray>

#include <array>

namespace zx::commands::io {

inline constexpr int kAnalogCount = 8;

inline constexpr char kReadAnalogLine[] = "GETAN";
inline constexpr char kReadAnalogLevelLine[] = "ANLEV0";
inline constexpr char kReadReferenceLevelLine[] = "GETAN1";

// "ANLEV" + input + " " + minimum + " " + maximum, levels as two digits:
// input 3, 5 %, 95 % gives "ANLEV3 05 95".
QByteArray analogLevelLine(int input, int minimum, int maximum);

// "AMODE" + one digit per input (selected item index + 1) + " " + multiplier
// text + " " + divider text; the texts go as typed.
QByteArray analogModeLine(const std::array<int, kAnalogCount> &modeIndexes,
                          const QByteArray &multipliers, const QByteArray &dividers);

// "VALTX" + input + " " + value text + three blanks (seven for input 7).
QByteArray valueTextLine(int input, const QByteArray &text);

} // namespace zx::commands::io
