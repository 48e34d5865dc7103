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

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <QMap>

#include <csignal>
#include <sys/stat.h>
#include <utility>

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

    // On the simulator's port, unless the arguments name a port of their
    // own: --port given twice is two ports at once.
    Outcome run(QStringList args) {
        if (!args.contains(QStringLiteral("--port"))) {
            args.insert(1, QStringLiteral("--port"));
            args.insert(2, sim.slavePath());
        }
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

    // The golden record with its one value the module does not take mended:
    // its temperature mask has four characters where the line has room for
    // three ("7EAx"; see the bad-input table).
    QString goldenForTheModule() {
        zx::settings::ConfigRecord record = recordOf(fileBytes(goldenAsStored));
        record.setTempEventMask("7EA");
        writeFile(file("golden.cfg"), toByteArray(record));
        return file("golden.cfg");
    }

    QTemporaryDir dir;
    zx::sim::Simulator sim;
    QByteArray wire; // what reached the module
    const QString goldenAsStored = dataPath("golden-record.cfg");
    const QString golden = goldenForTheModule();
};

// What the module holds that a write can change, by name, so that two states
// compare field by field.
QMap<QString, QByteArray> writable(const zx::sim::ModuleState &m) {
    QMap<QString, QByteArray> fields;
    const auto list = [&](const char *name, const auto &values) {
        for (std::size_t i = 0; i < values.size(); ++i)
            fields.insert(QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i + 1), values[i]);
    };
    list("alarmNumbers", m.alarmNumbers);
    list("phoneBook", m.phoneBook);
    list("externalTexts", m.externalTexts);
    list("shortTexts", m.shortTexts);
    const zx::sim::GprsParameters &g = m.gprs;
    for (const auto &[name, value] :
         {std::pair{"apn", g.apn}, {"userId", g.userId}, {"password", g.password},
          {"serverAddress", g.serverAddress}, {"ftpHost", g.ftpHost}, {"ftpUser", g.ftpUser},
          {"ftpPassword", g.ftpPassword}, {"ftpDirectory", g.ftpDirectory},
          {"masks", m.temperatureMask + '|' + m.analogMask + '|' + m.digitalMask},
          {"options", m.options}, {"schedule", m.schedule},
          {"dataLogger", QByteArray(1, m.samplingRate) + m.loggerPeriod + m.pulses},
          {"analogModes", m.analogMultipliers + '|' + m.analogDividers}})
        fields.insert(QLatin1String(name), value);
    for (std::size_t i = 0; i < m.analog.size(); ++i)
        fields.insert(QStringLiteral("analog[%1]").arg(i + 1),
                      QByteArray::number(m.analog[i].minLevel) + ' ' +
                          QByteArray::number(m.analog[i].maxLevel) + ' ' + m.analog[i].mode);
    for (std::size_t i = 0; i < m.temperatures.size(); ++i)
        fields.insert(QStringLiteral("temperature[%1]").arg(i + 1),
                      QByteArray::number(m.temperatures[i].minLevel) + ' ' +
                          QByteArray::number(m.temperatures[i].maxLevel));
    fields.insert(QStringLiteral("filters"), QByteArray::number(m.temperatureFilter) + ' ' +
                                                 QByteArray::number(m.analogFilter) + ' ' +
                                                 QByteArray::number(m.digitalFilter));
    return fields;
}

// "name: before -> after" for every field that differs.
QStringList changedFields(const QMap<QString, QByteArray> &before,
                          const QMap<QString, QByteArray> &after) {
    QStringList changed;
    for (auto it = before.begin(); it != before.end(); ++it)
        if (after.value(it.key()) != it.value())
            changed << QStringLiteral("%1: \"%2\" -> \"%3\"")
                           .arg(it.key(), QString::fromLatin1(it.value()),
                                QString::fromLatin1(after.value(it.key())));
    return changed;
}

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
    // number of 20 characters is more than an answer's number field carries,
    // so the profile gives null for it: "leave it as it is".
    QStringList unverifiable;
    const QList<zx::provision::Mismatch> differ = zx::provision::compareReadBack(
        record, back.record, zx::provision::readableEntries(), &unverifiable);
    EXPECT_TRUE(differ.isEmpty()) << differ.value(0).text().toStdString();
    EXPECT_EQ(unverifiable.size(), 7);
    EXPECT_EQ(back.named.size(), 7 + 57 + 97 + 8);
    EXPECT_EQ(QJsonDocument::fromJson(read.out)
                  .object()
                  .value(QStringLiteral("fields"))
                  .toObject()
                  .value(QStringLiteral("AlarmNumbers")),
              QJsonArray({QJsonValue::Null, QJsonValue::Null, QJsonValue::Null, QJsonValue::Null,
                          QJsonValue::Null, QJsonValue::Null, QJsonValue::Null}));

    // The profile read, written back, changes nothing on the module.
    const QMap<QString, QByteArray> before = writable(sim.module().state());
    const Outcome readToFile = run({QStringLiteral("read"), QStringLiteral("-o"), file("m.json")});
    EXPECT_EQ(readToFile.status, 0) << readToFile.err.constData();
    EXPECT_TRUE(readToFile.out.isEmpty());
    EXPECT_EQ(fileBytes(file("m.json")), read.out);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file("m.json")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode_t(0600));
    const Outcome writeBack = run({QStringLiteral("write"), file("m.json")});
    EXPECT_EQ(writeBack.status, 0) << writeBack.out.constData() << writeBack.err.constData();
    EXPECT_EQ(changedFields(before, writable(sim.module().state())), QStringList());

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

    // A profile that names only the APN, against the whole record the module
    // holds: one "SETAP" line, and nothing else on the module changes.
    const QMap<QString, QByteArray> held = writable(sim.module().state());
    wire.clear();
    const Outcome apn = run({QStringLiteral("write"), profile("apn-only.json", R"("GprsApn": "web.example")"),
                             QStringLiteral("--only-changed-from"), changedPath});
    EXPECT_EQ(apn.status, 0) << apn.err.constData();
    EXPECT_EQ(wire, zx::testing::framed("SETAP web.example"));
    const QStringList moved = changedFields(held, writable(sim.module().state()));
    ASSERT_EQ(moved.size(), 1) << moved.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(moved.constFirst().startsWith(QStringLiteral("apn: \"internet.m")));
    EXPECT_TRUE(moved.constFirst().endsWith(QStringLiteral("apnaaa\" -> \"web.example\"")));
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
                               QStringLiteral("--report"), file("report.json"),
                               QStringLiteral("--force")};
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

    // A silent module: the run stops after five commands without an answer
    // and says what to check, exit status 1.
    zx::sim::FaultOptions silent;
    silent.silent = true;
    sim.setFaults(silent);
    o = run(write);
    EXPECT_EQ(o.status, 1);
    report = jsonFile(file("report.json"));
    EXPECT_EQ(statuses(report),
              QStringList(5, QStringLiteral("no answer")) + QStringList(4, QStringLiteral("not sent")));
    EXPECT_TRUE(report.value(QStringLiteral("stopped")).toString().contains(QStringLiteral("setting mode")));

    // A module that refuses every command: nothing is answered, every
    // refusal is counted, and the verify has nothing it could compare.
    zx::sim::FaultOptions refuse;
    refuse.refuseAll = true;
    sim.setFaults(refuse);
    o = run(write);
    EXPECT_EQ(o.status, 1);
    report = jsonFile(file("report.json"));
    EXPECT_EQ(statuses(report), QStringList(18, QStringLiteral("refused")));
    EXPECT_TRUE(o.out.contains("0 of 18 commands answered, 18 refused")) << o.out.constData();
    EXPECT_FALSE(o.out.contains("every field read back")) << o.out.constData();
    EXPECT_TRUE(o.out.contains("could not be read: GprsApn")) << o.out.constData();

    // Ctrl-C while the third command is on the line: the run ends at once,
    // nothing further is sent, and the report says where it stopped.
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
    QStringList shown = statuses(report);
    // Whether the third answer came before the interrupt was seen is a race.
    const bool thirdAnswered = shown.value(2) == QLatin1String("answered");
    if (!thirdAnswered)
        shown[2] = QStringLiteral("answered");
    EXPECT_EQ(shown,
              QStringList(3, QStringLiteral("answered")) + QStringList(6, QStringLiteral("not sent")));
    EXPECT_EQ(report.value(QStringLiteral("stopped")).toString(),
              thirdAnswered ? QStringLiteral("cancelled before command 4 of 9 (SETTX04 Vier)")
                            : QStringLiteral("cancelled at command 3 of 9 (SETTX03 Drei)"));
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

// An answer belongs to its own command only: not an echo, not the late
// answer of the command before, not what an earlier process left behind.
TEST_F(Provision, EveryAnswerIsPairedWithItsOwnCommand) {
    const QString numbers = profile(
        "numbers.json", R"("AlarmNumbers": ["+4917000001", "+4917000002", "+4917000003", null, null, null, null])");
    const QStringList timeout{QStringLiteral("--timeout"), QStringLiteral("300")};

    // A modem echoes the module line back and has nothing else to say.
    sim.setMode(zx::sim::Simulator::Mode::Sms);
    Outcome o = run(QStringList{QStringLiteral("send"), QStringLiteral("SETNN1 +4917000001")} + timeout);
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.contains("not recognised")) << o.err.constData();
    sim.setMode(zx::sim::Simulator::Mode::Setting);

    // Every answer comes 500 ms late, after its command's 300 ms time-out.
    zx::sim::FaultOptions late;
    late.delayMs = 500;
    sim.setFaults(late);
    o = run(QStringList{QStringLiteral("write"), numbers, QStringLiteral("--verify"),
                        QStringLiteral("--report"), file("late.json"), QStringLiteral("--force")} +
            timeout);
    EXPECT_EQ(o.status, 1) << o.err.constData();
    int reads = 0;
    for (const QJsonValue &value : jsonFile(file("late.json")).value(QStringLiteral("commands")).toArray()) {
        const QJsonObject row = value.toObject();
        const QString line = row.value(QStringLiteral("line")).toString();
        if (!line.startsWith(QLatin1String("GETNR")))
            continue;
        ++reads;
        if (row.value(QStringLiteral("status")).toString() != QLatin1String("answered"))
            continue;
        EXPECT_TRUE(row.value(QStringLiteral("answer")).toString().startsWith(
                QStringLiteral("NUM") + line.at(5)))
                << line.toStdString() << " <- "
                << row.value(QStringLiteral("answer")).toString().toStdString();
    }
    EXPECT_EQ(reads, 3);

    // The late answer to one process's command reaches the next process.
    QEventLoop drain;
    QTimer::singleShot(700, &drain, &QEventLoop::quit);
    drain.exec();
    o = run(QStringList{QStringLiteral("send"), QStringLiteral("GETNR3")} + timeout);
    EXPECT_EQ(o.status, 1);
    sim.setFaults({});
    sim.module().state().gprs.apn = "apn.example";
    o = run({QStringLiteral("send"), QStringLiteral("GETAP "), QStringLiteral("--timeout"),
             QStringLiteral("1000")});
    EXPECT_EQ(o.status, 0) << o.err.constData();
    EXPECT_EQ(o.out, "APN: apn.example\n");
}

// Passwords never leave: not in a report (JSON or CSV), not in --json
// output, not on standard error, whether a modem echoes every line back or
// the module's answers come after their time-out and land with the next
// command. Reports and a read profile are private even under umask 000.
TEST_F(Provision, PasswordsNeverLeaveInReportsJsonOrErrors) {
    const QString passwords =
        profile("pw.json", R"("GprsPassword": "Geheim1", "FtpPassword": "Kennwort2", "GprsApn": "a.b")");
    const auto leaks = [](const QByteArray &bytes) {
        return bytes.contains("Geheim1") || bytes.contains("Kennwort2");
    };
    const auto checkRun = [&](const QStringList &args, const QString &report) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const Outcome o = run(args + QStringList{QStringLiteral("--report"), report,
                                                  QStringLiteral("--force")});
        EXPECT_NE(o.status, 2) << o.err.constData();
        EXPECT_FALSE(o.out.isEmpty());
        EXPECT_FALSE(leaks(o.out)) << o.out.constData();
        EXPECT_FALSE(leaks(o.err)) << o.err.constData();
        EXPECT_FALSE(leaks(fileBytes(report))) << fileBytes(report).constData();
        struct stat info {};
        EXPECT_EQ(::stat(QFile::encodeName(report).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode_t(0600));
    };
    const mode_t savedMask = ::umask(0);

    // A modem on the line echoes each line it is sent before it answers.
    sim.setMode(zx::sim::Simulator::Mode::Sms);
    checkRun({QStringLiteral("write"), passwords, QStringLiteral("--json"), QStringLiteral("--timeout"),
              QStringLiteral("300")},
             file("echo.json"));
    checkRun({QStringLiteral("write"), passwords, QStringLiteral("--timeout"), QStringLiteral("300")},
             file("echo.csv"));
    const Outcome send = run({QStringLiteral("send"), QStringLiteral("SETPW Geheim1"),
                              QStringLiteral("--json"), QStringLiteral("--timeout"), QStringLiteral("300")});
    EXPECT_FALSE(leaks(send.out) || leaks(send.err)) << send.out.constData();
    EXPECT_TRUE(send.out.contains("SETPW (password)")) << send.out.constData();

    // The module holds the passwords and answers each read 150 ms late, after
    // a time-out of 60 ms: every answer arrives while the next command waits.
    sim.setMode(zx::sim::Simulator::Mode::Setting);
    sim.module().state().gprs.password = "Geheim1";
    sim.module().state().gprs.ftpPassword = "Kennwort2";
    zx::sim::FaultOptions late;
    late.delayMs = 150;
    sim.setFaults(late);
    const QStringList slow{QStringLiteral("--timeout"), QStringLiteral("60"), QStringLiteral("--gap"),
                           QStringLiteral("20")};
    checkRun(QStringList{QStringLiteral("read"), QStringLiteral("--json")} + slow, file("late.json"));
    checkRun(QStringList{QStringLiteral("verify"), passwords} + slow, file("late.csv"));
    checkRun(QStringList{QStringLiteral("verify"), passwords, QStringLiteral("--json")} + slow,
             file("late-verify.json"));

    // A profile read to a file holds the passwords; it is its owner's alone.
    sim.setFaults({});
    const Outcome read = run({QStringLiteral("read"), QStringLiteral("-o"), file("module.json")});
    EXPECT_EQ(read.status, 0) << read.err.constData();
    EXPECT_TRUE(fileBytes(file("module.json")).contains("Geheim1"));
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(file("module.json")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode_t(0600));
    ::umask(savedMask);
}

// The files of a folder with their bytes and modes, to tell that nothing
// was created, changed or removed.
std::string snapshot(const QString &directory) {
    QStringList files;
    const QDir dir(directory);
    for (const QString &name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                             QDir::NoDotAndDotDot)) {
        const QFileInfo info(dir.filePath(name));
        QByteArray state = QByteArray::number(int(info.permissions()), 16);
        if (info.isFile() && !info.isSymLink())
            state += ' ' + QCryptographicHash::hash(fileBytes(info.filePath()),
                                                     QCryptographicHash::Sha1)
                               .toHex();
        files << name + QLatin1Char(' ') + QString::fromLatin1(state);
    }
    return files.join(QLatin1Char('\n')).toStdString();
}

// Bad input of every kind: one line on standard error (a usage error adds a
// line pointing to --help), exit 2 (input, options, files) or 3 (port),
// nothing on the module's wire, and no file created or changed.
TEST_F(Provision, BadInputWritesNothing) {
    writeFile(file("short.cfg"), fileBytes(golden).left(4000));
    writeFile(file("long.cfg"), fileBytes(golden) + QByteArray(1, '\0'));
    writeFile(file("existing.json"), "a report of an earlier run");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(file("fifo")).constData(), 0600), 0);
    const QString apn = profile("apn.json", R"("GprsApn": "web.example")");
    const QString report = file("r.json");
    const QString text97 = QStringLiteral("[") + QStringLiteral("null, ").repeated(96);
    const struct {
        QStringList args;
        int status;
        const char *message;
        int lines = 1;
        bool withReport = true; // the case adds --report r.json
    } cases[] = {
        // Values the module would not take, or would take as something else.
        {{QStringLiteral("write"), profile("cr.json", R"("GprsApn": "apn\rCLRNR1")")}, 2,
         "cr.json: GprsApn: character 4 is a control character (CR)"},
        {{QStringLiteral("write"), profile("lf.json", R"("ExternalTexts": ["a\nb")" +
                                                          QByteArray(", null").repeated(56) + "]")},
         2, "lf.json: ExternalTexts[1]: character 2 is a control character (LF)"},
        {{QStringLiteral("write"),
          profile("nul.json", "\"ShortTexts\": " + (text97 + QStringLiteral("\"a\\u0000\"]")).toUtf8())},
         2, "nul.json: ShortTexts[97]: character 2 is a control character (NUL)"},
        {{QStringLiteral("write"), profile("ctrlz.json", R"("FtpDirectory": "/logs\u001a")")}, 2,
         "ctrlz.json: FtpDirectory: character 6 is a control character (Ctrl-Z)"},
        {{QStringLiteral("write"), profile("rate.json", R"("SamplingRate": -1)")}, 2,
         "rate.json: SamplingRate: -1 is outside 0..9; nothing was sent"},
        {{QStringLiteral("write"), profile("max.json", R"("SamplingRate": 2147483647)")}, 2,
         "max.json: SamplingRate: 2147483647 is outside 0..9"},
        {{QStringLiteral("write"), profile("blank.json", R"("GprsApn": "my apn")")}, 2,
         "blank.json: GprsApn: \"my apn\": character 3 is a blank"},
        {{QStringLiteral("write"), profile("pw.json", R"("FtpPassword": "open sesame")")}, 2,
         "pw.json: FtpPassword: the password: character 5 is a blank"},
        {{QStringLiteral("write"),
          profile("abc.json", R"("AlarmNumbers": ["abc", null, null, null, null, null, null])")}, 2,
         "abc.json: AlarmNumbers[1]: \"abc\" is not a number the module takes"},
        {{QStringLiteral("write"), profile("mask.json", R"("DigitalEventMask": "ABC")")}, 2,
         "mask.json: DigitalEventMask: \"ABC\" has 3 characters, the mask has 12"},
        {{QStringLiteral("write"), goldenAsStored}, 2,
         "golden-record.cfg: TempEventMask: \"7EAx\" has 4 characters, the mask has 3"},
        // Profiles and settings files that are not what they claim.
        {{QStringLiteral("write"), profile("unknown.json", R"("Baudrate": 2)")}, 2,
         "unknown.json: Baudrate: no such field"},
        {{QStringLiteral("write"),
          profile("long.json", R"("FtpHost": "12345678901234567890123456789012345678901")")},
         2, "long.json: FtpHost: 41 characters, the slot holds 40"},
        {{QStringLiteral("write"), profile("twice.json", R"("GprsApn": "a", "GprsApn": "b")")}, 2,
         "twice.json: GprsApn: given twice"},
        {{QStringLiteral("write"), profile("empty.json", "")}, 2,
         "empty.json: the profile names no field"},
        {{QStringLiteral("write"), file("short.cfg")}, 2, "short.cfg: only 4000 bytes"},
        {{QStringLiteral("write"), file("long.cfg")}, 2, "long.cfg: more than 4096 bytes"},
        {{QStringLiteral("verify"), file("short.cfg")}, 2, "short.cfg: only 4000 bytes"},
        {{QStringLiteral("write"), golden, QStringLiteral("--only-changed-from"), file("short.cfg")},
         2, "short.cfg: only 4000 bytes"},
        {{QStringLiteral("write"), file("fifo")}, 2, "fifo: is a FIFO; give a file"},
        {{QStringLiteral("write"), QStringLiteral("/dev/zero")}, 2, "/dev/zero: is a device"},
        // Outputs, checked before the port is opened.
        {{QStringLiteral("write"), apn, QStringLiteral("--report"), apn}, 2,
         "apn.json: is also an input", 1, false},
        {{QStringLiteral("verify"), apn, QStringLiteral("--report"), apn, QStringLiteral("--force")},
         2, "apn.json: is also an input", 1, false},
        {{QStringLiteral("write"), apn, QStringLiteral("--report"), file("existing.json")}, 2,
         "existing.json: exists; add --force to replace it", 1, false},
        {{QStringLiteral("write"), apn, QStringLiteral("--report"), file("folder")}, 2,
         "folder: is a folder", 1, false},
        {{QStringLiteral("write"), apn, QStringLiteral("--report"), file("fifo"), QStringLiteral("-f")},
         2, "fifo: is a FIFO", 1, false},
        {{QStringLiteral("write"), apn, QStringLiteral("--report"), QStringLiteral("/dev/null"),
          QStringLiteral("--force")},
         2, "/dev/null: is a device", 1, false},
        {{QStringLiteral("write"), apn, QStringLiteral("--report"), file("none/r.json")}, 2,
         "none/r.json: the folder", 1, false},
        {{QStringLiteral("read"), QStringLiteral("-o"), file("existing.json")}, 2,
         "existing.json: exists; add --force to replace it"},
        {{QStringLiteral("read"), QStringLiteral("-o"), report}, 2, "r.json: given for two outputs"},
        // Options.
        {{QStringLiteral("write"), golden, QStringLiteral("--timeout"), QStringLiteral("soon")}, 2,
         "--timeout wants milliseconds from 1 to 60000, not 'soon'", 2},
        {{QStringLiteral("write"), golden, QStringLiteral("--timeout"), QStringLiteral("2147483647")},
         2, "--timeout wants milliseconds from 1 to 60000", 2},
        {{QStringLiteral("read"), QStringLiteral("--gap"), QStringLiteral("10001")}, 2,
         "--gap wants milliseconds from 1 to 10000", 2},
        {{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("Com0")}, 2,
         "--port Com0: no such port; give Com1..Com16 (see 'zentorix-cli ports') or a device "
         "such as /dev/ttyUSB0", 2},
        {{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("com17")}, 2,
         "--port com17: no such port", 2},
        {{QStringLiteral("read"), QStringLiteral("--port"), QString()}, 2, "--port is empty", 2},
        {{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("ttyUSB0")}, 2,
         "--port ttyUSB0: not a port name", 2},
        // Lines typed for send.
        {{QStringLiteral("send"), QStringLiteral("GETNR1\rCLRNR1")}, 2,
         "LINE: character 7 is a control character (CR)", 2, false},
        {{QStringLiteral("send"), QStringLiteral("SETNN1 abc")}, 2,
         "LINE: \"SETNN1 abc\" is not a line the module takes", 2, false},
        {{QStringLiteral("send"), QStringLiteral("SETPW open sesame")}, 2,
         "LINE: the password line is not a line the module takes", 2, false},
        {{QStringLiteral("send"), QStringLiteral("HELLO")}, 2,
         "LINE: \"HELLO\" does not begin with a module command", 2, false},
        // The port itself.
        {{QStringLiteral("write"), golden, QStringLiteral("--port"), QStringLiteral("/dev/zx-none")},
         3, "/dev/zx-none"},
        {{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("Com16")}, 3,
         "Com16 could not be opened: no serial device stands for it on this machine. Plug the "
         "adapter in, or give another --port (see 'zentorix-cli ports')."},
    };
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(file("config")));
    const std::string files = snapshot(dir.path());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        QStringList args = c.args;
        if (c.withReport)
            args << QStringLiteral("--report") << report;
        const Outcome o = run(args);
        EXPECT_EQ(o.status, c.status);
        EXPECT_TRUE(o.out.isEmpty()) << o.out.constData();
        EXPECT_TRUE(o.err.startsWith("zentorix-cli")) << o.err.constData();
        EXPECT_TRUE(o.err.contains(c.message)) << o.err.constData();
        EXPECT_EQ(o.err.count('\n'), c.lines) << o.err.constData();
        EXPECT_FALSE(o.err.contains("sesame"));
        EXPECT_EQ(snapshot(dir.path()), files);
    }
    qputenv("XDG_CONFIG_HOME", savedConfig);
    // Anything written would have reached the module by now.
    QEventLoop settle;
    QTimer::singleShot(100, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_TRUE(wire.isEmpty()) << wire.constData();
}

} // namespace
