// The run report as it leaves the tool: CSV whose every line has the
// header's fields, and no password in any form an answer may bring one.
#include "provision/Report.h"

#include <gtest/gtest.h>

#include <QJsonDocument>

namespace zx::provision {
namespace {

CommandResult result(const QByteArray &line, const QByteArray &answer, bool secret = false,
                     const QString &kind = QStringLiteral("write")) {
    CommandResult r;
    r.command = {line, QStringLiteral("GprsApn"), secret, kind};
    r.status = Status::Answered;
    r.answer = answer;
    r.firstByteMs = 3;
    r.endMs = 9;
    return r;
}

// Answers that carry a password however they came: by the command, by the
// answer's key, as a modem's echo of the password line, late behind
// another command's answer.
TEST(ProvisionReport, APasswordNeverShowsWhateverCommandItCameWith) {
    const struct {
        CommandResult r;
        const char *shown;
    } cases[] = {
        {result("GETPW ", "PASSWORD: Geheim1\r\n", true, QStringLiteral("read")), "(password)"},
        {result("SETPW Geheim1", "OK\r\n", true), "(password)"},
        {result("GETIP ", "IP address: 1.2.3.4\r\nPASSWORD: Geheim1\r\n", false, QStringLiteral("read")),
         "(password)"},
        {result("GETDN ", "Password FTP: Kennwort2\r\n", false, QStringLiteral("read")), "(password)"},
        {result("SETAP a", "              SETUP:SETPF Kennwort2\r\nOK", false), "(password)"},
        {result("SETAP a", "SETUP:SETAP a\r\nOK\r\n", false), "SETUP:SETAP a\r\nOK"},
        {result("GETAP ", "APN: web\r\n", false, QStringLiteral("read")), "APN: web"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(shownAnswer(c.r), QString::fromLatin1(c.shown)) << c.r.answer.constData();
        Report report;
        report.results = {c.r};
        const QByteArray json = QJsonDocument(report.toJson()).toJson();
        for (const QByteArray &out : {json, report.toCsv()}) {
            EXPECT_FALSE(out.contains("Geheim1")) << out.constData();
            EXPECT_FALSE(out.contains("Kennwort2")) << out.constData();
        }
    }
}

// Count a CSV line's fields, quotes respected.
int csvFields(const QByteArray &line) {
    int fields = 1;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            ++fields;
    }
    return fields;
}

TEST(ProvisionReport, EveryCsvLineHasTheHeadersFields) {
    Report report;
    report.port = QStringLiteral("/dev/pts/9");
    report.baud = 9600;
    report.started = report.ended = QDateTime::fromMSecsSinceEpoch(0, Qt::UTC);
    report.results = {result("SETAP a,b", "APN: \"a,b\"\r\n"), result("GETNR1", "NUM1: +49 \r\n")};
    report.results[1].status = Status::NoAnswer;
    report.verified = true;
    report.mismatches = {{QStringLiteral("AlarmNumbers[1]"), "+49, 1", "+49", false}};
    report.unverifiable = {QStringLiteral("AlarmNumbers[2]")};
    const QList<QByteArray> lines = report.toCsv().split('\n');
    ASSERT_EQ(lines.size(), 1 + 2 + 2 + 1 + 1); // header, rows, verify, run, the final newline
    EXPECT_EQ(lines.first(), "n,kind,field,line,status,answer,first_byte_ms,end_ms");
    EXPECT_TRUE(lines.last().isEmpty());
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(csvFields(lines.at(i)), 8) << lines.at(i).constData();
    EXPECT_EQ(lines.at(1), "1,write,GprsApn,\"SETAP a,b\",answered,\"APN: \"\"a,b\"\"\",3,9");
    EXPECT_EQ(lines.at(3),
              ",verify,AlarmNumbers[1],,differs,\"AlarmNumbers[1]: wrote \"\"+49, 1\"\", read \"\"+49\"\"\",,");
    EXPECT_EQ(lines.at(4), ",verify,AlarmNumbers[2],,cannot be read back whole,,,");
    EXPECT_TRUE(lines.at(5).startsWith(",run,,\"port /dev/pts/9, baud 9600, start 1970-01-01T00:00:00.000Z"))
        << lines.at(5).constData();
    EXPECT_TRUE(lines.at(5).endsWith(", write: 1 of 2 answered\",not ok,,,")) << lines.at(5).constData();
}

} // namespace
} // namespace zx::provision
