// The module clock, status, version and restart buttons of "Main", and the
// modem query sequence of SMS mode against a pseudo-terminal modem: echo on
// and off, a silent modem and a port that cannot be opened.
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {



constexpr int kSmsModeOffset = 3209;
const QString kPortError = QStringLiteral("Could not connect to serial port.\r\n"
                                          "Please, check settings and try again.");
const QDateTime kNoon(QDate(2027, 2, 1), QTime(12, 0, 0));

QByteArray smsModeSettings() {
    QByteArray record(4096, '\0');
    record[kSmsModeOffset] = 1;
    return record;
}

} // namespace

class MsgClockModemTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        form_.reset();
        peer_.reset();
        env_.reset();
    }

    void moduleButtonsInSettingMode_data();
    void moduleButtonsInSettingMode();
    void setDateTimeInSettingMode();
    void setDateTimeInSmsModeWritesStraightToThePort();
    void querySequenceFillsTheModemBoxes_data();
    void querySequenceFillsTheModemBoxes();
    void silentModemIsReportedOnce();
    void closedPortIsReportedOncePerRun();

private:
    void start(const QByteArray &settings, bool portExists = true) {
        env_ = std::make_unique<UiTestEnv>();
        peer_ = std::make_unique<PtyPeer>();
        // A directory cannot be opened as a port (a dangling link would fall
        // through to whatever serial device the machine has).
        env_->mapPort(1, portExists ? peer_->slavePath() : env_->dir());
        env_->writeSettings(settings);
        form_ = std::make_unique<TForm1>();
        child<QTimer>(*form_, "Timer1")->stop();
        form_->link().setClock([] { return kNoon; });
    }
    QString text(const char *box) { return child<QLineEdit>(*form_, box)->text(); }
    QString echo() { return child<QPlainTextEdit>(*form_, "MemoS")->toPlainText(); }
    int boxesWith(const QString &text) const {
        int n = 0;
        for (const ShownBox &b : env_->boxes)
            n += b.text == text ? 1 : 0;
        return n;
    }

    std::unique_ptr<UiTestEnv> env_;
    std::unique_ptr<PtyPeer> peer_;
    std::unique_ptr<TForm1> form_;
};

void MsgClockModemTest::moduleButtonsInSettingMode_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("echoed");
    QTest::newRow("Read Status") << QByteArray("ReadState") << QByteArray("GETST")
                                 << QStringLiteral("GETST");
    QTest::newRow("Version number")
        << QByteArray("Version") << QByteArray("  GETVR") << QStringLiteral("GETVR");
    QTest::newRow("Get Date/Time")
        << QByteArray("GetDT") << QByteArray("  GETTM") << QStringLiteral("GETTM");
    QTest::newRow("Restart") << QByteArray("RestartModule") << QByteArray("RSTRT")
                             << QStringLiteral("RSTRT");
}

void MsgClockModemTest::moduleButtonsInSettingMode() {
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, line);
    QFETCH(QString, echoed);
    start(QByteArray(4096, '\0'));
    child<QPushButton>(*form_, button.constData())->click();
    QCOMPARE(peer_->read(), framed(line));
    QCOMPARE(echo(), echoed);
}

void MsgClockModemTest::setDateTimeInSettingMode() {
    start(QByteArray(4096, '\0'));
    QCOMPARE(child<QPushButton>(*form_, "RestartModule")->text(),
             QStringLiteral("Restart ZENTORIQ / ZENTORIX"));
    form_->link().setClock([] { return QDateTime(QDate(2027, 2, 1), QTime(9, 5, 3)); });
    child<QPushButton>(*form_, "SetDT")->click();
    QCOMPARE(peer_->read(), framed("SETTM 27/02/01,09:05:03+02"));
    QCOMPARE(echo(), QStringLiteral("SETTM 27/02/01,09:05:03+02"));
    QVERIFY(form_->link().flags().ClockQueryPending);
}

void MsgClockModemTest::setDateTimeInSmsModeWritesStraightToThePort() {
    start(QByteArray(4096, '\0'));
    child<QLineEdit>(*form_, "BRnumber")->setText(QStringLiteral("+12345"));
    child<QCheckBox>(*form_, "SMSmode")->setChecked(true);
    form_->link().setClock([] { return QDateTime(QDate(2026, 12, 6), QTime(18, 30, 5)); });
    child<QPushButton>(*form_, "SetDT")->click();
    QCOMPARE(peer_->read(), QByteArray("SETTM 26/12/06,18:30:05+02\r"));
    QCOMPARE(echo(), QStringLiteral("SETTM 26/12/06,18:30:05+02"));
    QVERIFY(form_->link().flags().ClockQueryPending);
    QVERIFY(!form_->link().flags().ModemBusy);
    // The next tick asks the modem for its clock.
    tick(*form_);
    QCOMPARE(peer_->read(), QByteArray("AT+CCLK?\r"));
    QVERIFY(!form_->link().flags().ClockQueryPending);
    deliver(*form_, *peer_, "AT+CCLK?\r\r\n+CCLK: \"26/12/06,18:30:07+04\"\r\n\r\nOK\r\n");
    child<QPushButton>(*form_, "SetDT")->click();
    peer_->read();
    tick(*form_);
    QCOMPARE(peer_->read(), QByteArray("AT+CCLK?\r"));
    QCOMPARE(text("DateTime"), QStringLiteral("\"26/12/06,18:30:07+04\""));
}

void MsgClockModemTest::querySequenceFillsTheModemBoxes_data() {
    QTest::addColumn<bool>("echoOn");
    QTest::addColumn<QByteArray>("formatAnswer");
    QTest::addColumn<QByteArray>("formatSetting");
    QTest::newRow("echo on") << true << QByteArray("+CMGF: 0") << QByteArray("AT+CMGF=0");
    QTest::newRow("echo off") << false << QByteArray("+CMGF: 0") << QByteArray("AT+CMGF=0");
    // No format answer parsed: the setting writes the start value "1".
    QTest::newRow("format not reported") << false << QByteArray("ERROR") << QByteArray("AT+CMGF=1");
}

void MsgClockModemTest::querySequenceFillsTheModemBoxes() {
    QFETCH(bool, echoOn);
    QFETCH(QByteArray, formatAnswer);
    QFETCH(QByteArray, formatSetting);
    start(smsModeSettings());
    QVERIFY(form_->link().flags().QuerySequenceActive);
    const QList<QPair<QByteArray, QByteArray>> dialogue = {
        {"AT+CGMI", "WAVECOM MODEM"},         {"AT+CSCS?", "+CSCS: \"GSM\""},
        {"AT+CGMM", "MULTIBAND  900E  1800"}, {"AT+CCLK?", "+CCLK: \"27/02/01,09:05:03+04\""},
        {"AT+CMGF?", formatAnswer},           {formatSetting, QByteArray()},
    };
    for (const auto &[command, answer] : dialogue) {
        tick(*form_);
        QCOMPARE(peer_->read(), command + "\r");
        tick(*form_); // one query outstanding at a time
        QCOMPARE(peer_->read(100), QByteArray());
        const QByteArray reply =
            (answer.isEmpty() ? QByteArray() : "\r\n" + answer + "\r\n") + "\r\nOK\r\n";
        deliver(*form_, *peer_, echoOn ? command + "\r" + reply : reply);
    }
    tick(*form_);
    QVERIFY(!form_->link().flags().QuerySequenceActive);
    QCOMPARE(text("Hersteller"), QStringLiteral("WAVECOM MODEM"));
    QCOMPARE(text("ModelIDCode"), QStringLiteral("MULTIBAND  900E  1800"));
    QCOMPARE(text("DateTime"), QStringLiteral("\"27/02/01,09:05:03+04\""));
    QVERIFY(env_->boxes.isEmpty());
}

void MsgClockModemTest::silentModemIsReportedOnce() {
    start(smsModeSettings());
    tick(*form_, 120);
    QVERIFY(peer_->read().startsWith("AT+CGMI\r"));
    QCOMPARE(env_->boxes.size(), 1);
    QCOMPARE(env_->boxes.front().text, QStringLiteral("Cell Phone not connected"));
    QCOMPARE(env_->boxes.front().title, QStringLiteral("Error"));
    QVERIFY(!form_->link().flags().QuerySequenceActive);
    QCOMPARE(text("Hersteller"), QStringLiteral("Hersteller"));
    QCOMPARE(text("ModelIDCode"), QStringLiteral("ModelIDCode"));
    QCOMPARE(text("DateTime"), QStringLiteral("DateTime"));
}

void MsgClockModemTest::closedPortIsReportedOncePerRun() {
    start(smsModeSettings(), /*portExists=*/false);
    QVERIFY(!form_->CommPortDriver1().Connected());
    tick(*form_, 10);
    QCOMPARE(boxesWith(kPortError), 1);
    QCOMPARE(env_->boxes.size(), 1);
    QVERIFY(!form_->link().flags().QuerySequenceActive);
    // "Set Date/Time" in SMS mode meets the closed port too: no second box.
    child<QPushButton>(*form_, "SetDT")->click();
    QCOMPARE(boxesWith(kPortError), 1);
    QVERIFY(!form_->link().flags().ClockQueryPending);
    QCOMPARE(text("Hersteller"), QStringLiteral("Hersteller"));
}

QTEST_MAIN(MsgClockModemTest)
#include "tst_msg_clock_modem.moc"
