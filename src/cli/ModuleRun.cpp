#include "cli/ModuleRun.h"

#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/ProgressLine.h"
#include "files/UserFiles.h"
#include "files/UserFolders.h"
#include "settings/PrivateFile.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>
#include <utility>

namespace zx::cli {
namespace {

std::optional<int> boundedNumber(const CommandLine &line, const QCommandLineOption &option,
                                 Console &console, int max, int &value) {
    if (!line.isSet(option))
        return std::nullopt;
    bool ok = false;
    const int parsed = line.value(option).toInt(&ok);
    if (!ok || parsed <= 0 || parsed > max)
        return line.usageError(console, QStringLiteral("--%1 wants milliseconds from 1 to %2, not '%3'")
                                            .arg(option.names().last())
                                            .arg(max)
                                            .arg(line.value(option)));
    value = parsed;
    return std::nullopt;
}

// "Com1".."Com16" (any case) or a device path; anything else is a mistake
// the shell user can mend at once.
QString portNameProblem(const QString &name) {
    static const QRegularExpression com(QStringLiteral("^com(\\d+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QString hint = QStringLiteral("give Com1..Com16 (see 'zentorix-cli ports') or a device "
                                        "such as /dev/ttyUSB0");
    if (name.trimmed().isEmpty())
        return QStringLiteral("--port is empty; ") + hint;
    if (const QRegularExpressionMatch match = com.match(name); match.hasMatch()) {
        const int n = match.captured(1).toInt();
        if (n < ModuleRun::kFirstComPort || n > ModuleRun::kLastComPort || match.captured(1).startsWith(QLatin1Char('0')))
            return QStringLiteral("--port %1: no such port; ").arg(name) + hint;
        return {};
    }
    if (!name.contains(QLatin1Char('/')))
        return QStringLiteral("--port %1: not a port name; ").arg(name) + hint;
    return {};
}

// "Com1-8" or "Com1-Com8" (any case): the numbers from first to last.
std::optional<std::pair<int, int>> comRange(const QString &text) {
    static const QRegularExpression range(QStringLiteral("^com([1-9]\\d*)-(?:com)?([1-9]\\d*)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = range.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int first = match.captured(1).toInt();
    const int last = match.captured(2).toInt();
    if (first > last || last > ModuleRun::kLastComPort)
        return std::nullopt;
    return std::pair{first, last};
}

// The same port however it was written: "com3" and "COM3", a device path
// and the path it resolves to.
QString portIdentity(const QString &name) {
    if (portNameProblem(name).isEmpty() && !name.contains(QLatin1Char('/')))
        return QStringLiteral("com%1").arg(name.mid(3).toInt());
    const QString resolved = QFileInfo(name).canonicalFilePath();
    return resolved.isEmpty() ? name : resolved;
}

} // namespace

ModuleRun::ModuleRun(CommandLine &line, bool withReport)
    : m_line(line), m_withReport(withReport),
      m_port({QStringLiteral("p"), QStringLiteral("port")},
             QStringLiteral("The port: ComN (see 'zentorix-cli ports') or a device path "
                            "(required)."),
             QStringLiteral("PORT")),
      m_ports(QStringLiteral("ports"),
              QStringLiteral("Several ports at once, Com1-8 for Com1 to Com8; each runs the "
                             "command on its own module, all at the same time. Also --port "
                             "given more than once, and --port PORT=FILE for a port with its "
                             "own profile."),
              QStringLiteral("RANGE")),
      m_baud(QStringLiteral("baud"), QStringLiteral("Line speed in bits per second (default 9600)."),
             QStringLiteral("B"), QStringLiteral("9600")),
      m_parity(QStringLiteral("parity"), QStringLiteral("none or even (default none)."),
               QStringLiteral("PARITY"), QStringLiteral("none")),
      m_timeout(QStringLiteral("timeout"),
                QStringLiteral("Wait MS for an answer to start, after the line has left "
                               "(default 3000, at most %1).")
                    .arg(kMaxTimeoutMs),
                QStringLiteral("MS")),
      m_gap(QStringLiteral("gap"),
            QStringLiteral("An answer ends after MS quiet (default: 3 character times after a "
                           "line end, else 40 and at least 100 ms; at most %1).")
                .arg(kMaxGapMs),
            QStringLiteral("MS")),
      m_reportFile(QStringLiteral("report"),
                   QStringLiteral("Write the run's report to FILE (mode 0600): CSV when FILE "
                                  "ends in .csv, JSON otherwise. Passwords never appear in it."),
                   QStringLiteral("FILE")),
      m_force({QStringLiteral("f"), QStringLiteral("force")},
              QStringLiteral("Replace an output file that exists.")) {
    for (const QCommandLineOption *option : {&m_port, &m_baud, &m_parity, &m_timeout, &m_gap})
        line.addOption(*option);
    if (withReport) {
        line.addOption(m_ports);
        line.addOption(m_reportFile);
        line.addOption(m_force);
    }
    line.addJsonOption();
}

std::optional<int> ModuleRun::readOptions(Console &console, const QStringList &inputs,
                                          const QStringList &outputs) {
    if (fleet()) {
        if (const auto done = readFleet(console))
            return done;
    } else {
        if (!m_line.isSet(m_port))
            return m_line.usageError(console, QStringLiteral("missing --port PORT"));
        m_choice.name = m_line.value(m_port);
        if (const QString why = portNameProblem(m_choice.name); !why.isEmpty())
            return m_line.usageError(console, why);
    }
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
    if (const auto done = boundedNumber(m_line, m_timeout, console, kMaxTimeoutMs, m_timing.timeoutMs))
        return done;
    int gap = 0;
    if (const auto done = boundedNumber(m_line, m_gap, console, kMaxGapMs, gap))
        return done;
    if (gap > 0)
        m_timing.quietGapMs = gap;
    // Every output is checked now, before anything is sent.
    QStringList all = outputs;
    if (m_withReport && m_line.isSet(m_reportFile))
        all << m_line.value(m_reportFile);
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all.indexOf(all.at(i)) != i)
            return console.fail(ExitUsage, QStringLiteral("%1: given for two outputs; give each "
                                                          "its own file")
                                               .arg(all.at(i)));
        if (const QString why =
                files::checkOutput(all.at(i), forced(), inputs + fleetProfiles() + all.mid(0, i));
            !why.isEmpty())
            return console.fail(ExitUsage, why);
    }
    return std::nullopt;
}

bool ModuleRun::fleet() const {
    if (!m_withReport)
        return false;
    const QStringList ports = m_line.values(m_port);
    return ports.size() > 1 || m_line.isSet(m_ports) ||
           std::any_of(ports.begin(), ports.end(),
                       [](const QString &port) { return port.contains(QLatin1Char('=')); });
}

bool ModuleRun::portsNameTheirProfiles() const {
    const QStringList ports = m_line.values(m_port);
    return m_withReport && !ports.isEmpty() && !m_line.isSet(m_ports) &&
           std::all_of(ports.begin(), ports.end(),
                       [](const QString &port) { return port.contains(QLatin1Char('=')); });
}

QStringList ModuleRun::fleetProfiles() const {
    QStringList profiles;
    for (const FleetPort &port : m_fleet)
        if (!port.profile.isEmpty() && !profiles.contains(port.profile))
            profiles << port.profile;
    return profiles;
}

QString ModuleRun::reportPath() const {
    return m_withReport && m_line.isSet(m_reportFile) ? m_line.value(m_reportFile) : QString();
}

std::optional<int> ModuleRun::readFleet(Console &console) {
    m_fleet.clear();
    for (const QString &given : m_line.values(m_port)) {
        const qsizetype equals = given.indexOf(QLatin1Char('='));
        FleetPort port{equals < 0 ? given : given.left(equals),
                       equals < 0 ? QString() : given.mid(equals + 1)};
        if (const QString why = portNameProblem(port.name); !why.isEmpty())
            return m_line.usageError(console, why);
        if (equals >= 0 && port.profile.isEmpty())
            return m_line.usageError(console, QStringLiteral("--port %1: no profile after '='; "
                                                             "give PORT=FILE, or PORT alone for "
                                                             "the command's FILE")
                                                  .arg(given));
        m_fleet << port;
    }
    for (const QString &given : m_line.values(m_ports)) {
        const auto range = comRange(given);
        if (!range)
            return m_line.usageError(
                console, QStringLiteral("--ports %1: not a range of ports; give the first and "
                                        "the last of Com%2..Com%3, lowest first, such as Com1-8")
                             .arg(given)
                             .arg(kFirstComPort)
                             .arg(kLastComPort));
        for (int n = range->first; n <= range->second; ++n)
            m_fleet << FleetPort{QStringLiteral("Com%1").arg(n), {}};
    }
    QStringList seen;
    for (const FleetPort &port : m_fleet) {
        const QString identity = portIdentity(port.name);
        if (seen.contains(identity))
            return m_line.usageError(console, QStringLiteral("%1 is given twice (by --port or "
                                                             "--ports); give each port once")
                                                  .arg(port.name));
        seen << identity;
    }
    m_choice.name.clear();
    return std::nullopt;
}

bool ModuleRun::forced() const { return m_withReport && m_line.isSet(m_force); }

// The serial layer words its advice for the window's "Serial Port" tab;
// a shell user gives another --port instead.
QString forTheShell(QString why) {
    const std::pair<const char *, const char *> advice[] = {
        {"or choose another port on \"Serial Port\".",
         "or give another --port (see 'zentorix-cli ports')."},
        {"then choose the port again on \"Serial Port\".", "then run the command again."},
        {"Choose the port again on \"Serial Port\", or another one.",
         "Run the command again, or give another --port."},
    };
    for (const auto &[window, shell] : advice)
        why.replace(QLatin1String(window), QLatin1String(shell));
    return why;
}

std::optional<int> ModuleRun::openPort(Console &console) {
    if (const QString why = m_driver.open(m_choice); !why.isEmpty())
        return console.fail(ExitPort, forTheShell(why));
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
        if (m_observer && done > 0)
            m_observer(engine.results().at(done - 1));
    });
    InterruptCancels interrupt(&engine, [&engine] { engine.cancel(); });
    engine.start(commands);
    if (engine.running())
        loop.exec();
    progress.finish();
    m_report.results += engine.results();
    m_report.strayBytes += engine.strayBytes();
    m_report.cancelled = m_report.cancelled || engine.cancelled();
    m_report.stoppedSilent = m_report.stoppedSilent || engine.stoppedSilent();
    if (!engine.portError().isEmpty())
        m_report.portError = engine.portError();
    m_report.ended = QDateTime::currentDateTimeUtc();
    return engine.portError().isEmpty() && !engine.cancelled() && !engine.stoppedSilent();
}

void ModuleRun::printSummary(Console &console, const QString &what) {
    if (m_line.json()) {
        console.out(QJsonDocument(m_report.toJson()).toJson());
        return;
    }
    const provision::Report &r = m_report;
    using provision::Status;
    for (const provision::CommandResult &result : r.results) {
        const QString line = provision::shownLine(result.command);
        if (result.status == Status::NoAnswer)
            console.printLine(QStringLiteral("no answer: %1").arg(line));
        else if (result.status == Status::Refused || result.status == Status::NotRecognised)
            console.printLine(
                QStringLiteral("%1: %2 (%3)").arg(statusName(result.status), line, result.reason));
    }
    QString summary = QStringLiteral("%1: %2 of %3 commands answered")
                          .arg(what)
                          .arg(r.count(Status::Answered))
                          .arg(r.results.size());
    if (const int refused = r.count(Status::Refused); refused > 0)
        summary += QStringLiteral(", %1 refused").arg(refused);
    console.printLine(summary + QStringLiteral(" in %1 s").arg(
                                    double(r.started.msecsTo(r.ended)) / 1000.0, 0, 'f', 1));
    if (!r.stopText().isEmpty())
        console.printLine(r.stopText());
    for (const QString &skipped : r.skipped)
        console.printLine(QStringLiteral("not sent: ") + skipped);
    if (r.verified) {
        for (const provision::Mismatch &m : r.mismatches)
            console.printLine(QStringLiteral("differs: ") + m.text());
        for (const QString &field : r.unverifiable)
            console.printLine(QStringLiteral("cannot be read back whole: ") + field);
        for (const QString &field : r.unread)
            console.printLine(QStringLiteral("could not be read: ") + field);
        if (r.mismatches.isEmpty() && r.unread.isEmpty())
            console.printLine(QStringLiteral("verify: every field read back equals what was written"));
        else if (r.mismatches.isEmpty())
            console.printLine(QStringLiteral("verify: every field that could be read equals what "
                                             "was written; %1 could not be read")
                                  .arg(r.unread.size()));
    }
}

int ModuleRun::finish(Console &console) {
    if (m_withReport && m_line.isSet(m_reportFile)) {
        const QString path = m_line.value(m_reportFile);
        const QByteArray bytes = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)
                                     ? m_report.toCsv()
                                     : QJsonDocument(m_report.toJson()).toJson();
        if (const settings::FileResult written = settings::writePrivateFile(path, bytes);
            !written.ok())
            return console.fail(ExitUsage, QStringLiteral("%1: cannot write the report: %2")
                                               .arg(path, files::errnoText(written.errorCode)));
    }
    if (!m_report.portError.isEmpty())
        return ExitPort;
    return m_report.ok() ? ExitOk : ExitNotAnswered;
}

} // namespace zx::cli
