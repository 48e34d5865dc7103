#include "commands/io/OptionCommands.h"

#include "commands/io/Digits.h"

namespace zx::commands::io {

char optionFlag(bool enabled) { return enabled ? 'E' : 'D'; }

QByteArray withOption(const QByteArray &options, int position, char c) {
    if (position < 1)
        return options;
    QByteArray out = options;
    if (out.size() < position)
        out.append(QByteArray(position - out.size(), ' '));
    out[position - 1] = c;
    return out;
}

QByteArray paddedOptions(const QByteArray &options) {
    QByteArray out = options.left(kOptionLength);
    if (out.size() < kOptionLength)
        out.append(QByteArray(kOptionLength - out.size(), ' '));
    return out;
}

QByteArray optionsLine(const QByteArray &options) { return "SETMP " + paddedOptions(options); }

QByteArray dateTimeSourceLine(int itemIndex) {
    return "DTFTP" + QByteArray(1, digitOf(itemIndex + 1));
}

} // namespace zx::commands::io
