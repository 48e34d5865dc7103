#include "commands/messaging/NumberCommands.h"
#include "commands/messaging/NumberAnswer.h"

#include <gtest/gtest.h>

using namespace zx::commands::messaging;

namespace {

using Boxes = std::array<std::optional<QByteArray>, kNumberCount>;

Boxes only(std::initializer_list<std::pair<int, QByteArray>> filled) {
    Boxes b;
    for (const auto &[n, text] : filled)
        b[std::size_t(n - 1)] = text;
    return b;
}

} // namespace

TEST(AlarmNumberLine, SentOnlyWhenTheFirstThreeCharactersFit) {
    struct Case {
        QByteArray box;
        std::optional<QByteArray> line;
    } const cases[] = {
        {"0171", "SETNN3 0171"},
        {"+4", std::nullopt},
        {"+4+", "SETNN3 +4+"},
        {"+491701234567", "SETNN3 +491701234567"},
        {"", std::nullopt},
        {"49", std::nullopt},
        {"4+9", std::nullopt}, // second character must be a digit
        {"a49", std::nullopt}, // first character '+' or a digit
        {"49a", std::nullopt}, // third character '+' or a digit
        {"++1", std::nullopt},
        {"123456789012345678901234", "SETNN3 12345678901234567890"}, // first 20 only
        {" 123", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(setAlarmNumberLine(3, c.box), c.line) << c.box.constData();
}

TEST(AlarmNumberLine, ReadAndClearCarryTheSelectedDigit) {
    EXPECT_EQ(getAlarmNumberLine(3), QByteArray("GETNR3"));
    EXPECT_EQ(clearAlarmNumberLine(7), QByteArray("CLRNR7"));
    EXPECT_EQ(getAlarmNumberLine(1), QByteArray("GETNR1"));
}

TEST(PhoneBookLine, ANumberThatFailsTheTwoCharacterCheckBecomesPlus99) {
    struct Case {
        QByteArray box, sent;
    } const cases[] = {
        {"", "+99"},  {"+", "+99"}, {"x1", "+99"},   {"+a", "+99"},          {"+1", "+1"},
        {"12", "12"}, {"+4", "+4"}, {" +49", "+99"}, {"+49 170", "+49 170"}, // the whole box goes
                                                                             // out
    };
    for (const auto &c : cases)
        EXPECT_EQ(phoneBookNumberToSend(c.box), c.sent) << c.box.constData();
    EXPECT_EQ(setPhoneBookLine(5, phoneBookNumberToSend("")), QByteArray("SETPB5 +99"));
    EXPECT_EQ(setPhoneBookLine(2, "+1234567"), QByteArray("SETPB2 +1234567"));
}

TEST(NumberAnswer, FillsTheBoxesTheAnswerNames) {
    struct Case {
        const char *name;
        QByteArray answer;
        Boxes alarm, book;
    } const cases[] = {
        {"alarm number 3", "Nr.3: +4917012 \r\n", only({{3, "+4917012"}}), {}},
        {"alarm number 7 via key digit", "GNR7: 0171 ", only({{7, "0171"}}), {}},
        {"no blank after the number", "NNR1: +49\r\n", only({{1, ""}}), {}},
        {"digit 8 is no alarm number", "NNR8: +49 ", {}, {}},
        {"key shorter than four", "AB3: +49 ", {}, {}},
        {"phone-book listing",
         "PN1:+111 N2:+222 N3:+333 ",
         {},
         only({{1, "+111"}, {2, "+222"}, {3, "+333"}})},
        // The walk stops at the blank after the colon: only the lead entry is read.
        {"listing led by N1", "N1: +111 N2:+222 ", {}, only({{1, "+111"}})},
        {"last entry without blank", "PN1:+111 N2:+222", {}, only({{1, "+111"}, {2, ""}})},
        {"no colon", "N1 +111 ", {}, {}},
        {"empty key", ":N1 +111 ", {}, {}},
        {"neither number nor listing", "OK: 1 ", {}, {}},
        {"empty", "", {}, {}},
        {"only the colon", "PN:", {}, {}},
    };
    for (const auto &c : cases) {
        const NumberAnswerFill fill = parseNumberAnswer(c.answer);
        EXPECT_EQ(fill.alarmNumbers, c.alarm) << c.name;
        EXPECT_EQ(fill.phoneBook, c.book) << c.name;
    }
}

TEST(NumberAnswer, ValueIsAtMostTwentyCharactersAndNeedsABlankAmongThem) {
    // 21 characters before the blank: no blank among the 20 taken, empty value.
    const NumberAnswerFill longNumber = parseNumberAnswer("NRX1: 123456789012345678901 ");
    EXPECT_EQ(longNumber.alarmNumbers[0], QByteArray());
    const NumberAnswerFill fits = parseNumberAnswer("NRX1: 1234567890123456789 ");
    EXPECT_EQ(fits.alarmNumbers[0], QByteArray("1234567890123456789"));
}

TEST(NumberAnswer, SevenStepsAtMost) {
    const NumberAnswerFill fill =
        parseNumberAnswer("PN1:1 N2:2 N3:3 N4:4 N5:5 N6:6 N7:7 N1:9 N2:9 ");
    EXPECT_EQ(fill.phoneBook,
              only({{1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6"}, {7, "7"}}));
}
