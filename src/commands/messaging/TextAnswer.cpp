#include "commands/messaging/TextAnswer.h"

#include "commands/messaging/TextCommands.h"

namespace zx::commands::messaging {
namespace {

// The number read from the codes of the first two characters, whatever they
// are: 10 x (first - '0') + (second - '0').
std::optional<int> leadingNumber(const QByteArray &answer) {
    if (answer.size() < 2)
        return std::nullopt;
    const int tens = static_cast<unsigned char>(answer[0]) - '0';
    const int ones = static_cast<unsigned char>(answer[1]) - '0';
    return 10 * tens + ones;
}

constexpr qsizetype kTextStart = 4;

} // namespace

std::optional<TextAnswer> parseExternalTextAnswer(const QByteArray &answer) {
    const std::optional<int> n = leadingNumber(answer);
    if (!n || *n < 1 || *n > kExternalTextCount)
        return std::nullopt;
    return TextAnswer{*n, answer.mid(kTextStart)};
}

std::optional<TextAnswer> parseShortTextAnswer(const QByteArray &answer) {
    const std::optional<int> n = leadingNumber(answer);
    if (!n || *n < 1 || *n > kShortTextCount)
        return std::nullopt;
    const qsizetype length = answer.size() - 1 - kTextStart;
    return TextAnswer{*n, length > 0 ? answer.mid(kTextStart, length) : QByteArray()};
}

} // namespace zx::commands::messaging
