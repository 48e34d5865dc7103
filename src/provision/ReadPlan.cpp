#include "provision/ReadPlan.h"

#include "commands/messaging/GprsFtpCommands.h"
#include "commands/messaging/NumberAnswer.h"
#include "commands/messaging/NumberCommands.h"
#include "commands/messaging/TextAnswer.h"
#include "commands/messaging/TextCommands.h"
#include "text/Ansi.h"

#include <array>

namespace zx::provision {
namespace {

namespace msg = commands::messaging;
using settings::ConfigRecord;

using Getter = QByteArray (ConfigRecord::*)() const;
using Setter = void (ConfigRecord::*)(const QByteArray &);

struct NetworkField {
    const char *name;
    Getter get;
    Setter set;
};

// In the order of the GPRS/FTP parameter table.
constexpr std::array<NetworkField, msg::kGprsFtpCount> kNetwork = {{
    {"GprsApn", &ConfigRecord::GprsApn, &ConfigRecord::setGprsApn},
    {"GprsUserId", &ConfigRecord::GprsUserId, &ConfigRecord::setGprsUserId},
    {"GprsPassword", &ConfigRecord::GprsPassword, &ConfigRecord::setGprsPassword},
    {"GprsServerAddress", &ConfigRecord::GprsServerAddress, &ConfigRecord::setGprsServerAddress},
    {"FtpHost", &ConfigRecord::FtpHost, &ConfigRecord::setFtpHost},
    {"FtpUser", &ConfigRecord::FtpUser, &ConfigRecord::setFtpUser},
    {"FtpPassword", &ConfigRecord::FtpPassword, &ConfigRecord::setFtpPassword},
    {"FtpDirectory", &ConfigRecord::FtpDirectory, &ConfigRecord::setFtpDirectory},
}};

QString element(const char *field, int n) {
    return QStringLiteral("%1[%2]").arg(QLatin1String(field)).arg(n);
}

bool isPassword(int parameter) {
    return parameter == msg::kGprsPassword || parameter == msg::kFtpPassword;
}

QByteArray firstLine(const QByteArray &answer) {
    QByteArray line = answer;
    line.replace(QByteArray(1, '\0'), QByteArray());
    const qsizetype end = line.indexOf('\r');
    const qsizetype lf = line.indexOf('\n');
    const qsizetype cut = end < 0 ? lf : (lf < 0 ? end : std::min(end, lf));
    return cut < 0 ? line : line.left(cut);
}

QByteArray withoutTrailingBlanks(QByteArray text) {
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

void add(QList<ReadStep> &steps, QByteArray line, QString field, bool secret = false) {
    ReadStep step;
    step.line = std::move(line);
    step.field = std::move(field);
    step.secret = secret;
    steps.append(std::move(step));
}

} // namespace

std::optional<QByteArray> readableValue(const ConfigRecord &r, const QString &entry) {
    for (int n = 1; n <= msg::kNumberCount; ++n) {
        if (entry == element("AlarmNumbers", n))
            return r.AlarmNumber(n);
        if (entry == element("PhoneBookNumbers", n))
            return r.PhoneBookNumber(n);
    }
    for (int n = 1; n <= msg::kExternalTextCount; ++n)
        if (entry == element("ExternalTexts", n))
            return r.ExternalText(n);
    for (int n = 1; n <= msg::kShortTextCount; ++n)
        if (entry == element("ShortTexts", n))
            return r.ShortText(n);
    for (const NetworkField &f : kNetwork)
        if (entry == QLatin1String(f.name))
            return (r.*f.get)();
    return std::nullopt;
}

bool setReadableValue(ConfigRecord &r, const QString &entry, const QByteArray &value) {
    using Indexed = void (ConfigRecord::*)(int, const QByteArray &);
    const struct {
        const char *field;
        int count;
        Indexed set;
    } indexed[] = {{"AlarmNumbers", msg::kNumberCount, &ConfigRecord::setAlarmNumber},
                   {"PhoneBookNumbers", msg::kNumberCount, &ConfigRecord::setPhoneBookNumber},
                   {"ExternalTexts", msg::kExternalTextCount, &ConfigRecord::setExternalText},
                   {"ShortTexts", msg::kShortTextCount, &ConfigRecord::setShortText}};
    for (const auto &family : indexed)
        for (int n = 1; n <= family.count; ++n)
            if (entry == element(family.field, n)) {
                (r.*family.set)(n, value);
                return true;
            }
    for (const NetworkField &f : kNetwork)
        if (entry == QLatin1String(f.name)) {
            (r.*f.set)(value);
            return true;
        }
    return false;
}

QList<ReadStep> readPlan() {
    QList<ReadStep> steps;
    for (int n = 1; n <= msg::kNumberCount; ++n)
        add(steps, msg::getAlarmNumberLine(n), element("AlarmNumbers", n));
    add(steps, msg::kReadPhoneBookLine, QStringLiteral("PhoneBookNumbers"));
    for (int n = 1; n <= msg::kExternalTextCount; ++n)
        add(steps, msg::textReadLine(msg::TextTable::External, n), element("ExternalTexts", n));
    for (int n = 1; n <= msg::kShortTextCount; ++n)
        add(steps, msg::textReadLine(msg::TextTable::Short, n), element("ShortTexts", n));
    for (int i = 0; i < msg::kGprsFtpCount; ++i)
        add(steps, msg::kGprsFtpParameters[std::size_t(i)].readLine,
                      QLatin1String(kNetwork[std::size_t(i)].name), isPassword(i));
    return steps;
}

QStringList readableEntries() {
    QStringList entries;
    for (int n = 1; n <= msg::kNumberCount; ++n)
        entries << element("AlarmNumbers", n);
    for (int n = 1; n <= msg::kNumberCount; ++n)
        entries << element("PhoneBookNumbers", n);
    for (int n = 1; n <= msg::kExternalTextCount; ++n)
        entries << element("ExternalTexts", n);
    for (int n = 1; n <= msg::kShortTextCount; ++n)
        entries << element("ShortTexts", n);
    for (const NetworkField &f : kNetwork)
        entries << QLatin1String(f.name);
    return entries;
}

bool applyAnswer(const ReadStep &step, const QByteArray &answer, ConfigRecord &record) {
    const QByteArray line = firstLine(answer);
    const QByteArray keyword = step.line.trimmed().left(5);
    if (cutAlarmNumber(step, answer))
        return false;
    if (keyword == "GETNR" || keyword == "GETPB") {
        const msg::NumberAnswerFill fill = msg::parseNumberAnswer(line);
        bool any = false;
        for (int n = 1; n <= msg::kNumberCount; ++n) {
            if (const auto &v = fill.alarmNumbers[std::size_t(n - 1)]; v && keyword == "GETNR") {
                record.setAlarmNumber(n, *v);
                any = true;
            }
            if (const auto &v = fill.phoneBook[std::size_t(n - 1)]; v && keyword == "GETPB") {
                record.setPhoneBookNumber(n, *v);
                any = true;
            }
        }
        return any;
    }
    if (keyword == "GETTX") {
        const auto text = msg::parseExternalTextAnswer(line);
        if (text)
            record.setExternalText(text->number, text->text);
        return bool(text);
    }
    if (keyword == "GETTI") {
        // The parser drops the character that ends the module's line.
        const auto text = msg::parseShortTextAnswer(line + '\r');
        if (text)
            record.setShortText(text->number, text->text);
        return bool(text);
    }
    const auto parameter = msg::parseGprsFtpAnswer(line);
    if (!parameter)
        return false;
    (record.*kNetwork[std::size_t(parameter->parameter)].set)(parameter->value);
    return true;
}

std::optional<QByteArray> cutAlarmNumber(const ReadStep &step, const QByteArray &answer) {
    if (step.line.trimmed().left(5) != "GETNR")
        return std::nullopt;
    const QByteArray line = firstLine(answer);
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return std::nullopt;
    const QByteArray field = line.mid(colon + 2, msg::kNumberBoxLimit);
    if (field.isEmpty() || field.contains(' '))
        return std::nullopt;
    return field;
}

QString Mismatch::text() const {
    if (secret)
        return QStringLiteral("%1: differs").arg(field);
    return QStringLiteral("%1: %2 \"%3\", read \"%4\"")
        .arg(field, afterWrite ? QStringLiteral("wrote") : QStringLiteral("the file has"),
             text::fromAnsi(written), text::fromAnsi(readBack));
}

QList<Mismatch> compareReadBack(const ConfigRecord &written, const ConfigRecord &readBack,
                                const QStringList &fields, QStringList *unverifiable,
                                const QHash<QString, QByteArray> *seen) {
    QList<Mismatch> mismatches;
    for (const QString &entry : fields) {
        const auto want = readableValue(written, entry);
        const auto got = readableValue(readBack, entry);
        if (!want || !got)
            continue;
        const QByteArray a = withoutTrailingBlanks(*want);
        const QByteArray b = withoutTrailingBlanks(*got);
        if (seen && seen->contains(entry)) {
            // The answer showed 20 characters of a longer (or 20-character) number.
            const QByteArray shown = seen->value(entry);
            if (shown != want->left(msg::kNumberBoxLimit))
                mismatches.append({entry, a, shown + "...", false});
            else if (unverifiable)
                *unverifiable << entry;
            continue;
        }
        if (entry.startsWith(QLatin1String("AlarmNumbers")) && a.size() >= msg::kNumberBoxLimit) {
            if (unverifiable)
                *unverifiable << entry;
            continue;
        }
        if (a != b) {
            const bool secret = entry == QLatin1String("GprsPassword") ||
                                entry == QLatin1String("FtpPassword");
            mismatches.append({entry, a, b, secret});
        }
    }
    return mismatches;
}

} // namespace zx::provision
