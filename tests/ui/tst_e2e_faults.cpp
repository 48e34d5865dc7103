// The window against a misbehaving line: a silent modem, answers in pieces,
// noise, error answers to an SMS submission and a port that goes away and
// comes back. Each ends with the link idle, the user told, and the next
// command going out as it should.
#include "common/Wire.h"
#include "support/SimHarness.h"
#include "ui/widgets/RadioGroup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QElapsedTimer>
#include <QTextDocument>
#include "ui/TabTable.h"

#include <QtTest>

using zx::sim::FaultOptions;
using zx::sim::Simulator;
using zx::testing::framed;

namespace {

using zx::ui::kGprsFtpTab;
const QByteArray kModuleNumber = "+4915200000001";


QString withoutLineEnds(QString text) {
    return text.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
}

// Asks the module for its GPRS user id ("gprsuser") on the "GPRS, FTP" tab,
// counting in `pieces` the writes the simulator's answer takes; returns the
// box the answer goes to.
QLineEdit *readUserIdCountingPieces(SimHarness &h, int &pieces) {
    QObject::connect(&h.sim, &Simulator::bytesWritten, [&pieces](const QByteArray &) { ++pieces; });
    h.open(settingModeSettings());
    h.sim.module().state().gprs.userId = "gprsuser";
    h.clickTab(kGprsFtpTab);
    h.child<QCheckBox>(QStringLiteral("ReadGPRS1"))->setChecked(true);
    h.child<QPushButton>(QStringLiteral("UIDbtn"))->click();
    return h.child<QLineEdit>(QStringLiteral("UserID"));
}

} // namespace

class E2eFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void silentModemIsReportedOnce();
    void answerInPiecesCollectedByOnePoll();
    void answerInPiecesWithPausesIsTakenWhole();
    void lateAnswerIsNotTheNextCommandsAnswer();
    void statusBarSaysWhatBecameOfACommand_data();
    void statusBarSaysWhatBecameOfACommand();
    void noiseAtFullSpeedKeepsTheMemoBounded();
    void errorAnswersToASubmission_data();
    void errorAnswersToASubmission();
    void portVanishesAndComesBack();
};

void E2eFaultsTest::silentModemIsReportedOnce() {
    FaultOptions faults;
    faults.silent = true;
    SimHarness h(Simulator::Mode::Sms, faults);
    QVERIFY(h.simulatorRunning());
    h.open(smsModeSettings(kModuleNumber));
    const auto &flags = h.window().link().flags();
    QVERIFY(flags.QuerySequenceActive);
    // No real time is needed: the modem reads and never answers.
    for (int i = 0; i < 98; ++i) {
        tick(h.window());
        QCoreApplication::processEvents();
    }
    QVERIFY(h.env.boxes.isEmpty());
    tick(h.window());
    QCOMPARE(h.env.boxes.size(), 1);
    QCOMPARE(h.env.boxes[0].text, QStringLiteral("Cell Phone not connected"));
    QCOMPARE(h.env.boxes[0].title, QStringLiteral("Error"));
    QCOMPARE(h.env.boxes[0].kind, zx::ui::BoxKind::Error);
    QVERIFY(flags.ModemNotConnected && !flags.QuerySequenceActive && !flags.ModemBusy);
    // The modem got the first query, the tool waited on it and gave up.
    QVERIFY(h.wire.startsWith("AT+CGMI\r"));
    h.pumpFor(300);
    tick(h.window(), 150);
    QCOMPARE(h.env.boxes.size(), 1);

    // The modem speaks again: the next command goes out and reaches the module.
    h.sim.setFaults({});
    h.pumpFor(200, false); // the list polls of those ticks reach the modem first
    const qsizetype before = h.wire.size();
    h.child<QPushButton>(QStringLiteral("Version"))->click();
    QVERIFY(h.pumpUntil([&] { return h.sim.modem().store().size() == 1; }));
    QVERIFY2(h.wire.mid(before).startsWith("AT+CMGS="), h.wire.mid(before).constData());
    QCOMPARE(h.commands, QList<QByteArray>{"  GETVR"});
    QVERIFY(!flags.ModemNotConnected);
    QCOMPARE(h.env.boxes.size(), 1);
}

// The driver collects every 4000 ms, so pieces written close together
// normally reach the window as one chunk.
void E2eFaultsTest::answerInPiecesCollectedByOnePoll() {
    FaultOptions faults;
    faults.splitPieces = 4;
    faults.splitGapMs = 30;
    SimHarness h(Simulator::Mode::Setting, faults);
    QVERIFY(h.simulatorRunning());
    int pieces = 0;
    QLineEdit *box = readUserIdCountingPieces(h, pieces);
    QVERIFY(waitFor([&] { return pieces == 4; }));
    waitFor([] { return false; }, 50);
    QVERIFY(h.pumpUntil([&] { return !box->text().isEmpty(); }));
    QCOMPARE(box->text().trimmed(), QStringLiteral("gprsuser"));
    QCOMPARE(h.commands, QList<QByteArray>{"GETID "});
}

// Pauses inside an answer longer than the line's quiet gap do not cut it:
// a keyed answer ends at its line end, and is shown and taken once, whole.
void E2eFaultsTest::answerInPiecesWithPausesIsTakenWhole() {
    FaultOptions faults;
    faults.splitPieces = 4;
    faults.splitGapMs = 200;
    SimHarness h(Simulator::Mode::Setting, faults);
    QVERIFY(h.simulatorRunning());
    int pieces = 0;
    QLineEdit *box = readUserIdCountingPieces(h, pieces);
    QVERIFY(h.pumpUntil([&] { return !box->text().isEmpty(); }));
    QCOMPARE(pieces, 4);
    QCOMPARE(box->text().trimmed(), QStringLiteral("gprsuser"));
    QCOMPARE(withoutLineEnds(h.memoText()), QStringLiteral("UserID: gprsuser"));
    QCOMPARE(h.window().link().strayBytes(), 0);
    QCOMPARE(h.commands, QList<QByteArray>{"GETID "});
}

// An answer that comes after its command was given up is not the answer to
// the command on the line then: it fills no box and is not shown, and the
// true answer is.
void E2eFaultsTest::lateAnswerIsNotTheNextCommandsAnswer() {
    FaultOptions faults;
    faults.delayMs = zx::link::kAnswerTimeoutMs + 600;
    SimHarness h(Simulator::Mode::Setting, faults);
    QVERIFY(h.simulatorRunning());
    int pieces = 0;
    QLineEdit *userId = readUserIdCountingPieces(h, pieces);
    auto *bar = h.child<QStatusBar>(QStringLiteral("StatusBar1"));
    QVERIFY(h.pumpUntil(
        [&] { return bar->currentMessage().startsWith(QStringLiteral("No answer to \"GETID\"")); },
        zx::link::kAnswerTimeoutMs + 2000));
    QVERIFY(bar->currentMessage().contains(QStringLiteral("setting mode")));
    h.sim.setFaults([] {
        FaultOptions quick;
        quick.delayMs = 1000;
        return quick;
    }());
    h.sim.module().state().gprs.apn = "internet.example";
    h.child<QPushButton>(QStringLiteral("APNbtn"))->click();
    auto *apn = h.child<QLineEdit>(QStringLiteral("APN"));
    QVERIFY(h.pumpUntil([&] { return !apn->text().isEmpty(); }));
    QCOMPARE(apn->text().trimmed(), QStringLiteral("internet.example"));
    QCOMPARE(pieces, 2); // the late one came while "GETAP" waited
    QCOMPARE(userId->text(), QString());
    QCOMPARE(withoutLineEnds(h.memoText()), QStringLiteral("APN: internet.example"));
    QCOMPARE(h.window().link().strayBytes(), qsizetype(sizeof("UserID: gprsuser\r\n") - 1));
    QCOMPARE(h.commands, (QList<QByteArray>{"GETID ", "GETAP "}));
}

// Who answers on the port.
enum Peer { WellModule, RefusingModule, SilentModule, EchoingModem };

void E2eFaultsTest::statusBarSaysWhatBecameOfACommand_data() {
    QTest::addColumn<int>("peer");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("memo");
    QTest::newRow("answered") << int(WellModule) << QString() << QStringLiteral("VERSION 2.07");
    QTest::newRow("refused") << int(RefusingModule)
                             << QStringLiteral("The module refused \"GETVR\" (ERROR).")
                             << QStringLiteral("ERROR");
    QTest::newRow("silent") << int(SilentModule)
                            << QStringLiteral("No answer to \"GETVR\" in 3 s: check the cable")
                            << QString();
    QTest::newRow("an echoing modem on the port")
        << int(EchoingModem)
        << QStringLiteral("\"GETVR\" came back as sent: a modem with its echo on is on this port.")
        << QString();
}

// Setting mode: a refusal, silence and an echo are each said for what they
// are, and only an answer or a refusal is shown in the memo.
void E2eFaultsTest::statusBarSaysWhatBecameOfACommand() {
    QFETCH(int, peer);
    QFETCH(QString, status);
    QFETCH(QString, memo);
    FaultOptions faults;
    faults.refuseAll = peer == RefusingModule;
    faults.silent = peer == SilentModule;
    SimHarness h(peer == EchoingModem ? Simulator::Mode::Sms : Simulator::Mode::Setting, faults);
    QVERIFY(h.simulatorRunning());
    h.open(settingModeSettings());
    auto *bar = h.child<QStatusBar>(QStringLiteral("StatusBar1"));
    h.child<QPushButton>(QStringLiteral("Version"))->click();
    if (status.isEmpty()) {
        QVERIFY(h.pumpUntil([&] { return h.memoText().contains(memo); }));
        h.pumpFor(zx::link::kAnswerTimeoutMs + 300);
        QCOMPARE(bar->currentMessage(), QString());
    } else {
        QVERIFY2(h.pumpUntil([&] { return bar->currentMessage().startsWith(status); },
                             zx::link::kAnswerTimeoutMs + 2000),
                 qPrintable(bar->currentMessage()));
    }
    QCOMPARE(withoutLineEnds(h.memoText()).trimmed(), memo);
}

void E2eFaultsTest::noiseAtFullSpeedKeepsTheMemoBounded() {
    SimHarness h(Simulator::Mode::Setting);
    QVERIFY(h.simulatorRunning());
    int noiseWrites = 0;
    QObject::connect(&h.sim, &Simulator::bytesWritten, [&](const QByteArray &) { ++noiseWrites; });
    h.open(settingModeSettings());
    h.child<zx::ui::RadioGroup>(QStringLiteral("RadioGroupRate"))->button(6)->click();
    QCOMPARE(h.window().CommPortDriver1().LastAppliedSettings().speed, 115200u);
    QVERIFY(h.window().CommPortDriver1().Connected());
    auto *memo = h.child<QPlainTextEdit>(QStringLiteral("MemoSMSinput"));

    // Noise as fast as 115200 baud carries it: the window still answers.
    FaultOptions faults;
    faults.noiseBytesPerSec = 11520;
    h.sim.setFaults(faults);
    h.pumpFor(1000);
    QVERIFY(noiseWrites > 5);
    h.child<QPushButton>(QStringLiteral("SetOut2"))->click();
    QVERIFY(h.pumpUntil([&] { return h.sim.module().state().outputs[1]; }));
    QVERIFY(h.pumpUntil([&] { return h.memoText().contains(QStringLiteral("OUT2 ON")); }));

    // A flood of noise, read as fast as the tool can, fills the memo to its
    // bound and no further.
    faults.noiseBytesPerSec = 150000;
    h.sim.setFaults(faults);
    QElapsedTimer flood;
    flood.start();
    while (memo->blockCount() < 5000 && flood.elapsed() < 20000) {
        QCoreApplication::processEvents();
        h.window().CommPortDriver1().PollNow();
        tick(h.window());
    }
    QCOMPARE(memo->blockCount(), 5000);
    h.pumpFor(300);
    QCOMPARE(memo->blockCount(), 5000);

    // Once the line is quiet again the next command is answered.
    h.sim.setFaults({});
    int lastRevision = -1;
    QElapsedTimer quietFor;
    quietFor.start();
    QVERIFY(h.pumpUntil([&] {
        if (memo->document()->revision() != lastRevision) {
            lastRevision = memo->document()->revision();
            quietFor.restart();
        }
        return quietFor.elapsed() > 300;
    }, 20000));
    h.child<QPushButton>(QStringLiteral("GetOut2"))->click();
    QVERIFY2(h.pumpUntil([&] { return h.memoText().contains(QStringLiteral("OUT2 ON")); }), qPrintable(h.child<QStatusBar>(QStringLiteral("StatusBar1"))->currentMessage() + QString::number(h.window().link().strayBytes()) + QStringLiteral(" sets=%1").arg(h.sim.module().state().outputs[1])));
    QCOMPARE(h.commands, (QList<QByteArray>{"SETOU2", "GETOS2"}));
    QVERIFY(h.env.boxes.isEmpty());
}

void E2eFaultsTest::errorAnswersToASubmission_data() {
    QTest::addColumn<bool>("toThePdu");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("ERROR to AT+CMGS=") << false << QByteArray("\r\nERROR\r\n");
    QTest::newRow("+CMS ERROR: 500 to AT+CMGS=") << false << QByteArray("\r\n+CMS ERROR: 500\r\n");
    QTest::newRow("ERROR to the PDU") << true << QByteArray("\r\nERROR\r\n");
    QTest::newRow("+CMS ERROR: 500 to the PDU") << true << QByteArray("\r\n+CMS ERROR: 500\r\n");
}

void E2eFaultsTest::errorAnswersToASubmission() {
    QFETCH(bool, toThePdu);
    QFETCH(QByteArray, reply);
    UiTestEnv env;
    PtyPeer modem;
    env.mapPort(1, modem.slavePath());
    QByteArray settings = smsModeSettings(kModuleNumber);
    settings[3209] = 0; // no query sequence: SMS mode is switched on below
    env.writeSettings(settings);
    TForm1 form;
    form.findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
    form.findChild<QCheckBox *>(QStringLiteral("SMSmode"))->setChecked(true);
    auto *bar = form.findChild<QStatusBar *>(QStringLiteral("StatusBar1"));
    QVERIFY(bar);
    const zx::link::LinkFlags &flags = form.link().flags();

    form.findChild<QPushButton *>(QStringLiteral("Version"))->click();
    const QByteArray announce = modem.read();
    QVERIFY2(announce.startsWith("AT+CMGS=") && announce.endsWith('\r'), announce.constData());
    const QByteArray pdu = form.link().PendingPdu().chopped(1);
    const QByteArray code = reply.trimmed();
    const auto refused = [&] {
        const QString said = bar->currentMessage();
        return said.startsWith(QStringLiteral("The modem refused the SMS \"GETVR\": ")) &&
               said.contains(QString::fromLatin1(code));
    };
    if (toThePdu) {
        deliver(form, modem, "\r\n> ");
        QCOMPARE(modem.read(), pdu + '\x1A');
        tick(form);
        deliver(form, modem, reply);
        QVERIFY2(refused(), qPrintable(bar->currentMessage()));
    } else {
        deliver(form, modem, reply);
        QVERIFY2(refused(), qPrintable(bar->currentMessage()));
        // Refused instead of the prompt: the PDU is not written.
        tick(form);
        QCOMPARE(modem.read(), QByteArray());
    }
    tick(form);
    QVERIFY(!flags.ModemBusy && !flags.AwaitPrompt && !flags.AwaitSubmitResult &&
            !flags.SubmitResultArmed && !flags.SubmitPending);
    QVERIFY2(refused(), qPrintable(bar->currentMessage()));
    QVERIFY(env.boxes.isEmpty());

    // The next command goes out whole; a plain ERROR instead of the prompt
    // makes it wait until the modem says it is ready.
    form.findChild<QPushButton *>(QStringLiteral("TestBtn"))->click();
    QByteArray next = modem.read();
    if (!toThePdu && code == "ERROR") {
        QCOMPARE(next, QByteArray("AT+CPIN?\r"));
        deliver(form, modem, "\r\n+CPIN: READY\r\n\r\nOK\r\n");
        next = modem.read();
    }
    QVERIFY2(next.startsWith("AT+CMGS=") && next.endsWith('\r'), next.constData());
    deliver(form, modem, "\r\n> ");
    QCOMPARE(modem.read(), form.link().PendingPdu().chopped(1) + '\x1A');
    tick(form);
    deliver(form, modem, "\r\n+CMGS: 7\r\n\r\nOK\r\n");
    QVERIFY(!flags.ModemBusy && !flags.AwaitPrompt && !flags.AwaitSubmitResult);
    QVERIFY2(bar->currentMessage().endsWith(QStringLiteral("(reference 7).")),
             qPrintable(bar->currentMessage()));
}

void E2eFaultsTest::portVanishesAndComesBack() {
    SimHarness h(Simulator::Mode::Setting);
    QVERIFY(h.simulatorRunning());
    h.open(settingModeSettings());
    TCommPortDriver &driver = h.window().CommPortDriver1();
    h.child<QPushButton>(QStringLiteral("SetOut5"))->click();
    QVERIFY(h.pumpUntil([&] { return h.memoText().contains(QStringLiteral("OUT5 ON")); }));

    h.sim.vanish();
    QVERIFY(h.pumpUntil([&] { return !driver.Connected(); }));
    QVERIFY2(h.statusMessage().contains(QStringLiteral("lost")), qPrintable(h.statusMessage()));
    QVERIFY(h.statusMessage().contains(QStringLiteral("Serial Port")));
    // A command now is not sent, and the user is told so.
    h.child<QPushButton>(QStringLiteral("ResetOut5"))->click();
    QVERIFY2(h.statusMessage().contains(QStringLiteral("not open")), qPrintable(h.statusMessage()));
    h.pumpFor(200);

    QVERIFY(h.sim.comeBack());
    h.choosePort(2);
    h.choosePort(1);
    QVERIFY(driver.Connected());
    QCOMPARE(driver.DeviceName(), h.sim.slavePath());
    const qsizetype before = h.wire.size();
    h.child<QPushButton>(QStringLiteral("ResetOut5"))->click();
    QVERIFY(h.pumpUntil([&] { return h.memoText().contains(QStringLiteral("OUT5 OFF")); }));
    QCOMPARE(h.wire.mid(before), framed("RSTOU5"));
    QVERIFY(!h.sim.module().state().outputs[4]);
    QCOMPARE(h.commands, (QList<QByteArray>{"SETOU5", "RSTOU5"}));
}

QTEST_MAIN(E2eFaultsTest)
#include "tst_e2e_faults.moc"
