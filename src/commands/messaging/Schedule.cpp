#include "commands/messaging/Schedule.h"

namespace zx::commands::messaging {
namespace {

constexpr char kTypeLetters[] = {'A', 'T', 'D', '3', '5', '6', '7', 'P', '8', '9'};
constexpr int kLetterCount = int(sizeof kTypeLetters);
constexpr char kRepetitionDigits[] = {'3', '4', '5', '6'};
constexpr int kHoursPerDay = 24;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

void ScheduleString::load(const QByteArray &stored) {
    const QByteArray kept = stored.left(kCapacity);
    places_ = kept + QByteArray(kCapacity - kept.size(), '\0');
    length_ = int(kept.size());
}

char ScheduleString::at(int position) const {
    return position >= 1 && position <= kCapacity ? places_[position - 1] : '\0';
}

void ScheduleString::setAt(int position, char c) {
    if (position >= 1 && position <= kCapacity)
        places_[position - 1] = c;
}

void ScheduleString::setPair(int pair, const QByteArray &two) {
    setAt(2 * pair, two.size() > 0 ? two[0] : ' ');
    setAt(2 * pair + 1, two.size() > 1 ? two[1] : ' ');
}

char scheduleTypeLetter(int item) {
    return item >= 0 && item < kLetterCount ? kTypeLetters[item] : ' ';
}

QByteArray repetitionCode(int item) {
    if (item < 0 || item >= int(sizeof kRepetitionDigits))
        return {};
    return QByteArray(2, kRepetitionDigits[item]);
}

QByteArray hourPair(int hour) {
    return QByteArray::number(hour).rightJustified(2, '0');
}

QByteArray buildSetScheduleLine(ScheduleString &s, const ScheduleControls &controls) {
    // An empty string becomes nine blanks. A shorter one (only a damaged
    // settings file holds one) is filled up with blanks the same way, so the
    // line always carries the whole schedule.
    if (s.length() < ScheduleString::kCapacity)
        s.load(s.text().leftJustified(ScheduleString::kCapacity, ' '));
    for (int k = 0; k < kScheduleHours; ++k)
        if (controls.enabled[k])
            s.setPair(k + 1, hourPair(controls.hours[k]));

    ScheduleString line = s;
    const QByteArray code = repetitionCode(controls.repetitionItem);
    if (!code.isEmpty())
        line.setPair(1, code);
    if (controls.typeItem >= 0 && controls.typeItem < kLetterCount)
        line.setAt(1, scheduleTypeLetter(controls.typeItem));
    else
        line.load(QByteArray(ScheduleString::kCapacity, ' '));
    s = line;
    return "SETSH " + line.text();
}

ScheduleDecoding decodeSchedule(const ScheduleString &s) {
    ScheduleDecoding d;
    for (int k = 0; k < kScheduleHours; ++k) {
        const char first = s.at(2 * k + 2);
        const char second = s.at(2 * k + 3);
        if (!isDigit(first) || !isDigit(second))
            continue;
        const int v = 10 * (first - '0') + (second - '0');
        // Pair 1 may carry a repetition code; it leaves the first bar at 0.
        d.hours[k] = (k == 0 && v >= kHoursPerDay) ? 0 : v;
        d.enabled[k] = true;
    }
    for (int item = 0; item < kLetterCount; ++item)
        if (s.at(1) == kTypeLetters[item])
            d.typeItem = item;

    const char code = s.at(2);
    bool isCode = false;
    for (int item = 0; item < int(sizeof kRepetitionDigits); ++item) {
        if (code != kRepetitionDigits[item])
            continue;
        isCode = true;
        if (s.at(3) == code)
            d.repetitionItem = item;
    }
    if (!isCode)
        d.repetitionItem = kRepetitionOther;
    return d;
}

} // namespace zx::commands::messaging
