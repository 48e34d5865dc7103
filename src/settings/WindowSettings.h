#pragma once
// The values the window's controls and working copies take from the settings
// record at start-up and give back to it on "Save Setting", grouped by the tab
// that shows them. The record side (which field, which rule) is known here
// only; each tab knows only how its part reaches its own controls.
#include "settings/ConfigRecord.h"

#include <QByteArray>

#include <array>

namespace zx::settings {

// How many of each the record holds.
inline constexpr int kAlarmNumberCount = layout::AlarmNumbers.count;
inline constexpr int kExternalTextCount = layout::ExternalTexts.count;
inline constexpr int kShortTextCount = layout::ShortTexts.count;
inline constexpr int kAnalogInputCount = layout::AnalogModes.count;
inline constexpr int kTemperatureInputCount = layout::TempMin.count;
inline constexpr int kOutputCount = layout::OutputPulse.count;
inline constexpr int kNetworkTextCount = 8; // the GPRS and FTP texts, one field each

// Values held outside the controls while the tool runs, taken from the record
// at start-up and written back on save where they are stored.
struct WorkingCopies {
    bool SmsModeFlag = false;
    qint32 StoredPollFactor = 0; // as read, unclamped
    QByteArray ScheduleString = QByteArray(9, '\0'); // type letter, then four hour pairs
    QByteArray TempMaskChars = QByteArray(3, '\0');
    QByteArray AnalogMaskChars = QByteArray(8, '\0');
    QByteArray DigitalMaskChars = QByteArray(12, '\0');
    qint32 LastTempFormat = 0;
    QByteArray OtherParametersWork;
    qint32 KeptWordA = 0;
    qint32 KeptWordB = 0;
    qint32 KeptSmall = 0;
    qint16 KeptHalfA = 0;
    qint16 KeptHalfB = 0;
};

struct SerialPortSettings {
    qint32 baudRateIndex = 0;
    qint32 comPortIndex = 0;
    qint32 waitSmsTimeout = 0;
    bool evenParity = false;
    bool skipCrLf = false;
};

struct MainSettings {
    // Start-up gives the box the first copy, then the second, which wins;
    // a save writes the box's text into both.
    QByteArray moduleNumberCopy;
    QByteArray moduleNumber;
    bool deleteIncomingSms = false;
    bool smsMode = false;
};

struct NumberSettings {
    std::array<QByteArray, kAlarmNumberCount> alarmNumbers;
    std::array<QByteArray, kAlarmNumberCount> phoneBookNumbers;
};

// The texts of the three mask boxes; the characters the rows decode from are
// in the working copies.
struct MaskSettings {
    QByteArray temperature;
    QByteArray analog;
    QByteArray digital;
};

struct TextSettings {
    std::array<QByteArray, kExternalTextCount> external; // 1..57
    std::array<QByteArray, kShortTextCount> shortTexts;  // 1..57 internal, 58..97 names

    QByteArray &externalText(int n) { return external[std::size_t(n - 1)]; }
    const QByteArray &externalText(int n) const { return external[std::size_t(n - 1)]; }
    QByteArray &shortText(int n) { return shortTexts[std::size_t(n - 1)]; }
    const QByteArray &shortText(int n) const { return shortTexts[std::size_t(n - 1)]; }
};

struct AnalogSettings {
    std::array<qint32, kAnalogInputCount> minimum{};
    std::array<qint32, kAnalogInputCount> maximum{};
    std::array<qint32, kAnalogInputCount> modes{};
    QByteArray coefficients;
    QByteArray dividers;
};

struct TemperatureSettings {
    std::array<qint32, kTemperatureInputCount> minimum{};
    std::array<qint32, kTemperatureInputCount> maximum{};
};

struct IoControlSettings {
    qint32 samplingRate = 0;
    qint32 dataLoggerPeriod = 0;
    std::array<qint32, kOutputCount> pulses{};
};

// The "Timeout Filter" group of the "Other" tab.
struct FilterSettings {
    qint32 temperature = 0;
    qint32 analog = 0;
    qint32 digital = 0;
};

// APN, user, password, server address, FTP host, user, password, directory.
struct NetworkSettings {
    std::array<QByteArray, kNetworkTextCount> texts;
};

struct WindowSettings {
    SerialPortSettings serialPort;
    MainSettings main;
    NumberSettings numbers;
    MaskSettings masks;
    TextSettings texts;
    AnalogSettings analog;
    TemperatureSettings temperature;
    IoControlSettings ioControl;
    FilterSettings filters;
    NetworkSettings network;
    bool rtVariant = false;
    WorkingCopies work;
};

// Start-up: writes the record's own defaults into it first (empty masks get
// their disabled markers, the option string is padded to 16 characters), then
// reads every value. KeptSmall above 4 is taken as 0; the mask characters are
// taken as they stand, whatever the length bytes say.
WindowSettings loadWindowSettings(ConfigRecord &record);

// Saving: every value goes back to its field (texts cut to their slots);
// StoredPollFactor as it was read, ScheduleTail 0. KeptByteA, KeptByteB and
// the reserved bytes are not written.
void storeWindowSettings(const WindowSettings &settings, ConfigRecord &record);

} // namespace zx::settings
