#include "cli/ModuleRun.h"

#include "cli/ExitCode.h"
#include "cli/ProgressLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace zx::cli {
namespace {

int interruptPipe[2] = {-1, -1};

void onInterrupt(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(interruptPipe[1], &byte, 1);
}

// Ctrl-C (SIGINT) and SIGTERM cancel the run while it lasts; the previous
// handlers come back afterwards.
class InterruptCancels {
public:
    explicit InterruptCancels(provision::Engine &engine) {
        if (interruptPipe[0] < 0 &&
            ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, interruptPipe) != 0)
            return;
        m_notifier = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, &engine, [&engine] {
            char byte = 0;
            [[maybe_unused]] const ssize_t ignored = ::read(interruptPipe[0], &byte, 1);
            engine.cancel();
        });
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &m_oldInt);
        ::sigaction(SIGTERM, &action, &m_oldTerm);
    }
    ~InterruptCancels() {
        if (!m_notifier)
            return;
        ::sigaction(SIGINT, &m_oldInt, nullptr);
        ::sigaction(SIGTERM, &m_oldTerm, nullptr);
        delete m_notifier;
    }
    InterruptCancels(const InterruptCancels &) = delete;
    InterruptCancels &operator=(const InterruptCancels &) = delete;

private:
    QSocketNotifier *m_notifier = nullptr;
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};

std::optional<int> positiveNumber(const CommandLine &line, const QCommandLineOption &option,
                                  Console &console, int &value) {
    if (!line.isSet(option))
        return std::nullopt;
    bool ok = false;
    const int parsed = line.value(option).toInt(&ok);
    if (!ok || parsed <= 0)
        return line.usageError(console, QStringLiteral("--%1 wants a positive number, not '%2'")
                                            .arg(option.names().last(), line.value(option)));
    value = parsed;
    return std::nullopt;
}

} // namespace

ModuleRun::ModuleRun(CommandLine &line, bool withReport)
    : m_line(line), m_withReport(withReport),
      m_port({QStringLiteral("p"), QStringLiteral("port")},
             QStringLiteral("The port: ComN (see 'zentorix-cli ports') or a device path "
                            "(required)."),
             QStringLiteral("PORT")),
      m_baud(QStringLiteral("baud"), QStringLiteral("Line speed in bits per second (default 9600)."),
             QStringLiteral("B"), QStringLiteral("9600")),
      m_parity(QStringLiteral("parity"), QStringLiteral("none or even (default none)."),
               QStringLiteral("PARITY"), QStringLiteral("none")),
      m_timeout(QStringLiteral("timeout"),
                QStringLiteral("Wait MS for an answer to start, after the line has left "
                               "(default 3000)."),
                QStringLiteral("MS")),
      m_gap(QStringLiteral("gap"),
            QStringLiteral("An answer ends after MS quiet (default: 3 character times after a "
                           "line end, else 40 and at least 100 ms)."),
            QStringLiteral("MS")),
      m_reportFile(QStringLiteral("report"),
                   QStringLiteral("Write the run's report to FILE: CSV when FILE ends in .csv, "
                                  "JSON otherwise. Passwords never appear in it."),
                   QStringLiteral("FILE")) {
    for (const QCommandLineOption *option : {&m_port, &m_baud, &m_parity, &m_timeout, &m_gap})
        line.addOption(*option);
    if (withReport)
        line.addOption(m_reportFile);
    line.addJsonOption();
}

std::optional<int> ModuleRun::readOptions(Console &console) {
    if (!m_line.isSet(m_port))
        return m_line.usageError(console, QStringLiteral("missing --port PORT"));
    m_choice.name = m_line.value(m_port);
    bool ok = false;
    m_choice.baud = m_line.value(m_baud).toUInt(&ok);
    if (!ok || m_choice.baud < 50 || m_choice.baud > 4000000)
        return m_line.usageError(console,
                                 QStringLiteral("--baud wants bits per second, not '%1'")
                                     .arg(m_line.value(m_baud)));
    const QString parity = m_line.value(m_parity).toLower();
    if (parity != QLatin1String("none") && parity != QLatin1String("even"))
        return m_line.usageError(console, QStringLiteral("--parity wants none or even"));
    m_choice.evenParity = parity == QLatin1String("even");
    m_timing = provision::Timing::forBaud(m_choice.baud);
    if (const auto done = positiveNumber(m_line, m_timeout, console, m_timing.timeoutMs))
        return done;
    int gap = 0;
    if (const auto done = positiveNumber(m_line, m_gap, console, gap))
        return done;
    if (gap > 0)
        m_timing.lineEndGapMs = m_timing.quietGapMs = gap;
    if (m_withReport && m_line.isSet(m_reportFile)) {
        const QFileInfo file(m_line.value(m_reportFile));
        if (!file.absoluteDir().exists())
            return console.fail(ExitUsage, QStringLiteral("%1: no such directory")
                                               .arg(QDir::toNativeSeparators(file.absolutePath())));
    }
    return std::nullopt;
}

std::optional<int> ModuleRun::openPort(Console &console) {
    if (const QString why = m_driver.open(m_choice); !why.isEmpty())
        return console.fail(ExitPort, why);
    m_report.port = m_choice.name;
    m_report.baud = m_choice.baud;
    m_report.started = QDateTime::currentDateTimeUtc();
    m_report.ended = m_report.started;
    return std::nullopt;
}

bool ModuleRun::run(Console &console, const QList<provision::Command> &commands) {
    provision::Engine engine(m_driver, m_timing);
    ProgressLine progress(console);
    QEventLoop loop;
    QObject::connect(&engine, &provision::Engine::finished, &loop, &QEventLoop::quit);
    QObject::connect(&engine, &provision::Engine::progress, &loop, [&](int done, int total) {
        progress.update(done, total, engine.elapsedMs());
    });
    InterruptCancels interrupt(engine);
    engine.start(commands);
    if (engine.running())
        loop.exec();
    progress.finish();
    m_report.results += engine.results();
    m_report.strayBytes += engine.strayBytes();
    m_report.cancelled = m_report.cancelled || engine.cancelled();
    if (!engine.portError().isEmpty())
        m_report.portError = engine.portError();
    m_report.ended = QDateTime::currentDateTimeUtc();
    return engine.portError().isEmpty() && !engine.cancelled();
}

void ModuleRun::printSummary(Console &console, const QString &what) {
    if (m_line.json()) {
        console.out(QJsonDocument(m_report.toJson()).toJson());
        return;
    }
    const provision::Report &r = m_report;
    for (const provision::CommandResult &result : r.results)
        if (result.status == provision::Status::NoAnswer)
            console.printLine(QStringLiteral("no answer: %1").arg(provision::shownLine(result.command)));
    console.printLine(QStringLiteral("%1: %2 of %3 commands answered in %4 s")
                          .arg(what)
                          .arg(r.count(provision::Status::Answered))
                          .arg(r.results.size())
                          .arg(double(r.started.msecsTo(r.ended)) / 1000.0, 0, 'f', 1));
    if (!r.stopText().isEmpty())
        console.printLine(r.stopText());
    for (const QString &skipped : r.skipped)
        console.printLine(QStringLiteral("not sent: ") + skipped);
    if (r.verified) {
        for (const provision::Mismatch &m : r.mismatches)
            console.printLine(QStringLiteral("differs: ") + m.text());
        for (const QString &field : r.unverifiable)
            console.printLine(QStringLiteral("cannot be read back whole: ") + field);
        if (r.mismatches.isEmpty())
            console.printLine(QStringLiteral("verify: every field read back equals what was written"));
    }
}

int ModuleRun::finish(Console &console) {
    if (m_withReport && m_line.isSet(m_reportFile)) {
        const QString path = m_line.value(m_reportFile);
        const QByteArray bytes = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)
                                     ? m_report.toCsv()
                                     : QJsonDocument(m_report.toJson()).toJson();
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            return console.fail(ExitUsage,
                                QStringLiteral("%1: %2").arg(path, file.errorString()));
    }
    if (!m_report.portError.isEmpty())
        return ExitPort;
    return m_report.ok() ? ExitOk : ExitNotAnswered;
}

} // namespace zx::cli
