#include "channel/AnswerRule.h"

#include "channel/Outcome.h"

#include <cctype>

namespace zx::channel {
namespace {

struct PairKey {
    const char *keyword;
    const char *key;
};

// GPRS and FTP parameters: "GETAP" answers "APN: ...".
const PairKey kPairKeys[] = {
    {"GETAP", "APN:"},          {"GETID", "UserID:"},       {"GETPW", "PASSWORD:"},
    {"GETIP", "IP address:"},   {"GETFT", "FTPURL:"},       {"GETAF", "UserName FTP:"},
    {"GETPF", "Password FTP:"}, {"GETDN", "DirName:"},
};

// Writes that report the new state instead of acknowledging.
const char *const kReportingWrites[] = {"SETOU", "RSTOU", "OUTP ", "SETTF", "SETTM", "RSTRT",
                                        "TCLEV", "ANLEV", "AMODE", "VALTX", "RTLEV", "RTMOD",
                                        "SETTN", "SETMP", "DTFTP", "SETSH"};

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool isPrintable(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && u < 0x7f;
}

// Where the key starts: at the start of the line, or right after a byte no
// module writes (line noise before the answer).
qsizetype keyAt(const QByteArray &line, const QByteArray &key) {
    for (qsizetype at = line.indexOf(key); at >= 0; at = line.indexOf(key, at + 1))
        if (at == 0 || !isPrintable(line.at(at - 1)))
            return at;
    return -1;
}

} // namespace

AnswerRule moduleAnswerRule(const QByteArray &line) {
    const QByteArray t = line.trimmed();
    const QByteArray keyword = t.left(5);
    if (keyword == "GETNR" && t.size() > 5 && isDigit(t.at(5)))
        return {AnswerRule::Kind::Keyed, "NUM" + t.mid(5, 1) + ':'};
    if ((keyword == "GETTX" || keyword == "GETTI") && t.size() > 6 && isDigit(t.at(5)) &&
        isDigit(t.at(6)))
        return {AnswerRule::Kind::Keyed, t.mid(5, 2) + ':'};
    if (keyword == "GETPB")
        return {AnswerRule::Kind::Keyed, "PN"};
    for (const PairKey &pair : kPairKeys)
        if (keyword == pair.keyword)
            return {AnswerRule::Kind::Keyed, pair.key};
    for (const char *reporting : kReportingWrites)
        if (t.startsWith(reporting))
            return {};
    if (keyword.startsWith("SET") || keyword.startsWith("CLR"))
        return {AnswerRule::Kind::Final, {}};
    return {};
}

bool isUnsolicited(const QByteArray &line) {
    static const char *const kReports[] = {"RING",     "NO CARRIER", "+CREG:",     "+CGREG:",
                                           "+CEREG:",  "+CMTI:",     "+CDS:",      "+CDSI:",
                                           "+CSQ:",    "+CUSD:",     "+CLIP:",     "+CRING:",
                                           "+CPIN:",   "SMS Ready",  "Call Ready", "RDY",
                                           "+CFUN:",   "^"};
    for (const char *report : kReports)
        if (line.startsWith(report))
            return true;
    return false;
}

LineVerdict judgeLine(const AnswerRule &rule, const QByteArray &command, const QByteArray &line,
                      qsizetype *start) {
    if (start)
        *start = 0;
    const QByteArray t = line.trimmed();
    if (t.isEmpty())
        return LineVerdict::Blank;
    const QByteArray sent = command.trimmed();
    // An echoing peer sends back the whole framed line, set-up prefix and all.
    if (!sent.isEmpty() && t.endsWith(sent) && t.contains("SETUP:"))
        return LineVerdict::Echo;
    if (isRefusal(t))
        return LineVerdict::Refusal;
    switch (rule.kind) {
    case AnswerRule::Kind::Keyed:
        if (const qsizetype at = keyAt(line, rule.key); at >= 0) {
            if (start)
                *start = at;
            return LineVerdict::Answer;
        }
        break;
    case AnswerRule::Kind::Final:
        if (t == "OK")
            return LineVerdict::Answer;
        break;
    case AnswerRule::Kind::Free:
        if (!isUnsolicited(t))
            return LineVerdict::Answer;
        break;
    }
    return isUnsolicited(t) ? LineVerdict::Unsolicited : LineVerdict::Foreign;
}

} // namespace zx::channel
