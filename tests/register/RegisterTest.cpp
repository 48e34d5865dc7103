// The module register on each backend: what a run keeps, what counts as
// held, passwords, tags, runs left by a program that is gone, two writers at
// once, a module kept under its port given its number; and an SQLite file of
// the first schema brought up to date.
#include "TestRegisters.h"
#include "register/KnownRecord.h"
#include "register/ModuleNumber.h"
#include "register/Register.h"
#include "register/Schema.h"
#include "profile/Profile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <sys/stat.h>

using namespace zx::reg;
using zx::reg::testing::TestRegisters;

namespace {

QByteArray slot(int size, const QByteArray &text) {
    QByteArray bytes(size, '\0');
    bytes[0] = char(text.size());
    bytes.replace(1, text.size(), text);
    return bytes;
}

CommandOutcome command(const QString &line, const QString &status, QList<Value> values = {}) {
    CommandOutcome o;
    o.line = line;
    o.answer = status == QLatin1String("answered") ? QStringLiteral("OK") : QString();
    o.status = status;
    o.answered = status == QLatin1String("answered");
    o.values = std::move(values);
    return o;
}

int permissions(const QString &path) {
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return int(info.st_mode & 0777);
}

class RegisterTest : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override {
        QString skip, failure;
        location = registers.make(QLatin1String(GetParam()), &skip, &failure);
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        if (!location)
            GTEST_SKIP() << skip.toStdString();
    }
    std::unique_ptr<Register> open() {
        QString error;
        std::unique_ptr<Register> reg = Register::open(*location, &error);
        EXPECT_TRUE(reg) << error.toStdString();
        return reg;
    }
    // register_writer with these arguments after the location.
    QProcess *writer(const QStringList &args) {
        auto *process = new QProcess;
        process->setProgram(QStringLiteral(REGISTER_WRITER_BINARY));
        process->setArguments(QStringList{TestRegisters::text(*location)} + args);
        process->start();
        return process;
    }

    TestRegisters registers;
    std::optional<Location> location;
};

// A run keeps its plan, each command's outcome and the values of the
// answered commands only; a password only as its hash; GETVR's answer as the
// firmware. Another connection (a new process's) sees all of it.
TEST_P(RegisterTest, RunKeepsOutcomesAndOnlyAnsweredValues) {
    const QString module = QStringLiteral("+4930123456");
    {
        auto reg = open();
        ASSERT_TRUE(reg);
        const auto run = reg->beginRun({module, QStringLiteral("write"), QStringLiteral("Com3"),
                                        {QStringLiteral("SETNN1 +4930999"), QStringLiteral("SETNN2 +4930888"),
                                         QStringLiteral("SETPW (password)"), QStringLiteral("GETVR")}});
        ASSERT_TRUE(run) << reg->lastError().toStdString();
        ASSERT_TRUE(reg->recordCommand(*run, 0, command(QStringLiteral("SETNN1 +4930999"), QStringLiteral("answered"),
                                                        {{QStringLiteral("AlarmNumbers[1]"), slot(21, "+4930999"), false}})));
        // Not answered: the module's value stays unknown.
        ASSERT_TRUE(reg->recordCommand(*run, 1, command(QStringLiteral("SETNN2 +4930888"), QStringLiteral("no answer"),
                                                        {{QStringLiteral("AlarmNumbers[2]"), slot(21, "+4930888"), false}})));
        ASSERT_TRUE(reg->recordCommand(*run, 2, command(QStringLiteral("SETPW (password)"), QStringLiteral("answered"),
                                                        {{QStringLiteral("GprsPassword"), "Geheim7", true}})))
            << reg->lastError().toStdString();
        CommandOutcome version = command(QStringLiteral("GETVR"), QStringLiteral("answered"));
        version.firmware = QStringLiteral("VERSION 2.14");
        ASSERT_TRUE(reg->recordCommand(*run, 3, version));
        ASSERT_TRUE(reg->finishRun(*run, QStringLiteral("incomplete")));
    }
    auto reg = open();
    ASSERT_TRUE(reg);
    const QList<ModuleInfo> modules = reg->modules();
    ASSERT_EQ(modules.size(), 1);
    EXPECT_EQ(modules.first().number, module);
    EXPECT_EQ(modules.first().firmware, QStringLiteral("VERSION 2.14"));
    EXPECT_EQ(modules.first().lastOutcome, QStringLiteral("incomplete"));
    EXPECT_TRUE(modules.first().lastContact.isValid());

    const KnownRecord known = knownRecord(reg->confirmations(module));
    EXPECT_EQ(known.orderedEntries(), (QStringList{QStringLiteral("GprsPassword"), QStringLiteral("AlarmNumbers[1]")}));
    EXPECT_EQ(known.record.AlarmNumber(1), QByteArray("+4930999"));
    EXPECT_EQ(known.record.AlarmNumber(2), QByteArray());
    EXPECT_EQ(known.record.GprsPassword(), QByteArray()) << "a password is never stored";
    EXPECT_EQ(known.secretHash.value(QStringLiteral("GprsPassword")),
              Register::secretHash(module, QStringLiteral("GprsPassword"), "Geheim7"));
    EXPECT_NE(known.secretHash.value(QStringLiteral("GprsPassword")),
              Register::secretHash(module, QStringLiteral("GprsPassword"), "Geheim8"));

    const QList<RunInfo> runs = reg->runs(module);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs.first().plan.size(), 4);
    EXPECT_EQ(runs.first().answered, 3);
    EXPECT_EQ(runs.first().done, 4);
    EXPECT_FALSE(runs.first().interrupted);
    EXPECT_TRUE(runs.first().ended.isValid());
    QStringList statuses;
    for (const CommandRow &row : reg->commands(runs.first().id))
        statuses << QString::number(row.seq) + QLatin1Char(' ') + row.status;
    EXPECT_EQ(statuses, (QStringList{QStringLiteral("0 answered"), QStringLiteral("1 no answer"),
                                     QStringLiteral("2 answered"), QStringLiteral("3 answered")}));

    if (location->kind == Location::Kind::Sqlite) {
        reg.reset();
        QFile file(location->path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains("Geheim7"));
        EXPECT_EQ(permissions(location->path), 0600);
        EXPECT_EQ(permissions(QFileInfo(location->path).absolutePath()), 0700);
    }
}

// Names, sites and tags; the list by tag.
TEST_P(RegisterTest, NamesSitesAndTags) {
    auto reg = open();
    ASSERT_TRUE(reg);
    ASSERT_TRUE(reg->describe(QStringLiteral("+4930111"), QStringLiteral("Pump station"), QStringLiteral("Nordhafen")));
    ASSERT_TRUE(reg->describe(QStringLiteral("+4930111"), std::nullopt, QStringLiteral("Südhafen")));
    ASSERT_TRUE(reg->addTags(QStringLiteral("+4930111"), {QStringLiteral("pumps"), QStringLiteral("north")}));
    ASSERT_TRUE(reg->addTags(QStringLiteral("+4930222"), {QStringLiteral("pumps")}));
    ASSERT_TRUE(reg->addTags(QStringLiteral("+4930222"), {QStringLiteral("pumps")})) << "a tag twice is one tag";
    ASSERT_TRUE(reg->addTags(QStringLiteral("+4930333"), {QStringLiteral("gates")}));
    ASSERT_TRUE(reg->removeTags(QStringLiteral("+4930111"), {QStringLiteral("north")}));

    const auto numbers = [](const QList<ModuleInfo> &list) {
        QStringList n;
        for (const ModuleInfo &m : list)
            n << m.number + QLatin1Char(':') + m.tags.join(QLatin1Char(','));
        return n;
    };
    EXPECT_EQ(numbers(reg->modules(QStringLiteral("pumps"))),
              (QStringList{QStringLiteral("+4930111:pumps"), QStringLiteral("+4930222:pumps")}));
    EXPECT_EQ(numbers(reg->modules()).size(), 3);
    const auto pump = reg->module(QStringLiteral("+4930111"));
    ASSERT_TRUE(pump);
    EXPECT_EQ(pump->name, QStringLiteral("Pump station"));
    EXPECT_EQ(pump->site, QStringLiteral("Südhafen"));
    EXPECT_TRUE(pump->lastOutcome.isEmpty());
}

// A program gone in the middle of a run: its run is marked interrupted at
// the next open, with the commands it wrote; a run of a program still alive
// (this one) is left running.
TEST_P(RegisterTest, RunOfAProgramGoneIsMarkedInterrupted) {
    auto reg = open();
    ASSERT_TRUE(reg);
    const auto mine = reg->beginRun({QStringLiteral("+4930999"), QStringLiteral("read"), QStringLiteral("Com2"), {}});
    ASSERT_TRUE(mine);
    std::unique_ptr<QProcess> gone(writer({QStringLiteral("+4930777"), QStringLiteral("1"),
                                           QStringLiteral("10"), QStringLiteral("--abandon-after"),
                                           QStringLiteral("4")}));
    ASSERT_TRUE(gone->waitForFinished(30000));
    EXPECT_EQ(gone->exitCode(), 0) << gone->readAllStandardError().constData();

    auto again = open();
    ASSERT_TRUE(again);
    const QList<RunInfo> runs = again->runs(QStringLiteral("+4930777"));
    ASSERT_EQ(runs.size(), 1);
    EXPECT_TRUE(runs.first().interrupted);
    EXPECT_EQ(runs.first().outcome, QStringLiteral("interrupted"));
    EXPECT_EQ(runs.first().done, 4);
    EXPECT_EQ(runs.first().plan.size(), 10);
    EXPECT_TRUE(runs.first().ended.isValid());
    EXPECT_EQ(knownRecord(again->confirmations(QStringLiteral("+4930777"))).confirmed.size(), 4);

    const QList<RunInfo> running = again->runs(QStringLiteral("+4930999"));
    ASSERT_EQ(running.size(), 1);
    EXPECT_FALSE(running.first().interrupted);
    EXPECT_EQ(running.first().outcome, QStringLiteral("running"));
}

// Two programs writing runs at once: every run of both is kept whole and
// neither is told the database is locked.
TEST_P(RegisterTest, TwoWritersAtOnceLoseNothing) {
    ASSERT_TRUE(open()); // the tables, before both race for them
    const QStringList args{QStringLiteral("40"), QStringLiteral("12")};
    std::unique_ptr<QProcess> a(writer(QStringList{QStringLiteral("+4930001")} + args));
    std::unique_ptr<QProcess> b(writer(QStringList{QStringLiteral("+4930002")} + args));
    for (QProcess *p : {a.get(), b.get()}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        const QByteArray err = p->readAllStandardError();
        EXPECT_EQ(p->exitCode(), 0) << err.constData();
        EXPECT_FALSE(err.contains("locked")) << err.constData();
        EXPECT_EQ(p->readAllStandardOutput(), QByteArray("runs 40\n"));
    }
    auto reg = open();
    ASSERT_TRUE(reg);
    for (const char *module : {"+4930001", "+4930002"}) {
        const QList<RunInfo> runs = reg->runs(QLatin1String(module));
        ASSERT_EQ(runs.size(), 40) << module;
        for (const RunInfo &run : runs) {
            EXPECT_EQ(run.done, 12) << module << " run " << run.id;
            EXPECT_EQ(run.outcome, QStringLiteral("complete"));
        }
    }
}

// A module kept under its port is given its number: into a module the
// register knows, its runs, values and tags are merged (the known module's
// name and site stay, the newer firmware wins); into a new number it is
// renamed. An unknown module cannot be renumbered, and nothing changes.
TEST_P(RegisterTest, PortKeyedModuleIsRenumberedAndMerged) {
    auto reg = open();
    ASSERT_TRUE(reg);
    const QString port = portKey(QStringLiteral("Com1"));
    const QString pump = QStringLiteral("+4930555");
    const auto runOn = [&](const QString &module, const QString &entry, const QByteArray &number,
                           const QString &firmware) {
        const auto run = reg->beginRun({module, QStringLiteral("write"), QStringLiteral("Com1"),
                                        {QStringLiteral("SETNN")}});
        ASSERT_TRUE(run) << reg->lastError().toStdString();
        CommandOutcome o = command(QStringLiteral("SETNN"), QStringLiteral("answered"),
                                   {{entry, slot(21, number), false}});
        o.firmware = firmware;
        ASSERT_TRUE(reg->recordCommand(*run, 0, o));
        ASSERT_TRUE(reg->finishRun(*run, QStringLiteral("complete")));
    };
    runOn(pump, QStringLiteral("AlarmNumbers[1]"), "+111", QStringLiteral("VERSION 1.0"));
    ASSERT_TRUE(reg->describe(pump, QStringLiteral("Tank"), QString()));
    ASSERT_TRUE(reg->addTags(pump, {QStringLiteral("pumps")}));
    runOn(port, QStringLiteral("AlarmNumbers[2]"), "+222", QStringLiteral("VERSION 2.0"));
    ASSERT_TRUE(reg->describe(port, QStringLiteral("On the bench"), QStringLiteral("Workshop")));
    ASSERT_TRUE(reg->addTags(port, {QStringLiteral("pumps"), QStringLiteral("new")}));

    EXPECT_FALSE(reg->renumber(portKey(QStringLiteral("Com9")), pump));
    ASSERT_TRUE(reg->renumber(port, pump)) << reg->lastError().toStdString();
    EXPECT_FALSE(reg->module(port));
    const auto merged = reg->module(pump);
    ASSERT_TRUE(merged);
    EXPECT_EQ(merged->name, QStringLiteral("Tank"));
    EXPECT_EQ(merged->site, QStringLiteral("Workshop"));
    EXPECT_EQ(merged->firmware, QStringLiteral("VERSION 2.0"));
    EXPECT_EQ(merged->tags, (QStringList{QStringLiteral("new"), QStringLiteral("pumps")}));
    EXPECT_EQ(reg->runs(pump).size(), 2);
    const KnownRecord known = knownRecord(reg->confirmations(pump));
    EXPECT_EQ(known.record.AlarmNumber(1), QByteArray("+111"));
    EXPECT_EQ(known.record.AlarmNumber(2), QByteArray("+222"));
    EXPECT_EQ(reg->modules().size(), 1);

    runOn(port, QStringLiteral("AlarmNumbers[3]"), "+333", QString());
    ASSERT_TRUE(reg->renumber(port, QStringLiteral("+4930666")));
    EXPECT_EQ(reg->runs(QStringLiteral("+4930666")).size(), 1);
    EXPECT_EQ(knownRecord(reg->confirmations(QStringLiteral("+4930666"))).record.AlarmNumber(3),
              QByteArray("+333"));
    EXPECT_EQ(reg->runs(pump).size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Backends, RegisterTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto &info) { return std::string(info.param); });

// The first schema's file, as tests/data/register-schema1.sql made it,
// comes up to date in place: a copy of it is kept first, every row stays,
// and what the new version adds works.
TEST(RegisterMigration, SchemaOneFileIsUpdatedAfterACopy) {
    TestRegisters registers;
    QString skip, failure;
    std::optional<Location> location = registers.make(QStringLiteral("sqlite"), &skip, &failure);
    ASSERT_TRUE(location);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(location->path).absolutePath()));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZX_TEST_DATA_DIR "/register-schema1.sqlite"), location->path));
    QFile::setPermissions(location->path, QFile::ReadOwner | QFile::WriteOwner);

    QString error;
    std::unique_ptr<Register> reg = Register::open(*location, &error);
    ASSERT_TRUE(reg) << error.toStdString();
    ASSERT_FALSE(reg->backupPath().isEmpty());
    EXPECT_EQ(permissions(reg->backupPath()), 0600);
    {
        Database copy;
        Location copied;
        copied.path = reg->backupPath();
        ASSERT_EQ(copy.open(copied), QString());
        EXPECT_EQ(schemaVersion(copy, &error), 1) << "the copy is the file as it was";
    }
    const auto pump = reg->module(QStringLiteral("+4930123456"));
    ASSERT_TRUE(pump);
    EXPECT_EQ(pump->name, QStringLiteral("Pump station"));
    EXPECT_EQ(pump->site, QStringLiteral("Nordhafen"));
    EXPECT_EQ(pump->firmware, QString());
    EXPECT_EQ(pump->lastOutcome, QStringLiteral("complete"));

    const KnownRecord known = knownRecord(reg->confirmations(QStringLiteral("+4930123456")));
    EXPECT_EQ(known.record.AlarmNumber(1), QByteArray("+4930999"));
    EXPECT_EQ(known.record.GprsApn(), QByteArray("internet"));
    EXPECT_TRUE(known.secretHash.contains(QStringLiteral("GprsPassword")));

    const QList<RunInfo> old = reg->runs(QStringLiteral("01715550123"));
    ASSERT_EQ(old.size(), 1);
    EXPECT_TRUE(old.first().interrupted) << "the old outcome text became the flag";
    EXPECT_EQ(old.first().done, 1);

    EXPECT_TRUE(reg->addTags(QStringLiteral("+4930123456"), {QStringLiteral("pumps")}));
    EXPECT_EQ(reg->modules(QStringLiteral("pumps")).size(), 1);
    const auto run = reg->beginRun({QStringLiteral("+4930123456"), QStringLiteral("read"), QStringLiteral("Com1"), {}});
    EXPECT_TRUE(run && *run > 2) << "new runs follow the old ones";

    // Opened again, nothing is migrated or copied twice.
    reg.reset();
    reg = Register::open(*location, &error);
    ASSERT_TRUE(reg);
    EXPECT_TRUE(reg->backupPath().isEmpty());
}

// A register of a newer version than this program knows is refused
// untouched.
TEST(RegisterMigration, NewerVersionIsRefused) {
    TestRegisters registers;
    QString skip, failure;
    std::optional<Location> location = registers.make(QStringLiteral("sqlite"), &skip, &failure);
    ASSERT_TRUE(location);
    {
        Database db;
        ASSERT_EQ(db.open(*location), QString());
        QSqlQuery query = db.query();
        ASSERT_TRUE(db.exec(query, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion + 1)));
    }
    QString error;
    EXPECT_FALSE(Register::open(*location, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("newer than this program"))) << error.toStdString();
}

TEST(ModuleNumber, NormalisedOneWay) {
    const struct {
        const char *given;
        const char *key;
    } cases[] = {
        {"+49 30 123-456", "+4930123456"}, {"0049 (30) 123/456", "+4930123456"},
        {"030.123456", "030123456"},       {" 0171 5550123 ", "01715550123"},
        {"++4930", ""},                    {"49a30", ""},
        {"", ""},                          {"+", ""},
        {"4930+1", ""},                    {"00", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(normaliseNumber(QString::fromUtf8(c.given)), QLatin1String(c.key)) << c.given;
}

// What was known at a time, and the changes from then to now.
TEST(KnownRecordTest, StateAtATimeAndChangesSince) {
    const QDateTime t0 = QDateTime::fromString(QStringLiteral("2026-03-01T10:00:00.000Z"), Qt::ISODateWithMs);
    const QList<Confirmation> all = {
        {QStringLiteral("AlarmNumbers[1]"), slot(21, "+4930111"), {}, t0, 1},
        {QStringLiteral("GprsApn"), slot(41, "internet"), {}, t0, 1},
        {QStringLiteral("GprsPassword"), std::nullopt, QStringLiteral("aa"), t0, 1},
        {QStringLiteral("AlarmNumbers[1]"), slot(21, "+4930222"), {}, t0.addDays(1), 2},
        {QStringLiteral("AlarmNumbers[3]"), slot(21, "+4930333"), {}, t0.addDays(1), 2},
        {QStringLiteral("GprsApn"), slot(41, "internet"), {}, t0.addDays(1), 2},
        {QStringLiteral("GprsPassword"), std::nullopt, QStringLiteral("bb"), t0.addDays(1), 2},
    };
    const KnownRecord before = knownRecord(all, t0.addSecs(60));
    const KnownRecord now = knownRecord(all);
    EXPECT_EQ(before.record.AlarmNumber(1), QByteArray("+4930111"));
    EXPECT_EQ(now.record.AlarmNumber(1), QByteArray("+4930222"));
    EXPECT_EQ(now.confirmed.value(QStringLiteral("GprsApn")), t0.addDays(1)) << "confirmed again";
    QStringList changes;
    for (const KnownChange &change : knownChanges(before, now))
        changes << change.text();
    EXPECT_EQ(changes, (QStringList{QStringLiteral("GprsPassword: (password) -> (another password)"),
                                    QStringLiteral("AlarmNumbers[1]: \"+4930111\" -> \"+4930222\""),
                                    QStringLiteral("AlarmNumbers[3]: (not known) -> \"+4930333\"")}));

    // After run 1, even when run 2 confirmed in the millisecond run 1 ended.
    RunInfo first;
    first.id = 1;
    first.ended = t0;
    QList<Confirmation> sameInstant = all;
    for (Confirmation &c : sameInstant)
        c.at = t0;
    EXPECT_EQ(knownAfterRun(sameInstant, first).record.AlarmNumber(1), QByteArray("+4930111"));
    EXPECT_FALSE(knownAfterRun(sameInstant, first).confirmed.contains(QStringLiteral("AlarmNumbers[3]")));

    // The known values as a profile open over a record and keep its others.
    zx::settings::ConfigRecord base;
    base.setAlarmNumber(2, "+4930999");
    const zx::profile::ImportResult opened = zx::profile::importProfileText(
        QJsonDocument(partialProfile(now.record, now.orderedEntries())).toJson(), base);
    ASSERT_TRUE(opened.ok()) << opened.error.toStdString();
    EXPECT_EQ(opened.record.AlarmNumber(1), QByteArray("+4930222"));
    EXPECT_EQ(opened.record.AlarmNumber(2), QByteArray("+4930999"));
    EXPECT_EQ(opened.record.AlarmNumber(3), QByteArray("+4930333"));
    EXPECT_EQ(opened.record.GprsApn(), QByteArray("internet"));
}

} // namespace
