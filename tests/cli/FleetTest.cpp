// zentorix-cli write on several ports at once, against four simulated
// modules on this test's event loop: each port's part of the report, its
// run in the register and the exit status, and bad input refused before any
// port hears a byte.
#include "cli/Cli.h"
#include "CliTestSupport.h"
#include "profile/ProfileTestSupport.h"
#include "register/Register.h"
#include "sim/Simulator.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <array>

using namespace zx::cli;
using namespace zx::profile::testing;

namespace {

QStringList statuses(const QJsonObject &part) {
    QStringList list;
    for (const QJsonValue &row : part.value(QStringLiteral("commands")).toArray())
        list << row.toObject().value(QStringLiteral("status")).toString();
    return list;
}

class Fleet : public testing::Test {
protected:
    void SetUp() override {
        for (std::size_t i = 0; i < sims.size(); ++i) {
            ASSERT_TRUE(sims[i].start()) << sims[i].errorString().toStdString();
            paths[i] = sims[i].slavePath();
            QObject::connect(&sims[i], &zx::sim::Simulator::bytesReceived,
                             [this, i](const QByteArray &bytes) { wires[i] += bytes; });
        }
    }
    Outcome run(const QStringList &args) {
        BufferConsole console;
        const int status = runCli(QStringList{QStringLiteral("zentorix-cli")} + args, console);
        return {status, console.stdOut, console.stdErr};
    }
    // As it was before a module vanished with its terminal.
    QString port(std::size_t i) const { return paths[i]; }
    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
    // Eight texts, the APN and the module's number.
    QString profile(const char *name, const char *number) {
        writeFile(file(name), QByteArray(R"({"version": 1, "fields": {"ModuleNumber": ")") +
                                  number +
                                  R"(", "ExternalTexts": ["Eins", "Zwei", "Drei", "Vier", "Fuenf", "Sechs", "Sieben", "Acht")" +
                                  QByteArray(", null").repeated(49) +
                                  R"(], "GprsApn": "web.example"}})");
        return file(name);
    }

    QTemporaryDir dir;
    std::array<zx::sim::Simulator, 4> sims;
    std::array<QString, 4> paths;
    std::array<QByteArray, 4> wires; // what reached each module
};

TEST_F(Fleet, EachPortsPartIsItsOwnAndTheWorstPortGivesTheExitStatus) {
    const char *numbers[] = {"+4930100001", "+4930100002", "+4930100003", "+4930100004"};
    QStringList profiles;
    for (int i = 0; i < 4; ++i)
        profiles << profile(QStringLiteral("m%1.json").arg(i).toUtf8().constData(), numbers[i]);
    const QString registerPath = file("register.sqlite");
    const QStringList common{QStringLiteral("--verify"),   QStringLiteral("--timeout"),
                             QStringLiteral("400"),        QStringLiteral("--register"),
                             registerPath,                 QStringLiteral("--force")};

    // What one port alone puts on the wire, and its commands: the writes,
    // then the reads of the verify.
    const Outcome alone = run(QStringList{QStringLiteral("write"), QStringLiteral("--port"), port(0),
                                          profiles[0], QStringLiteral("--no-register"),
                                          QStringLiteral("--json")} +
                              common.mid(0, 3));
    ASSERT_EQ(alone.status, 0) << alone.out.constData() << alone.err.constData();
    const QByteArray aloneWire = wires[0];
    const QJsonObject alonePart = QJsonDocument::fromJson(alone.out).object();
    const int writes = alonePart.value(QStringLiteral("totals"))
                           .toObject()
                           .value(QStringLiteral("byKind"))
                           .toObject()
                           .value(QStringLiteral("write"))
                           .toObject()
                           .value(QStringLiteral("commands"))
                           .toInt();
    const qsizetype verifyReads = statuses(alonePart).size() - writes;
    ASSERT_GT(writes, 5);
    ASSERT_GT(verifyReads, 0);
    ASSERT_EQ(statuses(alonePart), QStringList(writes + verifyReads, QStringLiteral("answered")));
    wires[0].clear();

    // Bad input: nothing reaches any module, no report is written.
    ASSERT_TRUE(QFile::link(port(1), file("same-as-1")));
    const struct {
        QStringList args;
        const char *error;
    } bad[] = {
        {{QStringLiteral("--port"), port(0), QStringLiteral("--port"), port(0), profiles[0]},
         "is given twice"},
        {{QStringLiteral("--port"), port(1), QStringLiteral("--port"), file("same-as-1"), profiles[0]},
         "is given twice"},
        {{QStringLiteral("--ports"), QStringLiteral("Com9-3"), profiles[0]}, "--ports Com9-3: not a range"},
        {{QStringLiteral("--ports"), QStringLiteral("Com0-2"), profiles[0]}, "--ports Com0-2: not a range"},
        {{QStringLiteral("--port"), port(0), QStringLiteral("--port"), QStringLiteral("Com0"),
          profiles[0]},
         "--port Com0: no such port"},
        {{QStringLiteral("--port"), port(0), QStringLiteral("--port"), port(1) + QStringLiteral("="),
          profiles[0]},
         "no profile after '='"},
        {{QStringLiteral("--port"), port(0) + QLatin1Char('=') + profiles[0], QStringLiteral("--port"),
          port(1) + QLatin1Char('=') + file("missing.json")},
         "missing.json"},
        {{QStringLiteral("--port"), port(0), QStringLiteral("--port"), port(1)}, "missing FILE"},
        {{QStringLiteral("--port"), port(0), QStringLiteral("--port"), port(1), profiles[0],
          QStringLiteral("--report"), file("r.csv")},
         "is JSON"},
    };
    for (const auto &c : bad) {
        SCOPED_TRACE(c.error);
        const Outcome o = run(QStringList{QStringLiteral("write"), QStringLiteral("--report"),
                                          file("bad.json")} +
                              c.args + common);
        EXPECT_EQ(o.status, 2) << o.err.constData();
        EXPECT_TRUE(o.err.contains(c.error)) << o.err.constData();
        EXPECT_TRUE(o.out.isEmpty()) << o.out.constData();
    }
    EXPECT_FALSE(QFile::exists(file("bad.json")));
    EXPECT_FALSE(QFile::exists(file("r.csv")));

    // Two good modules, a silent one and one whose port goes away when its
    // fourth command arrives; all four at once, the second port with a
    // profile of its own and the others with FILE.
    zx::sim::FaultOptions silent;
    silent.silent = true;
    sims[2].setFaults(silent);
    int arrived = 0;
    QObject::connect(&sims[3], &zx::sim::Simulator::moduleCommand, [&] {
        if (++arrived == 4)
            QTimer::singleShot(0, &sims[3], &zx::sim::Simulator::vanish);
    });
    for (QByteArray &wire : wires)
        wire.clear();
    writeFile(file("shared.json"), fileBytes(profiles[0]));
    const Outcome o = run(QStringList{QStringLiteral("write"), QStringLiteral("--port"), port(0),
                                      QStringLiteral("--port"),
                                      port(1) + QLatin1Char('=') + profiles[1],
                                      QStringLiteral("--port"), port(2), QStringLiteral("--port"),
                                      port(3), file("shared.json"), QStringLiteral("--report"),
                                      file("fleet.json")} +
                          common);
    EXPECT_EQ(o.status, 3) << o.out.constData() << o.err.constData();
    // A good module hears exactly what a one-port write sends it; the silent
    // one the first five commands of it, the vanished one its first four.
    EXPECT_EQ(wires[0], aloneWire);
    for (const std::size_t i : {std::size_t(2), std::size_t(3)}) {
        EXPECT_FALSE(wires[i].isEmpty()) << i;
        EXPECT_TRUE(aloneWire.startsWith(wires[i])) << i;
        EXPECT_LT(wires[i].size(), aloneWire.size()) << i;
    }

    const QJsonObject report = QJsonDocument::fromJson(fileBytes(file("fleet.json"))).object();
    EXPECT_EQ(report.value(QStringLiteral("exitCode")).toInt(), 3);
    const QJsonArray parts = report.value(QStringLiteral("ports")).toArray();
    ASSERT_EQ(parts.size(), 4);
    const struct {
        const char *module;
        QStringList statuses;
        int exitCode;
        const char *stopped;   // part of why the run stopped; empty: it did not
        const char *runOutcome; // as the register keeps it
    } expected[] = {
        {numbers[0], QStringList(writes + verifyReads, QStringLiteral("answered")), 0, "", "complete"},
        {numbers[1], QStringList(writes + verifyReads, QStringLiteral("answered")), 0, "", "complete"},
        {numbers[0], QStringList(5, QStringLiteral("no answer")) +
                         QStringList(writes - 5, QStringLiteral("not sent")),
         1, "commands in a row got no answer", "incomplete"},
        {numbers[0], QStringList(3, QStringLiteral("answered")) + QStringList{QStringLiteral("port error")} +
                         QStringList(writes - 4, QStringLiteral("not sent")),
         3, "stopped at command 4 of", "port error"},
    };
    QString error;
    zx::reg::Location location;
    location.path = registerPath;
    const auto reg = zx::reg::Register::open(location, &error);
    ASSERT_TRUE(reg) << error.toStdString();
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const QJsonObject part = parts.at(qsizetype(i)).toObject();
        EXPECT_EQ(part.value(QStringLiteral("port")).toString(), port(i));
        EXPECT_EQ(part.value(QStringLiteral("module")).toString(),
                  QLatin1String(expected[i].module));
        EXPECT_EQ(statuses(part), expected[i].statuses);
        EXPECT_EQ(part.value(QStringLiteral("exitCode")).toInt(), expected[i].exitCode);
        EXPECT_TRUE(part.value(QStringLiteral("stopped")).toString().contains(
            QLatin1String(expected[i].stopped)))
            << part.value(QStringLiteral("stopped")).toString().toStdString();
        EXPECT_EQ(part.value(QStringLiteral("stopped")).toString().isEmpty(),
                  *expected[i].stopped == '\0');
        EXPECT_EQ(part.contains(QStringLiteral("verify")), expected[i].exitCode == 0);
        // The table's row: port, module, answered, ..., exit status last.
        const QString row = QString::fromUtf8(o.out.split('\n').value(qsizetype(i) + 1));
        EXPECT_TRUE(row.startsWith(port(i))) << row.toStdString();
        EXPECT_TRUE(row.endsWith(QStringLiteral("  %1").arg(expected[i].exitCode))) << row.toStdString();

        // Each port's run, kept under its module as a one-port run is.
        const QList<zx::reg::RunInfo> runs = reg->runs(QLatin1String(expected[i].module));
        const auto mine = std::count_if(runs.begin(), runs.end(), [&](const zx::reg::RunInfo &r) {
            return r.port == port(i) && r.outcome == QLatin1String(expected[i].runOutcome) &&
                   r.kind == QLatin1String("write") &&
                   r.id == part.value(QStringLiteral("registerRun")).toInteger();
        });
        EXPECT_EQ(mine, 1);
    }
}

} // namespace
