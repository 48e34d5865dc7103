#pragma once
// Lines of the SMS text tables: the 57 external alarm texts ("GETTX"/"SETTX")
// and the 97 short texts, internal texts and input/output names
// ("GETTI"/"SETTI"). The send path pads these lines to their table width.
#include <QByteArray>

namespace zx::commands::messaging {

enum class TextTable { External, Short };

inline constexpr int kExternalTextCount = 57;
inline constexpr int kShortTextCount = 97;
// What a box takes when typed, and what the settings record keeps of it.
inline constexpr int kExternalBoxLimit = 24;
inline constexpr int kExternalStoredLength = 26;
inline constexpr int kShortBoxLimit = 15;
inline constexpr int kShortStoredLength = 15;

// "GETTX05 " / "GETTI60 ": keyword, the text number in two digits, a blank.
QByteArray textReadLine(TextTable table, int number);
// "SETTX05 " followed by the text.
QByteArray textWriteLine(TextTable table, int number, const QByteArray &text);
// The part of a written text the settings record keeps.
QByteArray storedTextOf(TextTable table, const QByteArray &text);

} // namespace zx::commands::messaging
