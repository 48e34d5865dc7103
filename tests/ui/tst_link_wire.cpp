// What the window puts on the wire, read byte for byte by a pseudo-terminal
// that plays the module or the modem.
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"
#include "ui/widgets/RadioGroup.h"

#include "commands/messaging/ClockCommands.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

namespace {



} // namespace

class LinkWireTest : public QObject, protected WindowOnPty {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void connectAndTestButtonsInSettingMode();
    void rawLinesFromTheAtPanelAndSignalButton();
    void answersShowWhenWhole_data();
    void answersShowWhenWhole();
    void versionAnswersShowWithinMomentsOfTheirLastByte();
    void smsSubmissionAgainstAModem();
    void portAndSpeedSelection();
    void closedPortIsReported();

private:
};

void LinkWireTest::connectAndTestButtonsInSettingMode() {
    QVERIFY(form_->CommPortDriver1().Connected());
    child<QPushButton>(*form_, "ConnectBtn")->click();
    const QByteArray wire = peer_->read();
    QCOMPARE(wire, framed("  OK"));
    QCOMPARE(wire.size(), 26);
    child<QPushButton>(*form_, "TestBtn")->click();
    QCOMPARE(peer_->read(), framed("  +EXIT"));
}

void LinkWireTest::rawLinesFromTheAtPanelAndSignalButton() {
    child<QPushButton>(*form_, "Squality")->click();
    QCOMPARE(peer_->read(), QByteArray("  AT+CSQ\r"));
    child<QPushButton>(*form_, "ATcmdOpen")->click();
    child<QLineEdit>(*form_, "ATcmd")->setText(QStringLiteral("AT+CGMI"));
    child<QPushButton>(*form_, "SendAT")->click();
    QCOMPARE(peer_->read(), QByteArray("  AT+CGMI\r"));
    // The answer clears the raw-line flag; the next module command is framed again.
    deliver(*form_, *peer_, "\r\nOK\r\n");
    child<QPushButton>(*form_, "ConnectBtn")->click();
    QCOMPARE(peer_->read(), framed("  OK"));
}

void LinkWireTest::answersShowWhenWhole_data() {
    QTest::addColumn<bool>("skip");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Skip CR/LF checked") << true << QStringLiteral("\nOK  \n");
    QTest::newRow("Skip CR/LF unchecked") << false << QStringLiteral("\nOK\n\n");
}

void LinkWireTest::answersShowWhenWhole() {
    QFETCH(bool, skip);
    QFETCH(QString, shown);
    child<QCheckBox>(*form_, "SkipCRLFcb")->setChecked(skip);
    form_->link().Clear();
    form_->link().SendSMS("GETST");
    form_->link().DisplayOnMemo("GETST");
    QCOMPARE(peer_->read(), framed("GETST"));
    QCOMPARE(child<QPlainTextEdit>(*form_, "MemoS")->toPlainText(), QStringLiteral("GETST"));
    deliver(*form_, *peer_, "OK\r\n");
    auto *memo = child<QPlainTextEdit>(*form_, "MemoSMSinput");
    QCOMPARE(memo->toPlainText(), shown);
    tick(*form_);
    QCOMPARE(memo->toPlainText(), shown);
}

// The answer to a tab's button shows as soon as it is whole, whenever it
// comes and however the line cuts it: no tick, no polling, only the port's
// own events.
void LinkWireTest::versionAnswersShowWithinMomentsOfTheirLastByte() {
    struct Feed {
        int afterMs;        // from the command
        QByteArray answer;
        int pieces;
    };
    const Feed feeds[] = {{0, "VERSION 1.0\r\n", 1},   {60, "VERSION 1.1\r\n", 3},
                          {150, "VERSION 1.2", 1},        {400, "VERSION 1.3\r\n", 2},
                          {900, "VERSION 1.4\r\n", 5},  {1500, "VERSION 1.5", 2}};
    auto *memo = child<QPlainTextEdit>(*form_, "MemoSMSinput");
    for (const Feed &feed : feeds) {
        child<QPushButton>(*form_, "Version")->click();
        QCOMPARE(peer_->read(), framed(QByteArray(zx::commands::messaging::kVersionLine)));
        const QString text = QString::fromLatin1(feed.answer.trimmed());
        QTest::qWait(feed.afterMs);
        const qsizetype step = (feed.answer.size() + feed.pieces - 1) / feed.pieces;
        for (qsizetype at = 0; at < feed.answer.size(); at += step) {
            if (at > 0)
                QTest::qWait(20);
            peer_->write(feed.answer.mid(at, step));
        }
        QElapsedTimer sinceLastByte;
        sinceLastByte.start();
        QVERIFY2(waitFor([&] { return memo->toPlainText().contains(text); }, 3000),
                 qPrintable(memo->toPlainText()));
        QVERIFY2(sinceLastByte.elapsed() <= 300,
                 qPrintable(QStringLiteral("%1 shown %2 ms after its last byte")
                                .arg(text)
                                .arg(sinceLastByte.elapsed())));
    }
}

void LinkWireTest::smsSubmissionAgainstAModem() {
    child<QLineEdit>(*form_, "BRnumber")->setText(QStringLiteral("+12345"));
    child<QCheckBox>(*form_, "SMSmode")->setChecked(true);
    form_->link().SendSMS("GETVR");
    QCOMPARE(peer_->read(), QByteArray("AT+CMGS=17\r"));
    deliver(*form_, *peer_, "\r\n> ");
    QCOMPARE(peer_->read(), QByteArray("00113005912143F500000B06C722D52A6D00\x1A"));
    QVERIFY(form_->link().flags().AwaitSubmitResult);
    tick(*form_);
    deliver(*form_, *peer_, "\r\n+CMGS: 4\r\n\r\nOK\r\n");
    const zx::link::LinkFlags &s = form_->link().flags();
    QVERIFY(!s.ModemBusy && !s.SubmitPending && !s.AwaitPrompt && !s.AwaitSubmitResult &&
            !s.SubmitResultArmed);
    // "Test" in SMS mode is an SMS whose text is "  +EXIT" and CR.
    child<QPushButton>(*form_, "TestBtn")->click();
    const QByteArray announce = peer_->read();
    QVERIFY(announce.startsWith("AT+CMGS="));
    QCOMPARE(form_->link().PendingPdu().mid(22, 2), QByteArray("08"));
}

void LinkWireTest::portAndSpeedSelection() {
    PtyPeer com12;
    env_->mapPort(12, com12.slavePath());
    auto *port = child<zx::ui::RadioGroup>(*form_, "RadioGroupPort");
    auto *rate = child<zx::ui::RadioGroup>(*form_, "RadioGroupRate");
    port->button(11)->click();
    rate->button(5)->click();
    TCommPortDriver &driver = form_->CommPortDriver1();
    QVERIFY(driver.Connected());
    QCOMPARE(driver.PortName(), QStringLiteral("\\\\.\\COM12"));
    QCOMPARE(driver.DeviceName(), com12.slavePath());
    const auto applied = driver.LastAppliedSettings();
    QCOMPARE(applied.speed, 57600u);
    QCOMPARE(applied.dataBits, db8BITS);
    QCOMPARE(applied.parity, ptNONE);
    QCOMPARE(applied.stopBits, sb1BITS);
    QVERIFY(!applied.dtr && !applied.rts && !applied.ctsFlow && !applied.xonXoff);

    child<QCheckBox>(*form_, "ParityEven")->setChecked(true);
    QVERIFY(driver.Connected());
    QCOMPARE(driver.LastAppliedSettings().parity, ptEVEN);
    QCOMPARE(driver.LastAppliedSettings().speed, 57600u);
    child<QPushButton>(*form_, "ConnectBtn")->click();
    QCOMPARE(com12.read(), framed("  OK"));
    QCOMPARE(peer_->read(100), QByteArray());
    // The next port change keeps even parity.
    rate->button(6)->click();
    QCOMPARE(driver.LastAppliedSettings().parity, ptEVEN);
    QCOMPARE(driver.LastAppliedSettings().speed, 115200u);
}

void LinkWireTest::closedPortIsReported() {
    env_->mapPort(3, env_->dir() + QStringLiteral("/no-such-tty"));
    child<zx::ui::RadioGroup>(*form_, "RadioGroupPort")->button(2)->click();
    QVERIFY(!form_->CommPortDriver1().Connected());
    auto *bar = child<QStatusBar>(*form_, "StatusBar1");
    QVERIFY(bar->currentMessage().contains(QStringLiteral("Com3")));
    child<QPushButton>(*form_, "ConnectBtn")->click();
    QVERIFY(bar->currentMessage().contains(QStringLiteral("not open")));
}

QTEST_MAIN(LinkWireTest)
#include "tst_link_wire.moc"
