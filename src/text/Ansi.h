#pragma once
// Texts on the module, in the settings file and in SMS are single-byte
// Windows-1252 characters; the window works with QString. These two
// functions convert between the two without losing a byte that fits.
#include <QByteArray>
#include <QString>

namespace zx::text {

// Each byte becomes its Windows-1252 character; the five bytes that code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the same code point.
QString fromAnsi(const QByteArray &bytes);

// Each character becomes its Windows-1252 byte; a character the code page
// cannot hold becomes '?'.
QByteArray toAnsi(const QString &text);

// The position of the first character toAnsi would have to replace by '?',
// or -1 when every character has its Windows-1252 byte.
qsizetype firstNonAnsi(const QString &text);

} // namespace zx::text
