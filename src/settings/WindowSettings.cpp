#include "settings/WindowSettings.h"

namespace zx::settings {
namespace {

constexpr int kOptionLength = 16;
constexpr qint32 kLargestKeptSmall = 4;

using TextGetter = QByteArray (ConfigRecord::*)() const;
using TextSetter = void (ConfigRecord::*)(const QByteArray &);

// The GPRS and FTP texts, in the order of NetworkSettings.
constexpr std::array<std::pair<TextGetter, TextSetter>, kNetworkTextCount> kNetworkFields = {{
    {&ConfigRecord::GprsApn, &ConfigRecord::setGprsApn},
    {&ConfigRecord::GprsUserId, &ConfigRecord::setGprsUserId},
    {&ConfigRecord::GprsPassword, &ConfigRecord::setGprsPassword},
    {&ConfigRecord::GprsServerAddress, &ConfigRecord::setGprsServerAddress},
    {&ConfigRecord::FtpHost, &ConfigRecord::setFtpHost},
    {&ConfigRecord::FtpUser, &ConfigRecord::setFtpUser},
    {&ConfigRecord::FtpPassword, &ConfigRecord::setFtpPassword},
    {&ConfigRecord::FtpDirectory, &ConfigRecord::setFtpDirectory},
}};

// The characters of a text slot as they stand, whatever its length byte says.
QByteArray slotCharacters(const ConfigRecord &record, const FieldLayout &field, int count) {
    return QByteArray(reinterpret_cast<const char *>(record.bytes().data()) + field.offset + 1,
                      count);
}

void writeRecordDefaults(ConfigRecord &r) {
    if (r.TempEventMask().isEmpty())
        r.setTempEventMask("---");
    if (r.AnalogEventMask().isEmpty())
        r.setAnalogEventMask("--------");
    if (r.DigitalEventMask().isEmpty())
        r.setDigitalEventMask("000000000000");
    QByteArray options = r.OtherParameters().left(kOptionLength);
    options.append(QByteArray(kOptionLength - options.size(), ' '));
    r.setOtherParameters(options);
}

WorkingCopies loadWorkingCopies(const ConfigRecord &r) {
    WorkingCopies w;
    w.StoredPollFactor = r.StoredPollFactor();
    w.ScheduleString = r.StoredSchedule();
    w.TempMaskChars = slotCharacters(r, layout::TempEventMask, 3);
    w.AnalogMaskChars = slotCharacters(r, layout::AnalogEventMask, 8);
    w.DigitalMaskChars = slotCharacters(r, layout::DigitalEventMask, 12);
    w.LastTempFormat = r.TempFormatIndex();
    w.OtherParametersWork = r.OtherParameters();
    w.KeptWordA = r.KeptWordA();
    w.KeptWordB = r.KeptWordB();
    w.KeptSmall = r.KeptSmall() > kLargestKeptSmall ? 0 : r.KeptSmall();
    w.KeptHalfA = r.KeptHalfA();
    w.KeptHalfB = r.KeptHalfB();
    return w;
}

} // namespace

WindowSettings loadWindowSettings(ConfigRecord &r) {
    writeRecordDefaults(r);
    WindowSettings s;
    s.serialPort = {r.BaudRateIndex(), r.ComPortIndex(), r.WaitSmsTimeout(), r.EvenParity(),
                    r.SkipCrLf()};
    s.main = {r.ModuleNumberCopy(), r.ModuleNumber(), r.DeleteIncomingSms(), r.SmsModeOn()};
    for (int n = 1; n <= kAlarmNumberCount; ++n) {
        s.numbers.alarmNumbers[std::size_t(n - 1)] = r.AlarmNumber(n);
        s.numbers.phoneBookNumbers[std::size_t(n - 1)] = r.PhoneBookNumber(n);
    }
    s.masks = {r.TempEventMask(), r.AnalogEventMask(), r.DigitalEventMask()};
    for (int n = 1; n <= kExternalTextCount; ++n)
        s.texts.externalText(n) = r.ExternalText(n);
    for (int n = 1; n <= kShortTextCount; ++n)
        s.texts.shortText(n) = r.ShortText(n);
    for (int n = 1; n <= kAnalogInputCount; ++n) {
        s.analog.minimum[std::size_t(n - 1)] = r.AnalogMin(n);
        s.analog.maximum[std::size_t(n - 1)] = r.AnalogMax(n);
        s.analog.modes[std::size_t(n - 1)] = r.AnalogMode(n);
    }
    s.analog.coefficients = r.AnalogCoefficients();
    s.analog.dividers = r.AnalogDividers();
    for (int n = 1; n <= kTemperatureInputCount; ++n) {
        s.temperature.minimum[std::size_t(n - 1)] = r.TempMin(n);
        s.temperature.maximum[std::size_t(n - 1)] = r.TempMax(n);
    }
    s.ioControl.samplingRate = r.SamplingRate();
    s.ioControl.dataLoggerPeriod = r.DataLoggerPeriod();
    for (int n = 1; n <= kOutputCount; ++n)
        s.ioControl.pulses[std::size_t(n - 1)] = r.OutputPulse(n);
    s.filters = {r.TempTimeoutFilter(), r.AnalogTimeoutFilter(), r.DigitalInputFilter()};
    for (std::size_t i = 0; i < kNetworkFields.size(); ++i)
        s.network.texts[i] = (r.*kNetworkFields[i].first)();
    s.rtVariant = r.RtVariant();
    s.work = loadWorkingCopies(r);
    return s;
}

void storeWindowSettings(const WindowSettings &s, ConfigRecord &r) {
    r.setBaudRateIndex(s.serialPort.baudRateIndex);
    r.setComPortIndex(s.serialPort.comPortIndex);
    r.setWaitSmsTimeout(s.serialPort.waitSmsTimeout);
    r.setStoredPollFactor(s.work.StoredPollFactor);
    r.setStoredSchedule(s.work.ScheduleString);
    r.setScheduleTail(0);
    r.setModuleNumberCopy(s.main.moduleNumber);
    r.setModuleNumber(s.main.moduleNumber);
    for (int n = 1; n <= kAlarmNumberCount; ++n) {
        r.setAlarmNumber(n, s.numbers.alarmNumbers[std::size_t(n - 1)]);
        r.setPhoneBookNumber(n, s.numbers.phoneBookNumbers[std::size_t(n - 1)]);
    }
    r.setRtVariant(s.rtVariant);
    r.setEvenParity(s.serialPort.evenParity);
    r.setDigitalInputFilter(s.filters.digital);
    r.setTempTimeoutFilter(s.filters.temperature);
    r.setAnalogTimeoutFilter(s.filters.analog);
    r.setSamplingRate(s.ioControl.samplingRate);
    for (int n = 1; n <= kOutputCount; ++n)
        r.setOutputPulse(n, s.ioControl.pulses[std::size_t(n - 1)]);
    r.setDeleteIncomingSms(s.main.deleteIncomingSms);
    r.setSmsModeOn(s.main.smsMode);
    for (int n = 1; n <= kTemperatureInputCount; ++n) {
        r.setTempMin(n, s.temperature.minimum[std::size_t(n - 1)]);
        r.setTempMax(n, s.temperature.maximum[std::size_t(n - 1)]);
    }
    for (int n = 1; n <= kAnalogInputCount; ++n) {
        r.setAnalogMin(n, s.analog.minimum[std::size_t(n - 1)]);
        r.setAnalogMax(n, s.analog.maximum[std::size_t(n - 1)]);
    }
    for (int n = 1; n <= kExternalTextCount; ++n)
        r.setExternalText(n, s.texts.externalText(n));
    for (int n = 1; n <= kShortTextCount; ++n)
        r.setShortText(n, s.texts.shortText(n));
    r.setTempEventMask(s.masks.temperature);
    r.setAnalogEventMask(s.masks.analog);
    r.setDigitalEventMask(s.masks.digital);
    for (std::size_t i = 0; i < kNetworkFields.size(); ++i)
        (r.*kNetworkFields[i].second)(s.network.texts[i]);
    r.setTempFormatIndex(s.work.LastTempFormat);
    r.setDataLoggerPeriod(s.ioControl.dataLoggerPeriod);
    r.setOtherParameters(s.work.OtherParametersWork);
    for (int n = 1; n <= kAnalogInputCount; ++n)
        r.setAnalogMode(n, s.analog.modes[std::size_t(n - 1)]);
    r.setKeptWordA(s.work.KeptWordA);
    r.setKeptWordB(s.work.KeptWordB);
    r.setAnalogCoefficients(s.analog.coefficients);
    r.setAnalogDividers(s.analog.dividers);
    r.setKeptSmall(s.work.KeptSmall);
    r.setSkipCrLf(s.serialPort.skipCrLf);
    r.setKeptHalfA(s.work.KeptHalfA);
    r.setKeptHalfB(s.work.KeptHalfB);
}

} // namespace zx::settings
