// The traffic log of the window against the simulated module and modem:
// both directions of a setting-mode command and of an SMS submission, byte
// for byte as the simulator got them and in time order; the "Traffic"
// window's "Save log…" writes what its view shows, in text and in hex, and
// the GPRS/FTP passwords, written and read back, never appear in it; "Log
// traffic to file" appends the same lines to the file of the day, in SMS
// mode too with no PDU that carries a password, and a noise flood leaves the
// log within its bound.
#include "common/Wire.h"
#include "support/SimHarness.h"

#include "gsm/PduDecoder.h"
#include "gsm/PduDeliver.h"
#include "traffic/PduPasswordMask.h"
#include "traffic/TrafficFormat.h"
#include "traffic/TrafficLog.h"
#include "ui/TabTable.h"
#include "ui/TrafficWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using zx::sim::Simulator;
using zx::traffic::Direction;
using zx::traffic::Entry;

namespace {

const QByteArray kModuleNumber = "+4915200000001";

QByteArray stream(const QList<Entry> &entries, Direction direction) {
    QByteArray all;
    for (const Entry &e : entries)
        if (e.direction == direction)
            all += e.bytes;
    return all;
}

bool timesInOrder(const QList<Entry> &entries) {
    for (qsizetype i = 1; i < entries.size(); ++i)
        if (entries[i].msecs < entries[i - 1].msecs)
            return false;
    return true;
}

// Index of the first entry in `direction` from `from` on whose bytes contain
// `needle`, or -1.
qsizetype find(const QList<Entry> &entries, Direction direction, const QByteArray &needle,
               qsizetype from = 0) {
    for (qsizetype i = from; i < entries.size(); ++i)
        if (entries[i].direction == direction && entries[i].bytes.contains(needle))
            return i;
    return -1;
}

// Whether a run of hex digits long enough for a PDU, read as a listed message
// or as a submission, has `secret` in its text.
bool pduTextHolds(const QByteArray &bytes, const QByteArray &secret) {
    static const QRegularExpression run(QStringLiteral("[0-9A-F]{20,}"));
    auto it = run.globalMatch(QString::fromLatin1(bytes));
    while (it.hasNext()) {
        const QByteArray hex = it.next().captured().toLatin1();
        if (zx::gsm::PDUTextConversion(hex).contains(secret) ||
            zx::gsm::parseSubmitPdu(hex).text.contains(secret))
            return true;
    }
    return false;
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TrafficLogTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { sim_.reset(); }

    void settingModeCommandIsLoggedBothWays();
    void smsSubmissionIsLoggedBothWays();
    void smsPasswordPdusNeverShowInTheLogOrItsFile();
    void savedLogIsTheViewAndHoldsNoPassword();
    void logFileHoldsTheLinesAndStopsOnAnError();
    void staysWithinItsBoundUnderANoiseFlood();
    void opensAtTheStartOfTheNewestLineAndFollowsIt();

private:
    void start(Simulator::Mode mode, const zx::sim::FaultOptions &faults = {}) {
        sim_ = std::make_unique<SimHarness>(mode, faults);
        QVERIFY(sim_->simulatorRunning());
        sim_->open(mode == Simulator::Mode::Sms ? smsModeSettings(kModuleNumber)
                                                : settingModeSettings());
        QVERIFY(sim_->window().CommPortDriver1().Connected());
    }
    zx::traffic::TrafficLog &log() { return sim_->window().traffic(); }
    QString logFilePath() const {
        return sim_->env.stateHome() + QStringLiteral("/zentorix/traffic-") +
               QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
    }
    bool command(const QString &button, const QByteArray &line, const QString &answer) {
        const qsizetype before = sim_->commands.size();
        sim_->child<QPushButton>(button)->click();
        return sim_->pumpUntil([&] {
            return sim_->commands.size() > before && sim_->commands.last().trimmed() == line &&
                   sim_->memoText().contains(answer);
        });
    }

    std::unique_ptr<SimHarness> sim_;
};

void TrafficLogTest::settingModeCommandIsLoggedBothWays() {
    start(Simulator::Mode::Setting);
    const quint64 first = log().nextSerial();
    const qsizetype wireBefore = sim_->wire.size();
    QVERIFY(command(QStringLiteral("SetOut3"), "SETOU3", QStringLiteral("OUT3 ON")));
    const QList<Entry> entries = log().since(first);
    // What the simulator got, byte for byte, and the answer it sent back.
    QCOMPARE(stream(entries, Direction::Sent), sim_->wire.mid(wireBefore));
    QCOMPARE(stream(entries, Direction::Sent), zx::testing::framed("SETOU3"));
    const qsizetype sent = find(entries, Direction::Sent, "SETOU3");
    QVERIFY(sent >= 0);
    QVERIFY2(find(entries, Direction::Received, "OUT3 ON", sent + 1) > sent,
             stream(entries, Direction::Received).constData());
    QVERIFY(timesInOrder(entries));
    // The memo's Clear leaves the log alone.
    QVERIFY(command(QStringLiteral("GetOut3"), "GETOS3", QStringLiteral("OUT3 ON")));
    QCOMPARE(sim_->memoText().count(QStringLiteral("OUT3")), 1);
    QCOMPARE(stream(log().since(first), Direction::Received).count("OUT3 ON"), 2);
}

void TrafficLogTest::smsSubmissionIsLoggedBothWays() {
    start(Simulator::Mode::Sms);
    // The queries, and the store listing that follows them, are over.
    const zx::link::LinkFlags &flags = sim_->window().link().flags();
    QVERIFY(sim_->pumpUntil([&] {
        return !flags.QuerySequenceActive && !flags.ListReplyExpected && !flags.NewMessageIndicated;
    }));
    const quint64 first = log().nextSerial();
    const qsizetype wireBefore = sim_->wire.size();
    sim_->child<QPushButton>(QStringLiteral("Version"))->click();
    QVERIFY(sim_->pumpUntil([&] { return sim_->sim.modem().store().size() == 1; }, 3000, false));
    QVERIFY(sim_->pumpUntil([&] {
        return stream(log().since(first), Direction::Received).contains("+CMGS:");
    }));
    const QList<Entry> entries = log().since(first);
    // The pending PDU ends in the NUL that Ctrl-Z replaces on the wire.
    const QByteArray pdu = sim_->window().link().PendingPdu();
    QCOMPARE(stream(entries, Direction::Sent), sim_->wire.mid(wireBefore));
    // AT+CMGS=, the prompt, the PDU and Ctrl-Z, the modem's confirmation.
    const qsizetype cmgs = find(entries, Direction::Sent, "AT+CMGS=");
    const qsizetype prompt = find(entries, Direction::Received, "> ", cmgs + 1);
    const qsizetype pduStart = find(entries, Direction::Sent, pdu.left(1), prompt + 1);
    const qsizetype ctrlZ = find(entries, Direction::Sent, "\x1A", pduStart);
    const qsizetype confirmed = find(entries, Direction::Received, "+CMGS:", ctrlZ + 1);
    QVERIFY2(cmgs >= 0 && prompt > cmgs && pduStart > prompt && ctrlZ >= pduStart &&
                 confirmed > ctrlZ,
             qPrintable(QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(cmgs).arg(prompt).arg(pduStart).arg(ctrlZ).arg(confirmed)));
    QByteArray pduSent;
    for (qsizetype i = pduStart; i <= ctrlZ; ++i)
        pduSent += entries[i].bytes;
    QCOMPARE(pduSent, pdu.chopped(1) + '\x1A');
    QVERIFY(stream(entries, Direction::Received).contains("OK"));
    QVERIFY(timesInOrder(entries));
}

void TrafficLogTest::smsPasswordPdusNeverShowInTheLogOrItsFile() {
    sim_ = std::make_unique<SimHarness>(Simulator::Mode::Sms);
    QVERIFY(sim_->simulatorRunning());
    // The modem echoes the PDU after its prompt and announces each answer,
    // which the window then lists at the next idle tick.
    QVERIFY(sim_->sim.modem().state().echo);
    sim_->sim.modem().state().newMessageIndications = true;
    sim_->open(smsModeSettings(kModuleNumber));
    QVERIFY(sim_->pumpUntil([&] { return !sim_->window().link().flags().QuerySequenceActive; }));
    QByteArray fromModem;
    QObject::connect(&sim_->sim, &Simulator::bytesWritten,
                     [&](const QByteArray &bytes) { fromModem += bytes; });
    const quint64 first = log().nextSerial();
    auto *item = sim_->child<QAction>(QStringLiteral("TrafficFile1"));
    item->trigger();
    QVERIFY(item->isChecked());

    // A command's answer is listed, shown and deleted.
    const auto answered = [&](const QString &shown) {
        const auto &flags = sim_->window().link().flags();
        const auto done = [&] {
            return sim_->memoText().contains(shown) && sim_->sim.modem().store().size() == 0 &&
                   !flags.ModemBusy && !flags.AwaitSubmitResult && !flags.ListReplyExpected;
        };
        return sim_->pumpUntil(done, 8000);
    };
    sim_->clickTab(zx::ui::kGprsFtpTab);
    const QByteArray secret = "Gpr5Secret";
    auto *box = sim_->child<QLineEdit>(QStringLiteral("Password"));
    box->setText(QString::fromLatin1(secret));
    sim_->child<QPushButton>(QStringLiteral("PWbtn"))->click();
    QVERIFY(answered(QStringLiteral("SMS: OK")));
    QVERIFY(sim_->commands.last().trimmed() == "SETPW " + secret);
    // Read back: the answer is a listed message with the password.
    box->clear();
    sim_->child<QCheckBox>(QStringLiteral("ReadGPRS1"))->setChecked(true);
    sim_->child<QPushButton>(QStringLiteral("PWbtn"))->click();
    const QByteArray readPdu = sim_->window().link().PendingPdu().chopped(1);
    QVERIFY(answered(QStringLiteral("SMS: PASSWORD: ") + QString::fromLatin1(secret)));
    QCOMPARE(sim_->commands.last().trimmed(), QByteArray("GETPW"));
    // The password did go both ways, inside PDUs only.
    QVERIFY(pduTextHolds(sim_->wire, secret) && !sim_->wire.contains(secret));
    QVERIFY(pduTextHolds(fromModem, secret) && !fromModem.contains(secret));
    QVERIFY(fromModem.contains("\r\n> ") && fromModem.contains("+CMGL: "));
    item->trigger();
    QVERIFY(!item->isChecked());

    const QList<Entry> entries = log().since(first);
    const QByteArray sent = stream(entries, Direction::Sent);
    const QByteArray received = stream(entries, Direction::Received);
    const QByteArray file = contents(logFilePath());
    QCOMPARE(file, zx::traffic::formatLines(entries, zx::traffic::View::Text)
                           .join(QLatin1Char('\n'))
                           .toUtf8() +
                       '\n');
    for (const QByteArray &kept : {sent, received, file}) {
        QVERIFY(!kept.contains(secret));
        QVERIFY(!pduTextHolds(kept, secret));
    }
    // The submission of SETPW, its echo and the listed answer of GETPW are
    // markers; the submission of GETPW and the modem's own lines stay.
    const QByteArray marker = zx::traffic::PduPasswordMask::kMarker;
    QCOMPARE(sent.count(marker), 1);
    QCOMPARE(received.count(marker), 2);
    QCOMPARE(file.count(marker), 3);
    QVERIFY(readPdu.size() > 20 && sent.contains(readPdu + '\x1A') &&
            received.contains("> " + readPdu + "\r\n+CMGS: "));
    QVERIFY(sent.contains("AT+CMGS=") && sent.contains("AT+CMGL=0\r"));
    QVERIFY(received.contains("\r\n+CMGL: ") && received.contains("\r\nOK\r\n"));
    QVERIFY(timesInOrder(entries));
    QVERIFY(sim_->env.boxes.isEmpty());
}

void TrafficLogTest::savedLogIsTheViewAndHoldsNoPassword() {
    start(Simulator::Mode::Setting);
    sim_->clickTab(zx::ui::kGprsFtpTab);
    const QByteArray gprsPw = "Gpr5Secret", ftpPw = "Ftp9Secret";
    sim_->child<QLineEdit>(QStringLiteral("Password"))->setText(QString::fromLatin1(gprsPw));
    QVERIFY(command(QStringLiteral("PWbtn"), "SETPW " + gprsPw, QStringLiteral("OK")));
    sim_->child<QLineEdit>(QStringLiteral("PasswordFTP"))->setText(QString::fromLatin1(ftpPw));
    QVERIFY(command(QStringLiteral("FPWbtn"), "SETPF " + ftpPw, QStringLiteral("OK")));
    // Read back: the module's answer carries the password too.
    auto *box = sim_->child<QLineEdit>(QStringLiteral("Password"));
    box->clear();
    sim_->child<QCheckBox>(QStringLiteral("ReadGPRS1"))->setChecked(true);
    QVERIFY(command(QStringLiteral("PWbtn"), "GETPW", QString::fromLatin1(gprsPw)));
    QVERIFY(sim_->pumpUntil([&] { return box->text().trimmed() == QString::fromLatin1(gprsPw); }));
    QVERIFY(sim_->wire.contains("SETPW " + gprsPw) && sim_->wire.contains("SETPF " + ftpPw));

    auto *open = sim_->child<QAction>(QStringLiteral("TrafficLog1"));
    QVERIFY(!open->toolTip().isEmpty());
    open->trigger();
    auto *window = sim_->child<zx::ui::TrafficWindow>(QStringLiteral("TrafficWindow"));
    QVERIFY(window->isVisible() && !window->isModal());
    auto *view = sim_->child<QPlainTextEdit>(QStringLiteral("TrafficView"));
    QVERIFY(view->isReadOnly() && !view->isUndoRedoEnabled());
    QCOMPARE(view->maximumBlockCount(), zx::ui::TrafficWindow::kMaxLines);
    QVERIFY(view->toPlainText().contains(QStringLiteral(" TX ") +
                                         QString::fromLatin1(QByteArray(14, ' ')) +
                                         QStringLiteral("SETUP:SETPW ********<CR><NUL>")));
    QVERIFY(view->toPlainText().contains(QStringLiteral(" RX ")));

    // New traffic is appended live.
    const int blocks = view->blockCount();
    QVERIFY(command(QStringLiteral("PWbtn"), "GETPW", QString::fromLatin1(gprsPw)));
    QVERIFY(sim_->pumpUntil([&] { return view->blockCount() > blocks; }));

    QTemporaryDir dir;
    auto *hex = sim_->child<QCheckBox>(QStringLiteral("TrafficHex"));
    for (const bool hexView : {false, true}) {
        hex->setChecked(hexView);
        const QString shown = view->toPlainText();
        QVERIFY(shown.contains(hexView ? QStringLiteral("53 45 54 50 57 20 2A") // "SETPW *"
                                       : QStringLiteral("SETPW ********")));
        const QString path = dir.filePath(hexView ? QStringLiteral("hex.log") : QStringLiteral("text.log"));
        sim_->child<QPushButton>(QStringLiteral("TrafficSave"))->click();
        auto *dialog = sim_->child<QFileDialog>(QStringLiteral("TrafficSaveDialog"));
        QVERIFY(dialog->isVisible());
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        const QByteArray saved = file.readAll();
        QCOMPARE(QString::fromUtf8(saved), view->toPlainText() + QLatin1Char('\n'));
        QVERIFY(view->toPlainText().startsWith(shown.left(40)));
        for (const QByteArray &secret : {gprsPw, ftpPw}) {
            QVERIFY2(!saved.contains(secret), secret.constData());
            QVERIFY2(!saved.contains(secret.toHex(' ').toUpper()), secret.constData());
        }
    }

    // Paused, the view stays as it is; resumed, it catches up.
    auto *pause = sim_->child<QCheckBox>(QStringLiteral("TrafficPause"));
    pause->setChecked(true);
    const QString frozen = view->toPlainText();
    QVERIFY(command(QStringLiteral("PWbtn"), "GETPW", QString::fromLatin1(gprsPw)));
    sim_->pumpFor(300);
    QCOMPARE(view->toPlainText(), frozen);
    pause->setChecked(false);
    QVERIFY(view->blockCount() > frozen.count(QLatin1Char('\n')) + 1);
    QVERIFY(sim_->env.boxes.isEmpty());
}

void TrafficLogTest::logFileHoldsTheLinesAndStopsOnAnError() {
    start(Simulator::Mode::Setting);
    auto *item = sim_->child<QAction>(QStringLiteral("TrafficFile1"));
    // Off at every start; the tooltip names the folder.
    QVERIFY(item->isCheckable() && !item->isChecked());
    const QString folder = sim_->env.stateHome() + QStringLiteral("/zentorix");
    QVERIFY2(item->toolTip().contains(folder), qPrintable(item->toolTip()));
    // A menu shows its items' tooltips only when told to.
    auto *menu = qobject_cast<QMenu *>(item->associatedObjects().value(0));
    QVERIFY(menu && menu->toolTipsVisible());
    QVERIFY(!QFile::exists(folder));

    const quint64 first = log().nextSerial();
    item->trigger();
    QVERIFY(item->isChecked());
    const QString path = logFilePath();
    QVERIFY2(sim_->statusMessage().contains(path), qPrintable(sim_->statusMessage()));
    QVERIFY(QFile::exists(path));
    // Mode 0600 (the "User" bits repeat the owner's for the owner).
    QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
             QFile::ReadOwner | QFile::WriteOwner);

    // A password written and read back, and a plain command.
    sim_->clickTab(zx::ui::kGprsFtpTab);
    const QByteArray secret = "Gpr5Secret";
    auto *box = sim_->child<QLineEdit>(QStringLiteral("Password"));
    box->setText(QString::fromLatin1(secret));
    QVERIFY(command(QStringLiteral("PWbtn"), "SETPW " + secret, QStringLiteral("OK")));
    box->clear();
    sim_->child<QCheckBox>(QStringLiteral("ReadGPRS1"))->setChecked(true);
    QVERIFY(command(QStringLiteral("PWbtn"), "GETPW", QString::fromLatin1(secret)));
    QVERIFY(sim_->wire.contains("SETPW " + secret));

    // Unticked: the file holds the lines of the text view, the last one ended.
    item->trigger();
    QVERIFY(!item->isChecked());
    const QList<Entry> logged = log().since(first);
    const QByteArray saved = contents(path);
    QCOMPARE(saved, zx::traffic::formatLines(logged, zx::traffic::View::Text)
                            .join(QLatin1Char('\n'))
                            .toUtf8() +
                        '\n');
    QVERIFY(saved.contains("SETUP:SETPW ********<CR><NUL>"));
    QVERIFY(saved.contains("PASSWORD:********"));
    QVERIFY(!saved.contains(secret));
    // Nothing more goes to it.
    QVERIFY(command(QStringLiteral("PWbtn"), "GETPW", QStringLiteral("PASSWORD")));
    QCOMPARE(contents(path), saved);

    // A file that cannot be written: the item unticks itself and the status
    // bar says what happened and what to do.
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(command(QStringLiteral("PWbtn"), "GETPW", QStringLiteral("PASSWORD")));
    QVERIFY(sim_->pumpUntil([&] { return !item->isChecked(); }));
    QVERIFY2(sim_->statusMessage().startsWith(QStringLiteral("The traffic log file ") + path +
                                              QStringLiteral(" could not be written: No space "
                                                             "left on device.")),
             qPrintable(sim_->statusMessage()));
    QVERIFY(sim_->statusMessage().endsWith(QStringLiteral("turn file logging on again.")));
    QVERIFY(sim_->env.boxes.isEmpty());
}

void TrafficLogTest::staysWithinItsBoundUnderANoiseFlood() {
    zx::sim::FaultOptions faults;
    faults.noiseBytesPerSec = 150000;
    start(Simulator::Mode::Setting, faults);
    // A smaller ring than the 4 MiB of every start, so that the flood passes
    // its bound several times within the test's seconds.
    constexpr qsizetype kBound = 64 * 1024;
    log().setBound(kBound);
    QCOMPARE(log().bound(), kBound);
    qsizetype noise = 0;
    QObject::connect(&sim_->sim, &Simulator::bytesWritten,
                     [&](const QByteArray &bytes) { noise += bytes.size(); });
    qsizetype largest = 0;
    QVERIFY2(sim_->pumpUntil([&] {
                 largest = std::max(largest, log().size());
                 return noise > 4 * kBound && !log().entries().empty() &&
                        log().entries().front().serial > 1;
             }, 30000),
             qPrintable(QStringLiteral("%1 bytes of noise, %2 entries from serial %3")
                            .arg(noise)
                            .arg(log().entries().size())
                            .arg(log().since(0).value(0).serial)));
    // Past the bound: the oldest entries are gone, the newest kept.
    QVERIFY(log().size() <= kBound);
    QVERIFY(largest <= kBound);
    QCOMPARE(log().entries().back().serial, log().nextSerial() - 1);
    QVERIFY(!stream(log().since(0), Direction::Received).isEmpty());
    QVERIFY(timesInOrder(log().since(0)));
}

// Empty, the view says so; opened on traffic, it shows the newest line from
// its time on; new lines keep it there, and where the user scrolled (sideways
// or back) stays.
void TrafficLogTest::opensAtTheStartOfTheNewestLineAndFollowsIt() {
    start(Simulator::Mode::Setting);
    QVERIFY(log().entries().empty());
    sim_->child<QAction>(QStringLiteral("TrafficLog1"))->trigger();
    auto *window = sim_->child<zx::ui::TrafficWindow>(QStringLiteral("TrafficWindow"));
    auto *view = sim_->child<QPlainTextEdit>(QStringLiteral("TrafficView"));
    QVERIFY(view->toPlainText().isEmpty());
    QCOMPARE(view->placeholderText(), QStringLiteral("No traffic yet"));
    // Narrow and low, for lines wider and more than it shows.
    window->resize(420, 180);
    sim_->pumpFor(50);
    window->close();
    const auto commands = [&](int n) {
        for (int i = 0; i < n; ++i)
            QVERIFY(command(QStringLiteral("SetOut3"), "SETOU3", QStringLiteral("OUT3 ON")));
    };
    commands(8);
    sim_->child<QAction>(QStringLiteral("TrafficLog1"))->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->size(), QSize(420, 180));
    QScrollBar *across = view->horizontalScrollBar();
    QScrollBar *down = view->verticalScrollBar();
    QVERIFY(sim_->pumpUntil([&] { return view->blockCount() >= 16; }));
    sim_->pumpFor(100);
    QVERIFY(across->maximum() > 0 && down->maximum() > 0);
    QCOMPARE(across->value(), across->minimum());
    QCOMPARE(down->value(), down->maximum());

    across->setValue(across->maximum() / 2);
    const int left = across->value();
    const int blocks = view->blockCount();
    commands(2);
    QVERIFY(sim_->pumpUntil([&] { return view->blockCount() > blocks; }));
    QCOMPARE(down->value(), down->maximum());
    QCOMPARE(across->value(), left);

    // Scrolled back by the user, the view stays where it was.
    down->setValue(0);
    const int before = view->blockCount();
    commands(2);
    QVERIFY(sim_->pumpUntil([&] { return view->blockCount() > before; }));
    QCOMPARE(down->value(), 0);
}

QTEST_MAIN(TrafficLogTest)
#include "tst_traffic_log.moc"
