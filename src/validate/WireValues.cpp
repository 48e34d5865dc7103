#include "validate/WireValues.h"

#include "text/Ansi.h"

namespace zx::validate {
namespace {

// The bytes Windows-1252 leaves without a character.
bool undefinedInAnsi(quint8 c) {
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

bool isControl(quint8 c) { return c < 0x20 || c == 0x7F; }

QString controlName(quint8 c) {
    switch (c) {
    case 0x00: return QStringLiteral("NUL");
    case 0x09: return QStringLiteral("TAB");
    case 0x0A: return QStringLiteral("LF");
    case 0x0D: return QStringLiteral("CR");
    case 0x1A: return QStringLiteral("Ctrl-Z");
    case 0x1B: return QStringLiteral("ESC");
    case 0x7F: return QStringLiteral("DEL");
    default: return QStringLiteral("0x%1").arg(uint(c), 2, 16, QLatin1Char('0')).toUpper();
    }
}

// The value as an error shows it: quoted, or for a password not at all.
QString quoted(const QByteArray &value, bool secret) {
    return secret ? QStringLiteral("the password") : QStringLiteral("\"%1\"").arg(text::fromAnsi(value));
}

QString tooLong(const QByteArray &value, int capacity, bool secret) {
    return QStringLiteral("%1 has %2 characters, the module takes at most %3")
        .arg(quoted(value, secret))
        .arg(value.size())
        .arg(capacity);
}

QString asciiOnly(const QByteArray &value, bool blankAllowed) {
    for (qsizetype i = 0; i < value.size(); ++i) {
        const auto c = quint8(value[i]);
        if (c > 0x7E)
            return QStringLiteral("\"%1\": character %2 is not ASCII")
                .arg(text::fromAnsi(value))
                .arg(i + 1);
        if (c == ' ' && !blankAllowed)
            return QStringLiteral("\"%1\": character %2 is a blank, which would split the line's "
                                  "fields")
                .arg(text::fromAnsi(value))
                .arg(i + 1);
    }
    return {};
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isPlusOrDigit(char c) { return c == '+' || isDigit(c); }

QString number(const QByteArray &value, int leading, const char *allowed) {
    if (const QString why = textCharacters(value); !why.isEmpty())
        return why;
    if (value.size() > 20)
        return tooLong(value, 20, false);
    if (const qsizetype blank = value.indexOf(' '); blank >= 0)
        return QStringLiteral("\"%1\": character %2 is a blank; a number has none")
            .arg(text::fromAnsi(value))
            .arg(blank + 1);
    bool ok = value.size() >= leading && isPlusOrDigit(value[0]) && isDigit(value[1]);
    if (leading >= 3)
        ok = ok && isPlusOrDigit(value[2]);
    if (!ok)
        return QStringLiteral("\"%1\" is not a number the module takes (%2)")
            .arg(text::fromAnsi(value), QLatin1String(allowed));
    return asciiOnly(value, false);
}

} // namespace

QString textCharacters(const QByteArray &text, bool secret) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto c = quint8(text[i]);
        if (!isControl(c) && !undefinedInAnsi(c))
            continue;
        const QString what = isControl(c)
                                 ? QStringLiteral("a control character")
                                 : QStringLiteral("a byte without a Windows-1252 character");
        if (secret)
            return QStringLiteral("character %1 of the password is %2").arg(i + 1).arg(what);
        return QStringLiteral("character %1 is %2 (%3); a text must be one line of printable "
                              "characters")
            .arg(i + 1)
            .arg(what, isControl(c) ? controlName(c) : QStringLiteral("0x%1").arg(uint(c), 2, 16).toUpper());
    }
    return {};
}

QString inRange(qint64 value, qint64 min, qint64 max) {
    if (value >= min && value <= max)
        return {};
    return QStringLiteral("%1 is outside %2..%3").arg(value).arg(min).arg(max);
}

QString alarmNumber(const QByteArray &number) {
    if (number.isEmpty())
        return {};
    return validate::number(number, 3,
                            "\"+\" or a digit, a digit, \"+\" or a digit, then up to 17 more");
}

QString phoneBookNumber(const QByteArray &number) {
    if (number.isEmpty())
        return {};
    return validate::number(number, 2, "\"+\" or a digit, then a digit, up to 20 characters");
}

QString networkValue(const QByteArray &value, int capacity, bool secret) {
    if (const QString why = textCharacters(value, secret); !why.isEmpty())
        return why;
    if (value.size() > capacity)
        return tooLong(value, capacity, secret);
    if (const qsizetype blank = value.indexOf(' '); blank >= 0)
        return QStringLiteral("%1: character %2 is a blank; the module's answer ends a value at "
                              "its first blank, so a value has none")
            .arg(secret ? QStringLiteral("the password") : quoted(value, false))
            .arg(blank + 1);
    return {};
}

QString smsText(const QByteArray &text, int capacity) {
    if (const QString why = textCharacters(text); !why.isEmpty())
        return why;
    if (text.size() > capacity)
        return tooLong(text, capacity, false);
    return {};
}

QString eventMask(const QByteArray &mask, int length) {
    if (const QString why = textCharacters(mask); !why.isEmpty())
        return why;
    if (mask.size() != length)
        return QStringLiteral("\"%1\" has %2 characters, the mask has %3")
            .arg(text::fromAnsi(mask))
            .arg(mask.size())
            .arg(length);
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (!isDigit(c) && !(c >= 'A' && c <= 'F') && c != '-')
            return QStringLiteral("\"%1\": character %2 is not one of 0-9, A-F or \"-\"")
                .arg(text::fromAnsi(mask))
                .arg(i + 1);
    }
    return {};
}

QString fieldText(const QByteArray &text, int length, bool blankAllowed) {
    if (const QString why = textCharacters(text); !why.isEmpty())
        return why;
    if (text.size() > length)
        return tooLong(text, length, false);
    return asciiOnly(text, blankAllowed);
}

} // namespace zx::validate
