#pragma once
// The "SETTF" line of the input filters: temperature timeout in columns 7-8,
// analog timeout in 10-11, digital input filter in 13. The full line comes
// from "Other"; each I/O tab sends only its own field.
#include <QByteArray>

namespace zx::commands::io {

// "SETTF " + temperature + " " + analog + " " + digital: "SETTF 05 12 3".
QByteArray timeoutFilterLine(int temperature, int analog, int digital);

// A two-digit field from the text of a display box: its first two
// characters; when the second is missing or not a digit, "0" + the first.
QByteArray twoDigitField(const QByteArray &displayText);

// "SETTF " + field + " " (9 characters).
QByteArray temperatureFilterLine(const QByteArray &displayText);
// "SETTF    " + field + " " (12 characters).
QByteArray analogFilterLine(const QByteArray &displayText);
// "SETTF       " + the display text (13 characters for one digit).
QByteArray digitalFilterLine(const QByteArray &displayText);

} // namespace zx::commands::io
