#pragma once
// Lines of the "Temperature, RT" tab and the temperature and runtime queries
// of "Main".
#include <QByteArray>

namespace zx::commands::io {

inline constexpr char kReadTemperatureLine[] = "GETTC";
inline constexpr char kReadTemperatureLevelLine[] = "TCLEV0";
inline constexpr char kReadTempHumidityLine[] = "GETTH";
inline constexpr char kReadRuntimeLine[] = "GETRT";
inline constexpr char kReadRuntimeSourceLine[] = "RTMODR";

// A temperature as sign and three digits: -10 gives "-010", 0 gives "+000".
QByteArray signedTemperature(int degrees);

// "TCLEV" + input + signed minimum + signed maximum (14 characters).
QByteArray temperatureLevelLine(int input, int minimum, int maximum);

// "RTLEV " + level 1 in five digits + " " + level 2 in five digits.
QByteArray runtimeLevelLine(int level1, int level2);

// A runtime divider position as four digits: 4 gives "0004".
QByteArray runtimeDivider(int position);

// "RTMOD" + input digit (item index + 1) + kind letter ("A" analog, "D"
// digital normal, "I" digital inversion) + the divider text as typed.
QByteArray runtimeSourceLine(int inputIndex, int kindIndex, const QByteArray &divider);

} // namespace zx::commands::io
