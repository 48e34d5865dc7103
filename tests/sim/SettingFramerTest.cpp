#include "sim/SettingFramer.h"

#include <gtest/gtest.h>

using zx::sim::SettingFramer;

TEST(SettingFramer, CutsPrefixedAndRawLines) {
    const QByteArray prefix = "              SETUP:";
    struct Case {
        QList<QByteArray> chunks;
        QList<QByteArray> lines;
    };
    const Case cases[] = {
        {{prefix + "GETST\r" + '\0'}, {"GETST"}},
        {{prefix + "  OK\r" + '\0'}, {"  OK"}},
        {{"  AT+CSQ\r"}, {"  AT+CSQ"}},
        // One line over several chunks, and two lines in one chunk.
        {{prefix.left(7), prefix.mid(7) + "GET", "VR\r", QByteArray(1, '\0')}, {"GETVR"}},
        {{prefix + "SETOU1\r" + '\0' + prefix + "RSTOU2\r" + '\0'}, {"SETOU1", "RSTOU2"}},
        // Trailing blanks of padded lines stay; empty lines are dropped.
        {{prefix + "GETTX05 " + QByteArray(40, ' ') + "\r\0"}, {"GETTX05 " + QByteArray(40, ' ')}},
        {{"\r\r\n", QByteArray(3, '\0')}, {}},
        // Noise in front of the prefix does not hide the command.
        {{"\x07\xFFxx" + prefix + "GETVR\r" + '\0'}, {"GETVR"}},
        {{"SETUP:GETVR\r"}, {"GETVR"}},
        {{"  GETVR"}, {}}, // no CR yet
    };
    for (const Case &c : cases) {
        SettingFramer framer;
        QList<QByteArray> lines;
        for (const QByteArray &chunk : c.chunks)
            lines += framer.feed(chunk);
        EXPECT_EQ(lines, c.lines) << c.chunks.join("|").toHex().constData();
    }
}

TEST(SettingFramer, EndlessNoiseDoesNotGrowWithoutBound) {
    SettingFramer framer;
    for (int i = 0; i < 100; ++i)
        EXPECT_TRUE(framer.feed(QByteArray(1000, 'x')).isEmpty());
    const QList<QByteArray> lines = framer.feed("\r");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_LE(lines[0].size(), 1024);
    EXPECT_EQ(framer.feed("GETVR\r"), QList<QByteArray>{"GETVR"});
}
