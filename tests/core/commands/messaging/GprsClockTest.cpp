#include "commands/messaging/ClockCommands.h"
#include "commands/messaging/GprsFtpCommands.h"

#include <gtest/gtest.h>

using namespace zx::commands::messaging;

namespace {

int parameterOf(const char *box) {
    for (int i = 0; i < kGprsFtpCount; ++i)
        if (QByteArray(kGprsFtpParameters[std::size_t(i)].box) == box)
            return i;
    return -1;
}

} // namespace

TEST(GprsFtpWrite, TextIsCutAtItsFirstBlank) {
    struct Case {
        const char *box;
        QByteArray text, line;
        std::optional<QByteArray> boxAfter;
    } const cases[] = {
        {"UserID", "first second", "SETID first", "first"},
        {"UserID", "", "SETID ", std::nullopt},
        {"UserID", " lead", "SETID ", ""},
        {"UserID", "plain", "SETID plain", std::nullopt},
        {"APN", "", "SETAP    ", std::nullopt},
        {"APN", " web.apn", "SETAP    ", std::nullopt},
        {"APN", "\tweb", "SETAP    ", std::nullopt},
        {"APN", "internet.t-d1.de x", "SETAP internet.t-d1.de", "internet.t-d1.de"},
        {"Password", "secret", "SETPW secret", std::nullopt},
        {"IPaddress", "0.0.0.0", "SETIP 0.0.0.0", std::nullopt},
        {"FTPHostName", "ftp.example.org", "SETFT ftp.example.org", std::nullopt},
        {"UserNameFTP", "u", "SETAF u", std::nullopt},
        {"PasswordFTP", "p w", "SETPF p", "p"},
        {"DirName", "/log", "SETDN /log", std::nullopt},
    };
    for (const auto &c : cases) {
        const GprsFtpWrite w = gprsFtpWrite(parameterOf(c.box), c.text);
        EXPECT_EQ(w.line, c.line) << c.box << " " << c.text.constData();
        EXPECT_EQ(w.boxText, c.boxAfter) << c.box << " " << c.text.constData();
    }
}

TEST(GprsFtpAnswer, KeyMustMatchExactly) {
    struct Case {
        QByteArray answer;
        const char *box; // nullptr: nothing filled
        QByteArray value;
    } const cases[] = {
        {"UserID: x", "UserID", "x"},
        {"USERID: x", nullptr, ""},
        {"PASSWORD: pw  ", "Password", "pw  "},
        {"Password FTP: pf\r\n", "PasswordFTP", "pf\r\n"},
        {"Password: pw", nullptr, ""},
        {"APN: internet", "APN", "internet"},
        {"IP address: 1.2.3.4", "IPaddress", "1.2.3.4"},
        {"FTPURL: host:21", "FTPHostName", "host:21"},
        {"UserName FTP: u", "UserNameFTP", "u"},
        {"DirName:", "DirName", ""},
        {"UserID x", nullptr, ""},
        {"", nullptr, ""},
        {": x", nullptr, ""},
    };
    for (const auto &c : cases) {
        const auto a = parseGprsFtpAnswer(c.answer);
        if (!c.box) {
            EXPECT_FALSE(a.has_value()) << c.answer.constData();
            continue;
        }
        ASSERT_TRUE(a.has_value()) << c.answer.constData();
        EXPECT_EQ(a->parameter, parameterOf(c.box)) << c.answer.constData();
        EXPECT_EQ(a->value, c.value) << c.answer.constData();
    }
}

TEST(GprsFtpTable, ReadLinesAndKeywordsAreFiveLettersAndABlank) {
    for (const auto &p : kGprsFtpParameters) {
        EXPECT_EQ(QByteArray(p.readLine).size(), 6) << p.box;
        EXPECT_TRUE(QByteArray(p.readLine).startsWith("GET")) << p.box;
        EXPECT_EQ(QByteArray(p.writeKeyword).mid(3), QByteArray(p.readLine).mid(3)) << p.box;
    }
}

TEST(ClockLine, FieldsAreTwoCharactersEach) {
    struct Case {
        QDateTime at;
        QByteArray zone, line;
    } const cases[] = {
        {{QDate(2027, 2, 1), QTime(9, 5, 3)}, "+02", "SETTM 27/02/01,09:05:03+02"},
        {{QDate(2026, 12, 6), QTime(18, 30, 5)}, "+02", "SETTM 26/12/06,18:30:05+02"},
        {{QDate(2000, 1, 1), QTime(0, 0, 0)}, "-0530", "SETTM 00/01/01,00:00:00-05"},
        // Year 2105: 105 written out, its first two characters used.
        {{QDate(2105, 7, 9), QTime(23, 59, 59)}, "+02", "SETTM 10/07/09,23:59:59+02"},
        {{QDate(2030, 3, 4), QTime(1, 2, 3)}, "", "SETTM 30/03/04,01:02:03"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(setClockLine(c.at, c.zone), c.line);
    const DateTimeFields f = BuildDateTimeFields({QDate(2026, 12, 6), QTime(18, 30, 5, 990)});
    EXPECT_EQ(f.date, QByteArray("26/12/06,"));
    EXPECT_EQ(f.time, QByteArray("18:30:05"));
}
