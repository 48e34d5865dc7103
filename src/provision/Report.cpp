#include "provision/Report.h"

#include "text/Ansi.h"

#include <QJsonArray>

#include <algorithm>

namespace zx::provision {
namespace {

QString csvField(const QString &text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString stamp(const QDateTime &time) {
    return time.toUTC().toString(Qt::ISODateWithMs);
}

} // namespace

QString shownLine(const Command &command) {
    if (command.secret && command.kind != QLatin1String("read"))
        return text::fromAnsi(command.line.left(5)) + QStringLiteral(" (password)");
    return text::fromAnsi(command.line);
}

// What marks an answer as carrying a password, whatever command it came
// with: the keys the module answers a password under ("PASSWORD:",
// "Password FTP:"), and the keywords of the lines that write one, which an
// echoing modem sends back. An answer that came late, after its own
// command's time-out, is thus hidden under the next command too.
bool carriesSecret(const QByteArray &answer) {
    return answer.contains("SETPW") || answer.contains("SETPF") ||
           answer.toUpper().contains("PASSWORD");
}

QString shownAnswer(const CommandResult &result) {
    if (result.answer.isEmpty())
        return {};
    if (result.command.secret || carriesSecret(result.answer))
        return QStringLiteral("(password)");
    QByteArray answer = result.answer;
    answer.replace(QByteArray(1, '\0'), QByteArray());
    return text::fromAnsi(answer).trimmed();
}

int Report::count(Status status) const {
    return int(std::count_if(results.begin(), results.end(),
                             [status](const CommandResult &r) { return r.status == status; }));
}

int Report::count(Status status, const QString &kind) const {
    return int(std::count_if(results.begin(), results.end(), [&](const CommandResult &r) {
        return r.status == status && r.command.kind == kind;
    }));
}

int Report::commands(const QString &kind) const {
    return int(std::count_if(results.begin(), results.end(),
                             [&](const CommandResult &r) { return r.command.kind == kind; }));
}

QString Report::stopText() const {
    if (stoppedSilent)
        return QStringLiteral("stopped: %1 commands in a row got no answer. Check the cable and "
                              "the port, the baud rate and parity, and that the module is in "
                              "setting mode")
            .arg(kSilentCommandsToStop);
    for (int i = 0; i < results.size(); ++i) {
        const CommandResult &r = results.at(i);
        if (r.status == Status::PortError)
            return QStringLiteral("stopped at command %1 of %2 (%3): port error: %4")
                .arg(i + 1)
                .arg(results.size())
                .arg(shownLine(r.command), portError);
        if ((r.status == Status::NotSent || r.status == Status::Cancelled) && cancelled)
            return QString::fromLatin1(r.status == Status::Cancelled
                                           ? "cancelled at command %1 of %2 (%3)"
                                           : "cancelled before command %1 of %2 (%3)")
                .arg(i + 1)
                .arg(results.size())
                .arg(shownLine(r.command));
    }
    return {};
}

QJsonObject Report::toJson() const {
    QJsonArray rows;
    qint64 sent = 0;
    qint64 received = 0;
    for (int i = 0; i < results.size(); ++i) {
        const CommandResult &r = results.at(i);
        QJsonObject row{{QStringLiteral("n"), i + 1},
                        {QStringLiteral("kind"), r.command.kind},
                        {QStringLiteral("field"), r.command.field},
                        {QStringLiteral("line"), shownLine(r.command)},
                        {QStringLiteral("status"), statusName(r.status)},
                        {QStringLiteral("answer"), shownAnswer(r)}};
        if (!r.reason.isEmpty())
            row.insert(QStringLiteral("reason"), r.reason);
        if (r.firstByteMs >= 0) {
            row.insert(QStringLiteral("firstByteMs"), r.firstByteMs);
            row.insert(QStringLiteral("endMs"), r.endMs);
        }
        rows.append(row);
        sent += r.bytesSent;
        received += r.answer.size();
    }
    QJsonObject totals{{QStringLiteral("commands"), int(results.size())},
                       {QStringLiteral("answered"), count(Status::Answered)},
                       {QStringLiteral("refused"), count(Status::Refused)},
                       {QStringLiteral("noAnswer"), count(Status::NoAnswer)},
                       {QStringLiteral("notRecognised"), count(Status::NotRecognised)},
                       {QStringLiteral("cancelled"), count(Status::Cancelled)},
                       {QStringLiteral("portError"), count(Status::PortError)},
                       {QStringLiteral("notSent"), count(Status::NotSent)},
                       {QStringLiteral("bytesSent"), sent},
                       {QStringLiteral("bytesReceived"), received},
                       {QStringLiteral("strayBytes"), strayBytes},
                       {QStringLiteral("durationMs"), started.msecsTo(ended)}};
    // Writes and the reads of their verify, each on their own.
    QJsonObject byKind;
    for (const QString &kind : {QStringLiteral("write"), QStringLiteral("read"), QStringLiteral("send")})
        if (const int n = commands(kind); n > 0)
            byKind.insert(kind, QJsonObject{{QStringLiteral("commands"), n},
                                            {QStringLiteral("answered"), count(Status::Answered, kind)}});
    totals.insert(QStringLiteral("byKind"), byKind);
    QJsonObject json{{QStringLiteral("port"), port},
                     {QStringLiteral("baud"), qint64(baud)},
                     {QStringLiteral("start"), stamp(started)},
                     {QStringLiteral("end"), stamp(ended)},
                     {QStringLiteral("commands"), rows},
                     {QStringLiteral("totals"), totals},
                     {QStringLiteral("ok"), ok()}};
    if (!stopText().isEmpty())
        json.insert(QStringLiteral("stopped"), stopText());
    if (!skipped.isEmpty())
        json.insert(QStringLiteral("skipped"), QJsonArray::fromStringList(skipped));
    if (verified) {
        QJsonArray differ;
        for (const Mismatch &m : mismatches) {
            QJsonObject entry{{QStringLiteral("field"), m.field}};
            if (m.secret) {
                entry.insert(QStringLiteral("differs"), true);
            } else {
                entry.insert(QStringLiteral("written"), text::fromAnsi(m.written));
                entry.insert(QStringLiteral("readBack"), text::fromAnsi(m.readBack));
            }
            differ.append(entry);
        }
        json.insert(QStringLiteral("verify"),
                    QJsonObject{{QStringLiteral("differ"), differ},
                                {QStringLiteral("unverifiable"),
                                 QJsonArray::fromStringList(unverifiable)},
                                {QStringLiteral("unread"), QJsonArray::fromStringList(unread)}});
    }
    return json;
}

QByteArray Report::toCsv() const {
    // Every line has the header's eight fields: a command's row, then the
    // rows of what a verify found ("verify") and one of the run ("run").
    const auto row = [](const QStringList &fields) {
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field);
        return quoted.join(QLatin1Char(','));
    };
    QStringList lines{QStringLiteral("n,kind,field,line,status,answer,first_byte_ms,end_ms")};
    for (int i = 0; i < results.size(); ++i) {
        const CommandResult &r = results.at(i);
        lines << row({QString::number(i + 1), r.command.kind, r.command.field, shownLine(r.command),
                      statusName(r.status), shownAnswer(r),
                      r.firstByteMs >= 0 ? QString::number(r.firstByteMs) : QString(),
                      r.endMs >= 0 ? QString::number(r.endMs) : QString()});
    }
    for (const Mismatch &m : mismatches)
        lines << row({QString(), QStringLiteral("verify"), m.field, QString(),
                      QStringLiteral("differs"), m.text(), QString(), QString()});
    for (const QString &field : unverifiable)
        lines << row({QString(), QStringLiteral("verify"), field, QString(),
                      QStringLiteral("cannot be read back whole"), QString(), QString(), QString()});
    for (const QString &field : unread)
        lines << row({QString(), QStringLiteral("verify"), field, QString(),
                      QStringLiteral("could not be read"), QString(), QString(), QString()});
    QString summary = QStringLiteral("port %1, baud %2, start %3, end %4")
                          .arg(port)
                          .arg(baud)
                          .arg(stamp(started), stamp(ended));
    for (const QString &kind : {QStringLiteral("write"), QStringLiteral("read"), QStringLiteral("send")})
        if (const int n = commands(kind); n > 0)
        {
            summary += QStringLiteral(", %1: %2 of %3 answered")
                           .arg(kind)
                           .arg(count(Status::Answered, kind))
                           .arg(n);
            if (const int refused = count(Status::Refused, kind); refused > 0)
                summary += QStringLiteral(", %1 refused").arg(refused);
        }
    lines << row({QString(), QStringLiteral("run"), QString(), summary,
                  ok() ? QStringLiteral("ok") : QStringLiteral("not ok"), stopText(), QString(),
                  QString()});
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

} // namespace zx::provision
