#pragma once
// Where every value of the 4096-byte settings record lives. The record is the
// raw image of the settings file, so these offsets are the file format: all
// integers little-endian, texts as a length byte followed by the characters.
#include <array>

namespace zx::settings {

enum class FieldKind { Int32, Int16, Bool, Byte, ShortString, Reserved };

struct FieldLayout {
    const char *name;
    int offset; // of the first element
    int size;   // of one element, in bytes
    FieldKind kind;
    int count = 1;  // elements, numbered 1..count
    int stride = 0; // distance between the starts of two elements

    constexpr int elementOffset(int n) const { return offset + stride * (n - 1); }
    // Characters a short string slot holds: its size less the length byte.
    constexpr int capacity() const { return kind == FieldKind::ShortString ? size - 1 : 0; }
};

inline constexpr int kConfigRecordSize = 4096;

namespace layout {

constexpr FieldLayout int32Field(const char *name, int offset, int count = 1, int stride = 4) {
    return {name, offset, 4, FieldKind::Int32, count, stride};
}
constexpr FieldLayout int16Field(const char *name, int offset) {
    return {name, offset, 2, FieldKind::Int16, 1, 2};
}
constexpr FieldLayout boolField(const char *name, int offset) {
    return {name, offset, 1, FieldKind::Bool, 1, 1};
}
constexpr FieldLayout byteField(const char *name, int offset) {
    return {name, offset, 1, FieldKind::Byte, 1, 1};
}
constexpr FieldLayout textField(const char *name, int offset, int capacity, int count = 1) {
    return {name, offset, capacity + 1, FieldKind::ShortString, count, capacity + 1};
}
constexpr FieldLayout reserved(int offset, int size) {
    return {"reserved", offset, size, FieldKind::Reserved, 1, size};
}

inline constexpr FieldLayout BaudRateIndex = int32Field("BaudRateIndex", 0);
inline constexpr FieldLayout ComPortIndex = int32Field("ComPortIndex", 4);
inline constexpr FieldLayout WaitSmsTimeout = int32Field("WaitSmsTimeout", 8);
inline constexpr FieldLayout StoredPollFactor = int32Field("StoredPollFactor", 12);
inline constexpr FieldLayout ModuleNumberCopy = textField("ModuleNumberCopy", 16, 20);
inline constexpr FieldLayout ExternalTexts = textField("ExternalTexts", 60, 26, 57);
inline constexpr FieldLayout ShortTexts = textField("ShortTexts", 1599, 15, 97);
inline constexpr FieldLayout TempTimeoutFilter = int32Field("TempTimeoutFilter", 3152);
inline constexpr FieldLayout AnalogTimeoutFilter = int32Field("AnalogTimeoutFilter", 3160);
inline constexpr FieldLayout DigitalInputFilter = int32Field("DigitalInputFilter", 3168);
inline constexpr FieldLayout OutputPulse = int32Field("OutputPulse", 3172, 8);
inline constexpr FieldLayout SamplingRate = int32Field("SamplingRate", 3204);
inline constexpr FieldLayout DeleteIncomingSms = boolField("DeleteIncomingSms", 3208);
inline constexpr FieldLayout SmsModeOn = boolField("SmsModeOn", 3209);
// Lower and upper levels alternate: Min1, Max1, Min2, Max2, ...
inline constexpr FieldLayout AnalogMin = int32Field("AnalogMin", 3212, 8, 8);
inline constexpr FieldLayout AnalogMax = int32Field("AnalogMax", 3216, 8, 8);
inline constexpr FieldLayout TempMin = int32Field("TempMin", 3276, 3, 8);
inline constexpr FieldLayout TempMax = int32Field("TempMax", 3280, 3, 8);
inline constexpr FieldLayout TempEventMask = textField("TempEventMask", 3308, 4);
inline constexpr FieldLayout AnalogEventMask = textField("AnalogEventMask", 3313, 8);
inline constexpr FieldLayout DigitalEventMask = textField("DigitalEventMask", 3322, 12);
inline constexpr FieldLayout GprsApn = textField("GprsApn", 3335, 40);
inline constexpr FieldLayout GprsUserId = textField("GprsUserId", 3376, 40);
inline constexpr FieldLayout GprsPassword = textField("GprsPassword", 3417, 40);
inline constexpr FieldLayout GprsServerAddress = textField("GprsServerAddress", 3458, 40);
inline constexpr FieldLayout FtpHost = textField("FtpHost", 3499, 40);
inline constexpr FieldLayout FtpUser = textField("FtpUser", 3540, 40);
inline constexpr FieldLayout FtpPassword = textField("FtpPassword", 3581, 40);
inline constexpr FieldLayout TempFormatIndex = int32Field("TempFormatIndex", 3624);
inline constexpr FieldLayout DataLoggerPeriod = int32Field("DataLoggerPeriod", 3628);
inline constexpr FieldLayout OtherParameters = textField("OtherParameters", 3632, 16);
inline constexpr FieldLayout KeptByteA = byteField("KeptByteA", 3649);
inline constexpr FieldLayout KeptByteB = byteField("KeptByteB", 3650);
inline constexpr FieldLayout FtpDirectory = textField("FtpDirectory", 3651, 40);
inline constexpr FieldLayout AlarmNumbers = textField("AlarmNumbers", 3692, 20, 7);
inline constexpr FieldLayout PhoneBookNumbers = textField("PhoneBookNumbers", 3839, 20, 7);
inline constexpr FieldLayout ModuleNumber = textField("ModuleNumber", 3986, 20);
inline constexpr FieldLayout StoredSchedule = textField("StoredSchedule", 4007, 9);
inline constexpr FieldLayout ScheduleTail = byteField("ScheduleTail", 4017);
inline constexpr FieldLayout AnalogModes = int32Field("AnalogModes", 4020, 8);
inline constexpr FieldLayout KeptWordA = int32Field("KeptWordA", 4052);
inline constexpr FieldLayout KeptWordB = int32Field("KeptWordB", 4056);
inline constexpr FieldLayout AnalogCoefficients = textField("AnalogCoefficients", 4060, 8);
inline constexpr FieldLayout AnalogDividers = textField("AnalogDividers", 4069, 8);
inline constexpr FieldLayout KeptSmall = int32Field("KeptSmall", 4080);
inline constexpr FieldLayout KeptHalfA = int16Field("KeptHalfA", 4084);
inline constexpr FieldLayout KeptHalfB = int16Field("KeptHalfB", 4086);
inline constexpr FieldLayout SkipCrLf = boolField("SkipCrLf", 4088);
inline constexpr FieldLayout RtVariant = boolField("RtVariant", 4091);
inline constexpr FieldLayout EvenParity = boolField("EvenParity", 4092);

} // namespace layout

// Every field and every unused range, in file order.
inline constexpr std::array kConfigLayout = {
    layout::BaudRateIndex,
    layout::ComPortIndex,
    layout::WaitSmsTimeout,
    layout::StoredPollFactor,
    layout::ModuleNumberCopy,
    layout::reserved(37, 23),
    layout::ExternalTexts,
    layout::ShortTexts,
    layout::reserved(3151, 1),
    layout::TempTimeoutFilter,
    layout::reserved(3156, 4),
    layout::AnalogTimeoutFilter,
    layout::reserved(3164, 4),
    layout::DigitalInputFilter,
    layout::OutputPulse,
    layout::SamplingRate,
    layout::DeleteIncomingSms,
    layout::SmsModeOn,
    layout::reserved(3210, 2),
    layout::AnalogMin,
    layout::AnalogMax,
    layout::TempMin,
    layout::TempMax,
    layout::reserved(3300, 8),
    layout::TempEventMask,
    layout::AnalogEventMask,
    layout::DigitalEventMask,
    layout::GprsApn,
    layout::GprsUserId,
    layout::GprsPassword,
    layout::GprsServerAddress,
    layout::FtpHost,
    layout::FtpUser,
    layout::FtpPassword,
    layout::reserved(3622, 2),
    layout::TempFormatIndex,
    layout::DataLoggerPeriod,
    layout::OtherParameters,
    layout::KeptByteA,
    layout::KeptByteB,
    layout::FtpDirectory,
    layout::AlarmNumbers,
    layout::PhoneBookNumbers,
    layout::ModuleNumber,
    layout::StoredSchedule,
    layout::ScheduleTail,
    layout::reserved(4018, 2),
    layout::AnalogModes,
    layout::KeptWordA,
    layout::KeptWordB,
    layout::AnalogCoefficients,
    layout::AnalogDividers,
    layout::reserved(4078, 2),
    layout::KeptSmall,
    layout::KeptHalfA,
    layout::KeptHalfB,
    layout::SkipCrLf,
    layout::reserved(4089, 2),
    layout::RtVariant,
    layout::EvenParity,
    layout::reserved(4093, 3),
};

} // namespace zx::settings
