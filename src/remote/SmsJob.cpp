#include "remote/SmsJob.h"

#include <array>

namespace zx::remote {
namespace {

const std::array<const char *, 5> kStateNames = {"to send", "handed", "answered", "refused",
                                                 "given up"};

} // namespace

QString smsStateName(SmsState state) { return QString::fromLatin1(kStateNames.at(std::size_t(state))); }

SmsState smsStateFromName(const QString &name) {
    for (std::size_t i = 0; i < kStateNames.size(); ++i)
        if (name == QLatin1String(kStateNames[i]))
            return SmsState(i);
    return SmsState::ToSend;
}

bool isFinal(SmsState state) {
    return state == SmsState::Answered || state == SmsState::Refused || state == SmsState::GivenUp;
}

QStringList SmsJob::modules() const {
    QStringList list;
    for (const SmsCommand &command : commands)
        if (!list.contains(command.module))
            list.append(command.module);
    return list;
}

QList<const SmsCommand *> SmsJob::commandsOf(const QString &module) const {
    QList<const SmsCommand *> list;
    for (const SmsCommand &command : commands)
        if (command.module == module)
            list.append(&command);
    return list;
}

int SmsJob::countIn(SmsState state) const {
    int count = 0;
    for (const SmsCommand &command : commands)
        count += command.state == state ? 1 : 0;
    return count;
}

int SmsJob::handOvers() const {
    int count = 0;
    for (const SmsCommand &command : commands)
        count += command.attempts;
    return count;
}

} // namespace zx::remote
