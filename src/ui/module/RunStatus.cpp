#include "ui/module/RunStatus.h"

#include "ui/widgets/ToneColours.h"

#include <QStringList>

#include <cmath>

namespace zx::ui {

using provision::Status;

namespace {

// What the status line calls a command that did not go through, in the
// order the line names them; empty for an answered one.
enum class Shortfall { None, Refused, NoAnswer, NotSent };

Shortfall shortfallOf(Status status) {
    switch (status) {
    case Status::Answered:
        return Shortfall::None;
    case Status::NoAnswer:
        return Shortfall::NoAnswer;
    case Status::Refused:
    case Status::NotRecognised:
        return Shortfall::Refused;
    case Status::PortError:
    case Status::Cancelled:
    case Status::NotSent:
        break;
    }
    return Shortfall::NotSent;
}

QString shortfallWords(Shortfall s) {
    switch (s) {
    case Shortfall::Refused:
        return QStringLiteral("refused");
    case Shortfall::NoAnswer:
        return QStringLiteral("without an answer");
    case Shortfall::NotSent:
        return QStringLiteral("not sent");
    case Shortfall::None:
        break;
    }
    return {};
}

} // namespace

Tone statusTone(Status status) {
    switch (status) {
    case Status::Answered:
        return Tone::Good;
    case Status::NoAnswer:
        return Tone::Warning;
    case Status::Refused:
    case Status::NotRecognised:
    case Status::PortError:
        return Tone::Bad;
    case Status::Cancelled:
    case Status::NotSent:
        break;
    }
    return Tone::Neutral;
}

QString runStatusLine(const provision::Report &r, const QString &run) {
    int counts[4] = {};
    for (const provision::CommandResult &result : r.results)
        ++counts[int(shortfallOf(result.status))];
    QStringList parts;
    for (const Shortfall s : {Shortfall::Refused, Shortfall::NoAnswer, Shortfall::NotSent})
        if (const int n = counts[int(s)])
            parts << QStringLiteral("%1 %2").arg(n).arg(shortfallWords(s));
    if (!parts.isEmpty() || !r.mismatches.isEmpty())
        parts << QStringLiteral("see the result");
    parts.prepend(QStringLiteral("%1: %2 of %3 answered in %4 s")
                      .arg(run)
                      .arg(counts[int(Shortfall::None)])
                      .arg(r.results.size())
                      .arg(std::lround(double(r.started.msecsTo(r.ended)) / 1000.0)));
    return parts.join(QStringLiteral(", "));
}

QString silenceText(const QList<provision::CommandResult> &results, int done) {
    int silent = 0;
    for (int i = std::min(done, int(results.size())) - 1;
         i >= 0 && (results.at(i).status == Status::NoAnswer ||
                    results.at(i).status == Status::NotRecognised);
         --i)
        ++silent;
    if (silent < kSilentAfter)
        return {};
    return QStringLiteral("The module has not answered the last %1 commands. Check that it is "
                          "powered, in setting mode and on this port, and the baud rate and "
                          "parity; the run stops here.")
        .arg(silent);
}

} // namespace zx::ui
