// The module's answers read back into the "Abonents", text and "GPRS, FTP"
// tabs: any text the line may bring.
#include "commands/messaging/GprsFtpCommands.h"
#include "commands/messaging/NumberAnswer.h"
#include "commands/messaging/TextAnswer.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray answer(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto numbers = zx::commands::messaging::parseNumberAnswer(answer);
    for (const auto &n : numbers.alarmNumbers)
        if (n && n->size() > answer.size())
            std::abort();
    for (const auto &n : numbers.phoneBook)
        if (n && n->size() > answer.size())
            std::abort();
    if (const auto t = zx::commands::messaging::parseExternalTextAnswer(answer))
        if (t->number < 1 || t->number > 57 || t->text.size() > answer.size())
            std::abort();
    if (const auto t = zx::commands::messaging::parseShortTextAnswer(answer))
        if (t->number < 1 || t->number > 97 || t->text.size() > answer.size())
            std::abort();
    (void)zx::commands::messaging::parseGprsFtpAnswer(answer);
    return 0;
}
