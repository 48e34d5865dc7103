// The traffic log: its bound under a flood, the masking of password values
// however the stream is cut into chunks, and the text and hex lines.
#include "common/Wire.h"
#include "traffic/TrafficFormat.h"
#include "traffic/TrafficLog.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QRegularExpression>

namespace zx::traffic {
namespace {

using zx::testing::framed;

QByteArray joined(const TrafficLog &log, Direction direction) {
    QByteArray all;
    for (const Entry &e : log.entries())
        if (e.direction == direction)
            all += e.bytes;
    return all;
}

TEST(TrafficFormat, ControlCharactersShowByNameAndHexAsOctets) {
    const struct {
        QByteArray bytes;
        const char *text;
        const char *hex;
    } cases[] = {
        {"AT+CMGS=17\r", "AT+CMGS=17<CR>", "41 54 2B 43 4D 47 53 3D 31 37 0D"},
        {QByteArray("OK\r\n\0\x1A", 6), "OK<CR><LF><NUL><^Z>", "4F 4B 0D 0A 00 1A"},
        {"\x1B\x01\t\x1F\x7F", "<ESC><^A><TAB><^_><DEL>", "1B 01 09 1F 7F"},
        {"\xE9\x80<x>", "<xE9><x80><x>", "E9 80 3C 78 3E"},
        {"", "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(visibleText(c.bytes), QLatin1String(c.text)) << c.text;
        EXPECT_EQ(hexText(c.bytes), QLatin1String(c.hex)) << c.text;
    }

    // A run of one direction within one millisecond is one line.
    qint64 now = 1'700'000'000'123;
    TrafficLog log(TrafficLog::kDefaultBound, [&] { return now; });
    log.record(Direction::Sent, "AT+CMGS=");
    log.record(Direction::Sent, "7\r");
    log.record(Direction::Received, "\r\n> ");
    now += 5;
    log.record(Direction::Sent, "0011\x1A");
    const QList<Entry> all(log.entries().begin(), log.entries().end());
    const QStringList text = formatLines(all, View::Text);
    const QStringList hex = formatLines(all, View::Hex);
    ASSERT_EQ(text.size(), 3);
    ASSERT_EQ(hex.size(), 3);
    const QRegularExpression stamp(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.(\d{3}) )"));
    const char *const texts[] = {"TX AT+CMGS=7<CR>", "RX <CR><LF>> ", "TX 0011<^Z>"};
    const char *const hexes[] = {"TX 41 54 2B 43 4D 47 53 3D 37 0D", "RX 0D 0A 3E 20",
                                 "TX 30 30 31 31 1A"};
    const char *const millis[] = {"123", "123", "128"};
    for (int i = 0; i < 3; ++i) {
        const auto m = stamp.match(text[i]);
        ASSERT_TRUE(m.hasMatch()) << text[i].toStdString();
        EXPECT_EQ(m.captured(1), QLatin1String(millis[i]));
        EXPECT_EQ(text[i].mid(m.capturedLength()), QLatin1String(texts[i]));
        EXPECT_EQ(hex[i].mid(m.capturedLength()), QLatin1String(hexes[i]));
    }
}

TEST(TrafficLog, PasswordValuesAreMaskedHoweverTheStreamIsCut) {
    const struct {
        Direction direction;
        QByteArray stream;
        QByteArray expected;
        QByteArray secret;
    } cases[] = {
        {Direction::Sent, framed("SETPW gprs$ecret") + framed("GETVR"),
         framed("SETPW ********") + framed("GETVR"), "gprs$ecret"},
        {Direction::Sent, framed("SETPF ftpSecret1"), framed("SETPF ********"), "ftpSecret1"},
        {Direction::Received, "OK\r\nPASSWORD: gprs$ecret\r\nPassword FTP: ftpSecret1\r\n",
         "OK\r\nPASSWORD:********\r\nPassword FTP:********\r\n", "$ecret"},
        // The other parameters stay readable.
        {Direction::Sent, framed("SETID user7") + framed("SETAF ftpuser"),
         framed("SETID user7") + framed("SETAF ftpuser"), "\x01"},
    };
    for (const auto &c : cases) {
        for (qsizetype cut = 0; cut <= c.stream.size(); ++cut) {
            TrafficLog log;
            log.record(c.direction, QByteArrayView(c.stream).first(cut));
            log.record(c.direction, QByteArrayView(c.stream).sliced(cut));
            const QByteArray kept = joined(log, c.direction);
            EXPECT_EQ(kept, c.expected) << "cut at " << cut << ": " << kept.toStdString();
            EXPECT_FALSE(kept.contains(c.secret)) << cut;
        }
        // Byte by byte, as the link types a text out.
        TrafficLog log;
        for (const char ch : c.stream)
            log.record(c.direction, QByteArrayView(&ch, 1));
        EXPECT_EQ(joined(log, c.direction), c.expected);
    }
}

TEST(TrafficLog, StaysWithinItsBoundUnderAFloodAndKeepsTheNewest) {
    QRandomGenerator random(15);
    qint64 clock = 1000;
    for (const qsizetype bound : {qsizetype(64 * 1024), TrafficLog::kDefaultBound}) {
        // The clock going back now and then does not reorder the log.
        TrafficLog log(bound, [&] { return clock += random.bounded(-3, 5); });
        qsizetype fed = 0;
        quint64 serials = 0;
        QByteArray last;
        while (fed < 3 * bound) {
            const int length = random.bounded(1, 700);
            last = QByteArray(length, char('A' + random.bounded(26)));
            log.record(random.bounded(2) ? Direction::Sent : Direction::Received, last);
            fed += length;
            ++serials;
            ASSERT_LE(log.size(), bound);
        }
        qsizetype held = 0;
        qint64 previous = 0;
        quint64 serial = log.entries().front().serial;
        for (const Entry &e : log.entries()) {
            held += e.bytes.size() + TrafficLog::kEntryCost;
            EXPECT_GE(e.msecs, previous);
            previous = e.msecs;
            EXPECT_EQ(e.serial, serial++);
        }
        EXPECT_EQ(held, log.size());
        // Full up to less than one more entry, the oldest gone, the newest kept.
        EXPECT_GT(log.size(), bound - 700 - TrafficLog::kEntryCost);
        EXPECT_GT(log.entries().front().serial, 1u);
        EXPECT_EQ(log.entries().back().serial, serials);
        EXPECT_EQ(log.entries().back().bytes, last);
        EXPECT_EQ(log.nextSerial(), serials + 1);
        const QList<Entry> tail = log.since(serials - 1);
        ASSERT_EQ(tail.size(), 2);
        EXPECT_EQ(tail.front().serial, serials - 1);
        EXPECT_TRUE(log.since(serials + 1).isEmpty());
        // A smaller bound drops the oldest at once and keeps the newest.
        log.setBound(bound / 4);
        EXPECT_LE(log.size(), bound / 4);
        EXPECT_GT(log.size(), bound / 4 - 700 - TrafficLog::kEntryCost);
        EXPECT_EQ(log.entries().back().serial, serials);
    }
}

} // namespace
} // namespace zx::traffic
