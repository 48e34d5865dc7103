#pragma once
// What the module takes, value by value, before a value becomes part of a
// command line. Every check returns empty when the value may go out, or one
// line saying what is allowed; the caller puts the entry's name in front.
// A password's characters never appear in what a check returns.
//
// The same rules decide a profile's import (characters), a plan's lines
// (everything) and a typed command (its whole line, see CommandTable.h).
#include <QByteArray>
#include <QString>

namespace zx::validate {

// A text of the record (Windows-1252): no control character anywhere (CR,
// LF, NUL, Ctrl-Z... would end the command early or start another).
QString textCharacters(const QByteArray &text, bool secret = false);

// A whole number within min..max, as the tab's scroll bar or radio group
// allows it: "-1 is outside 0..9".
QString inRange(qint64 value, qint64 min, qint64 max);

// An alarm number as "SETNR" sends it: empty (the module's entry is
// cleared) or, within 20 characters, "+" or a digit, a digit, "+" or a
// digit, then no blank (the module's answer ends a number at its first
// blank).
QString alarmNumber(const QByteArray &number);
// A phone-book number as "Number To SIM" sends it: empty (not sent) or
// "+" or a digit, then a digit, within 20 characters and without a blank.
QString phoneBookNumber(const QByteArray &number);

// One of the eight GPRS/FTP values: at most capacity characters, none of
// them a blank (the tab cuts a value at its first blank, and the module's
// answer could not carry it back).
QString networkValue(const QByteArray &value, int capacity, bool secret);

// An SMS text or a name: at most capacity characters, no control character.
QString smsText(const QByteArray &text, int capacity);

// An event mask: exactly length characters, each a hexadecimal digit
// "0".."9", "A".."F" or the "-" of a row without a digit.
QString eventMask(const QByteArray &mask, int length);

// A text that travels as one field of its line (analog multipliers and
// dividers, the option string, the schedule): at most length characters of
// printable ASCII; blankAllowed says whether a blank may be among them.
QString fieldText(const QByteArray &text, int length, bool blankAllowed);

} // namespace zx::validate
