// SMS jobs against the simulated modem and its network, in-process, on each
// register backend: several modules at once over a network that loses and
// duplicates, the program stopped anywhere and started again, and a store
// that holds messages that answer nothing.
#include "TestRegisters.h"
#include "register/Journal.h"
#include "register/KnownRecord.h"
#include "register/Register.h"
#include "provision/ReadPlan.h"
#include "register/SmsRuns.h"
#include "remote/ModemLink.h"
#include "remote/SmsEngine.h"
#include "gsm/PduDeliver.h"
#include "sim/Modem.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QSqlQuery>
#include <QSysInfo>
#include <QEventLoop>
#include <QTimer>

#include <memory>

using namespace zx;
using zx::reg::testing::TestRegisters;

namespace {

QCoreApplication &app() {
    static int argc = 1;
    static char name[] = "register_tests";
    static char *argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

const QByteArray kModules[] = {"+4915111", "+4915222", "+4915333"};

// The simulated modem at the far end of the line: what the tool writes is fed
// to it, what it answers comes back from the event loop, and what its
// network delivers is stored and announced as time goes on.
struct SimulatedModem : channel::ChannelPort {
    sim::Module fallback;
    sim::Modem modem{fallback};
    remote::ModemLink *link = nullptr;
    QTimer clock;
    int seconds = 0;
    int submissions = 0;

    SimulatedModem() {
        modem.state().newMessageIndications = true;
        // Each answer a second after the one before, as a network's would be.
        modem.state().clock = [this] { return QDateTime(QDate(2026, 12, 9), QTime(8, 0)).addSecs(seconds++); };
        QObject::connect(&clock, &QTimer::timeout, &clock, [this] { deliver(modem.poll()); });
        clock.start(5);
    }
    bool write(const QByteArray &bytes) override {
        submissions += bytes.count('\x1A');
        deliver(modem.feed(bytes));
        return true;
    }
    void deliver(const QByteArray &bytes) {
        if (!bytes.isEmpty())
            QTimer::singleShot(0, &clock, [this, bytes] {
                if (link)
                    link->receive(bytes);
            });
    }
    int moduleIndex(const QByteArray &number) {
        for (int i = 0; i < modem.network().moduleCount(); ++i)
            if (modem.network().moduleNumber(i) == number)
                return i;
        return -1;
    }
    int received(const QByteArray &number, const QByteArray &line) {
        for (const auto &[got, times] : modem.network().counts(moduleIndex(number)).received)
            if (got == line)
                return times;
        return 0;
    }
};

remote::SmsCommand command(const QByteArray &module, int seq, const QByteArray &line,
                           const QString &entry) {
    remote::SmsCommand c;
    c.module = QString::fromLatin1(module);
    c.seq = seq;
    c.line = line;
    c.shownLine = QString::fromLatin1(line);
    c.entries = {entry};
    return c;
}

QByteArray alarmNumber(int n) { return "+4930100" + QByteArray::number(n); }

// One session of the program: the engine on the modem until the job ends, or
// until it is dropped at once after stopAfter changes (as a kill would).
// Returns whether the job ended.
bool session(reg::Register &reg, SimulatedModem &wire, remote::SmsJob job, int stopAfter,
             settings::ConfigRecord record = {}, QString *failure = nullptr, int *duplicates = nullptr) {
    reg::Journal journal(reg);
    auto link = std::make_unique<remote::ModemLink>(wire, channel::ChannelTiming::forBaud(115200));
    wire.link = link.get();
    auto engine = std::make_unique<remote::SmsEngine>(*link, journal, remote::SmsEngineTimes{40, 50, 0, 3});
    QEventLoop loop;
    int changes = 0;
    bool dropped = false;
    reg::SmsRuns runs(reg, engine->job(), record);
    QObject::connect(engine.get(), &remote::SmsEngine::commandChanged, &loop, [&](const remote::SmsCommand &c) {
        if (remote::isFinal(c.state))
            runs.done(c);
        if (++changes == stopAfter) {
            dropped = true;
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        }
    });
    QObject::connect(engine.get(), &remote::SmsEngine::finished, &loop, &QEventLoop::quit);
    engine->run(job);
    runs.begin();
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    const bool ended = engine->job().state == QLatin1String("finished") && !dropped;
    if (duplicates)
        *duplicates = engine->duplicateMessages();
    if (failure) {
        *failure = engine->failure();
    } else {
        EXPECT_TRUE(engine->failure().isEmpty()) << engine->failure().toStdString();
    }
    // A kill leaves no trace beyond what is already kept.
    wire.link = nullptr;
    engine.reset();
    link.reset();
    return ended;
}

class SmsJobTest : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override {
        app();
        QString skip, failure;
        location = registers.make(QLatin1String(GetParam()), &skip, &failure);
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        if (!location)
            GTEST_SKIP() << skip.toStdString();
        QString error;
        reg = reg::Register::open(*location, &error);
        ASSERT_TRUE(reg) << error.toStdString();
    }
    TestRegisters registers;
    std::optional<reg::Location> location;
    std::unique_ptr<reg::Register> reg;
};

} // namespace

// Four alarm numbers to each of three modules over a network that loses a
// fifth and duplicates a fifth of the SMS, with the program stopped after
// every few steps: each time it goes on from the journal. At the end every
// command is answered or given up, no module got a command more often than
// it was handed to the modem, every SMS the modem sent is counted in the
// journal, and what the register knows each module holds is what it holds.
TEST_P(SmsJobTest, LossyNetworkAndStopsAnywhereEndWithATrueJournal) {
    struct Case {
        const char *name;
        int stopEvery; // 0: never
        quint32 seed;
    };
    const Case cases[] = {{"never stopped", 0, 7}, {"stopped every 3 steps", 3, 11}, {"stopped every 5 steps", 5, 23}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedModem wire;
        wire.modem.network().setOptions({10, 60, 20, 20, 0, c.seed, false});
        for (const QByteArray &number : kModules)
            wire.modem.network().addModule(number);
        remote::SmsJob job;
        job.modemPort = QStringLiteral("Com5");
        job.timeoutMs = 500;
        job.retries = 4;
        // One profile for all three: four alarm numbers.
        settings::ConfigRecord record;
        for (int n = 1; n <= 4; ++n)
            ASSERT_TRUE(provision::setReadableValue(record, QStringLiteral("AlarmNumbers[%1]").arg(n), alarmNumber(n)));
        for (const QByteArray &module : kModules)
            for (int n = 1; n <= 4; ++n)
                job.commands << command(module, n - 1, "SETNN" + QByteArray::number(n) + ' ' + alarmNumber(n),
                                        QStringLiteral("AlarmNumbers[%1]").arg(n));
        reg::Journal journal(*reg);
        ASSERT_TRUE(journal.create(job));
        int sessions = 0;
        bool ended = false;
        while (!ended && sessions < 60) {
            ++sessions;
            ended = session(*reg, wire, *journal.job(job.id), c.stopEvery, record);
        }
        ASSERT_TRUE(ended) << "after " << sessions << " sessions";
        if (c.stopEvery > 0) {
            EXPECT_GT(sessions, 3);
        }
        const remote::SmsJob done = *journal.job(job.id);
        EXPECT_EQ(done.state, QStringLiteral("finished"));
        int attempts = 0;
        for (const remote::SmsCommand &cmd : done.commands) {
            SCOPED_TRACE(cmd.shownLine.toStdString() + " to " + cmd.module.toStdString());
            ASSERT_TRUE(cmd.state == remote::SmsState::Answered || cmd.state == remote::SmsState::GivenUp)
                << remote::smsStateName(cmd.state).toStdString();
            attempts += cmd.attempts;
            // Given up only once every retry was used.
            if (cmd.state == remote::SmsState::GivenUp) {
                EXPECT_EQ(cmd.attempts, job.retries + 1);
            }
            const int times = wire.received(cmd.module.toLatin1(), cmd.line);
            EXPECT_LE(times, cmd.attempts);
            if (cmd.state == remote::SmsState::Answered) {
                EXPECT_GE(times, 1);
            }
            // What the module holds, and what the register knows of it.
            const sim::ModuleState &state =
                wire.modem.network().module(wire.moduleIndex(cmd.module.toLatin1())).state();
            const int n = cmd.line.mid(5, 1).toInt();
            const reg::KnownRecord known = reg::knownRecord(reg->confirmations(cmd.module));
            const auto value = reg::entryBytes(known.record, cmd.entries.first());
            if (cmd.state == remote::SmsState::Answered) {
                EXPECT_EQ(state.alarmNumbers.at(std::size_t(n - 1)).trimmed(), cmd.line.mid(7));
                EXPECT_EQ(value.mid(1, quint8(value.at(0))), cmd.line.mid(7));
                EXPECT_TRUE(known.entries().contains(cmd.entries.first()));
            }
        }
        // Every SMS that left was kept as an attempt before it left.
        EXPECT_LE(wire.submissions, attempts);
        EXPECT_GE(done.countIn(remote::SmsState::Answered), 6);
    }
}

// The store holds an old answer of a module and a message of someone else
// before the job, and the network sends every answer twice: the old one and
// the copies answer nothing, the stranger's message stays for the user, and
// a command the module refuses is refused, not sent again.
TEST_P(SmsJobTest, OldForeignAndDuplicateMessagesAnswerNothing) {
    SimulatedModem wire;
    wire.modem.network().setOptions({5, 20, 0, 100, 0, 3, false});
    wire.modem.network().addModule(kModules[0]);
    wire.modem.store().add(gsm::buildDeliverPdu(kModules[0], "OK", "62109080000000"));
    wire.modem.store().add(gsm::buildDeliverPdu("+4917099", "Hello", "62109080000000"));
    remote::SmsJob job;
    job.modemPort = QStringLiteral("Com5");
    job.timeoutMs = 400;
    job.retries = 1;
    job.commands << command(kModules[0], 0, "SETNN1 +4930111", QStringLiteral("AlarmNumbers[1]"))
                 << command(kModules[0], 1, "SETNN9 +4930999", QStringLiteral("AlarmNumbers[9]"))
                 << command(kModules[0], 2, "GETNR1", QStringLiteral("AlarmNumbers[1]"));
    reg::Journal journal(*reg);
    ASSERT_TRUE(journal.create(job));
    int duplicates = -1;
    ASSERT_TRUE(session(*reg, wire, job, 0, {}, nullptr, &duplicates));
    // Each copy is set aside once, however often listings see it before it
    // is deleted; the last answer's copy may come after the job's end.
    const int copies = wire.modem.network().counts(0).answersDuplicated;
    EXPECT_LE(duplicates, copies);
    EXPECT_GE(duplicates, copies - 1);
    const remote::SmsJob done = *journal.job(job.id);
    ASSERT_EQ(done.commands.size(), 3);
    EXPECT_EQ(done.commands.at(0).state, remote::SmsState::Answered);
    EXPECT_EQ(done.commands.at(0).attempts, 1);
    EXPECT_EQ(done.commands.at(1).state, remote::SmsState::Refused);
    EXPECT_EQ(done.commands.at(1).attempts, 1);
    EXPECT_EQ(done.commands.at(2).state, remote::SmsState::Answered);
    EXPECT_TRUE(done.commands.at(2).answer.startsWith("NUM1: +4930111")) << done.commands.at(2).answer.constData();
    EXPECT_EQ(wire.received(kModules[0], "GETNR1"), 1);
    // Left: the old answer and the stranger's message; every copy is gone.
    ASSERT_EQ(wire.modem.store().size(), 2);
}

// A modem that will not send (no SMS centre number) stops the job after three
// refusals in a row, with nothing counted as sent or given up; once it sends,
// the job resumes and ends.
TEST_P(SmsJobTest, ModemThatRefusesToSendStopsTheJobUntouched) {
    SimulatedModem wire;
    wire.modem.state().refuseSubmitCode = 330;
    remote::SmsJob job;
    job.modemPort = QStringLiteral("Com5");
    job.timeoutMs = 400;
    for (int n = 1; n <= 2; ++n)
        job.commands << command(kModules[n - 1], 0, "SETNN1 +4930111", QStringLiteral("AlarmNumbers[1]"));
    reg::Journal journal(*reg);
    ASSERT_TRUE(journal.create(job));
    QString failure;
    EXPECT_FALSE(session(*reg, wire, job, 0, {}, &failure));
    EXPECT_TRUE(failure.contains(QLatin1String("refused to send 3 SMS in a row"))) << failure.toStdString();
    EXPECT_TRUE(failure.contains(QLatin1String("330"))) << failure.toStdString();
    remote::SmsJob kept = *journal.job(job.id);
    EXPECT_EQ(kept.state, QStringLiteral("running"));
    for (const remote::SmsCommand &c : kept.commands) {
        EXPECT_EQ(c.state, remote::SmsState::ToSend);
        EXPECT_EQ(c.attempts, 0);
    }
    wire.modem.state().refuseSubmitCode = 0;
    ASSERT_TRUE(session(*reg, wire, kept, 0));
    kept = *journal.job(job.id);
    EXPECT_EQ(kept.countIn(remote::SmsState::Answered), 2);
    EXPECT_EQ(kept.handOvers(), 2);
}

// One program at a time runs a job: another that is still there holds it
// (on this machine while its process lives; on another one until taken
// over), so that its commands are never sent twice at once.
TEST_P(SmsJobTest, AJobIsRunByOneProgramAtATime) {
    remote::SmsJob job;
    job.modemPort = QStringLiteral("Com5");
    job.commands << command(kModules[0], 0, "SETNN1 +4930111", QStringLiteral("AlarmNumbers[1]"));
    reg::Journal journal(*reg);
    ASSERT_TRUE(journal.create(job));
    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(other.waitForStarted());
    const auto holdBy = [&](const QString &host, qint64 pid) {
        QSqlQuery query = reg->database().query();
        ASSERT_TRUE(reg->database().exec(query, QStringLiteral("UPDATE sms_jobs SET runner_host = ?, runner_pid = ? WHERE id = ?"),
                                         {host, pid, job.id}));
    };
    QString holder;
    holdBy(QSysInfo::machineHostName(), other.processId());
    EXPECT_FALSE(journal.claim(job.id, false, &holder));
    EXPECT_TRUE(holder.contains(QString::number(other.processId()))) << holder.toStdString();
    other.kill();
    other.waitForFinished();
    EXPECT_TRUE(journal.claim(job.id, false, &holder)) << holder.toStdString();
    holdBy(QStringLiteral("elsewhere.example"), 4242);
    EXPECT_FALSE(journal.claim(job.id, false, &holder));
    EXPECT_TRUE(holder.contains(QLatin1String("elsewhere.example"))) << holder.toStdString();
    EXPECT_TRUE(journal.claim(job.id, true, &holder));
    journal.release(job.id);
    holdBy(QStringLiteral("elsewhere.example"), 0);
    EXPECT_TRUE(journal.claim(job.id, false, &holder));
}

INSTANTIATE_TEST_SUITE_P(Backends, SmsJobTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto &info) { return std::string(info.param); });
