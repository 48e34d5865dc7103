#include "profile/Profile.h"
#include "profile/ProfileDiff.h"
#include "profile/ProfileTestSupport.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

using namespace zx::profile;
using namespace zx::profile::testing;
using zx::settings::ConfigRecord;

namespace {

QJsonObject partial(const QByteArray &fieldsJson) {
    return QJsonObject{{QStringLiteral("version"), 1},
                       {QStringLiteral("fields"), QJsonDocument::fromJson(fieldsJson).object()}};
}

// A list of count values, all null but element n.
QByteArray oneOf(int count, int n, const char *value) {
    QByteArrayList elements(count, "null");
    elements[n - 1] = value;
    return "[" + elements.join(", ") + "]";
}

QStringList changedNames(const ConfigRecord &before, const ConfigRecord &after) {
    QStringList names;
    for (const FieldChange &change : diffRecords(before, after))
        names.append(change.name());
    return names;
}

} // namespace

// Regenerate with: zentorix-cli profile export tests/data/golden-record.cfg -o
// tests/data/golden-profile.json
TEST(Profile, GoldenRecordExportsToTheCheckedInProfileAndImportsBackWhole) {
    const ConfigRecord golden = goldenRecord();
    const QByteArray expected = fileBytes(dataPath("golden-profile.json"));
    const QByteArray exported = exportProfileText(golden);
    EXPECT_EQ(firstDifferentLine(expected, exported), QString());

    // A full profile fixes every byte, whatever the base held.
    const ImportResult imported = importProfileText(expected, randomRecord(7));
    ASSERT_TRUE(imported.ok()) << imported.error.toStdString();
    EXPECT_EQ(firstDifference(toByteArray(golden), toByteArray(imported.record)), QString());
    EXPECT_EQ(imported.named.size(), allEntries().size());
}

TEST(Profile, AnyFourThousandNinetySixBytesSurviveExportAndImport) {
    ConfigRecord shorterOverLonger = goldenRecord();
    shorterOverLonger.setGprsApn("apn"); // leaves 37 bytes of the old text behind
    shorterOverLonger.setExternalText(9, "");
    const struct {
        const char *what;
        ConfigRecord record;
    } cases[] = {
        {"all zero", ConfigRecord()},
        {"all 0xFF", recordOf(QByteArray(4096, '\xFF'))},
        {"remnants of longer texts", shorterOverLonger},
        {"random 1", randomRecord(1)},
        {"random 2", randomRecord(2)},
        {"random 3", randomRecord(3)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray text = exportProfileText(c.record);
        const ImportResult back = importProfileText(text, randomRecord(99));
        ASSERT_TRUE(back.ok()) << back.error.toStdString();
        EXPECT_EQ(firstDifference(toByteArray(c.record), toByteArray(back.record)), QString());
        EXPECT_TRUE(diffRecords(back.record, c.record).isEmpty());
    }
}

TEST(Profile, FlagBytesOtherThanZeroAndOneAreKeptAsNumbers) {
    ConfigRecord record;
    QByteArray image = toByteArray(record);
    image[3208] = '\x01'; // DeleteIncomingSms
    image[3209] = '\x07'; // SmsModeOn, from a file written elsewhere
    const QJsonObject fields =
        exportProfile(recordOf(image)).value(QStringLiteral("fields")).toObject();
    EXPECT_EQ(fields.value(QStringLiteral("DeleteIncomingSms")), QJsonValue(true));
    EXPECT_EQ(fields.value(QStringLiteral("SmsModeOn")), QJsonValue(7));
    EXPECT_EQ(fields.value(QStringLiteral("RtVariant")), QJsonValue(false));
}

TEST(Profile, APartialProfileChangesOnlyTheFieldsItNames) {
    using zx::testing::firstChangeOutside;
    const ConfigRecord base = goldenRecord();
    const struct {
        QByteArray fields;
        QStringList changed;
        int offset; // the bytes that may change
        int size;
    } cases[] = {
        {R"({"BaudRateIndex": 2})", {QStringLiteral("BaudRateIndex")}, 0, 4},
        {"{\"AlarmNumbers\": " + oneOf(7, 2, R"("+49301234")") + "}",
         {QStringLiteral("AlarmNumbers[2]"), QStringLiteral("AlarmNumbers[2] (remnant)")},
         3713,
         21},
        {R"({"SmsModeOn": false, "EvenParity": true})", {QStringLiteral("SmsModeOn")}, 3209, 1},
        {R"({"KeptHalfB": -1})", {QStringLiteral("KeptHalfB")}, 4086, 2},
        {R"({"Reserved37": "0000000000000000000000000000000000000000000000"})",
         {QStringLiteral("Reserved37")},
         37,
         23},
        {R"({"DigitalEventMask": "ABC1235000--"})", {}, 3322, 13}, // the value it already has
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fields.constData());
        const ImportResult result = importProfile(partial(c.fields), base);
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(changedNames(base, result.record), c.changed);
        EXPECT_EQ(firstChangeOutside(base.bytes(), result.record.bytes(), c.offset, c.size), -1);
    }
}

TEST(Profile, RemnantsAndLongLengthBytesAreImportedAfterTheTexts) {
    const QJsonObject profile{
        {QStringLiteral("version"), 1},
        {QStringLiteral("fields"),
         QJsonObject{{QStringLiteral("TempEventMask"), QStringLiteral("7E")},
                     {QStringLiteral("StoredSchedule"), QStringLiteral("733232221")}}},
        {QStringLiteral("remnants"),
         QJsonObject{{QStringLiteral("TempEventMask"), QStringLiteral("4178")}}},
        {QStringLiteral("lengthBytes"), QJsonObject{{QStringLiteral("StoredSchedule"), 200}}}};
    const ImportResult result = importProfile(profile, ConfigRecord());
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(zx::testing::slice(result.record.bytes(), 3308, 5), QByteArray("\x02"
                                                                             "7EAx"));
    EXPECT_EQ(zx::testing::slice(result.record.bytes(), 4007, 10), QByteArray("\xC8"
                                                                              "733232221"));
    EXPECT_EQ(result.record.StoredSchedule(), QByteArray("733232221"));
}

TEST(Profile, BadInputIsOneLineNamingTheFieldAndChangesNothing) {
    const ConfigRecord base = goldenRecord();
    const struct {
        QByteArray json;
        const char *error;
    } cases[] = {
        {R"({"version": 1, "fields": {"BaudRate": 2}})", "BaudRate: no such field"},
        {R"({"version": 1, "fields": {"BaudRateIndex": 2, "ExternalTexts": )" +
             oneOf(57, 3, R"("123456789012345678901234567")") + "}}",
         "ExternalTexts[3]: 27 characters, the slot holds 26"},
        {R"({"version": 1, "fields": {"GprsApn": "a\u4E2Db"}})",
         "GprsApn: character 2 (U+4E2D) has no Windows-1252 byte"},
        {R"({"version": 1, "fields": {"FtpPassword": "secret\u0080"}})",
         "FtpPassword: character 7 has no Windows-1252 byte"},
        {R"({"version": 1, "fields": {"ModuleNumber": 491701234}})",
         "ModuleNumber: expected a text"},
        {R"({"version": 1, "fields": {"BaudRateIndex": "6"}})",
         "BaudRateIndex: expected a whole number"},
        {R"({"version": 1, "fields": {"BaudRateIndex": 1.5}})",
         "BaudRateIndex: expected a whole number"},
        {R"({"version": 1, "fields": {"KeptHalfA": 40000}})",
         "KeptHalfA: 40000 is outside -32768..32767"},
        {R"({"version": 1, "fields": {"SkipCrLf": "yes"}})", "SkipCrLf: expected true or false"},
        {R"({"version": 1, "fields": {"SkipCrLf": 256}})", "SkipCrLf: 256 is outside 0..255"},
        {R"({"version": 1, "fields": {"KeptByteA": "B"}})",
         "KeptByteA: expected hexadecimal digits in pairs"},
        {R"({"version": 1, "fields": {"Reserved3151": "0102"}})",
         "Reserved3151: 2 bytes given, expected 1"},
        {R"({"version": 1, "fields": {"AnalogModes": [1, 2]}})",
         "AnalogModes: expected a list of 8 values (null keeps one)"},
        {R"({"version": 1, "fields": {"GprsApn": "x"}, "remnants": {"GprsApn": "00"}})",
         "GprsApn (remnants): 1 bytes given, expected 39 (the slot's bytes after its text)"},
        {R"({"version": 1, "remnants": {"BaudRateIndex": ""}})",
         "BaudRateIndex (remnants): no such text"},
        {R"({"version": 1, "fields": {"FtpHost": "short"}, "lengthBytes": {"FtpHost": 41}})",
         "FtpHost (lengthBytes): a length byte above 40 needs a text of 40 characters"},
        {R"({"version": 1, "lengthBytes": {"AlarmNumbers[8]": 99}})",
         "AlarmNumbers[8] (lengthBytes): no such text"},
        {R"({"version": 2, "fields": {}})", "version: this tool reads profiles of version 1"},
        {R"({"fields": {}})", "version: this tool reads profiles of version 1"},
        {R"({"version": 1, "field": {}})", "field: not part of a profile"},
        {R"({"version": 1, "fields": {"Baud\nRate\u2028": 1}})",
         R"(Baud\u000aRate\u2028: no such field)"},
        {R"({"version": 1, "fields": []})", "fields: expected an object"},
        {R"([1, 2])", "not a profile: expected a JSON object"},
        {R"({"version": 1, "fields": {)", "not valid JSON: unterminated object at line 1, column 27"},
        {"{\n  \"version\": 1\n  \"fields\": {}\n}", "not valid JSON: unterminated object at line 3, column 4"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.json.constData());
        const ImportResult result = importProfileText(c.json, base);
        EXPECT_EQ(result.error.toStdString(), c.error);
        EXPECT_FALSE(result.error.contains(QLatin1Char('\n')));
        EXPECT_TRUE(result.record == base);
        EXPECT_TRUE(result.named.isEmpty());
    }
}

TEST(ProfileDiff, NamesEachChangeInFileOrderAndNeverShowsAPassword) {
    const ConfigRecord before = goldenRecord();
    ConfigRecord after = before;
    after.setBaudRateIndex(2);
    after.setShortText(1, "I01"); // a shorter text: its old tail stays behind
    after.setGprsPassword("new secret");
    after.setAlarmNumber(2, "+49301234");
    QByteArray image = toByteArray(after);
    image[3649] = '\x00'; // KeptByteA
    after = recordOf(image);

    const QList<FieldChange> changes = diffRecords(before, after);
    QStringList lines;
    for (const FieldChange &change : changes)
        lines.append(changeLine(change));
    EXPECT_EQ(lines,
              QStringList({
                  QStringLiteral("BaudRateIndex: 6 -> 2"),
                  QStringLiteral("ShortTexts[1]: \"I01 Tür‰öffnen.\" -> \"I01\""),
                  // " Tür‰öffnen." in Windows-1252
                  QStringLiteral("ShortTexts[1] (remnant): \"\" -> \"2054FC7289F666666E656E2E\""),
                  QStringLiteral("GprsPassword: changed"),
                  QStringLiteral("GprsPassword (remnant): changed"),
                  QStringLiteral("KeptByteA: \"B1\" -> \"00\""),
                  QStringLiteral("AlarmNumbers[2]: \"+4917022222222222222\" -> \"+49301234\""),
                  QStringLiteral("AlarmNumbers[2] (remnant): \"\" -> \"3232323232323232323232\""),
              }));
    for (const FieldChange &change : changes) {
        const QByteArray json = QJsonDocument(changeJson(change)).toJson();
        EXPECT_FALSE(json.contains("secret") || json.contains("Geheim")) << json.constData();
    }

    const EntryNames only{QStringLiteral("AlarmNumbers"), QStringLiteral("GprsPassword")};
    QStringList filtered;
    for (const FieldChange &change : diffRecords(before, after, &only))
        filtered.append(change.name());
    EXPECT_EQ(filtered,
              QStringList({QStringLiteral("GprsPassword"), QStringLiteral("GprsPassword (remnant)"),
                           QStringLiteral("AlarmNumbers[2]"),
                           QStringLiteral("AlarmNumbers[2] (remnant)")}));
}
