#include "commands/messaging/ClockCommands.h"

namespace zx::commands::messaging {
namespace {

QByteArray twoCharacters(int value) {
    QByteArray s = QByteArray::number(value);
    if (s.size() == 1)
        s.prepend('0');
    return s.left(2);
}

} // namespace

DateTimeFields BuildDateTimeFields(const QDateTime &now) {
    const QDate d = now.date();
    const QTime t = now.time();
    return {twoCharacters(d.year() - 2000) + '/' + twoCharacters(d.month()) + '/' +
                twoCharacters(d.day()) + ',',
            twoCharacters(t.hour()) + ':' + twoCharacters(t.minute()) + ':' +
                twoCharacters(t.second())};
}

QByteArray setClockLine(const QDateTime &now, const QByteArray &timeZone) {
    const DateTimeFields f = BuildDateTimeFields(now);
    return "SETTM " + f.date + f.time + timeZone.left(3);
}

} // namespace zx::commands::messaging
