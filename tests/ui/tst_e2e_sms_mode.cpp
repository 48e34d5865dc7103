// The window in SMS mode against the simulated modem with the module behind
// it: the modem queries at start-up, and a module command that goes out as
// an SMS and whose answering SMS is listed, shown and deleted.
#include "support/SimHarness.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using zx::sim::Simulator;

namespace {

const QByteArray kModuleNumber = "+4915200000001";

QDateTime modemClock() {
    return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
}

// The needles occur in the wire in this order.
bool inOrder(const QByteArray &wire, const QList<QByteArray> &needles) {
    qsizetype from = 0;
    for (const QByteArray &needle : needles) {
        const qsizetype at = wire.indexOf(needle, from);
        if (at < 0)
            return false;
        from = at + needle.size();
    }
    return true;
}

} // namespace

class E2eSmsModeTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { sim_.reset(); }

    void queriesFillTheModemBoxes_data();
    void queriesFillTheModemBoxes();
    void commandGoesBySmsAndTheAnswerIsListedAndDeleted();

private:
    void start(bool echo) {
        sim_ = std::make_unique<SimHarness>(Simulator::Mode::Sms);
        QVERIFY(sim_->simulatorRunning());
        sim_->sim.modem().state().echo = echo;
        sim_->sim.modem().state().clock = modemClock;
        sim_->open(smsModeSettings(kModuleNumber));
        QVERIFY(sim_->window().CommPortDriver1().Connected());
    }
    bool sequenceDone() {
        return sim_->pumpUntil([&] { return !sim_->window().link().flags().QuerySequenceActive; });
    }

    std::unique_ptr<SimHarness> sim_;
};

void E2eSmsModeTest::queriesFillTheModemBoxes_data() {
    QTest::addColumn<bool>("echo");
    QTest::newRow("echo on") << true;
    QTest::newRow("echo off") << false;
}

void E2eSmsModeTest::queriesFillTheModemBoxes() {
    QFETCH(bool, echo);
    start(echo);
    QVERIFY(sim_->window().link().flags().QuerySequenceActive);
    QVERIFY(sequenceDone());
    const auto &flags = sim_->window().link().flags();
    QCOMPARE(flags.QueryStep, 7);
    QVERIFY(!flags.ModemNotConnected && !flags.ModemBusy);
    QVERIFY(inOrder(sim_->wire, {"AT+CGMI\r", "AT+CSCS?\r", "AT+CGMM\r", "AT+CCLK?\r", "AT+CMGF?\r",
                                 "AT+CMGF=0\r"}));
    QCOMPARE(sim_->child<QLineEdit>(QStringLiteral("Hersteller"))->text(),
             QStringLiteral("ZX Simulated GSM"));
    QCOMPARE(sim_->child<QLineEdit>(QStringLiteral("ModelIDCode"))->text(), QStringLiteral("ZXS-900"));
    // The clock keeps the quote the modem puts before it.
    QCOMPARE(sim_->child<QLineEdit>(QStringLiteral("DateTime"))->text(),
             QStringLiteral("\"24/03/05,14:07:09+00\""));
    QCOMPARE(sim_->child<QLineEdit>(QStringLiteral("Status"))->text(), QStringLiteral(" "));
    QCOMPARE(sim_->sim.modem().state().smsFormat, 0);
    QVERIFY(sim_->env.boxes.isEmpty());
}

void E2eSmsModeTest::commandGoesBySmsAndTheAnswerIsListedAndDeleted() {
    start(true);
    QVERIFY(sequenceDone());
    zx::sim::Modem &modem = sim_->sim.modem();
    const qsizetype sentBefore = sim_->wire.size();
    sim_->child<QPushButton>(QStringLiteral("Version"))->click();
    // The module got the command by SMS and its answer waits in the store.
    QVERIFY(sim_->pumpUntil([&] { return modem.store().size() == 1; }, 3000, false));
    QCOMPARE(sim_->commands, QList<QByteArray>{"  GETVR"});
    const QByteArray sent = sim_->wire.mid(sentBefore);
    QVERIFY2(sent.startsWith("AT+CMGS="), sent.constData());
    QVERIFY2(sent.endsWith('\x1A'), sent.constData());
    QVERIFY(sent.contains(sim_->window().link().PendingPdu().chopped(1)));

    // The list poll comes after PollFactor * 30 + 1 idle ticks.
    const int ticksBefore = sim_->ticks;
    QVERIFY(sim_->pumpUntil([&] { return sim_->memoText().contains(QStringLiteral("SMS: ")); }, 8000));
    QVERIFY(sim_->ticks - ticksBefore >= 31);
    QVERIFY2(sim_->memoText().contains(QStringLiteral("SMS: VERSION 2.07")),
             qPrintable(sim_->memoText()));
    QVERIFY(sim_->pumpUntil([&] { return modem.store().size() == 0; }));
    QVERIFY(inOrder(sim_->wire.mid(sentBefore), {"AT+CMGS=", "\x1A", "AT+CMGL=1\r", "AT+CMGD=1\r"}));
    const auto &flags = sim_->window().link().flags();
    QVERIFY(!flags.ModemBusy && !flags.AwaitPrompt && !flags.AwaitSubmitResult &&
            !flags.ListReplyExpected);
    QVERIFY(sim_->env.boxes.isEmpty());
}

QTEST_MAIN(E2eSmsModeTest)
#include "tst_e2e_sms_mode.moc"
