#pragma once
// The tool's persistent settings: one 4096-byte record, kept in memory for
// the whole run and stored whole as the settings file. Each accessor reads or
// writes its value straight in the byte image, so bytes no field uses (and
// values no control edits) pass from file to file unchanged.
//
// Arrays are numbered from 1; an element number outside the array reads as
// zero / empty and is ignored on write. Texts are single-byte characters:
// a longer text than its slot holds is cut when stored, a stored length byte
// above the slot's capacity reads as the capacity, and characters after a
// shorter text are left as they were.
#include "settings/ConfigLayout.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>

namespace zx::settings {

class ConfigRecord {
public:
    static constexpr int kSize = kConfigRecordSize;
    using Bytes = std::array<quint8, kSize>;

    ConfigRecord() = default; // all bytes zero

    const Bytes &bytes() const { return m_bytes; }
    void setBytes(const Bytes &bytes) { m_bytes = bytes; }

    bool operator==(const ConfigRecord &other) const = default;

    qint32 BaudRateIndex() const;
    void setBaudRateIndex(qint32 value);
    qint32 ComPortIndex() const;
    void setComPortIndex(qint32 value);
    qint32 WaitSmsTimeout() const;
    void setWaitSmsTimeout(qint32 value);
    qint32 StoredPollFactor() const;
    void setStoredPollFactor(qint32 value);
    QByteArray ModuleNumberCopy() const;
    void setModuleNumberCopy(const QByteArray &text);

    QByteArray ExternalText(int n) const; // n = 1..57
    void setExternalText(int n, const QByteArray &text);
    QByteArray ShortText(int n) const; // n = 1..97
    void setShortText(int n, const QByteArray &text);

    qint32 TempTimeoutFilter() const;
    void setTempTimeoutFilter(qint32 value);
    qint32 AnalogTimeoutFilter() const;
    void setAnalogTimeoutFilter(qint32 value);
    qint32 DigitalInputFilter() const;
    void setDigitalInputFilter(qint32 value);
    qint32 OutputPulse(int n) const; // n = 1..8
    void setOutputPulse(int n, qint32 value);
    qint32 SamplingRate() const;
    void setSamplingRate(qint32 value);
    bool DeleteIncomingSms() const;
    void setDeleteIncomingSms(bool on);
    bool SmsModeOn() const;
    void setSmsModeOn(bool on);

    qint32 AnalogMin(int n) const; // n = 1..8
    void setAnalogMin(int n, qint32 value);
    qint32 AnalogMax(int n) const; // n = 1..8
    void setAnalogMax(int n, qint32 value);
    qint32 TempMin(int n) const; // n = 1..3
    void setTempMin(int n, qint32 value);
    qint32 TempMax(int n) const; // n = 1..3
    void setTempMax(int n, qint32 value);

    QByteArray TempEventMask() const;
    void setTempEventMask(const QByteArray &text);
    QByteArray AnalogEventMask() const;
    void setAnalogEventMask(const QByteArray &text);
    QByteArray DigitalEventMask() const;
    void setDigitalEventMask(const QByteArray &text);

    QByteArray GprsApn() const;
    void setGprsApn(const QByteArray &text);
    QByteArray GprsUserId() const;
    void setGprsUserId(const QByteArray &text);
    QByteArray GprsPassword() const;
    void setGprsPassword(const QByteArray &text);
    QByteArray GprsServerAddress() const;
    void setGprsServerAddress(const QByteArray &text);
    QByteArray FtpHost() const;
    void setFtpHost(const QByteArray &text);
    QByteArray FtpUser() const;
    void setFtpUser(const QByteArray &text);
    QByteArray FtpPassword() const;
    void setFtpPassword(const QByteArray &text);

    qint32 TempFormatIndex() const;
    void setTempFormatIndex(qint32 value);
    qint32 DataLoggerPeriod() const;
    void setDataLoggerPeriod(qint32 value);
    QByteArray OtherParameters() const;
    void setOtherParameters(const QByteArray &text);
    quint8 KeptByteA() const;
    void setKeptByteA(quint8 value);
    quint8 KeptByteB() const;
    void setKeptByteB(quint8 value);
    QByteArray FtpDirectory() const;
    void setFtpDirectory(const QByteArray &text);

    QByteArray AlarmNumber(int n) const; // n = 1..7
    void setAlarmNumber(int n, const QByteArray &text);
    QByteArray PhoneBookNumber(int n) const; // n = 1..7
    void setPhoneBookNumber(int n, const QByteArray &text);
    QByteArray ModuleNumber() const;
    void setModuleNumber(const QByteArray &text);
    QByteArray StoredSchedule() const;
    void setStoredSchedule(const QByteArray &text);
    quint8 ScheduleTail() const;
    void setScheduleTail(quint8 value);

    qint32 AnalogMode(int n) const; // n = 1..8
    void setAnalogMode(int n, qint32 value);
    qint32 KeptWordA() const;
    void setKeptWordA(qint32 value);
    qint32 KeptWordB() const;
    void setKeptWordB(qint32 value);
    QByteArray AnalogCoefficients() const;
    void setAnalogCoefficients(const QByteArray &text);
    QByteArray AnalogDividers() const;
    void setAnalogDividers(const QByteArray &text);
    qint32 KeptSmall() const;
    void setKeptSmall(qint32 value);
    qint16 KeptHalfA() const;
    void setKeptHalfA(qint16 value);
    qint16 KeptHalfB() const;
    void setKeptHalfB(qint16 value);
    bool SkipCrLf() const;
    void setSkipCrLf(bool on);
    bool RtVariant() const;
    void setRtVariant(bool on);
    bool EvenParity() const;
    void setEvenParity(bool on);

private:
    // Offset of element n of the field, or -1 when n is outside 1..count.
    static int slot(const FieldLayout &field, int n);

    qint32 int32At(const FieldLayout &field, int n = 1) const;
    void setInt32At(const FieldLayout &field, qint32 value, int n = 1);
    qint16 int16At(const FieldLayout &field) const;
    void setInt16At(const FieldLayout &field, qint16 value);
    quint8 byteAt(const FieldLayout &field) const;
    void setByteAt(const FieldLayout &field, quint8 value);
    bool boolAt(const FieldLayout &field) const;
    void setBoolAt(const FieldLayout &field, bool on);
    QByteArray textAt(const FieldLayout &field, int n = 1) const;
    void setTextAt(const FieldLayout &field, const QByteArray &text, int n = 1);

    Bytes m_bytes{};
};

} // namespace zx::settings
