#include "commands/io/TemperatureCommands.h"

#include "commands/io/Digits.h"

#include <algorithm>

namespace zx::commands::io {

QByteArray signedTemperature(int degrees) {
    const QByteArray field = zeroPadded(degrees, 3);
    return degrees < 0 ? field : '+' + field;
}

QByteArray temperatureLevelLine(int input, int minimum, int maximum) {
    return "TCLEV" + QByteArray::number(input) + signedTemperature(minimum) +
           signedTemperature(maximum);
}

QByteArray runtimeLevelLine(int level1, int level2) {
    return "RTLEV " + zeroPadded(level1, 5) + ' ' + zeroPadded(level2, 5);
}

QByteArray runtimeDivider(int position) { return zeroPadded(position, 4); }

QByteArray runtimeSourceLine(int inputIndex, int kindIndex, const QByteArray &divider) {
    static constexpr char kKinds[] = {'A', 'D', 'I'};
    return "RTMOD" + QByteArray(1, digitOf(inputIndex + 1)) +
           kKinds[std::clamp(kindIndex, 0, 2)] + divider;
}

} // namespace zx::commands::io
