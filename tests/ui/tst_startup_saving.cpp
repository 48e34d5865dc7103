// Start-up from the settings file, "Save Setting" and the model variant.
#include "common/RecordBytes.h"
#include "support/UiTestEnv.h"
#include "ui/Unit1.h"
#include "ui/tabs/ScheduleTab.h"
#include "ui/widgets/RadioGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QtTest>

namespace {

using zx::testing::fileBytes;
using zx::testing::int32At;
using zx::testing::int32Of;
using zx::testing::textAt;

template <typename T> T *ctl(TForm1 &form, const QString &name) {
    auto *w = form.findChild<T *>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}
QString text(TForm1 &form, const char *name) {
    return ctl<QLineEdit>(form, QString::fromLatin1(name))->text();
}
bool checked(TForm1 &form, const QString &name) { return ctl<QCheckBox>(form, name)->isChecked(); }
int position(TForm1 &form, const QString &name) {
    return ctl<QAbstractSlider>(form, name)->value();
}

void save(TForm1 &form) { form.findChild<QAction *>(QStringLiteral("SaveSetting1"))->trigger(); }

} // namespace

class StartupSavingTest : public QObject {
    Q_OBJECT
private slots:
    void noFileGivesTheDefaults();
    void storedValuesReachTheirControls();
    void scheduleExamples_data();
    void scheduleExamples();
    void clampsAndKeptValuesOnSave();
    void variantSurvivesARestartAndTwoClicksRestore();
};

void StartupSavingTest::noFileGivesTheDefaults() {
    UiTestEnv env;
    TForm1 form;
    QCOMPARE(env.boxes.size(), 1); // the access warning
    QCOMPARE(ctl<zx::ui::RadioGroup>(form, QStringLiteral("RadioGroupRate"))->itemIndex(), 0);
    QCOMPARE(ctl<zx::ui::RadioGroup>(form, QStringLiteral("RadioGroupPort"))->itemIndex(), 0);
    QCOMPARE(text(form, "Edit1"), QStringLiteral("0"));
    QCOMPARE(form.link().flags().PollFactor, 1);
    for (int n = 1; n <= 8; ++n)
        QCOMPARE(ctl<zx::ui::RadioGroup>(form, QStringLiteral("AMode%1").arg(n))->itemIndex(), 0);
    for (int n = 1; n <= 4; ++n)
        QVERIFY(!checked(form, QStringLiteral("CheckBoxS%1").arg(n)));
    QCOMPARE(ctl<zx::ui::RadioGroup>(form, QStringLiteral("SMSShed"))->itemIndex(), 10);
    QCOMPARE(form.findChild<zx::ui::ScheduleTab *>()->schedule().at(1), ' ');
    QCOMPARE(ctl<zx::ui::RadioGroup>(form, QStringLiteral("RadioGroup1"))->itemIndex(), 4);
    for (const char *box : {"BRnumber", "NNumber1", "PBnr7", "TXTSMS1", "iTXTSMS97", "APN",
                            "DirName", "AkoeffStr", "ADividerStr"})
        QVERIFY2(text(form, box).isEmpty(), box);
    for (const char *box : {"SMSmode", "ParityEven", "SkipCRLFcb", "DeleteSMS"})
        QVERIFY2(!checked(form, QString::fromLatin1(box)), box);
    QCOMPARE(text(form, "TNrFilter"), QStringLiteral("---"));
    QCOMPARE(text(form, "ANrFilter"), QStringLiteral("--------"));
    // Rows 1..10 carry the digital marker '0', rows 11 and 12 the marker '-'.
    QCOMPARE(text(form, "DNrFilter"), QStringLiteral("0000000000--"));
    QVERIFY(checked(form, QStringLiteral("CheckBoxT1dis")));
    QVERIFY(checked(form, QStringLiteral("CheckBoxA8dis")));
    QVERIFY(checked(form, QStringLiteral("CheckBoxD12dis")));
    QVERIFY(!checked(form, QStringLiteral("CheckBoxD101")));
    QCOMPARE(form.record().DigitalEventMask(), QByteArray("000000000000"));
    QCOMPARE(form.work().OtherParametersWork, QByteArray(16, ' '));
    QVERIFY(!form.findChild<QAction *>(QStringLiteral("ZENTORIX1"))->isChecked());
    QCOMPARE(ctl<QLabel>(form, QStringLiteral("RTname1"))->text(), QStringLiteral("Temperature 2"));
}

void StartupSavingTest::storedValuesReachTheirControls() {
    UiTestEnv env;
    QByteArray r(4096, '\0');
    int32At(r, 0, 6);                          // 115200
    int32At(r, 8, 1234);                       // Wait SMS Timeout
    int32At(r, 12, 25);                        // poll factor
    textAt(r, 60 + 27 * 11, "Alarm twelve");   // ExternalTexts[12]
    textAt(r, 1599 + 16 * 96, "Out8 off");     // ShortTexts[97]
    int32At(r, 3168, 7);                       // DFilterSB
    int32At(r, 3172 + 4 * 6, 9);               // PulseDsb7
    int32At(r, 3212 + 8 * 2, 150);             // AnalogMin[3]: above the range
    int32At(r, 3276, -5);                      // TempMin[1]
    textAt(r, 3308, "F0B");
    textAt(r, 3335, "internet.apn");
    textAt(r, 3692 + 21 * 2, "+4917011");      // AlarmNumbers[3]
    textAt(r, 3986, "+4912345");
    int32At(r, 4020 + 4, 2);                   // AMode2 "4-20mA"
    textAt(r, 4060, "12345123");
    env.writeSettings(r);
    TForm1 form;
    QVERIFY(env.boxes.isEmpty());
    QCOMPARE(form.CommPortDriver1().BaudRateValue(), 115200u);
    QCOMPARE(text(form, "Edit1"), QStringLiteral("1234"));
    QCOMPARE(form.link().flags().PollFactor, 20);
    QCOMPARE(text(form, "TXTSMS12"), QStringLiteral("Alarm twelve"));
    QCOMPARE(text(form, "iTXTSMS97"), QStringLiteral("Out8 off"));
    QCOMPARE(position(form, QStringLiteral("DFilterSB")), 7);
    QCOMPARE(text(form, "PulseD7"), QStringLiteral("18"));
    QCOMPARE(position(form, QStringLiteral("ScrollBarMin3")), 99);
    QCOMPARE(text(form, "MinLv3"), QStringLiteral("99"));
    QCOMPARE(text(form, "T1min"), QStringLiteral("-5"));
    // A stored '0' comes back as a disabled row with the row's marker.
    QCOMPARE(text(form, "TNrFilter"), QStringLiteral("F-B"));
    QVERIFY(!checked(form, QStringLiteral("CheckBoxT1dis")));
    QVERIFY(checked(form, QStringLiteral("CheckBoxT2dis")));
    QVERIFY(checked(form, QStringLiteral("CheckBoxT13")) && checked(form, QStringLiteral("CheckBoxT23")));
    QVERIFY(!checked(form, QStringLiteral("CheckBoxT33")) && checked(form, QStringLiteral("CheckBoxT43")));
    QCOMPARE(text(form, "APN"), QStringLiteral("internet.apn"));
    QCOMPARE(text(form, "NNumber3"), QStringLiteral("+4917011"));
    QCOMPARE(text(form, "BRnumber"), QStringLiteral("+4912345"));
    QCOMPARE(ctl<zx::ui::RadioGroup>(form, QStringLiteral("AMode2"))->itemIndex(), 2);
    QCOMPARE(text(form, "AkoeffStr"), QStringLiteral("12345123"));
    // The out-of-range level is written back clamped at once.
    QCOMPARE(form.record().AnalogMin(3), 99);
}

void StartupSavingTest::scheduleExamples_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("bars");
    QTest::addColumn<QList<bool>>("enabled");
    QTest::addColumn<int>("repetition");
    QTest::newRow("T08..1520") << QByteArray("T08  1520") << 1 << QList<int>{8, 0, 15, 20}
                               << QList<bool>{true, false, true, true} << 4;
    QTest::newRow("pair 33") << QByteArray("A33") << 0 << QList<int>{0, 0, 0, 0}
                             << QList<bool>{true, false, false, false} << 0;
    QTest::newRow("pair 2 is 30") << QByteArray("D  30") << 2 << QList<int>{0, 23, 0, 0}
                                  << QList<bool>{false, true, false, false} << 4;
}

void StartupSavingTest::scheduleExamples() {
    QFETCH(QByteArray, stored);
    QFETCH(int, type);
    QFETCH(QList<int>, bars);
    QFETCH(QList<bool>, enabled);
    QFETCH(int, repetition);
    UiTestEnv env;
    QByteArray r(4096, '\0');
    textAt(r, 4007, stored);
    env.writeSettings(r);
    TForm1 form;
    QCOMPARE(ctl<zx::ui::RadioGroup>(form, QStringLiteral("SMSShed"))->itemIndex(), type);
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(position(form, QStringLiteral("TrackBar%1").arg(k + 1)), bars[k]);
        QCOMPARE(checked(form, QStringLiteral("CheckBoxS%1").arg(k + 1)), enabled[k]);
    }
    QCOMPARE(ctl<zx::ui::RadioGroup>(form, QStringLiteral("RadioGroup1"))->itemIndex(), repetition);
}

void StartupSavingTest::clampsAndKeptValuesOnSave() {
    for (const qint32 kept : {7, -3}) {
        UiTestEnv env;
        QByteArray r(4096, '\0');
        int32At(r, 12, 0);         // poll factor 0 stays 0 in the file
        int32At(r, 4080, kept);    // KeptSmall
        r[3649] = char(0x42);      // KeptByteA
        r[3650] = char(0x43);      // KeptByteB
        int32At(r, 4052, 77777);   // KeptWordA
        r[3300] = char(0x99);      // reserved
        int32At(r, 3212, 150);     // AnalogMin[1]
        env.writeSettings(r);
        {
            TForm1 form;
            QCOMPARE(form.link().flags().PollFactor, 1);
            ctl<QLineEdit>(form, QStringLiteral("BRnumber"))
                ->setText(QStringLiteral("+491234567890123456789012")); // 25 characters
            save(form);
        }
        const QByteArray saved = fileBytes(env.settingsPath());
        QCOMPARE(saved.size(), 4096);
        QCOMPARE(int32Of(saved, 12), 0);
        QCOMPARE(int32Of(saved, 4080), kept > 4 ? 0 : kept);
        QCOMPARE(saved[3649], char(0x42));
        QCOMPARE(saved[3650], char(0x43));
        QCOMPARE(int32Of(saved, 4052), 77777);
        QCOMPARE(saved[3300], char(0x99));
        QCOMPARE(int32Of(saved, 3212), 99);
        QCOMPARE(saved.mid(16, 21), QByteArray("\x14+4912345678901234567"));
        QCOMPARE(saved.mid(3986, 21), saved.mid(16, 21));
        QCOMPARE(saved.mid(3308, 4), QByteArray("\x03---"));
        QCOMPARE(saved.mid(3632, 17), QByteArray("\x10") + QByteArray(16, ' '));
        // Loading and saving again changes nothing.
        {
            TForm1 form;
            save(form);
        }
        QCOMPARE(fileBytes(env.settingsPath()), saved);
    }
}

void StartupSavingTest::variantSurvivesARestartAndTwoClicksRestore() {
    UiTestEnv env;
    PtyPeer peer;
    env.mapPort(1, peer.slavePath());
    QByteArray r(4096, '\0');
    textAt(r, 3313, "FFFFFFFF");
    textAt(r, 3322, "FFFFFFFFFFFF");
    env.writeSettings(r);
    {
        TForm1 form;
        form.show();
        QVERIFY(!ctl<QWidget>(form, QStringLiteral("PanelRT"))->isVisible());
        form.findChild<QAction *>(QStringLiteral("ZENTORIX1"))->trigger();
        QVERIFY(form.record().RtVariant());
        QVERIFY(ctl<QWidget>(form, QStringLiteral("PanelRT"))->isHidden() == false);
        save(form);
    }
    TForm1 form;
    form.show();
    auto *menu = form.findChild<QAction *>(QStringLiteral("ZENTORIX1"));
    QVERIFY(menu->isChecked());
    QVERIFY(ctl<QWidget>(form, QStringLiteral("PanelRT"))->isHidden() == false);
    QVERIFY(ctl<QWidget>(form, QStringLiteral("Panel1"))->isHidden() == false);
    QVERIFY(!ctl<QWidget>(form, QStringLiteral("AMode5"))->isEnabled());
    QVERIFY(!ctl<QWidget>(form, QStringLiteral("iTXTSMS97"))->isEnabled());
    QVERIFY(!ctl<QWidget>(form, QStringLiteral("TXTSMSb22"))->isEnabled());
    QVERIFY(!ctl<QWidget>(form, QStringLiteral("iTXTSMSb57"))->isEnabled());
    QVERIFY(checked(form, QStringLiteral("CheckBoxA5dis")));
    QVERIFY(checked(form, QStringLiteral("CheckBoxD08dis")));
    QCOMPARE(ctl<QLabel>(form, QStringLiteral("RTname2"))->text(), QStringLiteral("Runtime 2"));
    QCOMPARE(text(form, "ANrFilter"), QStringLiteral("FFFF----"));

    menu->trigger();
    menu->trigger();
    menu->trigger();
    QVERIFY(!menu->isChecked());
    QVERIFY(ctl<QWidget>(form, QStringLiteral("PanelRT"))->isHidden());
    QVERIFY(ctl<QWidget>(form, QStringLiteral("Panel1"))->isHidden());
    for (const char *name : {"AMode5", "VAL8", "SetVal5", "iTXTSMS65", "TXTSMSb97", "TXTSMS33",
                             "iTXTSMSb41"})
        QVERIFY2(ctl<QWidget>(form, QString::fromLatin1(name))->isEnabled(), name);
    for (int n = 5; n <= 8; ++n)
        QVERIFY(!checked(form, QStringLiteral("CheckBoxA%1dis").arg(n)));
    for (int n = 8; n <= 12; ++n)
        QVERIFY(!checked(form, QStringLiteral("CheckBoxD%1dis").arg(n, 2, 10, QLatin1Char('0'))));
    QCOMPARE(ctl<QLabel>(form, QStringLiteral("RTname1"))->text(), QStringLiteral("Temperature 2"));
    QCOMPARE(peer.read(200), QByteArray()); // the switch sends nothing
}

QTEST_MAIN(StartupSavingTest)
#include "tst_startup_saving.moc"
