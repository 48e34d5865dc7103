#pragma once
// Lines of the "IO control" tab: single outputs, output and input queries,
// the parallel output pattern and the data-logger parameters.
#include <QByteArray>

#include <array>
#include <optional>

namespace zx::commands::io {

inline constexpr int kOutputCount = 8;
inline constexpr int kInputCount = 12;

// "SETOU3" / "RSTOU3" for output 1..8.
QByteArray setOutputLine(int output);
QByteArray resetOutputLine(int output);
// "GETOS1".."GETOS8"; output 0 asks for all outputs ("GETOS0").
QByteArray getOutputLine(int output);
// "GETIS01".."GETIS12"; input 0 asks for all inputs ("GETIS00").
QByteArray getInputLine(int input);

// "OUTP " and the pattern as typed, the whole line cut at 16 characters.
QByteArray parallelOutputLine(const QByteArray &pattern);

// What a pattern commands for each output: character k of the pattern, "1"
// = on, "0" = off, anything else or missing = leave the indicator alone.
using OutputStates = std::array<std::optional<bool>, kOutputCount>;
OutputStates parallelOutputStates(const QByteArray &pattern);

// The text of an output indicator: "ON " (trailing blank) or "OFF".
QByteArray outputIndicator(bool on);

// "SETTN" + sampling-rate digit + " " + period digit + " " + the eight pulse
// digits; every position is sent as one digit (above 9 as "9"). 17 characters.
QByteArray dataLoggerLine(int samplingRate, int period,
                          const std::array<int, kOutputCount> &pulses);

} // namespace zx::commands::io
