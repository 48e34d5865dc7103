#include "sim/ModuleState.h"

namespace zx::sim {
namespace {

QByteArray number(int n) {
    return QByteArray::number(n);
}

void fillExternalTexts(std::array<QByteArray, kExternalTextCount> &texts) {
    const char *const columns[] = {" < MINIMUM", " Normal", " > MAXIMUM"};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            texts[size_t(row * 3 + column)] = "Temperature " + number(row + 1) + columns[column];
    for (int a = 0; a < kAnalogCount; ++a)
        for (int column = 0; column < 3; ++column)
            texts[size_t(9 + a * 3 + column)] = "Analog Input " + number(a + 1) + columns[column];
    for (int i = 0; i < kInputCount; ++i) {
        texts[size_t(33 + i)] = "Event INP" + number(i + 1) + " 0-1";
        texts[size_t(45 + i)] = "Event INP" + number(i + 1) + " 1-0";
    }
}

void fillNames(std::array<QByteArray, kShortTextCount> &texts) {
    for (int i = 0; i < kInputCount; ++i) {
        texts[size_t(57 + i)] = "INP" + number(i + 1) + " 1";
        texts[size_t(69 + i)] = "INP" + number(i + 1) + " 0";
    }
    for (int k = 0; k < kOutputCount; ++k) {
        texts[size_t(81 + k)] = "OUT" + number(k + 1) + " 1";
        texts[size_t(89 + k)] = "OUT" + number(k + 1) + " 0";
    }
}

} // namespace

ModuleState::ModuleState() {
    // Made-up readings, varied enough to tell the inputs apart in a reply.
    inputs = {false, true, false, false, true, false, false, false, true, false, false, false};
    const int analogValues[kAnalogCount] = {12, 47, 88, 3, 50, 64, 0, 99};
    for (int a = 0; a < kAnalogCount; ++a)
        analog[size_t(a)].percent = analogValues[a];
    const int temperatureValues[kTemperatureCount] = {215, 190, -35};
    for (int t = 0; t < kTemperatureCount; ++t)
        temperatures[size_t(t)].tenths = temperatureValues[t];
    runtimes[0].count = 1234;
    runtimes[1].count = 42;
    fillExternalTexts(externalTexts);
    fillNames(shortTexts);
}

} // namespace zx::sim
