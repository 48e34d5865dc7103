// The module's alarm numbers, phone book, texts, schedule, GPRS/FTP
// parameters, clock and status.
#include "sim/Module.h"
#include "sim/ModuleFields.h"

#include <QTimeZone>

namespace zx::sim {

using namespace fields;

namespace {

const QByteArray kError = "ERROR";
const QByteArray kOk = "OK";
constexpr int kNumberLength = 20;
constexpr int kExternalTextLength = 40;
constexpr int kShortTextLength = 15;

struct GprsField {
    const char *suffix; // the two letters after GET / SET
    const char *answerKey;
    int capacity;
    QByteArray GprsParameters::*value;
};

const GprsField kGprsFields[] = {
    {"AP", "APN", 40, &GprsParameters::apn},
    {"ID", "UserID", 40, &GprsParameters::userId},
    {"PW", "PASSWORD", 40, &GprsParameters::password},
    {"IP", "IP address", 40, &GprsParameters::serverAddress},
    {"FT", "FTPURL", 40, &GprsParameters::ftpHost},
    {"AF", "UserName FTP", 40, &GprsParameters::ftpUser},
    {"PF", "Password FTP", 40, &GprsParameters::ftpPassword},
    {"DN", "DirName", 40, &GprsParameters::ftpDirectory},
};

QByteArray twoDigits(int value) {
    return padded(value, 2);
}

} // namespace

// The tool's "Abonents" tab reads the number after the colon and a blank, up
// to the next blank, for the digit in the fourth place of the key.
QByteArray Module::alarmNumber(const QByteArray &line) const {
    const std::optional<int> slot = digitAt(line, 5, 1, kNumberCount);
    if (!slot || withoutTrailingBlanks(line).size() != 6)
        return kError;
    return "NUM" + QByteArray::number(*slot) + ": " + m_state.alarmNumbers[size_t(*slot - 1)] + ' ';
}

QByteArray Module::setAlarmNumber(const QByteArray &line) {
    const std::optional<int> slot = digitAt(line, 5, 1, kNumberCount);
    const QByteArray number = firstWord(line.mid(7)).left(kNumberLength);
    if (!slot || !charIs(line, 6, ' ') || number.isEmpty())
        return kError;
    m_state.alarmNumbers[size_t(*slot - 1)] = number;
    return kOk;
}

QByteArray Module::clearAlarmNumber(const QByteArray &line) {
    const std::optional<int> slot = digitAt(line, 5, 1, kNumberCount);
    if (!slot || withoutTrailingBlanks(line).size() != 6)
        return kError;
    m_state.alarmNumbers[size_t(*slot - 1)].clear();
    return kOk;
}

// "PN1:+111 N2:+222 ... N7:+777 ": the tool walks the entries from "N" to
// the blank that ends each number.
QByteArray Module::phoneBookListing() const {
    QByteArray listing = "P";
    for (int i = 0; i < kNumberCount; ++i)
        listing += 'N' + QByteArray::number(i + 1) + ':' + m_state.phoneBook[size_t(i)] + ' ';
    return listing;
}

QByteArray Module::setPhoneBook(const QByteArray &line) {
    const std::optional<int> slot = digitAt(line, 5, 1, kNumberCount);
    const QByteArray number = firstWord(line.mid(7)).left(kNumberLength);
    if (!slot || !charIs(line, 6, ' ') || number.isEmpty())
        return kError;
    m_state.phoneBook[size_t(*slot - 1)] = number;
    return kOk;
}

// "nn: text": the tool takes the text from the fifth character on.
QByteArray Module::readText(const QByteArray &line, bool external) const {
    const int count = external ? kExternalTextCount : kShortTextCount;
    const std::optional<int> slot = numberAt(line, 5, 2);
    if (!slot || *slot < 1 || *slot > count || !withoutTrailingBlanks(line.mid(7)).isEmpty())
        return kError;
    const QByteArray &text = external ? m_state.externalTexts[size_t(*slot - 1)]
                                      : m_state.shortTexts[size_t(*slot - 1)];
    return twoDigits(*slot) + ": " + text;
}

QByteArray Module::writeText(const QByteArray &line, bool external) {
    const int count = external ? kExternalTextCount : kShortTextCount;
    const std::optional<int> slot = numberAt(line, 5, 2);
    if (!slot || *slot < 1 || *slot > count || (line.size() > 7 && line[7] != ' '))
        return kError;
    // The tool pads the line with blanks; the text keeps no trailing ones.
    const QByteArray text =
        withoutTrailingBlanks(line.mid(8)).left(external ? kExternalTextLength : kShortTextLength);
    if (external)
        m_state.externalTexts[size_t(*slot - 1)] = text;
    else
        m_state.shortTexts[size_t(*slot - 1)] = text;
    return kOk;
}

QByteArray Module::setSchedule(const QByteArray &line) {
    if (!charIs(line, 5, ' ') && line.size() > 5)
        return kError;
    m_state.schedule = line.mid(6, 9).leftJustified(9, ' ');
    return kOk;
}

// "GETID " answers "UserID: x"; the tool matches the key exactly.
QByteArray Module::gprsParameter(const QByteArray &line) {
    const QByteArray upper = line.toUpper();
    for (const GprsField &field : kGprsFields) {
        if (upper.mid(3, 2) != field.suffix)
            continue;
        QByteArray &value = m_state.gprs.*field.value;
        if (upper.startsWith("GET")) {
            if (!withoutTrailingBlanks(line.mid(5)).isEmpty())
                return kError;
            return QByteArray(field.answerKey) + ": " + value;
        }
        if (line.size() > 5 && line[5] != ' ')
            return kError;
        value = firstWord(line.mid(6)).left(field.capacity);
        return kOk;
    }
    return kError;
}

QByteArray Module::status() const {
    QByteArray outputs;
    for (const bool on : m_state.outputs)
        outputs += on ? '1' : '0';
    QByteArray inputs;
    for (int i = 0; i < kInputCount; ++i)
        inputs += inputReads(i) ? '1' : '0';
    return "STATUS OUT " + outputs + " INP " + inputs + " GSM " +
           QByteArray::number(m_engine.signalRssi) + " VER " + m_state.version;
}

QByteArray Module::clockReading() const {
    const QDateTime time = now();
    const QDate date = time.date();
    const QTime clock = time.time();
    return "TIME " + twoDigits(date.year() % 100) + '/' + twoDigits(date.month()) + '/' +
           twoDigits(date.day()) + ',' + twoDigits(clock.hour()) + ':' + twoDigits(clock.minute()) +
           ':' + twoDigits(clock.second()) + m_state.timeZone;
}

// "SETTM yy/MM/dd,hh:mm:ss+zz"
QByteArray Module::setClockFromLine(const QByteArray &line) {
    if (!charIs(line, 5, ' '))
        return kError;
    const QByteArray stamp = line.mid(6, 17);
    const QByteArray zone = withoutTrailingBlanks(line.mid(23));
    const QDateTime parsed =
        QDateTime::fromString(QString::fromLatin1(stamp), QStringLiteral("yy/MM/dd,hh:mm:ss"));
    const bool zoneOk = zone.isEmpty() || (zone.size() == 3 && (zone[0] == '+' || zone[0] == '-') &&
                                           numberAt(zone, 1, 2));
    if (stamp.size() != 17 || !parsed.isValid() || !zoneOk)
        return kError;
    const QDateTime wanted(parsed.date().addYears(100), parsed.time(), QTimeZone::utc());
    const QDateTime pcNow = m_clock ? m_clock() : QDateTime::currentDateTime();
    m_state.clockOffsetSecs =
        QDateTime(pcNow.date(), pcNow.time(), QTimeZone::utc()).secsTo(wanted);
    if (!zone.isEmpty())
        m_state.timeZone = zone;
    return kOk;
}

QByteArray Module::restart() {
    ++m_state.restarts;
    // Option 5: keep the outputs over a restart.
    if (charAt(m_state.options, 4) != 'E')
        m_state.outputs.fill(false);
    return "RESTART";
}

} // namespace zx::sim
