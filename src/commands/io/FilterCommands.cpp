#include "commands/io/FilterCommands.h"

#include "commands/io/Digits.h"

namespace zx::commands::io {

QByteArray timeoutFilterLine(int temperature, int analog, int digital) {
    return "SETTF " + twoDigits(temperature) + ' ' + twoDigits(analog) + ' ' +
           QByteArray::number(digital);
}

QByteArray twoDigitField(const QByteArray &displayText) {
    const char first = displayText.isEmpty() ? '0' : displayText[0];
    const bool secondIsDigit =
        displayText.size() >= 2 && displayText[1] >= '0' && displayText[1] <= '9';
    if (secondIsDigit)
        return displayText.left(2);
    return QByteArray("0") + first;
}

QByteArray temperatureFilterLine(const QByteArray &displayText) {
    return "SETTF " + twoDigitField(displayText) + ' ';
}

QByteArray analogFilterLine(const QByteArray &displayText) {
    return "SETTF    " + twoDigitField(displayText) + ' ';
}

QByteArray digitalFilterLine(const QByteArray &displayText) {
    return "SETTF       " + displayText;
}

} // namespace zx::commands::io
