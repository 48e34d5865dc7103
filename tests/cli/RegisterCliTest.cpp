// zentorix-cli write, read and the modules commands with the module
// register: what a write leaves known to a new process, --changes sending
// only what the register does not know the module holds, and a write killed
// at any point leaving the register consistent.
#include "cli/Cli.h"
#include "CliTestSupport.h"
#include "common/Wire.h"
#include "profile/Profile.h"
#include "profile/ProfileTestSupport.h"
#include "provision/Plan.h"
#include "register/KnownRecord.h"
#include "register/ModuleNumber.h"
#include "register/Register.h"
#include "sim/Simulator.h"
#include "text/Ansi.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

using namespace zx::cli;
using namespace zx::profile::testing;

namespace {

class RegisterCli : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
        QObject::connect(&sim, &zx::sim::Simulator::bytesReceived,
                         [this](const QByteArray &bytes) { wire += bytes; });
        location.path = registerPath;
    }

    // A command in this process, on the simulator's port and this register.
    Outcome run(QStringList args) {
        args.insert(1, QStringLiteral("--port"));
        args.insert(2, sim.slavePath());
        return offline(args);
    }
    Outcome offline(QStringList args) {
        args << QStringLiteral("--register") << registerPath;
        BufferConsole console;
        const int status = runCli(QStringList{QStringLiteral("zentorix-cli")} + args, console);
        return {status, console.stdOut, console.stdErr};
    }
    // zentorix-cli as a process of its own, the simulator answering meanwhile.
    Outcome process(const QStringList &args) {
        QProcess program;
        program.setProgram(QStringLiteral(ZENTORIX_CLI_BINARY));
        program.setArguments(args + QStringList{QStringLiteral("--register"), registerPath});
        QEventLoop loop;
        QObject::connect(&program, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        program.start();
        loop.exec();
        return {program.exitCode(), program.readAllStandardOutput(), program.readAllStandardError()};
    }
    std::unique_ptr<zx::reg::Register> openRegister() {
        QString error;
        auto reg = zx::reg::Register::open(location, &error);
        EXPECT_TRUE(reg) << error.toStdString();
        return reg;
    }
    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }

    QTemporaryDir dir;
    const QString registerPath = dir.filePath(QStringLiteral("register.sqlite"));
    zx::reg::Location location;
    zx::sim::Simulator sim;
    QByteArray wire;
};

// The profile fields of the given entries, as a profile export writes them,
// an array's other elements null; no passwords.
QJsonObject expectedFields(const zx::settings::ConfigRecord &record, const QStringList &entries) {
    const QJsonObject all = zx::profile::exportProfile(record).value(QStringLiteral("fields")).toObject();
    QJsonObject fields;
    for (const QString &entry : entries) {
        if (entry.startsWith(QLatin1String("GprsPassword")) || entry.startsWith(QLatin1String("FtpPassword")))
            continue;
        const QString field = entry.section(QLatin1Char('['), 0, 0);
        if (!entry.contains(QLatin1Char('['))) {
            fields.insert(field, all.value(field));
            continue;
        }
        const int n = entry.section(QLatin1Char('['), 1).chopped(1).toInt();
        QJsonArray list = fields.value(field).toArray();
        while (list.size() < n)
            list.append(QJsonValue::Null);
        list[n - 1] = all.value(field).toArray().at(n - 1);
        fields.insert(field, list);
    }
    return fields;
}

// The golden record is written with two commands left unanswered; a new
// process then shows exactly the fields that were written and answered.
// --changes of the same record sends just those two; --changes of a record
// with two other alarm numbers sends just their two SETNN lines.
TEST_F(RegisterCli, WrittenAndAnsweredFieldsAreKnownToTheNextProcess) {
    // The stored golden record's TempEventMask is one character too long for
    // the module; everything else is written as it is.
    zx::settings::ConfigRecord record = recordOf(fileBytes(dataPath("golden-record.cfg")));
    record.setTempEventMask("7EA");
    const QString golden = file("golden.cfg");
    writeFile(golden, toByteArray(record));
    const QString module = zx::reg::normaliseNumber(zx::text::fromAnsi(record.ModuleNumber()));
    ASSERT_FALSE(module.isEmpty());

    const auto unanswered = [](const QByteArray &line) {
        return line.startsWith("SETNN3") || line.startsWith("SETTX05");
    };
    const auto silence = QObject::connect(&sim, &zx::sim::Simulator::moduleCommand, [&](const QByteArray &line) {
        zx::sim::FaultOptions faults;
        faults.silent = unanswered(line);
        sim.setFaults(faults);
    });
    const Outcome write = run({QStringLiteral("write"), golden, QStringLiteral("--timeout"), QStringLiteral("200")});
    QObject::disconnect(silence);
    sim.setFaults({});
    EXPECT_EQ(write.status, 1) << write.err.constData();

    QStringList answered;
    for (const zx::provision::PlanStep &step : zx::provision::writePlan(record).steps)
        if (!unanswered(step.line))
            answered += step.entries;
    const Outcome show = process({QStringLiteral("modules"), QStringLiteral("show"), module, QStringLiteral("--json")});
    ASSERT_EQ(show.status, 0) << show.err.constData();
    const QJsonObject shown = QJsonDocument::fromJson(show.out).object();
    EXPECT_EQ(shown.value(QStringLiteral("number")).toString(), module);
    const QJsonObject fields = shown.value(QStringLiteral("profile")).toObject().value(QStringLiteral("fields")).toObject();
    const QJsonObject expected = expectedFields(record, answered);
    EXPECT_EQ(fields, expected) << show.out.left(2000).constData();
    EXPECT_EQ(shown.value(QStringLiteral("confirmed")).toObject().size(), answered.size());
    EXPECT_EQ(shown.value(QStringLiteral("passwordsSet")).toArray(),
              (QJsonArray{QStringLiteral("FtpPassword"), QStringLiteral("GprsPassword")}));
    EXPECT_FALSE(fileBytes(registerPath).contains("Geheim")) << "no password in the register";

    wire.clear();
    Outcome changes = run({QStringLiteral("write"), golden, QStringLiteral("--changes")});
    EXPECT_EQ(changes.status, 0) << changes.err.constData();
    EXPECT_EQ(wire, zx::testing::framed("SETNN3 " + record.AlarmNumber(3)) +
                        zx::testing::framedAsSent("SETTX05 " + record.ExternalText(5)))
        << QString::fromLatin1(wire).replace(QChar(0), QLatin1Char('~')).toStdString();

    zx::settings::ConfigRecord changed = record;
    changed.setAlarmNumber(2, "+4930123456");
    changed.setAlarmNumber(5, "0171555");
    writeFile(file("changed.cfg"), toByteArray(changed));
    wire.clear();
    changes = run({QStringLiteral("write"), file("changed.cfg"), QStringLiteral("--changes")});
    EXPECT_EQ(changes.status, 0) << changes.err.constData();
    EXPECT_EQ(wire, zx::testing::framed("SETNN2 +4930123456") + zx::testing::framed("SETNN5 0171555"));

    // Read runs record the firmware; the history lists all four runs.
    const Outcome read = run({QStringLiteral("read"), QStringLiteral("--module"), module});
    EXPECT_EQ(read.status, 0) << read.err.constData();
    const auto reg = openRegister();
    ASSERT_TRUE(reg);
    EXPECT_EQ(reg->module(module)->firmware, QStringLiteral("VERSION 2.07"));
    QStringList kinds;
    for (const zx::reg::RunInfo &r : reg->runs(module))
        kinds << r.kind + QLatin1Char(' ') + r.outcome;
    EXPECT_EQ(kinds, (QStringList{QStringLiteral("write incomplete"), QStringLiteral("write complete"),
                                  QStringLiteral("write complete"), QStringLiteral("read complete")}));
    const Outcome diff = offline({QStringLiteral("modules"), QStringLiteral("diff"), module,
                                  QStringLiteral("--run"), QString::number(reg->runs(module).at(1).id)});
    EXPECT_EQ(diff.status, 0) << diff.err.constData();
    EXPECT_EQ(diff.out, QByteArray("AlarmNumbers[2]: \"" + record.AlarmNumber(2) + "\" -> \"+4930123456\"\n"
                                   "AlarmNumbers[5]: \"" + record.AlarmNumber(5) + "\" -> \"0171555\"\n"));

    // export writes the profile show gives (mode 0600) and keeps a file
    // that is there unless --force.
    const QString exported = file("known.json");
    Outcome ex = offline({QStringLiteral("modules"), QStringLiteral("export"), module, QStringLiteral("-o"), exported});
    ASSERT_EQ(ex.status, 0) << ex.err.constData();
    const Outcome now = offline({QStringLiteral("modules"), QStringLiteral("show"), module, QStringLiteral("--json")});
    EXPECT_EQ(QJsonDocument::fromJson(fileBytes(exported)).object(),
              QJsonDocument::fromJson(now.out).object().value(QStringLiteral("profile")).toObject());
    EXPECT_EQ(QFile::permissions(exported),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    writeFile(exported, "mine");
    ex = offline({QStringLiteral("modules"), QStringLiteral("export"), module, QStringLiteral("-o"), exported});
    EXPECT_EQ(ex.status, 2);
    EXPECT_TRUE(ex.err.contains("--force")) << ex.err.constData();
    EXPECT_EQ(fileBytes(exported), QByteArray("mine"));
}

// --changes with nothing known sends the whole plan and says so; without the
// register it is refused before anything is sent.
TEST_F(RegisterCli, ChangesWithNothingKnownSendsEverything) {
    writeFile(file("two.json"), R"({"version": 1, "fields": {"ModuleNumber": "+49 30 5550", "AlarmNumbers": ["+4930111", "+4930222", null, null, null, null, null]}})");
    Outcome o = run({QStringLiteral("write"), file("two.json"), QStringLiteral("--changes")});
    EXPECT_EQ(o.status, 0) << o.err.constData();
    EXPECT_TRUE(o.err.contains("the register knows nothing of module +49305550 yet; sending the whole plan")) << o.err.constData();
    EXPECT_EQ(wire, zx::testing::framed("SETNN1 +4930111") + zx::testing::framed("SETNN2 +4930222"));

    wire.clear();
    o = run({QStringLiteral("write"), file("two.json"), QStringLiteral("--changes"), QStringLiteral("--no-register")});
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(o.err.contains("--changes needs the module register")) << o.err.constData();
    EXPECT_TRUE(wire.isEmpty());
}

// zentorix-cli write killed (SIGKILL) as its k-th command reaches the
// module, for 20 values of k: afterwards the run is marked interrupted, the
// k-1 commands answered before are known with their values, and the file
// holds no half-written row.
TEST_F(RegisterCli, WriteKilledAtTwentyPointsLeavesTheRegisterConsistent) {
    QJsonArray texts;
    for (int n = 1; n <= 57; ++n)
        texts.append(n <= 40 ? QJsonValue(QStringLiteral("Text %1").arg(n)) : QJsonValue());
    const QJsonObject fields{{QStringLiteral("ModuleNumber"), QStringLiteral("+4930777")},
                             {QStringLiteral("ExternalTexts"), texts}};
    writeFile(file("texts.json"), QJsonDocument(QJsonObject{{QStringLiteral("version"), 1},
                                                            {QStringLiteral("fields"), fields}})
                                      .toJson());
    for (int point = 1; point <= 20; ++point) {
        const int k = 2 * point - 1; // commands 1, 3, ..., 39 of 40
        SCOPED_TRACE(k);
        QProcess program;
        int seen = 0;
        const auto kill = QObject::connect(&sim, &zx::sim::Simulator::moduleCommand, [&] {
            if (++seen == k)
                ::kill(pid_t(program.processId()), SIGKILL);
        });
        program.setProgram(QStringLiteral(ZENTORIX_CLI_BINARY));
        program.setArguments({QStringLiteral("write"), QStringLiteral("--port"), sim.slavePath(),
                              QStringLiteral("--register"), registerPath, file("texts.json")});
        QEventLoop loop;
        QObject::connect(&program, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        program.start();
        loop.exec();
        QObject::disconnect(kill);
        ASSERT_EQ(program.exitStatus(), QProcess::CrashExit) << program.readAllStandardError().constData();

        const auto reg = openRegister();
        ASSERT_TRUE(reg);
        const QList<zx::reg::RunInfo> runs = reg->runs(QStringLiteral("+4930777"));
        ASSERT_EQ(runs.size(), point);
        const zx::reg::RunInfo &last = runs.constLast();
        EXPECT_TRUE(last.interrupted);
        EXPECT_EQ(last.outcome, QStringLiteral("interrupted"));
        EXPECT_EQ(last.plan.size(), 40);
        EXPECT_EQ(last.done, k - 1);
        EXPECT_EQ(last.answered, k - 1);
        int seq = 0;
        for (const zx::reg::CommandRow &row : reg->commands(last.id))
            EXPECT_EQ(row.seq, seq++);
        // What this run confirmed: the texts of its answered commands.
        QStringList confirmed;
        for (const zx::reg::Confirmation &c : reg->confirmations(QStringLiteral("+4930777")))
            if (c.runId == last.id)
                confirmed << c.entry;
        ASSERT_EQ(confirmed.size(), k - 1);
        for (int n = 1; n < k; ++n)
            EXPECT_EQ(confirmed.at(n - 1), QStringLiteral("ExternalTexts[%1]").arg(n));
        const zx::reg::KnownRecord known = zx::reg::knownRecord(reg->confirmations(QStringLiteral("+4930777")));
        for (int n = 1; n < k; ++n)
            EXPECT_EQ(known.record.ExternalText(n), QStringLiteral("Text %1").arg(n).toLatin1());
    }
    zx::reg::Database db;
    ASSERT_EQ(db.open(location), QString());
    QSqlQuery query = db.query();
    ASSERT_TRUE(db.exec(query, QStringLiteral("PRAGMA integrity_check")) && query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("ok"));
    ASSERT_TRUE(db.exec(query, QStringLiteral("PRAGMA foreign_key_check")));
    EXPECT_FALSE(query.next()) << "a row refers to one that is not there";
}

} // namespace

// By SMS: a dry run says what would go where and what it costs, sending
// nothing; bad input sends nothing either; a write through the modem is
// answered, kept as a finished job, and known, so the same write again has
// nothing to send.
TEST_F(RegisterCli, SmsWriteCostsFirstThenIsAnsweredAndKnown) {
    sim.setMode(zx::sim::Simulator::Mode::Sms);
    sim.modem().state().newMessageIndications = true;
    const QString profile = file("two.json");
    writeFile(profile, R"({"version": 1, "fields": {"AlarmNumbers": ["+4930111", "+4930222", null, null, null, null, null]}})");
    const QStringList sms{QStringLiteral("write"), QStringLiteral("--sms"), QStringLiteral("--modem-port"),
                          sim.slavePath(), QStringLiteral("--module"), QStringLiteral("+4915111"), profile};

    const Outcome dry = offline(sms + QStringList{QStringLiteral("--dry-run"), QStringLiteral("--price"), QStringLiteral("0.10")});
    EXPECT_EQ(dry.status, 0) << dry.err.constData();
    EXPECT_EQ(dry.out, "+4915111: SETNN1 +4930111\n+4915111: SETNN2 +4930222\n"
                       "2 SMS to 1 module (+4915111 2)\n"
                       "at most 4 with 1 retry each for answers that do not come\n"
                       "cost: 0.20 at 0.10 per SMS (at most 0.40)\n"
                       "nothing was sent (--dry-run)\n");

    struct Bad {
        QStringList args;
        const char *says;
    };
    const Bad bad[] = {
        {{QStringLiteral("write"), QStringLiteral("--sms"), QStringLiteral("--module"), QStringLiteral("+4915111"), profile}, "--modem-port"},
        {{QStringLiteral("write"), QStringLiteral("--sms"), QStringLiteral("--modem-port"), sim.slavePath(), profile}, "--module NUMBER"},
        {sms + QStringList{QStringLiteral("--module"), QStringLiteral("004915111")}, "given twice"},
        {sms + QStringList{QStringLiteral("--module"), QStringLiteral("+49 15x")}, "not a telephone number"},
        {sms + QStringList{QStringLiteral("--retries"), QStringLiteral("9")}, "--retries"},
        {sms + QStringList{QStringLiteral("--answer-timeout"), QStringLiteral("0")}, "--answer-timeout"},
        {sms + QStringList{QStringLiteral("--price"), QStringLiteral("cheap")}, "--price"},
    };
    for (const Bad &b : bad) {
        const Outcome o = offline(b.args);
        EXPECT_EQ(o.status, 2) << b.says;
        EXPECT_TRUE(o.err.contains(b.says)) << o.err.constData();
    }
    EXPECT_TRUE(wire.isEmpty()) << wire.constData();

    const Outcome sent = offline(sms + QStringList{QStringLiteral("--list-every"), QStringLiteral("1")});
    EXPECT_EQ(sent.status, 0) << sent.err.constData();
    EXPECT_TRUE(sent.out.contains("+4915111: 2 of 2 answered, 0 refused, 0 given up; 2 SMS sent")) << sent.out.constData();
    EXPECT_EQ(wire.count("AT+CMGS="), 2);
    EXPECT_EQ(sim.module().state().alarmNumbers.at(1).trimmed(), "+4930222");
    const Outcome jobs = offline({QStringLiteral("jobs"), QStringLiteral("list")});
    EXPECT_TRUE(jobs.out.startsWith("1  write  finished  2 of 2 answered  +4915111")) << jobs.out.constData();
    const Outcome again = offline(sms);
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(again.out.contains("nothing to send")) << again.out.constData();
    EXPECT_EQ(wire.count("AT+CMGS="), 2);
}
