#include "settings/ConfigRecord.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace zx::settings {

int ConfigRecord::slot(const FieldLayout &field, int n) {
    if (n < 1 || n > field.count)
        return -1;
    return field.elementOffset(n);
}

qint32 ConfigRecord::int32At(const FieldLayout &field, int n) const {
    Q_ASSERT(field.kind == FieldKind::Int32);
    const int at = slot(field, n);
    return at < 0 ? 0 : qFromLittleEndian<qint32>(m_bytes.data() + at);
}

void ConfigRecord::setInt32At(const FieldLayout &field, qint32 value, int n) {
    Q_ASSERT(field.kind == FieldKind::Int32);
    if (const int at = slot(field, n); at >= 0)
        qToLittleEndian<qint32>(value, m_bytes.data() + at);
}

qint16 ConfigRecord::int16At(const FieldLayout &field) const {
    Q_ASSERT(field.kind == FieldKind::Int16);
    return qFromLittleEndian<qint16>(m_bytes.data() + field.offset);
}

void ConfigRecord::setInt16At(const FieldLayout &field, qint16 value) {
    Q_ASSERT(field.kind == FieldKind::Int16);
    qToLittleEndian<qint16>(value, m_bytes.data() + field.offset);
}

quint8 ConfigRecord::byteAt(const FieldLayout &field) const {
    Q_ASSERT(field.kind == FieldKind::Byte);
    return m_bytes[field.offset];
}

void ConfigRecord::setByteAt(const FieldLayout &field, quint8 value) {
    Q_ASSERT(field.kind == FieldKind::Byte);
    m_bytes[field.offset] = value;
}

bool ConfigRecord::boolAt(const FieldLayout &field) const {
    Q_ASSERT(field.kind == FieldKind::Bool);
    return m_bytes[field.offset] != 0;
}

void ConfigRecord::setBoolAt(const FieldLayout &field, bool on) {
    Q_ASSERT(field.kind == FieldKind::Bool);
    m_bytes[field.offset] = on ? 1 : 0;
}

QByteArray ConfigRecord::textAt(const FieldLayout &field, int n) const {
    Q_ASSERT(field.kind == FieldKind::ShortString);
    const int at = slot(field, n);
    if (at < 0)
        return {};
    // Only a file written elsewhere can hold a length above the capacity.
    const int length = std::min<int>(m_bytes[at], field.capacity());
    return QByteArray(reinterpret_cast<const char *>(m_bytes.data() + at + 1), length);
}

void ConfigRecord::setTextAt(const FieldLayout &field, const QByteArray &text, int n) {
    Q_ASSERT(field.kind == FieldKind::ShortString);
    const int at = slot(field, n);
    if (at < 0)
        return;
    const auto length = static_cast<int>(std::min<qsizetype>(text.size(), field.capacity()));
    m_bytes[at] = static_cast<quint8>(length);
    // The bytes after the new text keep whatever they held.
    std::memcpy(m_bytes.data() + at + 1, text.constData(), static_cast<std::size_t>(length));
}

qint32 ConfigRecord::BaudRateIndex() const {
    return int32At(layout::BaudRateIndex);
}
void ConfigRecord::setBaudRateIndex(qint32 value) {
    setInt32At(layout::BaudRateIndex, value);
}

qint32 ConfigRecord::ComPortIndex() const {
    return int32At(layout::ComPortIndex);
}
void ConfigRecord::setComPortIndex(qint32 value) {
    setInt32At(layout::ComPortIndex, value);
}

qint32 ConfigRecord::WaitSmsTimeout() const {
    return int32At(layout::WaitSmsTimeout);
}
void ConfigRecord::setWaitSmsTimeout(qint32 value) {
    setInt32At(layout::WaitSmsTimeout, value);
}

qint32 ConfigRecord::StoredPollFactor() const {
    return int32At(layout::StoredPollFactor);
}
void ConfigRecord::setStoredPollFactor(qint32 value) {
    setInt32At(layout::StoredPollFactor, value);
}

QByteArray ConfigRecord::ModuleNumberCopy() const {
    return textAt(layout::ModuleNumberCopy);
}
void ConfigRecord::setModuleNumberCopy(const QByteArray &text) {
    setTextAt(layout::ModuleNumberCopy, text);
}

QByteArray ConfigRecord::ExternalText(int n) const {
    return textAt(layout::ExternalTexts, n);
}
void ConfigRecord::setExternalText(int n, const QByteArray &text) {
    setTextAt(layout::ExternalTexts, text, n);
}

QByteArray ConfigRecord::ShortText(int n) const {
    return textAt(layout::ShortTexts, n);
}
void ConfigRecord::setShortText(int n, const QByteArray &text) {
    setTextAt(layout::ShortTexts, text, n);
}

qint32 ConfigRecord::TempTimeoutFilter() const {
    return int32At(layout::TempTimeoutFilter);
}
void ConfigRecord::setTempTimeoutFilter(qint32 value) {
    setInt32At(layout::TempTimeoutFilter, value);
}

qint32 ConfigRecord::AnalogTimeoutFilter() const {
    return int32At(layout::AnalogTimeoutFilter);
}
void ConfigRecord::setAnalogTimeoutFilter(qint32 value) {
    setInt32At(layout::AnalogTimeoutFilter, value);
}

qint32 ConfigRecord::DigitalInputFilter() const {
    return int32At(layout::DigitalInputFilter);
}
void ConfigRecord::setDigitalInputFilter(qint32 value) {
    setInt32At(layout::DigitalInputFilter, value);
}

qint32 ConfigRecord::OutputPulse(int n) const {
    return int32At(layout::OutputPulse, n);
}
void ConfigRecord::setOutputPulse(int n, qint32 value) {
    setInt32At(layout::OutputPulse, value, n);
}

qint32 ConfigRecord::SamplingRate() const {
    return int32At(layout::SamplingRate);
}
void ConfigRecord::setSamplingRate(qint32 value) {
    setInt32At(layout::SamplingRate, value);
}

bool ConfigRecord::DeleteIncomingSms() const {
    return boolAt(layout::DeleteIncomingSms);
}
void ConfigRecord::setDeleteIncomingSms(bool on) {
    setBoolAt(layout::DeleteIncomingSms, on);
}

bool ConfigRecord::SmsModeOn() const {
    return boolAt(layout::SmsModeOn);
}
void ConfigRecord::setSmsModeOn(bool on) {
    setBoolAt(layout::SmsModeOn, on);
}

qint32 ConfigRecord::AnalogMin(int n) const {
    return int32At(layout::AnalogMin, n);
}
void ConfigRecord::setAnalogMin(int n, qint32 value) {
    setInt32At(layout::AnalogMin, value, n);
}

qint32 ConfigRecord::AnalogMax(int n) const {
    return int32At(layout::AnalogMax, n);
}
void ConfigRecord::setAnalogMax(int n, qint32 value) {
    setInt32At(layout::AnalogMax, value, n);
}

qint32 ConfigRecord::TempMin(int n) const {
    return int32At(layout::TempMin, n);
}
void ConfigRecord::setTempMin(int n, qint32 value) {
    setInt32At(layout::TempMin, value, n);
}

qint32 ConfigRecord::TempMax(int n) const {
    return int32At(layout::TempMax, n);
}
void ConfigRecord::setTempMax(int n, qint32 value) {
    setInt32At(layout::TempMax, value, n);
}

QByteArray ConfigRecord::TempEventMask() const {
    return textAt(layout::TempEventMask);
}
void ConfigRecord::setTempEventMask(const QByteArray &text) {
    setTextAt(layout::TempEventMask, text);
}

QByteArray ConfigRecord::AnalogEventMask() const {
    return textAt(layout::AnalogEventMask);
}
void ConfigRecord::setAnalogEventMask(const QByteArray &text) {
    setTextAt(layout::AnalogEventMask, text);
}

QByteArray ConfigRecord::DigitalEventMask() const {
    return textAt(layout::DigitalEventMask);
}
void ConfigRecord::setDigitalEventMask(const QByteArray &text) {
    setTextAt(layout::DigitalEventMask, text);
}

QByteArray ConfigRecord::GprsApn() const {
    return textAt(layout::GprsApn);
}
void ConfigRecord::setGprsApn(const QByteArray &text) {
    setTextAt(layout::GprsApn, text);
}

QByteArray ConfigRecord::GprsUserId() const {
    return textAt(layout::GprsUserId);
}
void ConfigRecord::setGprsUserId(const QByteArray &text) {
    setTextAt(layout::GprsUserId, text);
}

QByteArray ConfigRecord::GprsPassword() const {
    return textAt(layout::GprsPassword);
}
void ConfigRecord::setGprsPassword(const QByteArray &text) {
    setTextAt(layout::GprsPassword, text);
}

QByteArray ConfigRecord::GprsServerAddress() const {
    return textAt(layout::GprsServerAddress);
}
void ConfigRecord::setGprsServerAddress(const QByteArray &text) {
    setTextAt(layout::GprsServerAddress, text);
}

QByteArray ConfigRecord::FtpHost() const {
    return textAt(layout::FtpHost);
}
void ConfigRecord::setFtpHost(const QByteArray &text) {
    setTextAt(layout::FtpHost, text);
}

QByteArray ConfigRecord::FtpUser() const {
    return textAt(layout::FtpUser);
}
void ConfigRecord::setFtpUser(const QByteArray &text) {
    setTextAt(layout::FtpUser, text);
}

QByteArray ConfigRecord::FtpPassword() const {
    return textAt(layout::FtpPassword);
}
void ConfigRecord::setFtpPassword(const QByteArray &text) {
    setTextAt(layout::FtpPassword, text);
}

qint32 ConfigRecord::TempFormatIndex() const {
    return int32At(layout::TempFormatIndex);
}
void ConfigRecord::setTempFormatIndex(qint32 value) {
    setInt32At(layout::TempFormatIndex, value);
}

qint32 ConfigRecord::DataLoggerPeriod() const {
    return int32At(layout::DataLoggerPeriod);
}
void ConfigRecord::setDataLoggerPeriod(qint32 value) {
    setInt32At(layout::DataLoggerPeriod, value);
}

QByteArray ConfigRecord::OtherParameters() const {
    return textAt(layout::OtherParameters);
}
void ConfigRecord::setOtherParameters(const QByteArray &text) {
    setTextAt(layout::OtherParameters, text);
}

quint8 ConfigRecord::KeptByteA() const {
    return byteAt(layout::KeptByteA);
}
void ConfigRecord::setKeptByteA(quint8 value) {
    setByteAt(layout::KeptByteA, value);
}

quint8 ConfigRecord::KeptByteB() const {
    return byteAt(layout::KeptByteB);
}
void ConfigRecord::setKeptByteB(quint8 value) {
    setByteAt(layout::KeptByteB, value);
}

QByteArray ConfigRecord::FtpDirectory() const {
    return textAt(layout::FtpDirectory);
}
void ConfigRecord::setFtpDirectory(const QByteArray &text) {
    setTextAt(layout::FtpDirectory, text);
}

QByteArray ConfigRecord::AlarmNumber(int n) const {
    return textAt(layout::AlarmNumbers, n);
}
void ConfigRecord::setAlarmNumber(int n, const QByteArray &text) {
    setTextAt(layout::AlarmNumbers, text, n);
}

QByteArray ConfigRecord::PhoneBookNumber(int n) const {
    return textAt(layout::PhoneBookNumbers, n);
}
void ConfigRecord::setPhoneBookNumber(int n, const QByteArray &text) {
    setTextAt(layout::PhoneBookNumbers, text, n);
}

QByteArray ConfigRecord::ModuleNumber() const {
    return textAt(layout::ModuleNumber);
}
void ConfigRecord::setModuleNumber(const QByteArray &text) {
    setTextAt(layout::ModuleNumber, text);
}

QByteArray ConfigRecord::StoredSchedule() const {
    return textAt(layout::StoredSchedule);
}
void ConfigRecord::setStoredSchedule(const QByteArray &text) {
    setTextAt(layout::StoredSchedule, text);
}

quint8 ConfigRecord::ScheduleTail() const {
    return byteAt(layout::ScheduleTail);
}
void ConfigRecord::setScheduleTail(quint8 value) {
    setByteAt(layout::ScheduleTail, value);
}

qint32 ConfigRecord::AnalogMode(int n) const {
    return int32At(layout::AnalogModes, n);
}
void ConfigRecord::setAnalogMode(int n, qint32 value) {
    setInt32At(layout::AnalogModes, value, n);
}

qint32 ConfigRecord::KeptWordA() const {
    return int32At(layout::KeptWordA);
}
void ConfigRecord::setKeptWordA(qint32 value) {
    setInt32At(layout::KeptWordA, value);
}

qint32 ConfigRecord::KeptWordB() const {
    return int32At(layout::KeptWordB);
}
void ConfigRecord::setKeptWordB(qint32 value) {
    setInt32At(layout::KeptWordB, value);
}

QByteArray ConfigRecord::AnalogCoefficients() const {
    return textAt(layout::AnalogCoefficients);
}
void ConfigRecord::setAnalogCoefficients(const QByteArray &text) {
    setTextAt(layout::AnalogCoefficients, text);
}

QByteArray ConfigRecord::AnalogDividers() const {
    return textAt(layout::AnalogDividers);
}
void ConfigRecord::setAnalogDividers(const QByteArray &text) {
    setTextAt(layout::AnalogDividers, text);
}

qint32 ConfigRecord::KeptSmall() const {
    return int32At(layout::KeptSmall);
}
void ConfigRecord::setKeptSmall(qint32 value) {
    setInt32At(layout::KeptSmall, value);
}

qint16 ConfigRecord::KeptHalfA() const {
    return int16At(layout::KeptHalfA);
}
void ConfigRecord::setKeptHalfA(qint16 value) {
    setInt16At(layout::KeptHalfA, value);
}

qint16 ConfigRecord::KeptHalfB() const {
    return int16At(layout::KeptHalfB);
}
void ConfigRecord::setKeptHalfB(qint16 value) {
    setInt16At(layout::KeptHalfB, value);
}

bool ConfigRecord::SkipCrLf() const {
    return boolAt(layout::SkipCrLf);
}
void ConfigRecord::setSkipCrLf(bool on) {
    setBoolAt(layout::SkipCrLf, on);
}

bool ConfigRecord::RtVariant() const {
    return boolAt(layout::RtVariant);
}
void ConfigRecord::setRtVariant(bool on) {
    setBoolAt(layout::RtVariant, on);
}

bool ConfigRecord::EvenParity() const {
    return boolAt(layout::EvenParity);
}
void ConfigRecord::setEvenParity(bool on) {
    setBoolAt(layout::EvenParity, on);
}

} // namespace zx::settings
