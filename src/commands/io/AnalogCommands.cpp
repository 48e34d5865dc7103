#include "commands/io/AnalogCommands.h"

#include "commands/io/Digits.h"

namespace zx::commands::io {

QByteArray analogLevelLine(int input, int minimum, int maximum) {
    return "ANLEV" + QByteArray::number(input) + ' ' + twoDigits(minimum) + ' ' +
           twoDigits(maximum);
}

QByteArray analogModeLine(const std::array<int, kAnalogCount> &modeIndexes,
                          const QByteArray &multipliers, const QByteArray &dividers) {
    QByteArray line = "AMODE";
    for (int index : modeIndexes)
        line += digitOf(index + 1);
    return line + ' ' + multipliers + ' ' + dividers;
}

QByteArray valueTextLine(int input, const QByteArray &text) {
    const int trailingBlanks = input == 7 ? 7 : 3;
    return "VALTX" + QByteArray::number(input) + ' ' + text + QByteArray(trailingBlanks, ' ');
}

} // namespace zx::commands::io
