#include "commands/messaging/NumberCommands.h"

namespace zx::commands::messaging {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isPlusOrDigit(char c) {
    return c == '+' || isDigit(c);
}

QByteArray withNumber(const char *keyword, int number) {
    return QByteArray(keyword) + QByteArray::number(number);
}

} // namespace

QByteArray getAlarmNumberLine(int number) {
    return withNumber("GETNR", number);
}

QByteArray clearAlarmNumberLine(int number) {
    return withNumber("CLRNR", number);
}

bool alarmNumberAcceptable(const QByteArray &text) {
    const QByteArray n = text.left(kNumberBoxLimit);
    return n.size() >= 3 && isPlusOrDigit(n[0]) && isDigit(n[1]) && isPlusOrDigit(n[2]);
}

std::optional<QByteArray> setAlarmNumberLine(int number, const QByteArray &text) {
    if (!alarmNumberAcceptable(text))
        return std::nullopt;
    return withNumber("SETNN", number) + ' ' + text.left(kNumberBoxLimit);
}

QByteArray phoneBookNumberToSend(const QByteArray &text) {
    const QByteArray n = text.left(kNumberBoxLimit);
    if (n.size() < 2 || !isPlusOrDigit(n[0]) || !isDigit(n[1]))
        return kPhoneBookFallback;
    return text;
}

QByteArray setPhoneBookLine(int number, const QByteArray &phoneNumber) {
    return withNumber("SETPB", number) + ' ' + phoneNumber;
}

} // namespace zx::commands::messaging
