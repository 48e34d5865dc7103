// The window in SMS mode against the simulated modem with the module behind
// it: the modem queries at start-up, and a module command that goes out as
// an SMS and whose answering SMS is listed, shown and deleted; several stored
// answers, each shown once, with deletion on and off; the modem's
// confirmation of a send and its announcement of a new message; an SMS job
// from the "Module" menu that the window's closing stops and the next
// window finishes.
#include "support/SimHarness.h"

#include "gsm/PduDeliver.h"
#include "provision/Plan.h"
#include "provision/RunLists.h"
#include "register/Journal.h"
#include "register/ModuleNumber.h"
#include "register/Register.h"
#include "register/RunKeeper.h"
#include "ui/module/ModuleWindow.h"
#include "ui/module/SmsJobsView.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QMessageBox>
#include <QTreeWidget>

#include <QElapsedTimer>
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
    void withoutDeletionEachStoredAnswerIsShownOnceInOrder();
    void withDeletionEachIndexIsDeletedInTurn();
    void newMessageIndicationIsListedAtOnce();
    void modemHabitsAreSurvived_data();
    void modemHabitsAreSurvived();
    void answersStoredWhileClosedShowOnceEachAfterOpening_data();
    void answersStoredWhileClosedShowOnceEachAfterOpening();
    void acceptedSendsAreConfirmedAndReplaceABusyNotice();
    void smsJobStopsWithTheWindowAndGoesOnInTheNext();

private:
    void start(bool echo, bool deleteIncoming = true) {
        sim_ = std::make_unique<SimHarness>(Simulator::Mode::Sms);
        QVERIFY(sim_->simulatorRunning());
        sim_->sim.modem().state().echo = echo;
        sim_->sim.modem().state().clock = modemClock;
        sim_->open(smsModeSettings(kModuleNumber, deleteIncoming));
        QVERIFY(sim_->window().CommPortDriver1().Connected());
    }
    // The query sequence is over and the store listing that follows it answered.
    bool sequenceDone() {
        const zx::link::LinkFlags &flags = sim_->window().link().flags();
        return sim_->pumpUntil([&] { return !flags.QuerySequenceActive; }) &&
               sim_->pumpUntil([&] { return !flags.ListReplyExpected && !flags.NewMessageIndicated; });
    }
    // Three answers of the module wait in the modem's store, unread.
    void storeThreeAnswers() {
        for (const QByteArray &text : kThreeAnswers)
            sim_->sim.modem().store().add(zx::gsm::buildDeliverPdu(kModuleNumber, text));
    }
    // Pumps until each answer is in the memo; returns the tick each one came at.
    QList<int> ticksShown() {
        QList<int> at;
        for (const QByteArray &text : kThreeAnswers) {
            const QString line = QString::fromLatin1("SMS: " + text + '\n');
            if (!sim_->pumpUntil([&] { return sim_->memoText().contains(line); }, 15000))
                return at;
            at << sim_->ticks;
        }
        return at;
    }
    int listingsSent() { return int(sim_->wire.count("AT+CMGL=")); }
    bool listingAnswered() {
        return sim_->pumpUntil([&] { return !sim_->window().link().flags().ListReplyExpected; });
    }

    static inline const QList<QByteArray> kThreeAnswers = {"OUT1 ON", "OUT2 OFF", "VERSION 2.07"};
    // What the modem queries at start-up leave in the reception memo, each on
    // a line of its own, then the three answers.
    static inline const QString kQueriesThenThreeAnswers = QStringLiteral(
        "AT+CGMI\nAT+CSCS?\nAT+CGMM\nAT+CCLK?\nAT+CMGF?\nAT+CMGF=0\n"
        "SMS: OUT1 ON\nSMS: OUT2 OFF\nSMS: VERSION 2.07\n");

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

void E2eSmsModeTest::withoutDeletionEachStoredAnswerIsShownOnceInOrder() {
    start(false, /*deleteIncoming=*/false);
    QVERIFY(sequenceDone());
    storeThreeAnswers();
    const QList<int> at = ticksShown();
    QCOMPARE(at.size(), 3);
    QVERIFY2(at[1] - at[0] <= 3 && at[2] - at[1] <= 3,
             qPrintable(QStringLiteral("shown at ticks %1, %2, %3").arg(at[0]).arg(at[1]).arg(at[2])));
    QCOMPARE(sim_->memoText(), kQueriesThenThreeAnswers);

    // Later listings, of unread and of read messages, show nothing new.
    QVERIFY(listingAnswered());
    const int listed = listingsSent();
    for (int more = 1; more <= 2; ++more) {
        QVERIFY(sim_->pumpUntil([&] { return listingsSent() == listed + more; }, 8000));
        QVERIFY(listingAnswered());
    }
    QCOMPARE(sim_->memoText(), kQueriesThenThreeAnswers);
    QCOMPARE(sim_->sim.modem().store().size(), 3);
    QVERIFY(!sim_->wire.contains("AT+CMGD="));
    QVERIFY(sim_->env.boxes.isEmpty());
}

void E2eSmsModeTest::withDeletionEachIndexIsDeletedInTurn() {
    start(false);
    QVERIFY(sequenceDone());
    const qsizetype from = sim_->wire.size();
    storeThreeAnswers();
    QCOMPARE(ticksShown().size(), 3);
    QVERIFY(sim_->pumpUntil([&] { return sim_->sim.modem().store().size() == 0; }));
    // The first poll lists read messages and finds none; the unread ones
    // come with the second, the rest at once after each deletion.
    QCOMPARE(sim_->wire.mid(from), QByteArray("AT+CMGL=1\rAT+CMGL=0\rAT+CMGD=1\r"
                                              "AT+CMGL=1\rAT+CMGD=2\rAT+CMGL=1\rAT+CMGD=3\r"));
    QCOMPARE(sim_->memoText(), kQueriesThenThreeAnswers);
}

void E2eSmsModeTest::newMessageIndicationIsListedAtOnce() {
    start(false);
    zx::sim::ModemState &modem = sim_->sim.modem().state();
    modem.newMessageIndications = true;
    modem.emptyStoreError = true;
    QVERIFY(sequenceDone());
    const qsizetype from = sim_->wire.size();
    QElapsedTimer clock;
    sim_->child<QPushButton>(QStringLiteral("Version"))->click();
    // The module's answer is stored and announced when the PDU is in; it is
    // listed, shown and deleted without waiting for a tick.
    qint64 storedAtMs = -1;
    clock.start();
    const auto shown = [&] {
        if (storedAtMs < 0 && sim_->sim.modem().store().size() == 1)
            storedAtMs = clock.elapsed();
        // The memo was emptied for the command: the answer is its first line.
        return sim_->memoText() == QStringLiteral("SMS: VERSION 2.07\n");
    };
    QVERIFY2(sim_->pumpUntil(shown, 3000, /*withTicks=*/false), qPrintable(sim_->memoText()));
    qInfo("answer shown %lld ms after the SMS went out", qlonglong(clock.elapsed()));
    QVERIFY(sim_->pumpUntil([&] { return sim_->sim.modem().store().size() == 0; }, 3000, false));
    const QByteArray sent = sim_->wire.mid(from);
    const qsizetype submitted = sent.indexOf('\x1A');
    QVERIFY(submitted > 0);
    QCOMPARE(sent.mid(submitted + 1), QByteArray("AT+CMGL=0\rAT+CMGD=1\r"));
    // Nothing was written to turn the indications on.
    QVERIFY(!sim_->wire.contains("CNMI"));
}

enum class Habit { RefusesSubmit, BarePrompt, ReportsInReplies, NotReadyAtFirst, StoreFull, FullStoreBurst };
Q_DECLARE_METATYPE(Habit)

void E2eSmsModeTest::modemHabitsAreSurvived_data() {
    QTest::addColumn<Habit>("habit");
    QTest::newRow("+CMS ERROR: 330 instead of the prompt") << Habit::RefusesSubmit;
    QTest::newRow("a bare prompt") << Habit::BarePrompt;
    QTest::newRow("RING and +CREG inside replies") << Habit::ReportsInReplies;
    QTest::newRow("ERROR to everything until SMS Ready") << Habit::NotReadyAtFirst;
    QTest::newRow("+CMS ERROR: 322 on a full store") << Habit::StoreFull;
    QTest::newRow("a full store, then a burst of answers") << Habit::FullStoreBurst;
}

// Habits of real modems, each against the simulated one: what goes out,
// what the status bar says, and what the memo shows.
void E2eSmsModeTest::modemHabitsAreSurvived() {
    QFETCH(Habit, habit);
    qint64 uptime = 0;
    sim_ = std::make_unique<SimHarness>(Simulator::Mode::Sms);
    QVERIFY(sim_->simulatorRunning());
    zx::sim::ModemState &modem = sim_->sim.modem().state();
    modem.echo = false;
    modem.clock = modemClock;
    modem.uptimeMs = [&] { return uptime; };
    modem.newMessageIndications = true;
    modem.barePrompt = habit == Habit::BarePrompt;
    modem.unsolicitedInReplies = habit == Habit::ReportsInReplies;
    if (habit == Habit::NotReadyAtFirst)
        modem.notReadyMs = 60000;
    sim_->open(smsModeSettings(kModuleNumber, habit != Habit::StoreFull));
    QVERIFY(sequenceDone());
    auto *version = sim_->child<QPushButton>(QStringLiteral("Version"));
    const QString accepted = QStringLiteral("The SMS \"GETVR\" to +4915200000001 was accepted");
    const auto says = [&](const QString &text) {
        return sim_->pumpUntil([&] { return sim_->statusMessage().contains(text); }, 5000);
    };
    const auto shownOnce = [&](const QString &line) {
        return sim_->memoText().count(line) == 1;
    };
    const qsizetype from = sim_->wire.size();
    switch (habit) {
    case Habit::RefusesSubmit:
        modem.refuseSubmitCode = 330;
        version->click();
        QVERIFY2(says(QStringLiteral("no SMS centre number is set")), qPrintable(sim_->statusMessage()));
        sim_->pumpFor(300);
        // Nothing but the announcement went out, and the module got nothing.
        QCOMPARE(sim_->wire.mid(from), QByteArray("AT+CMGS=22\r"));
        QVERIFY(sim_->commands.isEmpty());
        QCOMPARE(sim_->memoText(), QString());
        modem.refuseSubmitCode = 0;
        version->click();
        QVERIFY2(says(accepted), qPrintable(sim_->statusMessage()));
        QVERIFY(sim_->pumpUntil([&] { return shownOnce(QStringLiteral("SMS: VERSION 2.07\n")); }));
        break;
    case Habit::BarePrompt:
    case Habit::ReportsInReplies:
        version->click();
        QVERIFY2(says(accepted), qPrintable(sim_->statusMessage()));
        QVERIFY(sim_->pumpUntil([&] { return sim_->sim.modem().store().size() == 0; }, 3000, false));
        QCOMPARE(sim_->memoText(), QStringLiteral("SMS: VERSION 2.07\n"));
        QVERIFY(sim_->wire.mid(from).endsWith("\x1A" "AT+CMGL=0\rAT+CMGD=1\r"));
        break;
    case Habit::NotReadyAtFirst:
        QCOMPARE(sim_->window().link().readiness(), zx::link::ModemReadiness::NotReady);
        version->click();
        QVERIFY2(says(QStringLiteral("Waiting up to 60 s")), qPrintable(sim_->statusMessage()));
        QVERIFY(sim_->pumpUntil([&] { return sim_->wire.mid(from).count("AT+CPIN?") >= 2; }, 8000));
        QVERIFY(!sim_->wire.mid(from).contains("AT+CMGS"));
        uptime = 60001;
        QVERIFY2(says(accepted), qPrintable(sim_->statusMessage()));
        QVERIFY(sim_->pumpUntil([&] { return shownOnce(QStringLiteral("SMS: VERSION 2.07\n")); }));
        QCOMPARE(sim_->commands, QList<QByteArray>{"  GETVR"});
        break;
    case Habit::StoreFull:
        modem.storeCapacity = 1;
        modem.refuseWhenFull = true;
        sim_->sim.storeAnswers(1, false);
        version->click();
        QVERIFY2(says(QStringLiteral("the message store is full")), qPrintable(sim_->statusMessage()));
        QVERIFY(sim_->statusMessage().contains(QStringLiteral("Delete messages")));
        QVERIFY(!sim_->wire.mid(from).contains('\x1A'));
        break;
    case Habit::FullStoreBurst: {
        // The store fills behind the tool's back; two answers wait at the
        // network and come in a burst once the store is listed and emptied.
        modem.storeCapacity = 1;
        sim_->sim.modem().store().add(zx::gsm::buildDeliverPdu(kModuleNumber, "OUT1 ON"));
        for (int n = 0; n < 2; ++n) {
            version->click();
            QVERIFY2(says(accepted), qPrintable(sim_->statusMessage()));
            sim_->pumpFor(200, false);
        }
        QCOMPARE(sim_->sim.modem().heldAnswers(), 2);
        QVERIFY(sim_->pumpUntil([&] { return sim_->sim.modem().heldAnswers() == 0 &&
                                             sim_->sim.modem().store().size() == 0; }, 8000));
        sim_->pumpFor(300);
        QVERIFY2(shownOnce(QStringLiteral("SMS: OUT1 ON\n")), qPrintable(sim_->memoText()));
        QCOMPARE(int(sim_->memoText().count(QStringLiteral("SMS: VERSION 2.07\n"))), 2);
        QCOMPARE(int(sim_->wire.mid(from).count("AT+CMGD=")), 3);
        break;
    }
    }
    QVERIFY(sim_->env.boxes.isEmpty());
}

void E2eSmsModeTest::answersStoredWhileClosedShowOnceEachAfterOpening_data() {
    QTest::addColumn<bool>("deleteIncoming");
    QTest::newRow("deletion on") << true;
    QTest::newRow("deletion off") << false;
}

// The modem stored three answers (and announced them) before the tool
// opened the port: the store is listed once the queries are answered, and
// each answer shows once, within ten ticks of opening.
void E2eSmsModeTest::answersStoredWhileClosedShowOnceEachAfterOpening() {
    QFETCH(bool, deleteIncoming);
    sim_ = std::make_unique<SimHarness>(Simulator::Mode::Sms);
    QVERIFY(sim_->simulatorRunning());
    sim_->sim.modem().state().clock = modemClock;
    storeThreeAnswers();
    sim_->open(smsModeSettings(kModuleNumber, deleteIncoming));
    const QList<int> at = ticksShown();
    QCOMPARE(at.size(), 3);
    QVERIFY2(at[2] <= 10, qPrintable(QString::number(at[2])));
    sim_->pumpFor(1500);
    QCOMPARE(sim_->memoText(), kQueriesThenThreeAnswers);
    QCOMPARE(sim_->sim.modem().store().size(), deleteIncoming ? 0 : 3);
    QCOMPARE(int(sim_->wire.count("AT+CMGD=")), deleteIncoming ? 3 : 0);
    QVERIFY(sim_->env.boxes.isEmpty());
}

void E2eSmsModeTest::acceptedSendsAreConfirmedAndReplaceABusyNotice() {
    start(true);
    QVERIFY(sequenceDone());
    sim_->sim.modem().state().messageReference = 6;
    auto *version = sim_->child<QPushButton>(QStringLiteral("Version"));
    version->click();
    // A second command while the first waits for the modem is not sent.
    version->click();
    QCOMPARE(sim_->statusMessage(), QStringLiteral("The modem is busy: \"GETVR\" was not sent."));
    const QString accepted =
        QStringLiteral("The SMS \"GETVR\" to +4915200000001 was accepted by the modem (reference %1).");
    QVERIFY2(sim_->pumpUntil([&] { return sim_->statusMessage() == accepted.arg(7); }),
             qPrintable(sim_->statusMessage()));
    version->click();
    QVERIFY(sim_->statusMessage().isEmpty());
    QVERIFY2(sim_->pumpUntil([&] { return sim_->statusMessage() == accepted.arg(8); }),
             qPrintable(sim_->statusMessage()));
    QCOMPARE(sim_->commands, (QList<QByteArray>{"  GETVR", "  GETVR"}));
}

namespace {

std::unique_ptr<zx::reg::Register> openRegister() {
    QString error;
    std::unique_ptr<zx::reg::Register> r = zx::reg::Register::openConfigured(&error);
    if (!r)
        qWarning("register: %s", qPrintable(error));
    return r;
}

// The register knows the module holds record: a whole write of it was answered.
bool registerHolds(const zx::settings::ConfigRecord &record, const QString &number) {
    const std::unique_ptr<zx::reg::Register> r = openRegister();
    if (!r)
        return false;
    zx::reg::RunKeeper keeper(r.get());
    keeper.setModule(number);
    const zx::provision::Plan plan = zx::provision::writePlan(record);
    const QList<zx::provision::Command> commands = zx::provision::writeCommands(plan);
    keeper.expectWrites(plan, record);
    if (!keeper.begin(QStringLiteral("write"), QStringLiteral("Com1"), commands))
        return false;
    zx::provision::Report report;
    for (const zx::provision::Command &command : commands) {
        zx::provision::CommandResult result;
        result.command = command;
        result.status = zx::provision::Status::Answered;
        result.answer = "OK";
        if (!keeper.record(result))
            return false;
        report.results << result;
    }
    return keeper.finish(report);
}

QList<zx::remote::SmsJob> journalJobs() {
    const std::unique_ptr<zx::reg::Register> r = openRegister();
    return r ? zx::reg::Journal(*r).jobs() : QList<zx::remote::SmsJob>{};
}

// The module's row in "SMS jobs": a column's text.
QString shown(TForm1 &form, int column) {
    auto *view = form.findChild<zx::ui::SmsJobsView *>(QStringLiteral("SmsJobsView"));
    if (!view)
        return {};
    auto *tree = view->findChild<QTreeWidget *>(QStringLiteral("SmsJobsTree"));
    if (!tree || tree->topLevelItemCount() == 0 || tree->topLevelItem(0)->childCount() == 0)
        return {};
    return tree->topLevelItem(0)->child(0)->text(column);
}

} // namespace

// "Write only changes" in SMS mode: two changed alarm numbers go out as an
// SMS job after the question that says how many SMS to which number at what
// cost; the window closes after the first answer, with the second command's
// answer in the modem's store, the journal keeps the job running, and a new
// window shows it at once and finishes it: the answer that waited is the
// job's (the link lists the store on opening but deletes nothing), and the
// module got each command exactly once.
void E2eSmsModeTest::smsJobStopsWithTheWindowAndGoesOnInTheNext() {
    start(false);
    // Two answers "OK" are told apart by their time stamps: the modem's clock runs.
    sim_->sim.modem().state().clock = {};
    QVERIFY(sequenceDone());
    const QString number = zx::reg::normaliseNumber(QString::fromLatin1(kModuleNumber));
    QVERIFY(registerHolds(static_cast<zx::ui::ModuleWindow &>(sim_->window()).currentRecord(), number));

    sim_->window().findChild<QAction *>(QStringLiteral("SmsJobs1"))->trigger();
    sim_->child<QDoubleSpinBox>(QStringLiteral("SmsPrice"))->setValue(0.09);
    sim_->child<QLineEdit>(QStringLiteral("NNumber1"))->setText(QStringLiteral("+491701111111"));
    sim_->child<QLineEdit>(QStringLiteral("NNumber3"))->setText(QStringLiteral("+491703333333"));
    const zx::settings::ConfigRecord edited =
        static_cast<zx::ui::ModuleWindow &>(sim_->window()).currentRecord();
    auto *changes = sim_->window().findChild<QAction *>(QStringLiteral("WriteChanges1"));
    QVERIFY(changes->isEnabled());
    changes->trigger();
    auto *confirm = sim_->window().findChild<QMessageBox *>(QStringLiteral("ModuleConfirm"));
    QVERIFY(confirm);
    QCOMPARE(confirm->text(), QStringLiteral("Send 2 SMS to %1 through the modem on Com1?").arg(number));
    QVERIFY2(confirm->informativeText().startsWith(
                 QStringLiteral("2 SMS to 1 module (%1 2)\nat most 4 with 1 retry each for answers that "
                                "do not come\ncost: 0.18 at 0.09 per SMS (at most 0.36)\n")
                     .arg(number)),
             qPrintable(confirm->informativeText()));
    QVERIFY(sim_->commands.isEmpty());
    confirm->button(QMessageBox::Yes)->click();

    // The first is answered, the second waits for its answer, which the
    // modem holds already: the job lists the store only every 5 s.
    QVERIFY(sim_->pumpUntil(
        [&] {
            return shown(sim_->window(), 2) == QLatin1String("1") &&
                   shown(sim_->window(), 6).startsWith(QLatin1String("SETNN3 +491703333333: waiting since ")) &&
                   sim_->sim.modem().store().size() == 1;
        },
        20000));
    sim_->window().close();
    auto *ask = sim_->window().findChild<QMessageBox *>(QStringLiteral("CloseDuringSmsJob"));
    QVERIFY(ask);
    ask->findChild<QPushButton *>(QStringLiteral("CloseKeepJob"))->click();
    QVERIFY(!sim_->window().isVisible());
    QList<zx::remote::SmsJob> jobs = journalJobs();
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(jobs.at(0).state, QStringLiteral("running"));
    QCOMPARE(jobs.at(0).countIn(zx::remote::SmsState::Answered), 1);
    QCOMPARE(jobs.at(0).countIn(zx::remote::SmsState::Handed), 1);
    QCOMPARE(jobs.at(0).commands.size(), 2);
    const qint64 id = jobs.at(0).id;
    // The window's values, for the next window to go on with.
    const QString profile = jobs.at(0).profile;
    QVERIFY(QFile::exists(profile));

    sim_->form.reset();
    sim_->open(smsModeSettings(kModuleNumber));
    QCoreApplication::processEvents();
    auto *view = sim_->window().findChild<zx::ui::SmsJobsView *>(QStringLiteral("SmsJobsView"));
    QVERIFY(view && view->isVisible());
    QCOMPARE(view->jobs().size(), 1);
    QCOMPARE(view->jobs().at(0).id, id);
    QVERIFY(sim_->pumpUntil([&] { return journalJobs().value(0).state == QLatin1String("finished"); }, 30000));
    QVERIFY(sim_->pumpUntil([&] { return shown(sim_->window(), 2) == QLatin1String("2"); }));
    QCOMPARE(shown(sim_->window(), 6), QString());

    jobs = journalJobs();
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(jobs.at(0).countIn(zx::remote::SmsState::Answered), 2);
    for (const zx::remote::SmsCommand &command : jobs.at(0).commands)
        QCOMPARE(command.attempts, 1);
    QVERIFY(!QFile::exists(profile));
    QList<QByteArray> received;
    for (const QByteArray &line : sim_->commands)
        received << line.trimmed();
    QCOMPARE(received, (QList<QByteArray>{"SETNN1 +491701111111", "SETNN3 +491703333333"}));
    QCOMPARE(sim_->sim.module().state().alarmNumbers[0], QByteArray("+491701111111"));
    QCOMPARE(sim_->sim.module().state().alarmNumbers[2], QByteArray("+491703333333"));
    // The register knows the module holds them now: nothing is left to write.
    const std::unique_ptr<zx::reg::Register> r = openRegister();
    QVERIFY(r);
    zx::reg::RunKeeper keeper(r.get());
    keeper.setModule(number);
    QVERIFY(zx::reg::changesPlan(keeper.known(), number, edited).steps.isEmpty());
}

QTEST_MAIN(E2eSmsModeTest)
#include "tst_e2e_sms_mode.moc"
