// The settings file as the window reads and writes it.
#include "common/RecordBytes.h"
#include "support/UiTestEnv.h"
#include "ui/Unit1.h"
#include "ui/widgets/RadioGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

namespace {

using zx::testing::fileBytes;
using zx::testing::int32At;
using zx::testing::textAt;

void clickSave(TForm1 &form) {
    form.findChild<QAction *>(QStringLiteral("SaveSetting1"))->trigger();
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT
private slots:
    void missingFileWarnsAndStartsWithDefaults();
    void shortFileKeepsDesignValuesAndIsNotOverwritten();
    void storedValuesReachTheControls();
    void saveWritesOneRecordAndKeepsUnknownBytes();
};

void SettingsFileTest::missingFileWarnsAndStartsWithDefaults() {
    UiTestEnv env;
    TForm1 form;
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].kind, zx::ui::BoxKind::Warning);
    QCOMPARE(env.boxes[0].title, QStringLiteral("Warning"));
    QCOMPARE(env.boxes[0].text, QStringLiteral("ZENTORIX.cfg access error"));
    QCOMPARE(form.findChild<zx::ui::RadioGroup *>(QStringLiteral("RadioGroupRate"))->itemIndex(), 0);
    QCOMPARE(form.findChild<zx::ui::RadioGroup *>(QStringLiteral("RadioGroupPort"))->itemIndex(), 0);
    QVERIFY(!QFile::exists(env.settingsPath()));
}

void SettingsFileTest::shortFileKeepsDesignValuesAndIsNotOverwritten() {
    UiTestEnv env;
    QByteArray record(4095, '\0');
    int32At(record, 0, 3);
    textAt(record, 3986, "+4917000");
    env.writeSettings(record);
    TForm1 form;
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].text, QStringLiteral("Read beyond end of file"));
    QCOMPARE(form.findChild<zx::ui::RadioGroup *>(QStringLiteral("RadioGroupRate"))->itemIndex(), 0);
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("BRnumber"))->text(), QString());
    QCOMPARE(fileBytes(env.settingsPath()), record);
}

void SettingsFileTest::storedValuesReachTheControls() {
    UiTestEnv env;
    QByteArray record(4096, '\0');
    int32At(record, 0, 2);                   // 9600
    textAt(record, 16, "+491111");    // first copy of the number
    textAt(record, 3986, "+492222");  // the copy that wins
    record[3209] = 1;                         // SMS mode
    record[4088] = 1;                         // Skip CR/LF
    record[4092] = 1;                         // even parity
    env.writeSettings(record);
    TForm1 form;
    QVERIFY(env.boxes.isEmpty());
    QCOMPARE(form.findChild<zx::ui::RadioGroup *>(QStringLiteral("RadioGroupRate"))->itemIndex(), 2);
    QCOMPARE(form.CommPortDriver1().BaudRateValue(), 9600u);
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("BRnumber"))->text(), QStringLiteral("+492222"));
    QVERIFY(form.findChild<QCheckBox *>(QStringLiteral("SMSmode"))->isChecked());
    QVERIFY(form.findChild<QCheckBox *>(QStringLiteral("SkipCRLFcb"))->isChecked());
    QVERIFY(form.findChild<QCheckBox *>(QStringLiteral("ParityEven"))->isChecked());
    QCOMPARE(form.CommPortDriver1().Parity(), ptEVEN);
    form.show();
    QVERIFY(!form.findChild<QWidget *>(QStringLiteral("MemoS"))->isVisible());
    QVERIFY(form.link().flags().QuerySequenceActive);
}

void SettingsFileTest::saveWritesOneRecordAndKeepsUnknownBytes() {
    UiTestEnv env;
    QByteArray record(5000, '\0');
    record[37] = char(0x5A);    // reserved
    record[3649] = char(0xA5);  // kept byte
    record[4093] = char(0x11);  // reserved
    record[4500] = char(0x77);  // past the record
    env.writeSettings(record);
    TForm1 form;
    form.findChild<QLineEdit *>(QStringLiteral("BRnumber"))
        ->setText(QStringLiteral("+4917012345678901234567")); // 25 characters
    form.findChild<zx::ui::RadioGroup *>(QStringLiteral("RadioGroupRate"))->setItemIndex(4);
    clickSave(form);
    QVERIFY(env.boxes.isEmpty());
    const QByteArray saved = fileBytes(env.settingsPath());
    QCOMPARE(saved.size(), 4096);
    QCOMPARE(saved[37], char(0x5A));
    QCOMPARE(saved[3649], char(0xA5));
    QCOMPARE(saved[4093], char(0x11));
    QCOMPARE(saved[0], char(4));
    QCOMPARE(saved.mid(16, 21), QByteArray("\x14+4917012345678901234"));
    QCOMPARE(saved.mid(3986, 21), saved.mid(16, 21));
    QCOMPARE(QFile::permissions(env.settingsPath()) & (QFile::ReadOther | QFile::ReadGroup),
             QFile::Permissions());
    clickSave(form);
    QCOMPARE(fileBytes(env.settingsPath()), saved);
}

QTEST_MAIN(SettingsFileTest)
#include "tst_settings_file.moc"
