#include "link/ModemNotices.h"

#include "channel/AnswerRule.h"
#include "channel/Outcome.h"

#include <QRegularExpression>

namespace zx::link {
namespace {

// An answer to a query of the tool, not a report: kept in the reply.
bool answersAQuery(const QByteArray &line) {
    return line.startsWith("+CPIN:") || line.startsWith("+CSQ:");
}

int refusalCode(const QByteArray &refusal) {
    static const QRegularExpression re(QStringLiteral("^\\+CMS ERROR: *([0-9]+)$"));
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(refusal));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

int equipmentCode(const QByteArray &refusal) {
    static const QRegularExpression re(QStringLiteral("^\\+CME ERROR: *([0-9]+)$"));
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(refusal));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

QByteArray submitReference(const QByteArray &chunk) {
    const qsizetype result = chunk.indexOf("+CMGS:");
    if (result < 0)
        return {};
    qsizetype p = result + 6;
    while (p < chunk.size() && chunk.at(p) == ' ')
        ++p;
    const qsizetype start = p;
    // A reference is 0..255; a longer run of digits is not one.
    while (p < chunk.size() && p - start < 4 && chunk.at(p) >= '0' && chunk.at(p) <= '9')
        ++p;
    if (p == start || p - start > 3)
        return {};
    return chunk.mid(start, p - start);
}

bool announcesNewMessage(const QByteArray &chunk) {
    return chunk.contains("+CMTI:");
}

ReplyWithoutReports takeOutReports(const QByteArray &chunk) {
    ReplyWithoutReports out;
    out.reportsOnly = true;
    qsizetype from = 0;
    while (from < chunk.size()) {
        qsizetype end = chunk.indexOf('\n', from);
        end = end < 0 ? chunk.size() : end + 1;
        const QByteArray piece = chunk.mid(from, end - from);
        from = end;
        const QByteArray line = piece.trimmed();
        if (line == "+CPIN: READY" || line == "SMS Ready")
            out.readyReport = true;
        // Only a whole line is a report; a line cut off by the end of the
        // chunk stays in the reply.
        if (piece.endsWith('\n') && channel::isUnsolicited(line) && !answersAQuery(line)) {
            if (line.startsWith("+CMTI:"))
                out.newMessage = true;
            continue;
        }
        out.reply += piece;
        // NUL bytes count as nothing, as everywhere on the receive path.
        QByteArray meaningful = line;
        meaningful.replace(QByteArray(1, '\0'), QByteArray());
        if (!meaningful.isEmpty())
            out.reportsOnly = false;
    }
    return out;
}

QByteArray refusalIn(const QByteArray &reply) {
    for (const QByteArray &line : reply.split('\n')) {
        const QByteArray t = line.trimmed();
        if (channel::isRefusal(t))
            return t;
    }
    return {};
}

bool holdsPrompt(const QByteArray &reply) {
    for (const QByteArray &line : reply.split('\n'))
        if (line.trimmed().startsWith('>'))
            return true;
    return false;
}

bool endsWithFinalCode(const QByteArray &reply) {
    const QList<QByteArray> lines = reply.split('\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QByteArray t = line->trimmed();
        if (t.isEmpty())
            continue;
        return t == "OK" || channel::isRefusal(t);
    }
    return false;
}

bool meansNotReady(const QByteArray &refusal) {
    if (refusal == "ERROR")
        return true;
    switch (refusalCode(refusal)) {
    case 310: case 311: case 312: case 313: case 314: case 316: case 515:
        return true;
    default:
        break;
    }
    switch (equipmentCode(refusal)) {
    case 10: case 11: case 12: case 13: case 14: case 515:
        return true;
    default:
        return false;
    }
}

QString submitRefusalAdvice(const QByteArray &refusal) {
    QString what;
    switch (refusalCode(refusal)) {
    case 330:
        what = QStringLiteral("Store the network's SMS centre number in the SIM card, then send "
                              "again.");
        break;
    case 500:
        what = QStringLiteral("Check the module number and the signal, then send again.");
        break;
    case 304:
        what = QStringLiteral("Check the module number, then send again.");
        break;
    case 322:
        what = QStringLiteral("Delete messages from the modem's store, then send again.");
        break;
    default:
        what = meansNotReady(refusal)
                   ? QStringLiteral("The modem may not be ready: check its SIM card, PIN and "
                                    "network, then send again.")
                   : QStringLiteral("Check the modem, then send again.");
        break;
    }
    return channel::refusalReason(refusal) + QStringLiteral(". ") + what;
}

} // namespace zx::link
