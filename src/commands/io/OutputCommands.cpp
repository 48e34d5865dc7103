#include "commands/io/OutputCommands.h"

#include "commands/io/Digits.h"

namespace zx::commands::io {
namespace {
constexpr int kParallelLineLimit = 16;
}

QByteArray setOutputLine(int output) { return "SETOU" + QByteArray::number(output); }

QByteArray resetOutputLine(int output) { return "RSTOU" + QByteArray::number(output); }

QByteArray getOutputLine(int output) { return "GETOS" + QByteArray::number(output); }

QByteArray getInputLine(int input) { return "GETIS" + twoDigits(input); }

QByteArray parallelOutputLine(const QByteArray &pattern) {
    return ("OUTP " + pattern).left(kParallelLineLimit);
}

OutputStates parallelOutputStates(const QByteArray &pattern) {
    OutputStates states{};
    for (int k = 0; k < kOutputCount && k < pattern.size(); ++k) {
        if (pattern[k] == '1')
            states[k] = true;
        else if (pattern[k] == '0')
            states[k] = false;
    }
    return states;
}

QByteArray outputIndicator(bool on) { return on ? QByteArray("ON ") : QByteArray("OFF"); }

QByteArray dataLoggerLine(int samplingRate, int period,
                          const std::array<int, kOutputCount> &pulses) {
    QByteArray line = "SETTN";
    line += digitOf(samplingRate);
    line += ' ';
    line += digitOf(period);
    line += ' ';
    for (int pulse : pulses)
        line += digitOf(pulse);
    return line;
}

} // namespace zx::commands::io
