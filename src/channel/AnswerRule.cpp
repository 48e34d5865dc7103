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

// Where the key starts: at the start of the line, or after line noise. A
// key of a text number ("57:") may stand inside another text, so after noise
// it counts only right after a byte no module writes.
qsizetype keyAt(const QByteArray &line, const QByteArray &key) {
    for (qsizetype at = line.indexOf(key); at >= 0; at = line.indexOf(key, at + 1))
        if (at == 0 || key.size() > 3 || !isPrintable(line.at(at - 1)))
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

namespace {

// The line is word, or ends with it after line noise. No module answer
// other than the acknowledgement or the refusal ends in these words.
bool endsWithAfterNoise(const QByteArray &line, const QByteArray &word) {
    return line.endsWith(word);
}

// A refusal that line noise came before: where it starts, or -1.
qsizetype refusalAt(const QByteArray &line) {
    if (isRefusal(line))
        return 0;
    if (endsWithAfterNoise(line, "ERROR"))
        return line.size() - 5;
    for (const QByteArray &key : {QByteArray("+CMS ERROR:"), QByteArray("+CME ERROR:")})
        if (const qsizetype at = keyAt(line, key); at > 0)
            return at;
    return -1;
}

// The prefix of an AT command's own result lines: "+CSQ:" for "AT+CSQ",
// "#BND:" for "AT#BND?".
QByteArray resultPrefix(const QByteArray &command) {
    if (!command.startsWith("AT") || command.size() < 4)
        return {};
    const QByteArray name = command.mid(2);
    if (name.at(0) != '+' && name.at(0) != '#' && name.at(0) != '^')
        return {};
    qsizetype end = 1;
    while (end < name.size() && name.at(end) != '=' && name.at(end) != '?')
        ++end;
    return name.left(end) + ':';
}

} // namespace

LineVerdict judgeLine(const AnswerRule &rule, const QByteArray &command, const QByteArray &line,
                      qsizetype *start) {
    if (start)
        *start = 0;
    const QByteArray t = line.trimmed();
    if (t.isEmpty())
        return LineVerdict::Blank;
    const QByteArray sent = command.trimmed();
    const bool modem = rule.kind == AnswerRule::Kind::ModemFinal || rule.kind == AnswerRule::Kind::Prompt;
    // A modem echoes the command line, or a PDU with its Ctrl-Z.
    if (modem && !sent.isEmpty() && t.startsWith(sent))
        return LineVerdict::Echo;
    // An echoing peer sends back the whole framed line, set-up prefix and all.
    if (!sent.isEmpty() && t.endsWith(sent) && t.contains("SETUP:"))
        return LineVerdict::Echo;
    // Offsets in t are offsets in line after its leading blanks.
    const qsizetype lead = line.indexOf(t);
    if (const qsizetype at = refusalAt(t); at >= 0) {
        if (start)
            *start = lead + at;
        return LineVerdict::Refusal;
    }
    switch (rule.kind) {
    case AnswerRule::Kind::Keyed:
        if (const qsizetype at = keyAt(line, rule.key); at >= 0) {
            if (start)
                *start = at;
            return LineVerdict::Answer;
        }
        break;
    case AnswerRule::Kind::Final:
        if (endsWithAfterNoise(t, "OK")) {
            if (start)
                *start = lead + t.size() - 2;
            return LineVerdict::Answer;
        }
        break;
    case AnswerRule::Kind::Free:
        if (!isUnsolicited(t))
            return LineVerdict::Answer;
        break;
    case AnswerRule::Kind::ModemFinal:
        if (t == "OK")
            return LineVerdict::Answer;
        // "+CSQ: 17,0" answers "AT+CSQ"; from no other command is it a report.
        if (const QByteArray own = resultPrefix(sent); !own.isEmpty() && t.startsWith(own))
            return LineVerdict::Part;
        return isUnsolicited(t) ? LineVerdict::Unsolicited : LineVerdict::Part;
    case AnswerRule::Kind::Prompt:
        break;
    }
    return isUnsolicited(t) ? LineVerdict::Unsolicited : LineVerdict::Foreign;
}

} // namespace zx::channel
