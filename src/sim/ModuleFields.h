#pragma once
// Reading the fixed-width fields of module command lines.
#include <QByteArray>

#include <optional>

namespace zx::sim::fields {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digit at index as a number when it lies in first..last.
inline std::optional<int> digitAt(const QByteArray &line, qsizetype index, int first = 0,
                                  int last = 9) {
    if (index < 0 || index >= line.size() || !isDigit(line[index]))
        return std::nullopt;
    const int value = line[index] - '0';
    if (value < first || value > last)
        return std::nullopt;
    return value;
}

// count decimal digits starting at index, nothing else.
inline std::optional<int> numberAt(const QByteArray &line, qsizetype index, qsizetype count) {
    if (index < 0 || index + count > line.size())
        return std::nullopt;
    int value = 0;
    for (qsizetype i = index; i < index + count; ++i) {
        if (!isDigit(line[i]))
            return std::nullopt;
        value = value * 10 + (line[i] - '0');
    }
    return value;
}

inline char charAt(const QByteArray &line, qsizetype index, char fallback = '\0') {
    return index >= 0 && index < line.size() ? line[index] : fallback;
}

inline bool charIs(const QByteArray &line, qsizetype index, char expected) {
    return index < line.size() && line[index] == expected;
}

// Leading blanks dropped, cut before the next blank.
inline QByteArray firstWord(const QByteArray &text) {
    qsizetype start = 0;
    while (start < text.size() && text[start] == ' ')
        ++start;
    const qsizetype end = text.indexOf(' ', start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

inline QByteArray withoutTrailingBlanks(QByteArray text) {
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

inline QByteArray padded(int value, qsizetype width) {
    return QByteArray::number(value).rightJustified(width, '0');
}

// "+012", "-010": sign and three digits.
inline QByteArray signedLevel(int value) {
    return (value < 0 ? "-" : "+") + padded(value < 0 ? -value : value, 3);
}

} // namespace zx::sim::fields
