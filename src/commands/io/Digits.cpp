#include "commands/io/Digits.h"

#include <algorithm>
#include <cstdlib>

namespace zx::commands::io {

QByteArray zeroPadded(int value, int width) {
    QByteArray magnitude = QByteArray::number(std::abs(qint64(value)));
    if (magnitude.size() < width)
        magnitude.prepend(QByteArray(width - magnitude.size(), '0'));
    return value < 0 ? '-' + magnitude : magnitude;
}

char digitOf(int value) { return char('0' + std::clamp(value, 0, 9)); }

} // namespace zx::commands::io
