// Writes runs into a module register as zentorix-cli does, for the tests and
// bench/register-contention: each run's start, its commands one by one, its
// end. Prints "runs N" when done; any error goes to standard error and ends
// it with status 1.
//
//   register_writer LOCATION MODULE RUNS COMMANDS [--seconds S] [--abandon-after K]
//
// --seconds S: write runs for S seconds (RUNS is then ignored).
// --abandon-after K: start one run, write K commands and exit without ending
// it, as a killed program would.
#include "register/Register.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

using namespace zx::reg;

namespace {

int fail(const QString &what) {
    std::fprintf(stderr, "register_writer: %s\n", qPrintable(what));
    return 1;
}

CommandOutcome outcome(int n) {
    CommandOutcome o;
    o.line = QStringLiteral("SETNN%1 +4930%2").arg(n % 7 + 1).arg(n);
    o.answer = QStringLiteral("OK");
    o.status = QStringLiteral("answered");
    o.answered = true;
    QByteArray slot(21, '\0');
    const QByteArray number = QByteArrayLiteral("+4930") + QByteArray::number(n);
    slot[0] = char(number.size());
    slot.replace(1, number.size(), number);
    o.values = {{QStringLiteral("AlarmNumbers[%1]").arg(n % 7 + 1), slot, false}};
    return o;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int seconds = 0;
    int abandonAfter = -1;
    for (qsizetype i = 0; i + 1 < args.size();) {
        if (args.at(i) == QLatin1String("--seconds"))
            seconds = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--abandon-after"))
            abandonAfter = args.at(i + 1).toInt();
        else {
            ++i;
            continue;
        }
        args.remove(i, 2);
    }
    if (args.size() != 4)
        return fail(QStringLiteral("usage: register_writer LOCATION MODULE RUNS COMMANDS "
                                   "[--seconds S] [--abandon-after K]"));
    QString error;
    const auto location = parseLocation(args.at(0), &error);
    if (!location)
        return fail(error);
    const std::unique_ptr<Register> reg = Register::open(*location, &error);
    if (!reg)
        return fail(error);
    const int runs = args.at(2).toInt();
    const int commands = args.at(3).toInt();
    QStringList plan;
    for (int n = 0; n < commands; ++n)
        plan << outcome(n).line;

    QElapsedTimer clock;
    clock.start();
    int done = 0;
    while (seconds > 0 ? clock.elapsed() < seconds * 1000LL : done < runs) {
        const auto run = reg->beginRun({args.at(1), QStringLiteral("write"), QStringLiteral("Com1"), plan});
        if (!run)
            return fail(QStringLiteral("run %1 start: %2").arg(done).arg(reg->lastError()));
        for (int n = 0; n < commands; ++n) {
            if (n == abandonAfter)
                ::_exit(0); // no end, no clean-up: as after kill -9
            if (!reg->recordCommand(*run, n, outcome(n)))
                return fail(QStringLiteral("run %1 command %2: %3").arg(done).arg(n).arg(reg->lastError()));
        }
        if (!reg->finishRun(*run, QStringLiteral("complete")))
            return fail(QStringLiteral("run %1 end: %2").arg(done).arg(reg->lastError()));
        ++done;
    }
    std::printf("runs %d\n", done);
    return 0;
}
