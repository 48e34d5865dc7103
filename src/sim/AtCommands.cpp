#include "sim/AtCommands.h"

#include <QTimeZone>

#include <cstdlib>
#include <optional>

namespace zx::sim {
namespace {

const QList<QByteArray> kCharacterSets = {"GSM", "IRA", "8859-1", "PCCP437", "UCS2"};

AtReply error() {
    return AtReply{{}, "ERROR"};
}

AtReply info(const QByteArray &line) {
    return AtReply{{line}, "OK"};
}

QByteArray twoDigits(int value) {
    return QByteArray::number(value).rightJustified(2, '0');
}

// Reads "yy/MM/dd,hh:mm:ss" (anything after it is the zone, ignored).
QDateTime parseModemClock(const QByteArray &text) {
    QDateTime parsed =
        QDateTime::fromString(QString::fromLatin1(text.left(17)), QStringLiteral("yy/MM/dd,hh:mm:ss"));
    if (!parsed.isValid())
        return {};
    return QDateTime(parsed.date().addYears(100), parsed.time(), QTimeZone::utc());
}

QDateTime asNaiveUtc(const QDateTime &time) {
    return QDateTime(time.date(), time.time(), QTimeZone::utc());
}

std::optional<int> singleDigitArgument(const QByteArray &argument, int last) {
    if (argument.size() != 1 || argument[0] < '0' || argument[0] > '0' + last)
        return std::nullopt;
    return argument[0] - '0';
}

QByteArray unquoted(const QByteArray &text) {
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
        return text.mid(1, text.size() - 2);
    return text;
}

AtReply clockCommand(ModemState &state, const QByteArray &rest) {
    if (rest == "?")
        return info("+CCLK: \"" + formatModemClock(state.now()) + '"');
    if (rest == "=?")
        return {};
    if (!rest.startsWith('='))
        return error();
    const QDateTime wanted = parseModemClock(unquoted(rest.mid(1)));
    if (!wanted.isValid())
        return error();
    const QDateTime now = state.now();
    state.clockOffsetSecs = asNaiveUtc(now).secsTo(wanted);
    return {};
}

AtReply characterSetCommand(ModemState &state, const QByteArray &rest) {
    if (rest == "?")
        return info("+CSCS: \"" + state.characterSet + '"');
    if (rest == "=?")
        return info("+CSCS: (\"GSM\",\"IRA\",\"8859-1\",\"PCCP437\",\"UCS2\")");
    if (!rest.startsWith('='))
        return error();
    const QByteArray wanted = unquoted(rest.mid(1)).toUpper();
    if (!kCharacterSets.contains(wanted))
        return error();
    state.characterSet = wanted;
    return {};
}

AtReply smsFormatCommand(ModemState &state, const QByteArray &rest) {
    if (rest == "?")
        return info("+CMGF: " + QByteArray::number(state.smsFormat));
    if (rest == "=?")
        return info("+CMGF: (0,1)");
    const std::optional<int> format =
        rest.startsWith('=') ? singleDigitArgument(rest.mid(1), 1) : std::nullopt;
    if (!format)
        return error();
    state.smsFormat = *format;
    return {};
}

AtReply bandCommand(ModemState &state, const QByteArray &rest) {
    if (rest == "?")
        return info("#BND: " + QByteArray::number(state.band));
    if (rest == "=?")
        return info("#BND: (0-3)");
    const std::optional<int> band =
        rest.startsWith('=') ? singleDigitArgument(rest.mid(1), 3) : std::nullopt;
    if (!band)
        return error();
    state.band = *band;
    return {};
}

} // namespace

QDateTime ModemState::now() const {
    const QDateTime base = clock ? clock() : QDateTime::currentDateTime();
    return base.addSecs(clockOffsetSecs);
}

QByteArray formatModemClock(const QDateTime &time) {
    const QDate date = time.date();
    const QTime clock = time.time();
    const int quarters = time.offsetFromUtc() / (15 * 60);
    return twoDigits(date.year() % 100) + '/' + twoDigits(date.month()) + '/' +
           twoDigits(date.day()) + ',' + twoDigits(clock.hour()) + ':' +
           twoDigits(clock.minute()) + ':' + twoDigits(clock.second()) +
           (quarters < 0 ? '-' : '+') + twoDigits(std::abs(quarters));
}

QByteArray frameVerbose(const AtReply &reply) {
    QByteArray framed;
    for (const QByteArray &line : reply.information)
        framed += "\r\n" + line + "\r\n";
    return framed + "\r\n" + reply.result + "\r\n";
}

AtReply answerAtCommand(ModemState &state, const QByteArray &command) {
    const QByteArray upper = command.toUpper();
    if (!upper.startsWith("AT"))
        return error();
    const QByteArray body = upper.mid(2);
    // Arguments keep their case (clock strings, character-set names).
    const auto restAfter = [&](qsizetype length) { return command.mid(2 + length); };

    if (body.isEmpty() || body == "Z" || body == "&F" || body == "&W")
        return {};
    if (body == "E" || body == "E0" || body == "E1") {
        state.echo = body == "E1";
        return {};
    }
    if (body == "I" || body == "I0")
        return info(state.manufacturer + ' ' + state.model);
    if (body == "+CGMI" || body == "+GMI")
        return info(state.manufacturer);
    if (body == "+CGMM" || body == "+GMM")
        return info(state.model);
    if (body == "+CGMR" || body == "+GMR")
        return info(state.revision);
    if (body == "+CGSN" || body == "+GSN")
        return info(state.imei);
    if (body == "+CSQ")
        return info("+CSQ: " + QByteArray::number(state.signalRssi) + ',' +
                    QByteArray::number(state.signalBer));
    if (body == "+CSQ=?")
        return info("+CSQ: (0-31,99),(0-7,99)");
    if (body == "+CREG?")
        return info("+CREG: 0,1");
    if (body == "+CPIN?")
        return info("+CPIN: READY");
    if (body.startsWith("+CCLK"))
        return clockCommand(state, restAfter(5));
    if (body.startsWith("+CSCS"))
        return characterSetCommand(state, restAfter(5));
    if (body.startsWith("+CMGF"))
        return smsFormatCommand(state, restAfter(5));
    if (body.startsWith("#BND"))
        return bandCommand(state, restAfter(4));
    return error();
}

} // namespace zx::sim
