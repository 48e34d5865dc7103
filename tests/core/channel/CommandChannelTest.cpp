#include "channel/CommandChannel.h"
#include "common/ModuleTranscript.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace zx::channel;

namespace {

QCoreApplication &app() {
    static int argc = 1;
    static char name[] = "channel_tests";
    static char *argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// A peer that answers each written line with scripted chunks, each after
// its own delay from the write.
struct ScriptedPort : ChannelPort {
    struct Chunk {
        int afterMs;
        QByteArray bytes;
    };
    CommandChannel *channel = nullptr;
    QList<QList<Chunk>> answers; // one script per write, in order
    QList<QByteArray> written;
    bool fail = false;

    bool write(const QByteArray &bytes) override {
        if (fail)
            return false;
        const qsizetype n = written.size();
        written << bytes;
        for (const Chunk &chunk : n < answers.size() ? answers.at(n) : QList<Chunk>{})
            QTimer::singleShot(chunk.afterMs, Qt::PreciseTimer, channel,
                               [this, b = chunk.bytes] { channel->receive(b); });
        return true;
    }
};

Exchange moduleExchange(const QByteArray &command, int timeoutMs = 300) {
    Exchange e;
    e.command = command;
    e.bytes = "              SETUP:" + command + "\r" + QByteArray(1, '\0');
    e.rule = moduleAnswerRule(command);
    e.timeoutMs = timeoutMs;
    return e;
}

struct ChannelRun {
    QList<ExchangeResult> results;
    QList<QByteArray> unsolicited;
    qsizetype stray = 0;
};

// Submits every exchange at once and waits until each has finished.
ChannelRun runAll(ScriptedPort &port, const QList<Exchange> &exchanges) {
    app();
    CommandChannel channel(port, ChannelTiming::forBaud(115200));
    port.channel = &channel;
    ChannelRun run;
    QEventLoop loop;
    QObject::connect(&channel, &CommandChannel::finished, &loop,
                     [&](int, const ExchangeResult &r) {
                         run.results << r;
                         if (run.results.size() == exchanges.size())
                             loop.quit();
                     });
    QObject::connect(&channel, &CommandChannel::unsolicited, &loop,
                     [&](const QByteArray &line) { run.unsolicited << line; });
    for (const Exchange &e : exchanges)
        channel.submit(e);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    // Late bytes still due are counted as stray too.
    QEventLoop settle;
    QTimer::singleShot(50, &settle, &QEventLoop::quit);
    settle.exec();
    run.stray = channel.strayBytes();
    return run;
}

const QByteArray kEcho = "              SETUP:SETNN3 +4917012345\r" + QByteArray(1, '\0');

} // namespace

TEST(CommandChannel, EndsEachExchangeAsItsAnswerSays) {
    struct Case {
        const char *name;
        QByteArray command;
        QList<ScriptedPort::Chunk> peer;
        Outcome outcome;
        QByteArray answer;   // for Answered and Refused
        const char *reason;  // a part of it
        qsizetype stray;
    };
    const Case cases[] = {
        {"keyed answer", "GETNR3", {{5, "NUM3: +4917012345 \r\n"}}, Outcome::Answered,
         "NUM3: +4917012345 \r\n", "", 0},
        {"late answer to another command first", "GETNR3",
         {{5, "APN: internet\r\n"}, {10, "NUM3:  \r\n"}}, Outcome::Answered, "NUM3:  \r\n", "", 15},
        {"write acknowledged", "SETNN3 +4917012345", {{5, "OK\r\n"}}, Outcome::Answered, "OK\r\n",
         "", 0},
        {"write refused", "SETNN3 +4917012345", {{5, "ERROR\r\n"}}, Outcome::Refused,
         "ERROR\r\n", "refused", 0},
        {"echoing modem refuses the module line", "SETNN3 +4917012345",
         {{2, kEcho}, {8, "\r\nERROR\r\n"}}, Outcome::Refused, "ERROR\r\n", "", kEcho.size() + 2},
        {"echo alone is no answer", "GETNR3", {{2, "              SETUP:GETNR3\r"}},
         Outcome::NotRecognised, "", "not an answer", 27},
        {"silent", "GETNR3", {}, Outcome::NoAnswer, "", "", 0},
        {"modem error in words", "SETNN3 +4917012345", {{5, "\r\n+CMS ERROR: 330\r\n"}},
         Outcome::Refused, "+CMS ERROR: 330\r\n", "no SMS centre number", 0},
        {"free answer without a line end", "GETVR", {{5, "VERSION 1.2"}}, Outcome::Answered,
         "VERSION 1.2", "", 0},
        {"unsolicited line inside the reply", "SETNN3 +4917012345",
         {{3, "\r\nRI"}, {6, "NG\r\n"}, {9, "OK\r\n"}}, Outcome::Answered, "OK\r\n", "", 6},
        {"line noise before the answer", "GETNR3", {{5, "\x01\xfe" "NUM3: +49 \r\n"}},
         Outcome::Answered, "NUM3: +49 \r\n", "", 2},
        {"line noise before an acknowledgement", "SETNN3 +4917012345", {{5, "\x13\xe0OK\r\n"}},
         Outcome::Answered, "OK\r\n", "", 2},
        {"noise without a line end is not the answer", "GETNR3", {{5, "\x13\x7f!"}},
         Outcome::NotRecognised, "", "not an answer", 3},
        {"keyed answer with a pause longer than the quiet gap", "GETNR3",
         {{5, "NUM3: +49"}, {160, "17012 \r\n"}}, Outcome::Answered, "NUM3: +4917012 \r\n", "", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPort port;
        port.answers = {c.peer};
        const ChannelRun run = runAll(port, {moduleExchange(c.command)});
        ASSERT_EQ(run.results.size(), 1);
        const ExchangeResult &r = run.results.first();
        EXPECT_EQ(outcomeName(r.outcome), outcomeName(c.outcome));
        if (c.outcome == Outcome::Answered || c.outcome == Outcome::Refused) {
            EXPECT_EQ(r.answer, c.answer);
        }
        EXPECT_TRUE(r.reason.contains(QLatin1String(c.reason))) << r.reason.toStdString();
        EXPECT_EQ(run.stray, c.stray);
        EXPECT_EQ(port.written, QList<QByteArray>{moduleExchange(c.command).bytes});
    }
}

// However the port cuts the answer, the exchange ends with the same line.
TEST(CommandChannel, AnswerSplitAtEveryPositionIsTheSameAnswer) {
    const QByteArray answer = "\r\nRING\r\nNUM3: +4917012345 \r\n";
    for (qsizetype cut = 1; cut < answer.size(); ++cut) {
        ScriptedPort port;
        port.answers = {{{2, answer.left(cut)}, {4, answer.mid(cut)}}};
        const ChannelRun run = runAll(port, {moduleExchange("GETNR3")});
        ASSERT_EQ(run.results.size(), 1);
        EXPECT_EQ(run.results.first().outcome, Outcome::Answered) << "cut at " << cut;
        EXPECT_EQ(run.results.first().answer, "NUM3: +4917012345 \r\n") << "cut at " << cut;
        EXPECT_EQ(run.unsolicited, QList<QByteArray>{"RING"}) << "cut at " << cut;
    }
}

// A module slower than the time-out: its answer to one command arrives while
// the next is on the line, and must not become that command's answer.
TEST(CommandChannel, LateAnswersNeverBecomeTheNextCommandsAnswer) {
    ScriptedPort port;
    port.answers = {{{400, "NUM2: +111 \r\n"}},
                    {{400, "NUM3: +333 \r\n"}},
                    {{10, "NUM4: +444 \r\n"}}};
    const ChannelRun run = runAll(port, {moduleExchange("GETNR2", 200), moduleExchange("GETNR3", 200),
                                  moduleExchange("GETNR4", 200)});
    ASSERT_EQ(run.results.size(), 3);
    EXPECT_EQ(run.results.at(0).outcome, Outcome::NoAnswer);
    EXPECT_NE(run.results.at(1).outcome, Outcome::Answered);
    EXPECT_EQ(run.results.at(2).outcome, Outcome::Answered);
    EXPECT_EQ(run.results.at(2).answer, "NUM4: +444 \r\n");
}

// After a time-out the next command waits for the line to be quiet, but
// noise that never stops holds it only as long as a late answer could take.
TEST(CommandChannel, EndlessNoiseAfterATimeOutDoesNotHoldTheNextCommand) {
    app();
    ScriptedPort port;
    CommandChannel channel(port, ChannelTiming::forBaud(115200));
    port.channel = &channel;
    QList<ExchangeResult> results;
    QObject::connect(&channel, &CommandChannel::finished,
                     [&](int, const ExchangeResult &r) { results << r; });
    QTimer noise;
    noise.setInterval(5);
    QObject::connect(&noise, &QTimer::timeout, &channel, [&] { channel.receive("\x13\x7f"); });
    channel.submit(moduleExchange("GETNR2", 100));
    channel.submit(moduleExchange("GETNR3", 100));
    noise.start();
    QElapsedTimer since;
    since.start();
    while (port.written.size() < 2 && since.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    noise.stop();
    ASSERT_EQ(port.written.size(), 2) << "the next command waited for the noise to end";
    ASSERT_FALSE(results.isEmpty());
    EXPECT_EQ(results.first().outcome, Outcome::NotRecognised);
}

TEST(CommandChannel, CancelAndPortLossEndEveryQueuedExchangeAtOnce) {
    app();
    for (const bool lose : {false, true}) {
        ScriptedPort port;
        CommandChannel channel(port, ChannelTiming::forBaud(9600));
        port.channel = &channel;
        QList<Outcome> outcomes;
        QObject::connect(&channel, &CommandChannel::finished, &channel,
                         [&](int, const ExchangeResult &r) { outcomes << r.outcome; });
        for (const char *command : {"GETNR1", "GETNR2", "GETNR3"})
            channel.submit(moduleExchange(command, 3000));
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        ASSERT_EQ(port.written.size(), 1);
        if (lose)
            channel.portLost(QStringLiteral("the device was unplugged"));
        else
            channel.cancelAll();
        const Outcome expected = lose ? Outcome::PortError : Outcome::Cancelled;
        EXPECT_EQ(outcomes, (QList<Outcome>{expected, expected, expected}));
        EXPECT_FALSE(channel.busy());
        EXPECT_EQ(port.written.size(), 1);
    }
}

// Every answer the module gives in the transcript is the answer to its own
// command by that command's rule, and a refusal exactly when it says ERROR.
TEST(CommandChannel, TranscriptAnswersMeetTheirCommandsRules) {
    int judged = 0;
    for (const zx::test::TranscriptExchange &step : zx::test::moduleTranscript()) {
        const QByteArray command = step.command.trimmed();
        if (command.isEmpty() || command.startsWith("AT") || step.answer.isEmpty())
            continue;
        const QByteArray line = step.answer.split('\r').constFirst();
        const LineVerdict verdict = judgeLine(moduleAnswerRule(step.command), step.command, line);
        const LineVerdict expected =
            line == "ERROR" ? LineVerdict::Refusal : LineVerdict::Answer;
        EXPECT_EQ(int(verdict), int(expected))
            << "transcript line " << step.lineNumber << ": " << step.command.constData() << " <- "
            << line.constData();
        ++judged;
    }
    EXPECT_GT(judged, 100);
}

// A modem's prompt ends its exchange as soon as it is there (no line end
// comes after it); a modem command's reply runs to its final code, with the
// echo left out and its own reports told apart, also after the reply.
TEST(CommandChannel, ModemRepliesEndAtThePromptOrTheFinalCode) {
    const QByteArray pdu = "0011000B919451110000F00000AA05C7F79B0C00";
    struct Case {
        const char *name;
        AnswerRule::Kind kind;
        QByteArray command;
        QList<ScriptedPort::Chunk> peer;
        Outcome outcome;
        QByteArray answer;
        QList<QByteArray> reports;
    };
    const Case cases[] = {
        {"prompt after the echo", AnswerRule::Kind::Prompt, "AT+CMGS=20",
         {{2, "AT+CMGS=20\r"}, {4, "\r\n> "}}, Outcome::Answered, "> ", {}},
        {"bare prompt on the echo's line", AnswerRule::Kind::Prompt, "AT+CMGS=20",
         {{2, "AT+CMGS=20\r>"}}, Outcome::Answered, "> ", {}},
        {"refusal instead of the prompt", AnswerRule::Kind::Prompt, "AT+CMGS=20",
         {{2, "AT+CMGS=20\r\r\n+CMS ERROR: 330\r\n"}}, Outcome::Refused, "+CMS ERROR: 330\r\n", {}},
        {"a ring is no prompt", AnswerRule::Kind::Prompt, "AT+CMGS=20",
         {{2, "\r\nRING\r\n"}}, Outcome::NoAnswer, "", {"RING"}},
        {"submission result after the echoed PDU", AnswerRule::Kind::ModemFinal, pdu,
         {{2, pdu + "\x1A"}, {6, "\r\n+CMGS: 17\r\n"}, {8, "\r\nOK\r\n+CMTI: \"SM\",3\r\n"}},
         Outcome::Answered, "+CMGS: 17\r\nOK\r\n", {"+CMTI: \"SM\",3"}},
        {"listing with a report in it", AnswerRule::Kind::ModemFinal, "AT+CMGL=4",
         {{2, "AT+CMGL=4\r\r\n+CMGL: 1,0,,20\r\n"},
          {5, "0004059121430000621070210000000241\r\n+CREG: 1\r\n"},
          {7, "\r\nOK\r\n"}},
         Outcome::Answered, "+CMGL: 1,0,,20\r\n0004059121430000621070210000000241\r\nOK\r\n",
         {"+CREG: 1"}},
        {"empty store refused", AnswerRule::Kind::ModemFinal, "AT+CMGL=4",
         {{2, "\r\n+CMS ERROR: 321\r\n"}}, Outcome::Refused, "+CMS ERROR: 321\r\n", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Exchange e;
        e.command = c.command;
        e.bytes = c.command + (c.kind == AnswerRule::Kind::Prompt ? "\r" : "\x1A");
        e.rule.kind = c.kind;
        e.timeoutMs = 200;
        ScriptedPort port;
        port.answers = {c.peer};
        const ChannelRun run = runAll(port, {e});
        ASSERT_EQ(run.results.size(), 1);
        EXPECT_EQ(outcomeName(run.results.first().outcome), outcomeName(c.outcome));
        if (c.outcome != Outcome::NoAnswer) {
            EXPECT_EQ(run.results.first().answer, c.answer);
        }
        EXPECT_EQ(run.unsolicited, c.reports);
    }
}
