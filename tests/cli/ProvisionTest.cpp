// zentorix-cli write, read, verify and send against the simulated module on
// a pseudo-terminal, both on this test's event loop.
#include "cli/Cli.h"
#include "CliTestSupport.h"
#include "common/Wire.h"
#include "profile/Profile.h"
#include "profile/ProfileTestSupport.h"
#include "provision/ReadPlan.h"
#include "sim/Simulator.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

using namespace zx::cli;
using namespace zx::profile::testing;

namespace {

QJsonObject jsonFile(const QString &path) {
    return QJsonDocument::fromJson(fileBytes(path)).object();
}

QStringList statuses(const QJsonObject &report) {
    QStringList list;
    for (const QJsonValue &row : report.value(QStringLiteral("commands")).toArray())
        list << row.toObject().value(QStringLiteral("status")).toString();
    return list;
}

class Provision : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
        QObject::connect(&sim, &zx::sim::Simulator::bytesReceived,
                         [this](const QByteArray &bytes) { wire += bytes; });
    }

    Outcome run(QStringList args) {
        args.insert(1, QStringLiteral("--port"));
        args.insert(2, sim.slavePath());
        BufferConsole console;
        const int status = runCli(QStringList{QStringLiteral("zentorix-cli")} + args, console);
        return {status, console.stdOut, console.stdErr};
    }
    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
    // A profile of the given fields.
    QString profile(const char *name, const QByteArray &fields) {
        writeFile(file(name), R"({"version": 1, "fields": {)" + fields + "}}");
        return file(name);
    }

    QTemporaryDir dir;
    zx::sim::Simulator sim;
    QByteArray wire; // what reached the module
    const QString golden = dataPath("golden-record.cfg");
};

// The golden record goes to the module, every command answered; the module
// then holds every value, and reading it back gives the same fields. A record
// that differs in two alarm numbers then puts exactly their two lines on the
// wire.
TEST_F(Provision, GoldenRecordRoundTripAndDiffPlan) {
    const Outcome write = run({QStringLiteral("write"), golden, QStringLiteral("--verify"),
                               QStringLiteral("--report"), file("report.json")});
    EXPECT_EQ(write.status, 0) << write.out.constData() << write.err.constData();
    const QJsonObject report = jsonFile(file("report.json"));
    const QJsonObject totals = report.value(QStringLiteral("totals")).toObject();
    EXPECT_EQ(totals.value(QStringLiteral("commands")).toInt(), 363);
    EXPECT_EQ(totals.value(QStringLiteral("answered")).toInt(), 363);
    EXPECT_EQ(report.value(QStringLiteral("verify")).toObject().value(QStringLiteral("differ")),
              QJsonArray());
    // Passwords do not appear anywhere in the report.
    EXPECT_FALSE(fileBytes(file("report.json")).contains("Geheim")) << "GPRS password";
    EXPECT_FALSE(fileBytes(file("report.json")).contains("Kennwort")) << "FTP password";

    const zx::settings::ConfigRecord record = recordOf(fileBytes(golden));
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(sim.module().state().alarmNumbers[std::size_t(n - 1)], record.AlarmNumber(n));

    const Outcome read = run({QStringLiteral("read")});
    EXPECT_EQ(read.status, 0) << read.err.constData();
    const zx::profile::ImportResult back = zx::profile::importProfileText(read.out, record);
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    // The phone book, both text tables and GPRS/FTP come back as written
    // (trailing blanks aside, which the padded lines cannot carry); an alarm
    // number of 20 characters is more than an answer's number field carries.
    QStringList unverifiable;
    const QList<zx::provision::Mismatch> differ = zx::provision::compareReadBack(
        record, back.record, zx::provision::readableEntries(), &unverifiable);
    EXPECT_TRUE(differ.isEmpty()) << differ.value(0).text().toStdString();
    EXPECT_EQ(unverifiable.size(), 7);
    EXPECT_EQ(back.named.size(), 7 + 7 + 57 + 97 + 8);

    zx::settings::ConfigRecord changed = record;
    changed.setAlarmNumber(2, "+4930123456");
    changed.setAlarmNumber(5, "0171555");
    const QString changedPath = file("changed.cfg");
    writeFile(changedPath, toByteArray(changed));
    wire.clear();
    const Outcome diff = run({QStringLiteral("write"), changedPath,
                              QStringLiteral("--only-changed-from"), golden});
    EXPECT_EQ(diff.status, 0) << diff.err.constData();
    EXPECT_EQ(wire, zx::testing::framed("SETNN2 +4930123456") + zx::testing::framed("SETNN5 0171555"));
}

// Faults of the module or the line, each on a few fields.
TEST_F(Provision, FaultsShowInTheReportAndTheExitStatus) {
    // The first elements of the text tables; null keeps the rest.
    const auto firstOf = [](int count, const QStringList &values) {
        QJsonArray list;
        for (int i = 0; i < count; ++i)
            list.append(i < values.size() ? QJsonValue(values.at(i)) : QJsonValue());
        return list;
    };
    const QJsonObject some{
        {QStringLiteral("ExternalTexts"),
         firstOf(57, {QStringLiteral("Eins"), QStringLiteral("Zwei"), QStringLiteral("Drei"),
                      QStringLiteral("Vier")})},
        {QStringLiteral("ShortTexts"),
         firstOf(97, {QStringLiteral("a1"), QStringLiteral("b22"), QStringLiteral("c333")})},
        {QStringLiteral("GprsApn"), QStringLiteral("web.example")},
        {QStringLiteral("FtpPassword"), QStringLiteral("s3cret")}};
    const QByteArray json = QJsonDocument(some).toJson(QJsonDocument::Compact);
    const QString fields = profile("texts.json", json.mid(1, json.size() - 2));
    const QStringList write = {QStringLiteral("write"), fields, QStringLiteral("--verify"),
                               QStringLiteral("--timeout"), QStringLiteral("150"),
                               QStringLiteral("--report"), file("report.json")};
    const QStringList answered(9, QStringLiteral("answered"));

    // Answers in three pieces 30 ms apart are still paired right: the read
    // back of each text finds its own.
    zx::sim::FaultOptions split;
    split.splitPieces = 3;
    sim.setFaults(split);
    Outcome o = run(write);
    EXPECT_EQ(o.status, 0) << o.out.constData() << o.err.constData();
    QJsonObject report = jsonFile(file("report.json"));
    EXPECT_EQ(statuses(report), answered + QStringList(9, QStringLiteral("answered")));
    EXPECT_TRUE(o.out.contains("verify: every field read back equals what was written"));
    EXPECT_FALSE(fileBytes(file("report.json")).contains("s3cret"));

    // A silent module: every command reported unanswered (the read-back's
    // too), exit status 1.
    zx::sim::FaultOptions silent;
    silent.silent = true;
    sim.setFaults(silent);
    o = run(write);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(statuses(jsonFile(file("report.json"))), QStringList(18, QStringLiteral("no answer")));

    // Ctrl-C while the third command is on the line: it is answered, nothing
    // further is sent, and the report says where the run stopped.
    sim.setFaults({});
    int commands = 0;
    auto interrupt = QObject::connect(&sim, &zx::sim::Simulator::moduleCommand, [&] {
        if (++commands == 3)
            ::raise(SIGINT);
    });
    o = run(write);
    QObject::disconnect(interrupt);
    EXPECT_EQ(o.status, 1) << o.out.constData();
    report = jsonFile(file("report.json"));
    EXPECT_EQ(statuses(report),
              QStringList(3, QStringLiteral("answered")) + QStringList(6, QStringLiteral("not sent")));
    EXPECT_EQ(report.value(QStringLiteral("stopped")).toString(),
              QStringLiteral("cancelled before command 4 of 9 (SETTX04 Vier)"));
    EXPECT_EQ(commands, 3);

    // The port vanishes when the fourth command arrives: the report ends with
    // a port error at that command, exit status 3.
    commands = 0;
    const auto vanish = QObject::connect(&sim, &zx::sim::Simulator::moduleCommand, [&] {
        if (++commands == 4)
            QTimer::singleShot(0, &sim, &zx::sim::Simulator::vanish);
    });
    o = run(write);
    QObject::disconnect(vanish);
    EXPECT_EQ(o.status, 3) << o.out.constData();
    report = jsonFile(file("report.json"));
    EXPECT_EQ(statuses(report),
              QStringList({QStringLiteral("answered"), QStringLiteral("answered"),
                           QStringLiteral("answered"), QStringLiteral("port error")}) +
                  QStringList(5, QStringLiteral("not sent")));
    EXPECT_TRUE(report.value(QStringLiteral("stopped"))
                    .toString()
                    .startsWith(QStringLiteral("stopped at command 4 of 9 (SETTX04 Vier)")))
        << report.value(QStringLiteral("stopped")).toString().toStdString();
}

// Bad input: one line on standard error, exit 2 (files) or 3 (port), and
// nothing reaches the module or any file.
TEST_F(Provision, BadInputWritesNothing) {
    writeFile(file("short.cfg"), fileBytes(golden).left(4000));
    const struct {
        QStringList args;
        int status;
        const char *message;
        int lines; // a usage error adds a line pointing to --help
    } cases[] = {
        {{QStringLiteral("write"), profile("unknown.json", R"("Baudrate": 2)")}, 2,
         "unknown.json: Baudrate: no such field", 1},
        {{QStringLiteral("write"),
          profile("long.json", R"("FtpHost": "12345678901234567890123456789012345678901")")},
         2, "long.json: FtpHost: 41 characters, the slot holds 40", 1},
        {{QStringLiteral("write"), file("short.cfg")}, 2, "short.cfg: only 4000 bytes", 1},
        {{QStringLiteral("verify"), file("short.cfg")}, 2, "short.cfg: only 4000 bytes", 1},
        {{QStringLiteral("write"), golden, QStringLiteral("--only-changed-from"), file("short.cfg")},
         2, "short.cfg: only 4000 bytes", 1},
        {{QStringLiteral("write"), golden, QStringLiteral("--port"), QStringLiteral("/dev/zx-none")},
         3, "/dev/zx-none", 1},
        {{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("Com16")}, 3, "Com16", 1},
        {{QStringLiteral("write"), golden, QStringLiteral("--timeout"), QStringLiteral("soon")}, 2,
         "--timeout wants a positive number", 2},
    };
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(file("config")));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        const Outcome o = run(c.args + QStringList{QStringLiteral("--report"), file("r.json")});
        EXPECT_EQ(o.status, c.status);
        EXPECT_TRUE(o.out.isEmpty()) << o.out.constData();
        EXPECT_TRUE(o.err.startsWith("zentorix-cli")) << o.err.constData();
        EXPECT_TRUE(o.err.contains(c.message)) << o.err.constData();
        EXPECT_EQ(o.err.count('\n'), c.lines) << o.err.constData();
    }
    qputenv("XDG_CONFIG_HOME", savedConfig);
    // Anything written would have reached the module by now.
    QEventLoop settle;
    QTimer::singleShot(100, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_TRUE(wire.isEmpty()) << wire.constData();
    EXPECT_FALSE(QFile::exists(file("r.json")));
}

} // namespace
