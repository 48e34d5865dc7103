#include "commands/messaging/NumberAnswer.h"

namespace zx::commands::messaging {
namespace {

// Character at position p counted from 1; NUL outside the text.
char at(const QByteArray &s, qsizetype p) {
    return p >= 1 && p <= s.size() ? s[p - 1] : '\0';
}

// Index 0..6 of a digit '1'..'7', or -1.
int numberIndex(char c) {
    return c >= '1' && c <= '7' ? c - '1' : -1;
}

// The 20 characters that start two places after the colon, cut before the
// first blank; without a blank among them the value is empty.
QByteArray valueAfter(const QByteArray &answer, qsizetype colon) {
    const QByteArray field = answer.mid(colon + 2, kNumberBoxLimit);
    const qsizetype blank = field.indexOf(' ');
    return blank < 0 ? QByteArray() : field.left(blank);
}

// Entries of the form N, digit, separator, number, blank. p is the position
// of the blank that ended the previous entry (1 before the first).
void walkListing(const QByteArray &answer, NumberAnswerFill &fill) {
    QByteArray w = answer;
    qsizetype p = 1;
    for (int step = 0; step < kNumberCount; ++step) {
        const bool entryFollows = (at(w, p) == 'N' || at(w, p + 1) == 'N') && at(w, p) != 'I';
        if (!entryFollows)
            return;
        w = w.mid(p);
        const qsizetype blank = w.indexOf(' ');
        p = blank < 0 ? 0 : blank + 1;
        const int box = numberIndex(at(w, 2));
        if (box >= 0)
            fill.phoneBook[box] = p >= 5 ? w.mid(3, p - 4) : QByteArray();
        if (p == 0)
            return;
    }
}

} // namespace

NumberAnswerFill parseNumberAnswer(const QByteArray &answer) {
    NumberAnswerFill fill;
    const qsizetype colon = answer.indexOf(':');
    if (colon <= 0)
        return fill;
    const QByteArray key = answer.left(colon);
    const QByteArray value = valueAfter(answer, colon);

    if (key.size() >= 4 && numberIndex(key[3]) >= 0) {
        fill.alarmNumbers[numberIndex(key[3])] = value;
        return fill;
    }
    if (at(answer, 1) == 'N' || at(answer, 2) == 'N') {
        if (at(answer, 2) == '1')
            fill.phoneBook[0] = value;
        walkListing(answer, fill);
    }
    return fill;
}

} // namespace zx::commands::messaging
