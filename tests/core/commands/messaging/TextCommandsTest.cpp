#include "commands/messaging/TextCommands.h"
#include "commands/messaging/TextAnswer.h"

#include <gtest/gtest.h>

using namespace zx::commands::messaging;

TEST(TextLines, NumberInTwoDigitsThenABlank) {
    struct Case {
        QByteArray line, expected;
    } const cases[] = {
        {textReadLine(TextTable::External, 12), "GETTX12 "},
        {textReadLine(TextTable::External, 5), "GETTX05 "},
        {textWriteLine(TextTable::External, 1, "Temperature 1 < MINIMUM"),
         "SETTX01 Temperature 1 < MINIMUM"},
        {textReadLine(TextTable::Short, 60), "GETTI60 "},
        {textWriteLine(TextTable::Short, 97, "OUT8 0"), "SETTI97 OUT8 0"},
        {textWriteLine(TextTable::Short, 9, ""), "SETTI09 "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.line, c.expected);
}

TEST(TextLines, StoredPartIsCutToTheSlot) {
    const QByteArray thirty(30, 'x');
    EXPECT_EQ(storedTextOf(TextTable::External, thirty), QByteArray(26, 'x'));
    EXPECT_EQ(storedTextOf(TextTable::Short, thirty), QByteArray(15, 'x'));
    EXPECT_EQ(storedTextOf(TextTable::Short, "abc"), QByteArray("abc"));
}

TEST(TextAnswers, ExternalKeepsTheLastCharacterShortDropsIt) {
    struct Case {
        const char *name;
        QByteArray answer;
        std::optional<int> external, shortNumber;
        QByteArray externalText, shortText;
    } const cases[] = {
        {"57", "57: Event INP12 1-0\r\n", 57, 57, "Event INP12 1-0\r\n", "Event INP12 1-0\r"},
        {"58", "58: INP1 1  ", std::nullopt, 58, "", "INP1 1 "},
        {"97", "97: OUT8 0x", std::nullopt, 97, "", "OUT8 0"},
        {"98", "98: x", std::nullopt, std::nullopt, "", ""},
        {"00", "00: x", std::nullopt, std::nullopt, "", ""},
        {"01", "01: a", 1, 1, "a", ""},
        {"non-digits", "AB: x", std::nullopt, std::nullopt, "", ""},
        // '/' is one below '0' and ';' eleven above: 10 x -1 + 11 = 1.
        {"codes that give 1", "/;: x", 1, 1, "x", ""},
        {"number only", "12", 12, 12, "", ""},
        {"one character", "1", std::nullopt, std::nullopt, "", ""},
        {"empty", "", std::nullopt, std::nullopt, "", ""},
        {"high bytes", "\xff\xff: x", std::nullopt, std::nullopt, "", ""},
    };
    for (const auto &c : cases) {
        const auto ext = parseExternalTextAnswer(c.answer);
        const auto sh = parseShortTextAnswer(c.answer);
        ASSERT_EQ(ext.has_value(), c.external.has_value()) << c.name;
        ASSERT_EQ(sh.has_value(), c.shortNumber.has_value()) << c.name;
        if (ext) {
            EXPECT_EQ(ext->number, *c.external) << c.name;
            EXPECT_EQ(ext->text, c.externalText) << c.name;
        }
        if (sh) {
            EXPECT_EQ(sh->number, *c.shortNumber) << c.name;
            EXPECT_EQ(sh->text, c.shortText) << c.name;
        }
    }
}
