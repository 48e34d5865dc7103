#pragma once
// Reading the module's answers to "GETTX"/"GETTI" back into the text boxes.
// An answer starts with the text number in two digits, two more characters
// (normally a colon and a blank), then the text.
#include <QByteArray>

#include <optional>

namespace zx::commands::messaging {

struct TextAnswer {
    int number = 0;
    QByteArray text;
};

// "External SMS": numbers 1..57; the text runs to the end of the answer.
std::optional<TextAnswer> parseExternalTextAnswer(const QByteArray &answer);
// "Int/Ext SMS" and "IOname": numbers 1..97; the answer's last character is
// dropped.
std::optional<TextAnswer> parseShortTextAnswer(const QByteArray &answer);

} // namespace zx::commands::messaging
