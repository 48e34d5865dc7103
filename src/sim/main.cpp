// zentorix-sim: the module, or a GSM modem with the module behind it, on a
// pseudo-terminal that the tool finds as "ComN".
#include "cmdline/GnuCommandLine.h"
#include "sim/Simulator.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop, so the link is removed on the way out.
void quitOnSignals(QCoreApplication &app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool readInt(const zx::cmdline::GnuCommandLine &parser, const QString &name, int minimum,
             int maximum, int &value) {
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int parsed = parser.value(name).toInt(&ok);
    if (!ok || parsed < minimum || parsed > maximum) {
        zx::cmdline::GnuCommandLine::report(parser.usageError(
            QStringLiteral("--%1 wants a number in %2..%3").arg(name).arg(minimum).arg(maximum)));
        return false;
    }
    value = parsed;
    return true;
}

// "MS" or "MIN-MAX".
bool readDelay(const zx::cmdline::GnuCommandLine &parser, zx::sim::NetworkOptions &network) {
    const QString name = QStringLiteral("sms-delay");
    if (!parser.isSet(name))
        return true;
    constexpr int kMaxDelayMs = 3600000;
    const QStringList parts = parser.value(name).split(QLatin1Char('-'));
    bool minOk = false;
    bool maxOk = parts.size() == 1;
    const int minimum = parts.value(0).toInt(&minOk);
    const int maximum = parts.size() == 2 ? parts[1].toInt(&maxOk) : minimum;
    if (parts.size() > 2 || !minOk || !maxOk || minimum < 0 || maximum < minimum ||
        maximum > kMaxDelayMs) {
        zx::cmdline::GnuCommandLine::report(parser.usageError(
            QStringLiteral("--sms-delay wants MS or MIN-MAX, milliseconds in 0..%1")
                .arg(kMaxDelayMs)));
        return false;
    }
    network.delayMinMs = minimum;
    network.delayMaxMs = maximum;
    return true;
}

bool readSeed(const zx::cmdline::GnuCommandLine &parser, zx::sim::NetworkOptions &network) {
    if (!parser.isSet(QStringLiteral("seed"))) {
        network.seed = quint32(QDateTime::currentMSecsSinceEpoch());
        return true;
    }
    bool ok = false;
    network.seed = parser.value(QStringLiteral("seed")).toUInt(&ok);
    if (!ok)
        zx::cmdline::GnuCommandLine::report(
            parser.usageError(QStringLiteral("--seed wants a number in 0..4294967295")));
    return ok;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zentorix-sim"));

    const QString summary = QStringLiteral(
        "Simulates the module on a pseudo-terminal (setting mode), or with --modem a GSM modem "
        "in PDU mode that passes every SMS to the module and stores its answer as a received "
        "message. The terminal is linked as comN in the tool's port map.");
    zx::cmdline::GnuCommandLine parser({QStringLiteral("zentorix-sim"), summary, {}}, {
        {QStringLiteral("com"), QStringLiteral("Link the terminal as ComN (1..16, default 1)."),
         QStringLiteral("N"), QStringLiteral("1")},
        {QStringLiteral("force"), QStringLiteral("Replace a comN link the simulator did not make.")},
        {QStringLiteral("modem"), QStringLiteral("Be a GSM modem (SMS mode) instead of the module.")},
        {QStringLiteral("echo"), QStringLiteral("The modem's command echo (default on)."),
         QStringLiteral("on|off"), QStringLiteral("on")},
        {QStringLiteral("number"),
         QStringLiteral("The module's telephone number its answers come from (default: the "
                        "number the command was sent to)."),
         QStringLiteral("+49...")},
        {QStringLiteral("empty-store-error"),
         QStringLiteral("With --modem: answer AT+CMGL with +CMS ERROR: 321 while the message "
                        "store is empty, as some modems do.")},
        {QStringLiteral("cmti"),
         QStringLiteral("With --modem: announce each answer stored with +CMTI: \"SM\",<index>.")},
        {QStringLiteral("refuse-submit"),
         QStringLiteral("With --modem: answer AT+CMGS=<length> with +CMS ERROR: CODE instead of "
                        "the prompt and stay in command state."),
         QStringLiteral("CODE")},
        {QStringLiteral("bare-prompt"),
         QStringLiteral("With --modem: prompt for the PDU with a bare \">\" (no CR LF before it, "
                        "no space after).")},
        {QStringLiteral("unsolicited-in-replies"),
         QStringLiteral("With --modem: put RING and +CREG: 1 lines inside the answers to AT+CMGL, "
                        "AT+CMGD and AT+CMGS.")},
        {QStringLiteral("not-ready"),
         QStringLiteral("With --modem: answer ERROR to every command for SEC seconds after the "
                        "start, then send +CPIN: READY and SMS Ready once."),
         QStringLiteral("SEC")},
        {QStringLiteral("store-capacity"),
         QStringLiteral("With --modem: the message store holds N messages; while it is full the "
                        "network keeps the module's answers and delivers them in a burst when a "
                        "deletion makes room."),
         QStringLiteral("N")},
        {QStringLiteral("refuse-when-full"),
         QStringLiteral("With --modem: answer AT+CMGS with +CMS ERROR: 322 while the store is "
                        "full.")},
        {QStringLiteral("stored-answers"),
         QStringLiteral("With --modem: start with N unread answers (\"STORED ANSWER 1\", ...) in "
                        "the store."),
         QStringLiteral("N")},
        {QStringLiteral("cmti-before-open"),
         QStringLiteral("With --stored-answers: write their +CMTI: lines to the terminal at the "
                        "start, before any tool has opened it.")},
        {QStringLiteral("module"),
         QStringLiteral("With --modem: a module of its own behind NUMBER (repeatable). An SMS "
                        "reaches the module of its number only and the answer comes from that "
                        "number; an SMS to any other number is lost. Numbers match on their "
                        "digits after a leading + or 00."),
         QStringLiteral("NUMBER")},
        {QStringLiteral("sms-delay"),
         QStringLiteral("With --modem: each SMS, command and answer alike, is MS milliseconds "
                        "on its way, or a time drawn evenly from MIN-MAX for each."),
         QStringLiteral("MS|MIN-MAX")},
        {QStringLiteral("loss"),
         QStringLiteral("With --modem: the network loses this share of the SMS, either way."),
         QStringLiteral("PERCENT")},
        {QStringLiteral("duplicate"),
         QStringLiteral("With --modem: this share of the answers arrives twice, the same PDU "
                        "after a delay of its own."),
         QStringLiteral("PERCENT")},
        {QStringLiteral("reorder"),
         QStringLiteral("With --modem: this share of the answers is held back until the next "
                        "one has arrived."),
         QStringLiteral("PERCENT")},
        {QStringLiteral("seed"),
         QStringLiteral("With --modem: the seed of the network's random choices (default: from "
                        "the clock; the seed used is printed on standard error)."),
         QStringLiteral("N")},
        {QStringLiteral("count-file"),
         QStringLiteral("With --modem: keep PATH a JSON record of what each module received and "
                        "answered, what the network lost or duplicated and what the module "
                        "holds, rewritten whole after every change and at the end."),
         QStringLiteral("PATH")},
        {QStringLiteral("silent"), QStringLiteral("Read everything, answer nothing.")},
        {QStringLiteral("refuse"), QStringLiteral("Answer ERROR to every module command.")},
        {QStringLiteral("delay"), QStringLiteral("Wait MS milliseconds before each answer."),
         QStringLiteral("MS")},
        {QStringLiteral("split"), QStringLiteral("Write each answer in N pieces, 30 ms apart."),
         QStringLiteral("N")},
        {QStringLiteral("noise"), QStringLiteral("Send random bytes at this rate between answers."),
         QStringLiteral("BYTES_PER_SEC")},
        {QStringLiteral("line-rate"),
         QStringLiteral("Move bytes no faster than the baud rate set on the terminal (10 bit "
                        "times a byte), both ways, as a serial line would.")},
        {QStringLiteral("noise-every"),
         QStringLiteral("Send the noise in one-second bursts, one every SEC seconds."),
         QStringLiteral("SEC")},
        {QStringLiteral("unsolicited"),
         QStringLiteral("With --modem: send this many unsolicited result lines a second (RING, "
                        "+CREG, +CSQ, +CMTI in turn)."),
         QStringLiteral("LINES_PER_SEC")},
        {QStringLiteral("vanish-after"),
         QStringLiteral("Close the terminal after SEC seconds and open a new one SEC seconds "
                        "later, re-pointing the link."),
         QStringLiteral("SEC")},
    });
    if (const zx::cmdline::ParseOutcome outcome = parser.parse(QCoreApplication::arguments());
        !outcome.run)
        return zx::cmdline::GnuCommandLine::report(outcome);

    zx::sim::FaultOptions faults;
    faults.silent = parser.isSet(QStringLiteral("silent"));
    faults.refuseAll = parser.isSet(QStringLiteral("refuse"));
    faults.lineRate = parser.isSet(QStringLiteral("line-rate"));
    int comN = 1;
    int notReadySec = 0;
    zx::sim::ModemState habits;
    if (!readInt(parser, QStringLiteral("com"), 1, 16, comN) ||
        !readInt(parser, QStringLiteral("refuse-submit"), 0, 999, habits.refuseSubmitCode) ||
        !readInt(parser, QStringLiteral("not-ready"), 0, 86400, notReadySec) ||
        !readInt(parser, QStringLiteral("store-capacity"), 0, 255, habits.storeCapacity) ||
        !readInt(parser, QStringLiteral("stored-answers"), 0, 255, habits.storedAnswers) ||
        !readInt(parser, QStringLiteral("delay"), 0, 600000, faults.delayMs) ||
        !readInt(parser, QStringLiteral("split"), 1, 1000, faults.splitPieces) ||
        !readInt(parser, QStringLiteral("noise"), 0, 100000, faults.noiseBytesPerSec) ||
        !readInt(parser, QStringLiteral("noise-every"), 0, 86400, faults.noiseEverySec) ||
        !readInt(parser, QStringLiteral("unsolicited"), 0, 10000, faults.unsolicitedPerSec) ||
        !readInt(parser, QStringLiteral("vanish-after"), 0, 86400, faults.vanishAfterSec))
        return 2;
    zx::sim::NetworkOptions network;
    if (!readDelay(parser, network) || !readSeed(parser, network) ||
        !readInt(parser, QStringLiteral("loss"), 0, 100, network.lossPercent) ||
        !readInt(parser, QStringLiteral("duplicate"), 0, 100, network.duplicatePercent) ||
        !readInt(parser, QStringLiteral("reorder"), 0, 100, network.reorderPercent))
        return 2;
    network.counted = parser.isSet(QStringLiteral("count-file"));
    const QStringList moduleNumbers = parser.values(QStringLiteral("module"));
    if (!moduleNumbers.isEmpty() && parser.isSet(QStringLiteral("number"))) {
        return zx::cmdline::GnuCommandLine::report(parser.usageError(QStringLiteral(
            "--number is for the one module; with --module each number is its own")));
    }
    const QString echo = parser.value(QStringLiteral("echo")).toLower();
    if (echo != QStringLiteral("on") && echo != QStringLiteral("off")) {
        return zx::cmdline::GnuCommandLine::report(
            parser.usageError(QStringLiteral("--echo wants on or off")));
    }

    zx::sim::Simulator simulator;
    simulator.setFaults(faults);
    const bool modem = parser.isSet(QStringLiteral("modem"));
    simulator.setMode(modem ? zx::sim::Simulator::Mode::Sms : zx::sim::Simulator::Mode::Setting);
    simulator.modem().state().echo = echo == QStringLiteral("on");
    simulator.modem().state().moduleNumber = parser.value(QStringLiteral("number")).toLatin1();
    simulator.modem().state().emptyStoreError = parser.isSet(QStringLiteral("empty-store-error"));
    simulator.modem().state().newMessageIndications = parser.isSet(QStringLiteral("cmti"));
    zx::sim::ModemState &state = simulator.modem().state();
    state.refuseSubmitCode = habits.refuseSubmitCode;
    state.barePrompt = parser.isSet(QStringLiteral("bare-prompt"));
    state.unsolicitedInReplies = parser.isSet(QStringLiteral("unsolicited-in-replies"));
    state.notReadyMs = notReadySec * 1000;
    state.storeCapacity = habits.storeCapacity;
    state.refuseWhenFull = parser.isSet(QStringLiteral("refuse-when-full"));
    state.storedAnswers = habits.storedAnswers;
    state.cmtiBeforeOpen = parser.isSet(QStringLiteral("cmti-before-open"));
    simulator.modem().network().setOptions(network);
    for (const QString &number : moduleNumbers) {
        if (!simulator.modem().addModule(number.toLatin1())) {
            return zx::cmdline::GnuCommandLine::report(parser.usageError(
                QStringLiteral("--module %1: not a number, or one given already").arg(number)));
        }
    }
    bool networkOptions = !moduleNumbers.isEmpty();
    for (const char *name : {"sms-delay", "loss", "duplicate", "reorder", "seed", "count-file"}) {
        if (parser.isSet(QLatin1String(name)))
            networkOptions = true;
    }

    if (modem && networkOptions) {
        QTextStream(stderr) << "zentorix-sim: network seed " << network.seed << '\n';
        simulator.setCountFile(parser.value(QStringLiteral("count-file")));
        if (!simulator.writeCounts()) {
            QTextStream(stderr) << "zentorix-sim: " << simulator.errorString() << '\n';
            return 1;
        }
    }

    QTextStream out(stdout);
    if (!simulator.start()) {
        QTextStream(stderr) << "zentorix-sim: " << simulator.errorString() << '\n';
        return 1;
    }
    if (!simulator.linkAs(comN, parser.isSet(QStringLiteral("force")))) {
        QTextStream(stderr) << "zentorix-sim: " << simulator.errorString() << '\n';
        return 1;
    }
    const QString role =
        !modem ? QStringLiteral("module")
        : moduleNumbers.isEmpty()
            ? QStringLiteral("GSM modem with the module behind it")
            : QStringLiteral("GSM modem with %1 modules (%2) behind it")
                  .arg(moduleNumbers.size())
                  .arg(moduleNumbers.join(QStringLiteral(", ")));
    out << "zentorix-sim: " << role << " on " << simulator.slavePath() << '\n'
        << "zentorix-sim: port map link " << simulator.linkPath() << " -> choose \"Com" << comN
        << "\" in the tool\n";
    out.flush();
    QObject::connect(&simulator, &zx::sim::Simulator::vanished, [&out] {
        out << "zentorix-sim: the port vanished\n";
        out.flush();
    });
    QObject::connect(&simulator, &zx::sim::Simulator::cameBack, [&out](const QString &path) {
        out << "zentorix-sim: the port is back on " << path << '\n';
        out.flush();
    });

    quitOnSignals(app);
    const int result = app.exec();
    if (!simulator.writeCounts())
        QTextStream(stderr) << "zentorix-sim: " << simulator.errorString() << '\n';
    out << "zentorix-sim: the line took " << simulator.bytesDelivered() << " bytes\n";
    out.flush();
    simulator.stop();
    return result;
}
