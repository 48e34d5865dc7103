#include "channel/Outcome.h"

#include <QRegularExpression>

#include <utility>

namespace zx::channel {
namespace {

// Message service errors of the modem (3GPP TS 27.005, 3.2.5).
const std::pair<int, const char *> kCmsErrors[] = {
    {300, "the modem failed"},
    {301, "the modem's SMS service is reserved"},
    {302, "operation not allowed"},
    {303, "operation not supported"},
    {304, "the PDU was refused as invalid"},
    {305, "invalid text mode parameter"},
    {310, "no SIM card inserted"},
    {311, "the SIM card wants its PIN"},
    {312, "the phone wants its SIM PIN"},
    {313, "SIM card failure"},
    {314, "the SIM card is busy"},
    {315, "wrong SIM card"},
    {316, "the SIM card wants its PUK"},
    {317, "the SIM card wants its PIN2"},
    {318, "the SIM card wants its PUK2"},
    {320, "message store failure"},
    {321, "no message at that index"},
    {322, "the message store is full"},
    {330, "no SMS centre number is set"},
    {331, "no network service"},
    {332, "the network timed out"},
    {500, "unknown error, often the number or the network"},
};

// Equipment errors (3GPP TS 27.007, 9.2).
const std::pair<int, const char *> kCmeErrors[] = {
    {0, "the modem failed"},
    {3, "operation not allowed"},
    {4, "operation not supported"},
    {10, "no SIM card inserted"},
    {11, "the SIM card wants its PIN"},
    {12, "the SIM card wants its PUK"},
    {13, "SIM card failure"},
    {14, "the SIM card is busy"},
    {15, "wrong SIM card"},
    {16, "wrong password"},
    {20, "memory full"},
    {21, "invalid index"},
    {22, "not found"},
    {30, "no network service"},
    {31, "the network timed out"},
    {32, "emergency calls only"},
    {100, "unknown error"},
};

template <std::size_t N>
const char *wordsFor(const std::pair<int, const char *> (&table)[N], int code) {
    for (const auto &[number, words] : table)
        if (number == code)
            return words;
    return nullptr;
}

const QRegularExpression &coded() {
    static const QRegularExpression re(QStringLiteral("^\\+(CMS|CME) ERROR: *([0-9]+)$"));
    return re;
}

} // namespace

QString outcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::Answered:
        return QStringLiteral("answered");
    case Outcome::Refused:
        return QStringLiteral("refused");
    case Outcome::NoAnswer:
        return QStringLiteral("no answer");
    case Outcome::NotRecognised:
        return QStringLiteral("not recognised");
    case Outcome::PortError:
        return QStringLiteral("port error");
    case Outcome::Cancelled:
        break;
    }
    return QStringLiteral("cancelled");
}

bool isRefusal(const QByteArray &line) {
    const QByteArray t = line.trimmed();
    return t == "ERROR" || t.startsWith("+CMS ERROR:") || t.startsWith("+CME ERROR:");
}

QString refusalReason(const QByteArray &line) {
    const QString text = QString::fromLatin1(line.trimmed());
    const QRegularExpressionMatch m = coded().match(text);
    if (!m.hasMatch())
        return QStringLiteral("the command was refused (%1)").arg(text);
    const int code = m.captured(2).toInt();
    const char *words = m.captured(1) == QLatin1String("CMS") ? wordsFor(kCmsErrors, code)
                                                               : wordsFor(kCmeErrors, code);
    if (!words)
        return QStringLiteral("refused with code %1 (%2)").arg(code).arg(text);
    return QStringLiteral("%1 (%2)").arg(QLatin1String(words), text);
}

} // namespace zx::channel
