#include "text/Ansi.h"

#include <gtest/gtest.h>

using zx::text::fromAnsi;
using zx::text::toAnsi;

TEST(Ansi, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(toAnsi(fromAnsi(all)), all);
}

TEST(Ansi, MapsTheCodePageSpecificCharacters) {
    struct Case {
        unsigned char byte;
        char16_t codePoint;
    } const cases[] = {{0x80, 0x20AC}, {0x9F, 0x0178}, {0xE4, 0x00E4}, {0x41, 'A'}, {0x8D, 0x008D}};
    for (const auto &c : cases) {
        const QByteArray one(1, static_cast<char>(c.byte));
        EXPECT_EQ(fromAnsi(one), QString(QChar(c.codePoint))) << int(c.byte);
        EXPECT_EQ(toAnsi(QString(QChar(c.codePoint))), one) << int(c.byte);
    }
}

TEST(Ansi, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(toAnsi(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));
}

TEST(Ansi, FirstNonAnsiFindsWhatWouldBecomeAQuestionMark) {
    struct Case {
        QString text;
        qsizetype position;
    } const cases[] = {
        {QStringLiteral("?\u20AC\u008D\u00FF"), -1}, // a real '?', the euro sign, undefined 0x8D, ÿ
        {QStringLiteral("ab\u4E2D"), 2},
        {QStringLiteral("\u0080"), 0}, // U+0080 has no byte: 0x80 is the euro sign
        {QString::fromUtf8("x\xF0\x9F\x98\x80"), 1}, // a surrogate pair
    };
    for (const Case &c : cases)
        EXPECT_EQ(zx::text::firstNonAnsi(c.text), c.position) << c.text.toStdString();
}
