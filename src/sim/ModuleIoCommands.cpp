// The module's outputs, inputs, analog and temperature inputs, runtime
// counters, filters and options.
#include "sim/Module.h"
#include "sim/ModuleFields.h"

namespace zx::sim {

using namespace fields;

namespace {

const QByteArray kError = "ERROR";
const QByteArray kOk = "OK";

QByteArray onOff(bool on) {
    return on ? "ON" : "OFF";
}

QByteArray tenthsText(int tenths) {
    const int magnitude = tenths < 0 ? -tenths : tenths;
    return (tenths < 0 ? "-" : "+") + QByteArray::number(magnitude / 10) + '.' +
           QByteArray::number(magnitude % 10) + 'C';
}

bool isMaskCharacter(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'F') || c == '-';
}

bool isMask(const QByteArray &text, qsizetype length) {
    if (text.size() != length)
        return false;
    for (const char c : text)
        if (!isMaskCharacter(c))
            return false;
    return true;
}

} // namespace

bool Module::inputReads(int index) const {
    // Option 7: digital input inversion.
    const bool inverted = charAt(m_state.options, 6) == 'E';
    return m_state.inputs[size_t(index)] != inverted;
}

QByteArray Module::outputCommand(const QByteArray &line, bool on) {
    const std::optional<int> output = digitAt(line, 5, 1, kOutputCount);
    if (!output || withoutTrailingBlanks(line).size() != 6)
        return kError;
    m_state.outputs[size_t(*output - 1)] = on;
    return "OUT" + QByteArray::number(*output) + ' ' + onOff(on);
}

QByteArray Module::outputState(const QByteArray &line) const {
    const std::optional<int> output = digitAt(line, 5, 0, kOutputCount);
    if (!output)
        return kError;
    if (*output > 0)
        return "OUT" + QByteArray::number(*output) + ' ' + onOff(m_state.outputs[size_t(*output - 1)]);
    // All outputs by their names: texts 82..89 for ON, 90..97 for OFF.
    QList<QByteArray> names;
    for (int k = 0; k < kOutputCount; ++k)
        names += m_state.shortTexts[size_t((m_state.outputs[size_t(k)] ? 81 : 89) + k)];
    return names.join(", ");
}

QByteArray Module::inputState(const QByteArray &line) const {
    const std::optional<int> input = numberAt(line, 5, 2);
    if (!input || *input > kInputCount)
        return kError;
    if (*input > 0)
        return "INP" + padded(*input, 2) + ' ' + onOff(inputReads(*input - 1));
    // All inputs by their names: texts 58..69 for 1, 70..81 for 0.
    QList<QByteArray> names;
    for (int i = 0; i < kInputCount; ++i)
        names += m_state.shortTexts[size_t((inputReads(i) ? 57 : 69) + i)];
    return names.join(", ");
}

QByteArray Module::parallelOutputs(const QByteArray &line) {
    const QByteArray pattern = line.mid(5);
    QByteArray outputs;
    for (int k = 0; k < kOutputCount; ++k) {
        if (k < pattern.size() && (pattern[k] == '0' || pattern[k] == '1'))
            m_state.outputs[size_t(k)] = pattern[k] == '1';
        outputs += m_state.outputs[size_t(k)] ? '1' : '0';
    }
    return "OUTP " + outputs;
}

QByteArray Module::loggerParameters(const QByteArray &line) {
    // "SETTN" rate " " period " " eight pulse digits
    const QByteArray fieldsText = withoutTrailingBlanks(line);
    if (fieldsText.size() != 17 || !digitAt(line, 5) || !charIs(line, 6, ' ') || !digitAt(line, 7) ||
        !charIs(line, 8, ' ') || !numberAt(line, 9, 8))
        return kError;
    m_state.samplingRate = line[5];
    m_state.loggerPeriod = line[7];
    m_state.pulses = line.mid(9, 8);
    return kOk;
}

QByteArray Module::analogLevel(const QByteArray &line) {
    const std::optional<int> input = digitAt(line, 5, 0, kAnalogCount);
    if (!input)
        return kError;
    if (*input == 0) {
        QList<QByteArray> levels;
        for (int a = 0; a < kAnalogCount; ++a) {
            const AnalogInput &analog = m_state.analog[size_t(a)];
            levels += "AN" + QByteArray::number(a + 1) + ' ' + padded(analog.minLevel, 2) + ' ' +
                      padded(analog.maxLevel, 2);
        }
        return levels.join(", ");
    }
    const std::optional<int> minimum = numberAt(line, 7, 2);
    const std::optional<int> maximum = numberAt(line, 10, 2);
    if (!charIs(line, 6, ' ') || !minimum || !charIs(line, 9, ' ') || !maximum ||
        withoutTrailingBlanks(line).size() != 12)
        return kError;
    AnalogInput &analog = m_state.analog[size_t(*input - 1)];
    analog.minLevel = *minimum;
    analog.maxLevel = *maximum;
    return kOk;
}

QByteArray Module::analogMode(const QByteArray &line) {
    // "AMODE" eight mode digits " " multipliers " " dividers
    const QList<QByteArray> parts = withoutTrailingBlanks(line.mid(5)).split(' ');
    if (parts.size() != 3 || parts[0].size() != kAnalogCount)
        return kError;
    for (const char mode : parts[0])
        if (mode < '1' || mode > '4')
            return kError;
    for (int a = 0; a < kAnalogCount; ++a)
        m_state.analog[size_t(a)].mode = parts[0][a];
    m_state.analogMultipliers = parts[1].left(8);
    m_state.analogDividers = parts[2].left(8);
    return kOk;
}

QByteArray Module::analogUnit(const QByteArray &line) {
    const std::optional<int> input = digitAt(line, 5, 1, kAnalogCount);
    if (!input)
        return kError;
    m_state.analog[size_t(*input - 1)].unit = withoutTrailingBlanks(line.mid(7)).trimmed().left(3);
    return kOk;
}

QByteArray Module::analogReading(const QByteArray &line) const {
    const QByteArray argument = withoutTrailingBlanks(line.mid(5));
    if (argument == "1")
        return "AREF 2.500V";
    if (!argument.isEmpty())
        return kError;
    const char minusMark = charAt(m_state.options, 0, 'M');
    const char plusMark = charAt(m_state.options, 1, 'P');
    QList<QByteArray> readings;
    for (int a = 0; a < kAnalogCount; ++a) {
        const AnalogInput &analog = m_state.analog[size_t(a)];
        QByteArray reading = "AN" + QByteArray::number(a + 1) + ' ' +
                             QByteArray::number(analog.percent) + analog.unit;
        // Levels 00/00 mean no limits are set.
        if (analog.minLevel != 0 || analog.maxLevel != 0) {
            if (analog.percent < analog.minLevel)
                reading += minusMark;
            else if (analog.percent > analog.maxLevel)
                reading += plusMark;
        }
        readings += reading;
    }
    return readings.join(' ');
}

QByteArray Module::temperatureLevel(const QByteArray &line) {
    const std::optional<int> input = digitAt(line, 5, 0, kTemperatureCount);
    if (!input)
        return kError;
    if (*input == 0) {
        QList<QByteArray> levels;
        for (int t = 0; t < kTemperatureCount; ++t) {
            const TemperatureInput &temperature = m_state.temperatures[size_t(t)];
            levels += 'T' + QByteArray::number(t + 1) + ' ' + signedLevel(temperature.minLevel) +
                      ' ' + signedLevel(temperature.maxLevel);
        }
        return levels.join(", ");
    }
    const auto signedAt = [&line](qsizetype index) -> std::optional<int> {
        const std::optional<int> magnitude = numberAt(line, index + 1, 3);
        if (!magnitude || index >= line.size() || (line[index] != '+' && line[index] != '-'))
            return std::nullopt;
        return line[index] == '-' ? -*magnitude : *magnitude;
    };
    const std::optional<int> minimum = signedAt(6);
    const std::optional<int> maximum = signedAt(10);
    if (!minimum || !maximum || withoutTrailingBlanks(line).size() != 14)
        return kError;
    TemperatureInput &temperature = m_state.temperatures[size_t(*input - 1)];
    temperature.minLevel = *minimum;
    temperature.maxLevel = *maximum;
    return kOk;
}

QByteArray Module::temperatureReading() const {
    QList<QByteArray> readings;
    for (int t = 0; t < kTemperatureCount; ++t)
        readings += 'T' + QByteArray::number(t + 1) + ' ' +
                    tenthsText(m_state.temperatures[size_t(t)].tenths);
    return readings.join(' ');
}

QByteArray Module::temperatureHumidity() const {
    return "T " + tenthsText(m_state.temperatures[0].tenths) + " H " +
           QByteArray::number(m_state.humidityPercent) + '%';
}

QByteArray Module::runtimeLevels(const QByteArray &line) {
    // "RTLEV " five digits " " five digits
    const std::optional<int> first = numberAt(line, 6, 5);
    const std::optional<int> second = numberAt(line, 12, 5);
    if (!charIs(line, 5, ' ') || !first || !charIs(line, 11, ' ') || !second ||
        withoutTrailingBlanks(line).size() != 17)
        return kError;
    m_state.runtimes[0].level = *first;
    m_state.runtimes[1].level = *second;
    return kOk;
}

QByteArray Module::runtimeMode(const QByteArray &line) {
    const QByteArray argument = withoutTrailingBlanks(line.mid(5));
    if (argument.toUpper() == "R")
        return "RTMOD" + QByteArray(1, m_state.runtimeInput) + m_state.runtimeKind +
               m_state.runtimeDivider;
    const std::optional<int> input = digitAt(argument, 0, 1, 4);
    const QByteArray divider = argument.mid(2);
    if (!input || argument.size() < 3 || QByteArray("ADI").indexOf(argument[1]) < 0 ||
        divider.size() > 4 || !numberAt(divider, 0, divider.size()))
        return kError;
    m_state.runtimeInput = argument[0];
    m_state.runtimeKind = argument[1];
    m_state.runtimeDivider = divider.rightJustified(4, '0');
    return kOk;
}

QByteArray Module::runtimeReading() const {
    return "RT1 " + padded(m_state.runtimes[0].count, 5) + " RT2 " +
           padded(m_state.runtimes[1].count, 5);
}

QByteArray Module::timeoutFilters(const QByteArray &line) {
    // Fixed columns; the tool's per-tab buttons leave the other fields blank.
    const std::optional<int> temperature = numberAt(line, 6, 2);
    const std::optional<int> analog = numberAt(line, 9, 2);
    const std::optional<int> digital = digitAt(line, 12);
    if (!temperature && !analog && !digital)
        return kError;
    if (temperature)
        m_state.temperatureFilter = *temperature;
    if (analog)
        m_state.analogFilter = *analog;
    if (digital)
        m_state.digitalFilter = *digital;
    return "FILTER " + padded(m_state.temperatureFilter, 2) + ' ' + padded(m_state.analogFilter, 2) +
           ' ' + QByteArray::number(m_state.digitalFilter);
}

QByteArray Module::setOptions(const QByteArray &line) {
    if (!charIs(line, 5, ' ') || line.size() < 7)
        return kError;
    m_state.options = line.mid(6, 16).leftJustified(16, ' ');
    return kOk;
}

QByteArray Module::timeSource(const QByteArray &line) {
    if (!digitAt(line, 5, 1, 7) || withoutTrailingBlanks(line).size() != 6)
        return kError;
    m_state.timeSource = line[5];
    return kOk;
}

QByteArray Module::eventMasks(const QByteArray &line) {
    // "SETME " T(3) "  " A(8) " " D(12)
    const QByteArray temperature = line.mid(6, 3);
    const QByteArray analog = line.mid(11, 8);
    const QByteArray digital = line.mid(20, 12);
    if (line.mid(9, 2) != "  " || !charIs(line, 19, ' ') || !isMask(temperature, 3) ||
        !isMask(analog, 8) || !isMask(digital, 12))
        return kError;
    m_state.temperatureMask = temperature;
    m_state.analogMask = analog;
    m_state.digitalMask = digital;
    return kOk;
}

} // namespace zx::sim
