#include "LinkDoubles.h"
#include "link/DisplayUnit.h"

#include <gtest/gtest.h>

using namespace zx::link;
using namespace zx::link::testing;

TEST(DisplayUnit, WritesPrintableCharactersAndBreaksLinesOnLf) {
    struct Case {
        QByteArray input;
        QString shown;
    } const cases[] = {
        {"OK", QStringLiteral("OK")},
        {"O\rK", QStringLiteral("OK")},
        {"A\nB", QStringLiteral("A\nB")},
        {"\xE4x", QStringLiteral(" x")},
        {QByteArray("a\0b", 3), QStringLiteral("a b")},
    };
    for (const auto &c : cases) {
        TextMemo memo;
        for (char ch : c.input)
            PutChar(memo, ch);
        EXPECT_EQ(memo.content, c.shown) << c.input.toHex().constData();
    }
}

TEST(DisplayUnit, EachMemoKeepsItsOwnCurrentLine) {
    // A line feed written into one memo must not hide later echoes in another.
    TextMemo reception, echo;
    PutLine(reception, "AT+CGMI");
    PutLine(reception, "AT+CGMM");
    echo.clear();
    PutString(echo, "GETST");
    EXPECT_EQ(echo.content, QStringLiteral("GETST"));
    EXPECT_EQ(reception.content, QStringLiteral("AT+CGMI\nAT+CGMM\n"));
    PutString(echo, "\t\x01");
    EXPECT_EQ(echo.content, QStringLiteral("GETST  "));
}

TEST(DisplayUnit, ReceivedBlocksBreakOnCrLfCrOrLfAndEndAtNul) {
    EXPECT_EQ(memoTextOf("OK\r\n"), QStringLiteral("OK\n"));
    EXPECT_EQ(memoTextOf("a\rb\nc"), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(memoTextOf(QByteArray("ab\0\r\n", 5)), QStringLiteral("ab"));
}
