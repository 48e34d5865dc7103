#include "validate/CommandTable.h"

#include "validate/WireValues.h"

#include <QRegularExpression>

#include <array>
#include <vector>

namespace zx::validate {
namespace {

// Pattern pieces. T: a character of a text (printable Windows-1252),
// N: the same without a blank, P: printable ASCII without a blank.
#define ZX_T "[^\\x00-\\x1F\\x7F\\x81\\x8D\\x8F\\x90\\x9D]"
#define ZX_N "[^\\x00-\\x20\\x7F\\x81\\x8D\\x8F\\x90\\x9D]"
#define ZX_P "[!-~]"
#define ZX_MASK "[0-9A-F-]"
#define ZX_EXTERNAL "(?:0[1-9]|[1-4][0-9]|5[0-7])"
#define ZX_SHORT "(?:0[1-9]|[1-8][0-9]|9[0-7])"

struct CommandShape {
    const char *keyword; // as the line begins, after leading blanks
    const char *pattern; // the whole line
    const char *takes;   // what the error says is allowed
};

constexpr std::array kShapes = {
    CommandShape{"SETNN", "SETNN[1-7] [+0-9][0-9][+0-9]" ZX_P "{0,17}",
                 "SETNN, a digit 1..7, a blank, then a number: \"+\" or a digit, a digit, \"+\" "
                 "or a digit, up to 20 characters without blanks"},
    CommandShape{"CLRNR", "CLRNR[1-7]", "CLRNR and a digit 1..7"},
    CommandShape{"GETNR", "GETNR[1-7]", "GETNR and a digit 1..7"},
    CommandShape{"SETPB", "SETPB[1-7] [+0-9][0-9]" ZX_P "{0,18}",
                 "SETPB, a digit 1..7, a blank, then a number: \"+\" or a digit, a digit, up to "
                 "20 characters without blanks"},
    CommandShape{"GETPB", " *GETPB", "GETPB alone"},
    CommandShape{"SETME", "SETME " ZX_MASK "{3}  " ZX_MASK "{8} " ZX_MASK "{12}",
                 "SETME, a blank, 3 mask characters, two blanks, 8, a blank, 12 (each 0-9, A-F "
                 "or \"-\")"},
    CommandShape{"SETTX", "SETTX" ZX_EXTERNAL " " ZX_T "{0,40}",
                 "SETTX, a text number 01..57, a blank, up to 40 printable characters"},
    CommandShape{"GETTX", "GETTX" ZX_EXTERNAL " *", "GETTX and a text number 01..57"},
    CommandShape{"SETTI", "SETTI" ZX_SHORT " " ZX_T "{0,15}",
                 "SETTI, a text number 01..97, a blank, up to 15 printable characters"},
    CommandShape{"GETTI", "GETTI" ZX_SHORT " *", "GETTI and a text number 01..97"},
    CommandShape{"ANLEV", "ANLEV(?:0|[1-8] [0-9]{2} [0-9]{2})",
                 "ANLEV0, or ANLEV, an input 1..8 and two levels of two digits"},
    CommandShape{"AMODE", "AMODE[1-4]{8} " ZX_P "{0,8} " ZX_P "{0,8}",
                 "AMODE, eight modes 1..4, a blank, the multipliers, a blank, the dividers"},
    CommandShape{"TCLEV", "TCLEV(?:0|[1-3][+-][0-9]{3}[+-][0-9]{3})",
                 "TCLEV0, or TCLEV, an input 1..3 and two levels of a sign and three digits"},
    CommandShape{"SETTN", "SETTN[0-9] [0-9] [0-9]{8}",
                 "SETTN, a digit, a blank, a digit, a blank, eight digits"},
    CommandShape{"SETTF",
                 "SETTF (?:[0-9]{2} [0-9]{2} [0-9]|[0-9]{2} |   [0-9]{2} |      [0-9])",
                 "SETTF and the filters: two digits, two digits and one digit"},
    CommandShape{"SETMP", "SETMP [ -~]{16}", "SETMP, a blank and 16 option characters"},
    CommandShape{"SETSH", "SETSH [ -~]{9}", "SETSH, a blank and the 9 schedule characters"},
    CommandShape{"SETAP", "SETAP (?:" ZX_N "{1,40}|   )",
                 "SETAP, a blank and up to 40 characters without blanks"},
    CommandShape{"SETID", "SETID " ZX_N "{0,40}", "SETID, a blank and up to 40 characters without blanks"},
    CommandShape{"SETPW", "SETPW " ZX_N "{0,40}", "SETPW, a blank and up to 40 characters without blanks"},
    CommandShape{"SETIP", "SETIP " ZX_N "{0,40}", "SETIP, a blank and up to 40 characters without blanks"},
    CommandShape{"SETFT", "SETFT " ZX_N "{0,40}", "SETFT, a blank and up to 40 characters without blanks"},
    CommandShape{"SETAF", "SETAF " ZX_N "{0,40}", "SETAF, a blank and up to 40 characters without blanks"},
    CommandShape{"SETPF", "SETPF " ZX_N "{0,40}", "SETPF, a blank and up to 40 characters without blanks"},
    CommandShape{"SETDN", "SETDN " ZX_N "{0,40}", "SETDN, a blank and up to 40 characters without blanks"},
};

// Keywords the module knows whose arguments this tool does not shape:
// outputs, inputs, readings, runtime, clock and status.
constexpr std::array kFreeKeywords = {
    "SETOU", "RSTOU", "GETOS", "GETIS", "OUTP ", "VALTX", "GETAN", "GETTC", "GETTH",
    "RTLEV", "RTMOD", "GETRT", "GETMP", "DTFTP", "GETSH", "GETST", "GETVR", "GETTM",
    "SETTM", "RSTRT", "GETMH", "GETAP", "GETID", "GETPW", "GETIP", "GETFT", "GETAF",
    "GETPF", "GETDN",
};

QByteArray keywordOf(const QByteArray &line) {
    qsizetype start = 0;
    while (start < line.size() && line[start] == ' ')
        ++start;
    return line.mid(start, 5);
}

} // namespace

bool writesPassword(const QByteArray &line) {
    const QByteArray keyword = keywordOf(line);
    return keyword == "SETPW" || keyword == "SETPF";
}

QString checkCommandLine(const QByteArray &line) {
    const bool secret = writesPassword(line);
    if (const QString why = textCharacters(line, secret); !why.isEmpty())
        return why;
    if (line.trimmed().isEmpty())
        return QStringLiteral("the line is empty");
    const QByteArray keyword = keywordOf(line);
    const QString text = QString::fromLatin1(line);
    static const std::vector<QRegularExpression> patterns = [] {
        std::vector<QRegularExpression> compiled;
        for (const CommandShape &shape : kShapes)
            compiled.emplace_back(
                QRegularExpression::anchoredPattern(QString::fromLatin1(shape.pattern)));
        return compiled;
    }();
    for (std::size_t i = 0; i < kShapes.size(); ++i) {
        const CommandShape &shape = kShapes[i];
        if (keyword != shape.keyword)
            continue;
        if (patterns[i].match(text).hasMatch())
            return {};
        return QStringLiteral("%1 is not a line the module takes; it takes %2")
            .arg(secret ? QStringLiteral("the password line")
                        : QStringLiteral("\"%1\"").arg(text),
                 QLatin1String(shape.takes));
    }
    for (const char *free : kFreeKeywords) {
        if (keyword == free) {
            static const QRegularExpression unprintable(QStringLiteral("[^ -~]"));
            if (text.contains(unprintable))
                return QStringLiteral("\"%1\": a command line is printable ASCII").arg(text);
            return {};
        }
    }
    return QStringLiteral("\"%1\" does not begin with a module command (SETNN, GETNR, SETTX, "
                          "GETAP, ...)")
        .arg(text);
}

} // namespace zx::validate
