#pragma once
// Fixed-width decimal fields of the module's command lines.
#include <QByteArray>

namespace zx::commands::io {

// value in decimal, left-padded with '0' to at least width digits; a negative
// value keeps its sign in front of the padded magnitude.
QByteArray zeroPadded(int value, int width);

// A level field "00".."99".
inline QByteArray twoDigits(int value) { return zeroPadded(value, 2); }

// One decimal digit, a value outside 0..9 clamped into it.
char digitOf(int value);

} // namespace zx::commands::io
