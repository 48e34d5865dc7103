#include "provision/Plan.h"

#include "commands/io/AnalogCommands.h"
#include "commands/io/EventMask.h"
#include "commands/io/FilterCommands.h"
#include "commands/io/OptionCommands.h"
#include "commands/io/OutputCommands.h"
#include "commands/io/TemperatureCommands.h"
#include "commands/messaging/GprsFtpCommands.h"
#include "commands/messaging/NumberCommands.h"
#include "commands/messaging/Schedule.h"
#include "commands/messaging/TextCommands.h"
#include "settings/WindowSettings.h"
#include "text/Ansi.h"
#include "validate/WireValues.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>

namespace zx::provision {
namespace {

namespace io = commands::io;
namespace msg = commands::messaging;
using settings::WindowSettings;

QString element(const char *field, int n) {
    return QStringLiteral("%1[%2]").arg(QLatin1String(field)).arg(n);
}

QStringList elements(const char *field, int count) {
    QStringList names;
    for (int n = 1; n <= count; ++n)
        names << element(field, n);
    return names;
}

std::size_t at(int n) { return std::size_t(n - 1); }

// A value's check: the entry and why the module would not take it (empty
// when it would).
struct Check {
    QString entry;
    QString why;
};

// True when every check passed; each that failed goes to plan.skipped as
// "Entry: why", and the command that would carry it is not built.
bool passes(Plan &plan, std::initializer_list<Check> checks) {
    bool ok = true;
    for (const Check &check : checks) {
        if (check.why.isEmpty())
            continue;
        plan.skipped << QStringLiteral("%1: %2").arg(check.entry, check.why);
        ok = false;
    }
    return ok;
}

void add(Plan &plan, QByteArray line, QStringList entries, bool secret = false) {
    PlanStep step;
    step.line = std::move(line);
    step.entries = std::move(entries);
    step.secret = secret;
    plan.steps.append(std::move(step));
}

// Adds the commands of one table row for the whole record.
using RowBuilder = void (*)(const WindowSettings &s, Plan &plan);

void alarmNumbers(const WindowSettings &s, Plan &plan) {
    for (int n = 1; n <= msg::kNumberCount; ++n) {
        const QByteArray &number = s.numbers.alarmNumbers[at(n)];
        const QString name = element("AlarmNumbers", n);
        if (!passes(plan, {{name, validate::alarmNumber(number)}}))
            continue;
        // An empty slot is cleared on the module, as the tab's "Clear" does.
        if (number.isEmpty())
            add(plan, msg::clearAlarmNumberLine(n), {name});
        else if (const auto line = msg::setAlarmNumberLine(n, number))
            add(plan, *line, {name});
    }
}

void phoneBook(const WindowSettings &s, Plan &plan) {
    for (int n = 1; n <= msg::kNumberCount; ++n) {
        const QByteArray &number = s.numbers.phoneBookNumbers[at(n)];
        const QString name = element("PhoneBookNumbers", n);
        // The module has no command that empties an entry. The tab would
        // send "+99" in place of a number it cannot take; a plan sends only
        // what the record holds.
        if (number.isEmpty() || !passes(plan, {{name, validate::phoneBookNumber(number)}}))
            continue;
        add(plan, msg::setPhoneBookLine(n, number), {name});
    }
}

void externalTexts(const WindowSettings &s, Plan &plan) {
    for (int n = 1; n <= msg::kExternalTextCount; ++n) {
        const QString name = element("ExternalTexts", n);
        const QByteArray &text = s.texts.externalText(n);
        if (passes(plan, {{name, validate::smsText(text, settings::layout::ExternalTexts.capacity())}}))
            add(plan, msg::textWriteLine(msg::TextTable::External, n, text), {name});
    }
}

void shortTexts(const WindowSettings &s, Plan &plan) {
    for (int n = 1; n <= msg::kShortTextCount; ++n) {
        const QString name = element("ShortTexts", n);
        const QByteArray &text = s.texts.shortText(n);
        if (passes(plan, {{name, validate::smsText(text, settings::layout::ShortTexts.capacity())}}))
            add(plan, msg::textWriteLine(msg::TextTable::Short, n, text), {name});
    }
}

void eventMasks(const WindowSettings &s, Plan &plan) {
    using io::MaskKind;
    if (!passes(plan, {{QStringLiteral("TempEventMask"),
                        validate::eventMask(s.masks.temperature, io::maskLength(MaskKind::Temperature))},
                       {QStringLiteral("AnalogEventMask"),
                        validate::eventMask(s.masks.analog, io::maskLength(MaskKind::Analog))},
                       {QStringLiteral("DigitalEventMask"),
                        validate::eventMask(s.masks.digital, io::maskLength(MaskKind::Digital))}}))
        return;
    add(plan, io::numberFilterLine(s.masks.temperature, s.masks.analog, s.masks.digital),
        {QStringLiteral("TempEventMask"), QStringLiteral("AnalogEventMask"),
         QStringLiteral("DigitalEventMask")});
}

// The tabs' scroll bars and radio groups: what each value may be.
constexpr int kAnalogLevelMax = 99;
constexpr int kTemperatureMin = -99;
constexpr int kTemperatureMax = 149;
constexpr int kAnalogModeMax = 3; // four items
constexpr int kDigitMax = 9;
constexpr int kFilterMax = 99;
constexpr int kAnalogFieldLength = 8;

void analogLevels(const WindowSettings &s, Plan &plan) {
    for (int n = 1; n <= io::kAnalogCount; ++n) {
        const int minimum = s.analog.minimum[at(n)];
        const int maximum = s.analog.maximum[at(n)];
        if (passes(plan, {{element("AnalogMin", n), validate::inRange(minimum, 0, kAnalogLevelMax)},
                          {element("AnalogMax", n), validate::inRange(maximum, 0, kAnalogLevelMax)}}))
            add(plan, io::analogLevelLine(n, minimum, maximum),
                {element("AnalogMin", n), element("AnalogMax", n)});
    }
}

void analogModes(const WindowSettings &s, Plan &plan) {
    std::array<int, io::kAnalogCount> modes{};
    bool ok = passes(plan, {{QStringLiteral("AnalogCoefficients"),
                             validate::fieldText(s.analog.coefficients, kAnalogFieldLength, false)},
                            {QStringLiteral("AnalogDividers"),
                             validate::fieldText(s.analog.dividers, kAnalogFieldLength, false)}});
    for (int n = 1; n <= io::kAnalogCount; ++n) {
        modes[at(n)] = s.analog.modes[at(n)];
        ok = passes(plan, {{element("AnalogModes", n),
                            validate::inRange(modes[at(n)], 0, kAnalogModeMax)}}) && ok;
    }
    if (ok)
        add(plan, io::analogModeLine(modes, s.analog.coefficients, s.analog.dividers),
            elements("AnalogModes", io::kAnalogCount) +
                QStringList{QStringLiteral("AnalogCoefficients"), QStringLiteral("AnalogDividers")});
}

void temperatureLevels(const WindowSettings &s, Plan &plan) {
    for (int n = 1; n <= settings::kTemperatureInputCount; ++n) {
        const int minimum = s.temperature.minimum[at(n)];
        const int maximum = s.temperature.maximum[at(n)];
        if (passes(plan, {{element("TempMin", n), validate::inRange(minimum, kTemperatureMin, kTemperatureMax)},
                          {element("TempMax", n), validate::inRange(maximum, kTemperatureMin, kTemperatureMax)}}))
            add(plan, io::temperatureLevelLine(n, minimum, maximum),
                {element("TempMin", n), element("TempMax", n)});
    }
}

void filters(const WindowSettings &s, Plan &plan) {
    if (passes(plan, {{QStringLiteral("TempTimeoutFilter"), validate::inRange(s.filters.temperature, 0, kFilterMax)},
                      {QStringLiteral("AnalogTimeoutFilter"), validate::inRange(s.filters.analog, 0, kFilterMax)},
                      {QStringLiteral("DigitalInputFilter"), validate::inRange(s.filters.digital, 0, kDigitMax)}}))
        add(plan, io::timeoutFilterLine(s.filters.temperature, s.filters.analog, s.filters.digital),
            {QStringLiteral("TempTimeoutFilter"), QStringLiteral("AnalogTimeoutFilter"),
             QStringLiteral("DigitalInputFilter")});
}

void dataLogger(const WindowSettings &s, Plan &plan) {
    std::array<int, io::kOutputCount> pulses{};
    bool ok = passes(plan, {{QStringLiteral("SamplingRate"), validate::inRange(s.ioControl.samplingRate, 0, kDigitMax)},
                            {QStringLiteral("DataLoggerPeriod"), validate::inRange(s.ioControl.dataLoggerPeriod, 0, kDigitMax)}});
    for (int n = 1; n <= io::kOutputCount; ++n) {
        pulses[at(n)] = s.ioControl.pulses[at(n)];
        ok = passes(plan, {{element("OutputPulse", n), validate::inRange(pulses[at(n)], 0, kDigitMax)}}) && ok;
    }
    if (ok)
        add(plan, io::dataLoggerLine(s.ioControl.samplingRate, s.ioControl.dataLoggerPeriod, pulses),
            QStringList{QStringLiteral("SamplingRate"), QStringLiteral("DataLoggerPeriod")} +
                elements("OutputPulse", io::kOutputCount));
}

void options(const WindowSettings &s, Plan &plan) {
    const QByteArray padded = io::paddedOptions(s.work.OtherParametersWork);
    if (passes(plan, {{QStringLiteral("OtherParameters"),
                       validate::fieldText(s.work.OtherParametersWork, io::kOptionLength, true)}}))
        add(plan, io::optionsLine(padded), {QStringLiteral("OtherParameters")});
}

// The schedule as the tab's "SET" sends it after start-up decoded the stored
// string into its controls.
void schedule(const WindowSettings &s, Plan &plan) {
    msg::ScheduleString stored;
    stored.load(s.work.ScheduleString);
    if (!passes(plan, {{QStringLiteral("StoredSchedule"),
                        validate::fieldText(stored.text(), msg::ScheduleString::kCapacity, true)}}))
        return;
    const msg::ScheduleDecoding decoded = msg::decodeSchedule(stored);
    msg::ScheduleControls controls;
    controls.typeItem = decoded.typeItem;
    controls.repetitionItem = decoded.repetitionItem.value_or(msg::kRepetitionOther);
    for (int k = 0; k < msg::kScheduleHours; ++k) {
        controls.enabled[std::size_t(k)] = decoded.enabled[std::size_t(k)];
        controls.hours[std::size_t(k)] = decoded.hours[std::size_t(k)].value_or(0);
    }
    add(plan, msg::buildSetScheduleLine(stored, controls), {QStringLiteral("StoredSchedule")});
}

constexpr std::array<const char *, msg::kGprsFtpCount> kNetworkFields = {
    "GprsApn", "GprsUserId", "GprsPassword", "GprsServerAddress",
    "FtpHost", "FtpUser",    "FtpPassword",  "FtpDirectory",
};

void network(const WindowSettings &s, Plan &plan) {
    for (int i = 0; i < msg::kGprsFtpCount; ++i) {
        const bool secret = msg::isPasswordParameter(i);
        const QString name = QLatin1String(kNetworkFields[std::size_t(i)]);
        const QByteArray &value = s.network.texts[std::size_t(i)];
        if (passes(plan, {{name, validate::networkValue(value, settings::layout::GprsApn.capacity(), secret)}}))
            add(plan, msg::gprsFtpWrite(i, value).line, {name}, secret);
    }
}

struct TableRow {
    PlanRow row;
    RowBuilder build;
};

// The field -> command table.
constexpr std::array<TableRow, 13> kTable = {{
    {{"SETNN / CLRNR", "AlarmNumbers[n] (empty: CLRNR)", "setAlarmNumberLine"}, &alarmNumbers},
    {{"SETPB", "PhoneBookNumbers[n] (empty: not sent)", "setPhoneBookLine"}, &phoneBook},
    {{"SETME ", "TempEventMask, AnalogEventMask, DigitalEventMask", "numberFilterLine"},
     &eventMasks},
    {{"SETTX", "ExternalTexts[n]", "textWriteLine"}, &externalTexts},
    {{"SETTI", "ShortTexts[n]", "textWriteLine"}, &shortTexts},
    {{"ANLEV", "AnalogMin[n], AnalogMax[n]", "analogLevelLine"}, &analogLevels},
    {{"AMODE", "AnalogModes[1..8], AnalogCoefficients, AnalogDividers", "analogModeLine"},
     &analogModes},
    {{"TCLEV", "TempMin[n], TempMax[n]", "temperatureLevelLine"}, &temperatureLevels},
    {{"SETTN", "SamplingRate, DataLoggerPeriod, OutputPulse[1..8]", "dataLoggerLine"},
     &dataLogger},
    {{"SETTF", "TempTimeoutFilter, AnalogTimeoutFilter, DigitalInputFilter", "timeoutFilterLine"},
     &filters},
    {{"SETMP ", "OtherParameters", "optionsLine"}, &options},
    {{"SETSH ", "StoredSchedule", "buildSetScheduleLine"}, &schedule},
    {{"SETAP SETID SETPW SETIP SETFT SETAF SETPF SETDN",
      "GprsApn, GprsUserId, GprsPassword, GprsServerAddress, FtpHost, FtpUser, FtpPassword, "
      "FtpDirectory",
      "gprsFtpWrite"},
     &network},
}};

const std::array<PlanRow, kTable.size()> kRows = [] {
    std::array<PlanRow, kTable.size()> rows{};
    for (std::size_t i = 0; i < kTable.size(); ++i)
        rows[i] = kTable[i].row;
    return rows;
}();

} // namespace

QString PlanStep::shownLine() const {
    if (secret)
        return text::fromAnsi(line.left(5)) + QStringLiteral(" (password)");
    return text::fromAnsi(line);
}

std::span<const PlanRow> planTable() { return kRows; }

Plan writePlan(const settings::ConfigRecord &record) {
    // Start-up's defaults (mask markers, padded options) apply to a copy.
    settings::ConfigRecord copy = record;
    const WindowSettings values = settings::loadWindowSettings(copy);
    Plan plan;
    for (const TableRow &row : kTable)
        row.build(values, plan);
    return plan;
}

Plan diffPlan(const settings::ConfigRecord &from, const settings::ConfigRecord &to,
              const QSet<QString> *known) {
    const Plan before = writePlan(from);
    Plan plan = writePlan(to);
    // Field by field: a command goes out when its line for the same entries
    // differs from the one for `from`, or `from` had none (a value it could
    // not carry).
    QHash<QString, QByteArray> old;
    for (const PlanStep &step : before.steps)
        old.insert(step.fieldText(), step.line);
    const auto allKnown = [&](const PlanStep &step) {
        return !known || std::all_of(step.entries.begin(), step.entries.end(),
                                     [&](const QString &e) { return known->contains(e); });
    };
    plan.steps.removeIf([&](const PlanStep &step) {
        const auto it = old.constFind(step.fieldText());
        return it != old.cend() && *it == step.line && allKnown(step);
    });
    plan.skipped.removeIf([&](const QString &why) { return before.skipped.contains(why); });
    return plan;
}

Plan namedPlan(const settings::ConfigRecord &record, const profile::EntryNames &names) {
    Plan plan = writePlan(record);
    const auto named = [&](const QString &entry) {
        return profile::namesEntry(names, profile::findEntry(entry));
    };
    plan.steps.removeIf([&](const PlanStep &step) {
        return std::none_of(step.entries.begin(), step.entries.end(), named);
    });
    plan.skipped.removeIf([&](const QString &why) { return !named(why.section(QLatin1Char(':'), 0, 0)); });
    return plan;
}

} // namespace zx::provision
