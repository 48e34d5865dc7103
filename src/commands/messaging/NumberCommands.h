#pragma once
// Lines of the "Abonents" numbers: the module's alarm numbers 1..7 and the
// administration numbers in its SIM phone book.
#include <QByteArray>

#include <optional>

namespace zx::commands::messaging {

inline constexpr int kNumberCount = 7;
inline constexpr int kNumberBoxLimit = 20;

// "GETNR3", "CLRNR3" for number 1..7.
QByteArray getAlarmNumberLine(int number);
QByteArray clearAlarmNumberLine(int number);

// An alarm number is sent only when its first 20 characters are at least
// three long, start with '+' or a digit, then a digit, then '+' or a digit.
bool alarmNumberAcceptable(const QByteArray &text);
// "SETNN3 " and the first 20 characters of the box; nothing for a number
// that fails the check.
std::optional<QByteArray> setAlarmNumberLine(int number, const QByteArray &text);

// The phone book is read whole; the blanks are part of the line on the wire.
inline constexpr char kReadPhoneBookLine[] = "  GETPB";
inline constexpr char kReadPhoneBookEcho[] = "GETPB";
inline constexpr char kPhoneBookFallback[] = "+99";

// The number the phone-book entry is written with: the box's text when its
// first 20 characters start with '+' or a digit followed by a digit, else
// "+99" (which the box then shows too).
QByteArray phoneBookNumberToSend(const QByteArray &text);
// "SETPB2 " and the number.
QByteArray setPhoneBookLine(int number, const QByteArray &phoneNumber);

} // namespace zx::commands::messaging
