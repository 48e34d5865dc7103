// Each accessor must write its own bytes of the settings file and no other.
// The offsets below are those of the file format, written out here on
// purpose rather than taken from the layout table under test.
#include "settings/ConfigRecord.h"
#include "common/RecordBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

using zx::settings::ConfigRecord;
using zx::settings::FieldKind;
using zx::settings::kConfigLayout;
using zx::testing::firstChangeOutside;
using zx::testing::slice;

namespace {

struct FieldCase {
    std::string field; // name in the layout table
    int element;       // 1 for a single field
    int offset;        // where the file format puts it
    QByteArray expected;
    std::function<void(ConfigRecord &)> write;
    std::function<bool(const ConfigRecord &)> readsBack;
};

QByteArray littleEndian(quint32 value, int size) {
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

// Builds one case per field or array element, each with a value of its own.
class Cases {
public:
    using Record = ConfigRecord;

    void int32(const char *field, int offset, void (Record::*set)(qint32),
               qint32 (Record::*get)() const) {
        const qint32 v = nextInt32();
        add(
            field, 1, offset, littleEndian(quint32(v), 4), [=](Record &r) { (r.*set)(v); },
            [=](const Record &r) { return (r.*get)() == v; });
    }

    void int32s(const char *field, int count, int first, int stride, int last,
                void (Record::*set)(int, qint32), qint32 (Record::*get)(int) const) {
        EXPECT_EQ(first + stride * (count - 1), last) << field;
        for (int n = 1; n <= count; ++n) {
            const qint32 v = nextInt32();
            add(
                field, n, first + stride * (n - 1), littleEndian(quint32(v), 4),
                [=](Record &r) { (r.*set)(n, v); },
                [=](const Record &r) { return (r.*get)(n) == v; });
        }
    }

    void int16(const char *field, int offset, void (Record::*set)(qint16),
               qint16 (Record::*get)() const) {
        const auto v = static_cast<qint16>(0x8000 | next());
        add(
            field, 1, offset, littleEndian(quint16(v), 2), [=](Record &r) { (r.*set)(v); },
            [=](const Record &r) { return (r.*get)() == v; });
    }

    void byte(const char *field, int offset, void (Record::*set)(quint8),
              quint8 (Record::*get)() const) {
        const auto v = static_cast<quint8>(0x80 | (next() & 0x7F));
        add(
            field, 1, offset, littleEndian(v, 1), [=](Record &r) { (r.*set)(v); },
            [=](const Record &r) { return (r.*get)() == v; });
    }

    void flag(const char *field, int offset, void (Record::*set)(bool),
              bool (Record::*get)() const) {
        next();
        add(
            field, 1, offset, QByteArray(1, '\1'), [=](Record &r) { (r.*set)(true); },
            [=](const Record &r) { return (r.*get)(); });
    }

    void text(const char *field, int offset, int capacity, void (Record::*set)(const QByteArray &),
              QByteArray (Record::*get)() const) {
        const QByteArray t = nextText(capacity);
        add(
            field, 1, offset, char(capacity) + t, [=](Record &r) { (r.*set)(t); },
            [=](const Record &r) { return (r.*get)() == t; });
    }

    void texts(const char *field, int count, int first, int stride, int last, int capacity,
               void (Record::*set)(int, const QByteArray &), QByteArray (Record::*get)(int) const) {
        EXPECT_EQ(first + stride * (count - 1), last) << field;
        for (int n = 1; n <= count; ++n) {
            const QByteArray t = nextText(capacity);
            add(
                field, n, first + stride * (n - 1), char(capacity) + t,
                [=](Record &r) { (r.*set)(n, t); },
                [=](const Record &r) { return (r.*get)(n) == t; });
        }
    }

    const std::vector<FieldCase> &all() const { return m_cases; }

private:
    int next() { return ++m_counter; }
    qint32 nextInt32() {
        const auto c = static_cast<quint32>(next());
        return static_cast<qint32>(0x80000000u | (c << 16) | (c << 4) | 0x5);
    }
    // A text filling the whole slot, starting with the case number.
    QByteArray nextText(int capacity) {
        QByteArray t = QByteArray::number(next()).rightJustified(3, '0');
        for (char c = 'a'; t.size() < capacity; c = c == 'z' ? 'a' : char(c + 1))
            t.append(c);
        return t.left(capacity);
    }
    void add(const char *field, int element, int offset, QByteArray expected,
             std::function<void(Record &)> write, std::function<bool(const Record &)> readsBack) {
        m_cases.push_back(
            {field, element, offset, std::move(expected), std::move(write), std::move(readsBack)});
    }

    std::vector<FieldCase> m_cases;
    int m_counter = 0;
};

std::vector<FieldCase> everyField() {
    using R = ConfigRecord;
    Cases c;
    c.int32("BaudRateIndex", 0, &R::setBaudRateIndex, &R::BaudRateIndex);
    c.int32("ComPortIndex", 4, &R::setComPortIndex, &R::ComPortIndex);
    c.int32("WaitSmsTimeout", 8, &R::setWaitSmsTimeout, &R::WaitSmsTimeout);
    c.int32("StoredPollFactor", 12, &R::setStoredPollFactor, &R::StoredPollFactor);
    c.text("ModuleNumberCopy", 16, 20, &R::setModuleNumberCopy, &R::ModuleNumberCopy);
    c.texts("ExternalTexts", 57, 60, 27, 1572, 26, &R::setExternalText, &R::ExternalText);
    c.texts("ShortTexts", 97, 1599, 16, 3135, 15, &R::setShortText, &R::ShortText);
    c.int32("TempTimeoutFilter", 3152, &R::setTempTimeoutFilter, &R::TempTimeoutFilter);
    c.int32("AnalogTimeoutFilter", 3160, &R::setAnalogTimeoutFilter, &R::AnalogTimeoutFilter);
    c.int32("DigitalInputFilter", 3168, &R::setDigitalInputFilter, &R::DigitalInputFilter);
    c.int32s("OutputPulse", 8, 3172, 4, 3200, &R::setOutputPulse, &R::OutputPulse);
    c.int32("SamplingRate", 3204, &R::setSamplingRate, &R::SamplingRate);
    c.flag("DeleteIncomingSms", 3208, &R::setDeleteIncomingSms, &R::DeleteIncomingSms);
    c.flag("SmsModeOn", 3209, &R::setSmsModeOn, &R::SmsModeOn);
    c.int32s("AnalogMin", 8, 3212, 8, 3268, &R::setAnalogMin, &R::AnalogMin);
    c.int32s("AnalogMax", 8, 3216, 8, 3272, &R::setAnalogMax, &R::AnalogMax);
    c.int32s("TempMin", 3, 3276, 8, 3292, &R::setTempMin, &R::TempMin);
    c.int32s("TempMax", 3, 3280, 8, 3296, &R::setTempMax, &R::TempMax);
    c.text("TempEventMask", 3308, 4, &R::setTempEventMask, &R::TempEventMask);
    c.text("AnalogEventMask", 3313, 8, &R::setAnalogEventMask, &R::AnalogEventMask);
    c.text("DigitalEventMask", 3322, 12, &R::setDigitalEventMask, &R::DigitalEventMask);
    c.text("GprsApn", 3335, 40, &R::setGprsApn, &R::GprsApn);
    c.text("GprsUserId", 3376, 40, &R::setGprsUserId, &R::GprsUserId);
    c.text("GprsPassword", 3417, 40, &R::setGprsPassword, &R::GprsPassword);
    c.text("GprsServerAddress", 3458, 40, &R::setGprsServerAddress, &R::GprsServerAddress);
    c.text("FtpHost", 3499, 40, &R::setFtpHost, &R::FtpHost);
    c.text("FtpUser", 3540, 40, &R::setFtpUser, &R::FtpUser);
    c.text("FtpPassword", 3581, 40, &R::setFtpPassword, &R::FtpPassword);
    c.int32("TempFormatIndex", 3624, &R::setTempFormatIndex, &R::TempFormatIndex);
    c.int32("DataLoggerPeriod", 3628, &R::setDataLoggerPeriod, &R::DataLoggerPeriod);
    c.text("OtherParameters", 3632, 16, &R::setOtherParameters, &R::OtherParameters);
    c.byte("KeptByteA", 3649, &R::setKeptByteA, &R::KeptByteA);
    c.byte("KeptByteB", 3650, &R::setKeptByteB, &R::KeptByteB);
    c.text("FtpDirectory", 3651, 40, &R::setFtpDirectory, &R::FtpDirectory);
    c.texts("AlarmNumbers", 7, 3692, 21, 3818, 20, &R::setAlarmNumber, &R::AlarmNumber);
    c.texts("PhoneBookNumbers", 7, 3839, 21, 3965, 20, &R::setPhoneBookNumber, &R::PhoneBookNumber);
    c.text("ModuleNumber", 3986, 20, &R::setModuleNumber, &R::ModuleNumber);
    c.text("StoredSchedule", 4007, 9, &R::setStoredSchedule, &R::StoredSchedule);
    c.byte("ScheduleTail", 4017, &R::setScheduleTail, &R::ScheduleTail);
    c.int32s("AnalogModes", 8, 4020, 4, 4048, &R::setAnalogMode, &R::AnalogMode);
    c.int32("KeptWordA", 4052, &R::setKeptWordA, &R::KeptWordA);
    c.int32("KeptWordB", 4056, &R::setKeptWordB, &R::KeptWordB);
    c.text("AnalogCoefficients", 4060, 8, &R::setAnalogCoefficients, &R::AnalogCoefficients);
    c.text("AnalogDividers", 4069, 8, &R::setAnalogDividers, &R::AnalogDividers);
    c.int32("KeptSmall", 4080, &R::setKeptSmall, &R::KeptSmall);
    c.int16("KeptHalfA", 4084, &R::setKeptHalfA, &R::KeptHalfA);
    c.int16("KeptHalfB", 4086, &R::setKeptHalfB, &R::KeptHalfB);
    c.flag("SkipCrLf", 4088, &R::setSkipCrLf, &R::SkipCrLf);
    c.flag("RtVariant", 4091, &R::setRtVariant, &R::RtVariant);
    c.flag("EvenParity", 4092, &R::setEvenParity, &R::EvenParity);
    return c.all();
}

ConfigRecord::Bytes background() {
    ConfigRecord::Bytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<quint8>(i * 31 + 7);
    return bytes;
}

} // namespace

TEST(ConfigRecordFields, EachWritesItsOwnBytesAtTheFileOffsetAndNoOther) {
    const ConfigRecord::Bytes before = background();
    for (const FieldCase &c : everyField()) {
        SCOPED_TRACE(c.field + "[" + std::to_string(c.element) + "] at " +
                     std::to_string(c.offset));
        const int size = static_cast<int>(c.expected.size());
        ASSERT_NE(slice(before, c.offset, size), c.expected) << "the write would change nothing";

        ConfigRecord record;
        record.setBytes(before);
        c.write(record);

        EXPECT_EQ(slice(record.bytes(), c.offset, size), c.expected);
        EXPECT_TRUE(c.readsBack(record));
        EXPECT_EQ(firstChangeOutside(before, record.bytes(), c.offset, size), -1);
    }
}

// The layout table, whose tiling is checked on its own, must describe the
// same places as the accessors, and every field in it must be covered above.
TEST(ConfigRecordFields, LayoutTableAgreesWithTheFileOffsets) {
    std::set<std::pair<std::string, int>> covered;
    for (const FieldCase &c : everyField()) {
        const auto *entry = std::find_if(kConfigLayout.begin(), kConfigLayout.end(),
                                         [&](const auto &f) { return c.field == f.name; });
        ASSERT_NE(entry, kConfigLayout.end()) << c.field;
        EXPECT_EQ(entry->elementOffset(c.element), c.offset) << c.field << "[" << c.element << "]";
        EXPECT_EQ(entry->size, c.expected.size()) << c.field;
        covered.insert({c.field, c.element});
    }
    for (const auto &f : kConfigLayout) {
        if (f.kind == FieldKind::Reserved)
            continue;
        for (int n = 1; n <= f.count; ++n)
            EXPECT_TRUE(covered.count({f.name, n})) << f.name << "[" << n << "] is not tested";
    }
}
