#pragma once
// Reading the module's answers on the "Abonents" tab back into the number
// boxes: an alarm-number answer ("key:" with the number's digit as the
// fourth character of the key) or a phone-book listing ("N1:... N2:...").
#include "commands/messaging/NumberCommands.h"

#include <QByteArray>

#include <array>
#include <optional>

namespace zx::commands::messaging {

// What an answer fills: element k is box k + 1 ("NNumber1", "PBnr1", ...);
// an empty optional leaves the box alone.
struct NumberAnswerFill {
    std::array<std::optional<QByteArray>, kNumberCount> alarmNumbers;
    std::array<std::optional<QByteArray>, kNumberCount> phoneBook;
};

NumberAnswerFill parseNumberAnswer(const QByteArray &answer);

} // namespace zx::commands::messaging
