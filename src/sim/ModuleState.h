#pragma once
// Everything the simulated module remembers: what the tool writes into it
// and the input values it makes up for the tool to read.
#include <QByteArray>

#include <array>

namespace zx::sim {

inline constexpr int kOutputCount = 8;
inline constexpr int kInputCount = 12;
inline constexpr int kAnalogCount = 8;
inline constexpr int kTemperatureCount = 3;
inline constexpr int kRuntimeCount = 2;
inline constexpr int kNumberCount = 7;
inline constexpr int kExternalTextCount = 57;
inline constexpr int kShortTextCount = 97;

struct AnalogInput {
    int percent = 0;   // the value the module reports, 0..100
    int minLevel = 0;  // "00".."99"
    int maxLevel = 0;
    char mode = '1';   // "1" 0-5V, "2" 0-10V, "3" 4-20mA, "4" 0-20mA
    QByteArray unit = "%";
};

struct TemperatureInput {
    int tenths = 0;    // the reading in tenths of a degree
    int minLevel = 0;  // whole degrees
    int maxLevel = 0;
};

struct RuntimeCounter {
    int count = 0;
    int level = 0;     // 0..99999
};

struct GprsParameters {
    QByteArray apn;
    QByteArray userId;
    QByteArray password;
    QByteArray serverAddress = "0.0.0.0";
    QByteArray ftpHost;
    QByteArray ftpUser;
    QByteArray ftpPassword;
    QByteArray ftpDirectory;
};

struct ModuleState {
    ModuleState(); // fills the texts with the factory names

    std::array<bool, kOutputCount> outputs{};
    std::array<bool, kInputCount> inputs{};
    std::array<AnalogInput, kAnalogCount> analog{};
    std::array<TemperatureInput, kTemperatureCount> temperatures{};
    std::array<RuntimeCounter, kRuntimeCount> runtimes{};
    int humidityPercent = 45;

    QByteArray analogMultipliers = "11111111";
    QByteArray analogDividers = "11111111";

    char runtimeInput = '1';  // "1".."4"
    char runtimeKind = 'A';   // "A", "D", "I"
    QByteArray runtimeDivider = "0000";

    // SETTN: sampling rate, data-logger period and one pulse digit per output.
    char samplingRate = '0';
    char loggerPeriod = '0';
    QByteArray pulses = "00000000";

    int temperatureFilter = 0; // 0..99
    int analogFilter = 0;      // 0..99
    int digitalFilter = 0;     // 0..9

    QByteArray temperatureMask = "FFF";
    QByteArray analogMask = "FFFFFFFF";
    QByteArray digitalMask = "FFFFFFFFFFFF";

    // 16 characters: two out-of-limit marks, then E/D flags.
    QByteArray options = "MPEDEDDDDEEDEDE ";
    char timeSource = '3'; // DTFTP digit "1".."7"
    QByteArray schedule = "         "; // nine characters

    std::array<QByteArray, kNumberCount> alarmNumbers{};
    std::array<QByteArray, kNumberCount> phoneBook{};
    std::array<QByteArray, kExternalTextCount> externalTexts{}; // [0] is text 1
    std::array<QByteArray, kShortTextCount> shortTexts{};

    GprsParameters gprs;

    qint64 clockOffsetSecs = 0; // module clock minus the PC clock
    QByteArray timeZone = "+02";
    QByteArray version = "2.07";
    int restarts = 0;
};

} // namespace zx::sim
