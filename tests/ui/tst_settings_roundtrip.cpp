// Nothing stored is lost: the golden record, with every field at its limit,
// goes through start-up and "Save Setting" byte for byte; texts given by the
// program keep their full length while typing stays limited.
#include "common/RecordBytes.h"
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

namespace {

using zx::testing::dataFile;
using zx::testing::fileBytes;
using zx::testing::firstDifference;

constexpr int kScheduleTail = 4017;

// What a save of the untouched golden record writes: the same bytes, except
// the schedule's tail byte, which every save writes as 0. (The golden record
// already holds what else a save rewrites: both copies of the module number
// alike, KeptSmall within 0..4, the option string at its 16 characters and
// every level inside its bar's range.)
QByteArray expectedAfterSave(QByteArray golden) {
    golden[kScheduleTail] = '\0';
    return golden;
}

void save(TForm1 &form) { child<QAction>(form, "SaveSetting1")->trigger(); }

} // namespace

class SettingsRoundTripTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void goldenRecordSurvivesStartupAndSave();
    void goldenRecordSurvivesTheVariantSwitchThereAndBack();
    void typingStopsAtTheBoxLimit_data();
    void typingStopsAtTheBoxLimit();
    void answersOfFullCapacitySurviveASave_data();
    void answersOfFullCapacitySurviveASave();

private:
    void saveAndCompare(const QByteArray &expected);

    QByteArray golden_;
    std::unique_ptr<UiTestEnv> env_;
    std::unique_ptr<PtyPeer> peer_;
    std::unique_ptr<TForm1> form_;
};

void SettingsRoundTripTest::init() {
    golden_ = dataFile("golden-record.cfg");
    QCOMPARE(golden_.size(), 4096);
    env_ = std::make_unique<UiTestEnv>();
    peer_ = std::make_unique<PtyPeer>();
    // The golden record selects Com16; it opens the test's terminal.
    env_->mapPort(16, peer_->slavePath());
    env_->writeSettings(golden_);
    form_ = std::make_unique<TForm1>();
    child<QTimer>(*form_, "Timer1")->stop();
    QVERIFY2(env_->boxes.isEmpty(), qPrintable(env_->boxes.value(0).text));
}

void SettingsRoundTripTest::cleanup() {
    form_.reset();
    peer_.reset();
    env_.reset();
}

void SettingsRoundTripTest::saveAndCompare(const QByteArray &expected) {
    save(*form_);
    const QByteArray saved = fileBytes(env_->settingsPath());
    const QString difference = firstDifference(expected, saved);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void SettingsRoundTripTest::goldenRecordSurvivesStartupAndSave() {
    saveAndCompare(expectedAfterSave(golden_));
}

void SettingsRoundTripTest::goldenRecordSurvivesTheVariantSwitchThereAndBack() {
    auto *variant = child<QAction>(*form_, "ZENTORIX1");
    QVERIFY(variant->isChecked());
    variant->trigger();
    QVERIFY(!variant->isChecked());
    variant->trigger();
    QVERIFY(variant->isChecked());
    saveAndCompare(expectedAfterSave(golden_));
}

void SettingsRoundTripTest::typingStopsAtTheBoxLimit_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("limit");
    QTest::newRow("external text") << QStringLiteral("TXTSMS7") << 24;
    QTest::newRow("internal text") << QStringLiteral("iTXTSMS7") << 15;
    QTest::newRow("name") << QStringLiteral("iTXTSMS90") << 15;
    QTest::newRow("alarm number") << QStringLiteral("NNumber2") << 20;
    QTest::newRow("gprs user") << QStringLiteral("UserID") << 16;
    QTest::newRow("ftp password") << QStringLiteral("PasswordFTP") << 16;
    QTest::newRow("apn") << QStringLiteral("APN") << 40;
}

void SettingsRoundTripTest::typingStopsAtTheBoxLimit() {
    QFETCH(QString, box);
    QFETCH(int, limit);
    auto *edit = child<QLineEdit>(*form_, box);
    edit->setEnabled(true);
    edit->selectAll();
    QTest::keyClicks(edit, QString(limit + 5, QLatin1Char('7')));
    QCOMPARE(edit->text(), QString(limit, QLatin1Char('7')));
}

void SettingsRoundTripTest::answersOfFullCapacitySurviveASave_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("stored");
    const QByteArray external = "Ein Alarmtext mit 26 Zeich";
    const QByteArray user = "gprs-user-" + QByteArray(30, 'u');
    const QByteArray directory = "/logger/" + QByteArray(32, 'd');
    QTest::newRow("External SMS") << 2 << QByteArray("05: " + external) << 60 + 27 * 4
                                  << external;
    QTest::newRow("GPRS user") << 10 << QByteArray("UserID: " + user) << 3376 << user;
    QTest::newRow("FTP directory") << 10 << QByteArray("DirName: " + directory) << 3651
                                   << directory;
}

void SettingsRoundTripTest::answersOfFullCapacitySurviveASave() {
    QFETCH(int, tab);
    QFETCH(QByteArray, answer);
    QFETCH(int, offset);
    QFETCH(QByteArray, stored);
    // Setting mode, so that answers go to the open tab's parser.
    child<QCheckBox>(*form_, "SMSmode")->setChecked(false);
    child<QTabWidget>(*form_, "PageControl1")->setCurrentIndex(tab);
    form_->link().Clear();
    deliver(*form_, *peer_, answer);
    tick(*form_);
    save(*form_);
    const QByteArray saved = fileBytes(env_->settingsPath());
    QCOMPARE(saved.mid(offset, 1 + stored.size()), char(stored.size()) + stored);
}

QTEST_MAIN(SettingsRoundTripTest)
#include "tst_settings_roundtrip.moc"
