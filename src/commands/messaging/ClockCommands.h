#pragma once
// The module's clock, status, version and restart commands.
#include <QByteArray>
#include <QDateTime>

namespace zx::commands::messaging {

inline constexpr char kReadStatusLine[] = "GETST";
inline constexpr char kVersionLine[] = "  GETVR";
inline constexpr char kVersionEcho[] = "GETVR";
inline constexpr char kGetClockLine[] = "  GETTM";
inline constexpr char kGetClockEcho[] = "GETTM";
inline constexpr char kRestartLine[] = "RSTRT";
inline constexpr char kDefaultTimeZone[] = "+02";

struct DateTimeFields {
    QByteArray date; // "yy/mm/dd,"
    QByteArray time; // "hh:mm:ss"
};
// Each number in decimal, a "0" put in front of a single digit, the first two
// characters used (the year counts from 2000).
DateTimeFields BuildDateTimeFields(const QDateTime &now);

// "SETTM yy/mm/dd,hh:mm:ss" and the first three characters of the time zone.
QByteArray setClockLine(const QDateTime &now, const QByteArray &timeZone);

} // namespace zx::commands::messaging
