#pragma once
// The module's option string ("SETMP") and date/time source ("DTFTP").
#include <QByteArray>

namespace zx::commands::io {

inline constexpr int kOptionLength = 16;
inline constexpr char kInitialOptions[] = "MPEDEDDDDEEDEDE";
inline constexpr char kReadOptionsLine[] = "GETMP";

// "E" for a ticked option box, "D" otherwise.
char optionFlag(bool enabled);

// The option text with character position (1-based) replaced by c; a text
// too short for the position is first filled with blanks.
QByteArray withOption(const QByteArray &options, int position, char c);

// The option text as sent: filled with blanks to 16 characters (a longer
// text is cut to 16).
QByteArray paddedOptions(const QByteArray &options);

// "SETMP " + the 16 padded characters (22 characters).
QByteArray optionsLine(const QByteArray &options);

// "DTFTP" + (item index + 1): "DTFTP1".."DTFTP7".
QByteArray dateTimeSourceLine(int itemIndex);

} // namespace zx::commands::io
