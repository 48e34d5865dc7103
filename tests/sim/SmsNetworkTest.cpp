// The simulated network between the modem and several modules, driven
// in-process on a stepped clock: what each module gets, what comes back and
// when, and the count file that records it.
#include "sim/Simulator.h"

#include "SimTestSupport.h"

#include "gsm/PduDecoder.h"
#include "gsm/PduEncoder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <vector>

using zx::sim::Modem;
using zx::sim::NetworkOptions;
using zx::sim::Simulator;

namespace {

constexpr qint64 kStepMs = 250;
constexpr qint64 kSubmitEveryMs = 8000;
constexpr int kSubmissions = 90;
const QByteArray kUnknownNumber = "+4915999999999";

// The numbers as each module is set up, and as the tool sends to them: the
// second differs in form only.
const std::array<QByteArray, 3> kModuleNumbers = {"+4915110000001", "004917220000002",
                                                  "+4916330000003"};
const std::array<QByteArray, 3> kSentTo = {"+4915110000001", "+4917220000002", "004916330000003"};
// Each module is only ever sent its own alarm-number slots, so a command
// that reaches the wrong module shows in its state.
const std::array<std::vector<int>, 3> kSlots = {{{1, 2}, {3, 4}, {5, 6, 7}}};

struct Originated {
    QByteArray originator; // "+" and digits for an international number
    QByteArray timestamp;  // the 14 service-centre time stamp digits
};

// Read straight from the SMS-DELIVER octets.
Originated originOf(const QByteArray &pdu) {
    qsizetype at = 2 + 2 * pdu.left(2).toInt(nullptr, 16) + 2;
    const int digits = pdu.mid(at, 2).toInt(nullptr, 16);
    const bool international = pdu.mid(at + 2, 2) == "91";
    at += 4;
    QByteArray number = international ? "+" : "";
    for (int i = 0; i < digits; ++i)
        number += pdu[at + (i % 2 == 0 ? i + 1 : i - 1)];
    at += 2 * ((digits + 1) / 2) + 4; // the address, PID and DCS
    return {number, pdu.mid(at, 14)};
}

struct Submission {
    int module; // -1: the unknown number
    QByteArray line;
    qint64 atMs;
};

struct Receipt {
    int module;
    QByteArray line;
    qint64 atMs;
    QByteArray expectedAnswer;
    std::vector<QByteArray> copies; // the PDUs that reached the store for it
    std::vector<qint64> arrivals;
};

// Command j to module k: an alarm number, the same line again (as a tool
// resends it), then a read of that slot.
QByteArray commandFor(int k, int j) {
    const std::vector<int> &owned = kSlots[size_t(k)];
    const int slot = owned[size_t(j / 3) % owned.size()];
    if (j % 3 == 2)
        return "GETNR" + QByteArray::number(slot);
    return "SETNN" + QByteArray::number(slot) + " +4930" + QByteArray::number(k) +
           QByteArray::number(j / 3).rightJustified(3, '0');
}

struct NetworkCase {
    const char *name;
    NetworkOptions options;
    int storeCapacity;  // 0: the modem's own 30, never full here
    qint64 readEveryMs; // the tool reads and deletes what came in this often
    bool expectLosses;
    bool expectDuplicates;
    bool expectReordering;
};

class NetworkRun {
public:
    NetworkRun(const NetworkCase &c, const QString &countFile) : m_case(c) {
        Modem &modem = m_simulator.modem();
        modem.state().clock = [this] { return m_base.addMSecs(m_now); };
        modem.state().uptimeMs = [this] { return m_now; };
        modem.state().echo = false;
        modem.state().newMessageIndications = true;
        modem.state().storeCapacity = c.storeCapacity;
        modem.network().setOptions(c.options);
        for (const QByteArray &number : kModuleNumbers)
            m_addedAll = modem.addModule(number) != nullptr && m_addedAll;
        m_duplicateRefused = modem.addModule("+" + kModuleNumbers[1].mid(2)) == nullptr;
        modem.network().onModuleCommand = [this](int module, const QByteArray &line) {
            m_receipts.push_back({module, line, m_now, modelAnswer(module, line), {}, {}});
        };
        m_simulator.setCountFile(countFile);
    }

    bool addedAll() const { return m_addedAll && m_duplicateRefused; }
    Modem &modem() { return m_simulator.modem(); }
    const std::vector<Submission> &submissions() const { return m_submissions; }
    std::vector<Receipt> &receipts() { return m_receipts; }
    int unmatched() const { return m_unmatched; }
    QByteArray stateAnswer(int k, int slot) const {
        const QByteArray number = m_alarmNumbers[size_t(k)].value(slot);
        return "NUM" + QByteArray::number(slot) + ": " + number + ' ';
    }
    QDateTime clockAt(qint64 ms) const { return m_base.addMSecs(ms); }

    // Submits, steps and reads until everything sent has come in or is lost.
    void run() {
        int next = 0;
        std::array<int, 3> sentTo{};
        for (m_now = 0; m_now < kSubmissions * kSubmitEveryMs + 200000; m_now += kStepMs) {
            take(modem().poll());
            if (next < kSubmissions && m_now == next * kSubmitEveryMs) {
                if (next % 10 == 9) {
                    submit(-1, kUnknownNumber, "SETNN1 +4999");
                } else {
                    const int k = next % 3;
                    submit(k, kSentTo[size_t(k)], commandFor(k, sentTo[size_t(k)]++));
                }
                ++next;
            }
            if (m_case.readEveryMs == 0 || m_now % m_case.readEveryMs == 0)
                readStore();
            if (next == kSubmissions && m_unread.empty() && modem().network().inFlight() == 0 &&
                modem().heldAnswers() == 0)
                break;
        }
    }

private:
    QByteArray modelAnswer(int k, const QByteArray &line) {
        const int slot = line.mid(5, 1).toInt();
        if (line.startsWith("SETNN")) {
            m_alarmNumbers[size_t(k)][slot] = line.mid(7);
            return "OK";
        }
        return stateAnswer(k, slot);
    }

    void submit(int module, const QByteArray &number, const QByteArray &line) {
        QByteArray pdu = zx::gsm::TextToPDUConversion(line + '\r', number);
        pdu.chop(1);
        QByteArray out = modem().feed("AT+CMGS=" + QByteArray::number(pdu.size() / 2 - 1) + '\r');
        out += modem().feed(pdu + '\x1A');
        // Accepted at once, whatever becomes of it.
        EXPECT_TRUE(out.contains("\r\n> \r\n+CMGS: ")) << m_case.name << ": " << line.constData();
        EXPECT_TRUE(out.contains("\r\n\r\nOK\r\n")) << m_case.name << ": " << line.constData();
        m_submissions.push_back({module, line, m_now});
        take(out);
    }

    // Notes the "+CMTI:" indices in the modem's output.
    void take(const QByteArray &out) {
        static const QRegularExpression indication(QStringLiteral("\\+CMTI: \"SM\",(\\d+)\r\n"));
        auto matches = indication.globalMatch(QString::fromLatin1(out));
        while (matches.hasNext()) {
            const int index = matches.next().captured(1).toInt();
            m_unread.push_back({index, m_now});
        }
    }

    void readStore() {
        while (!m_unread.empty()) {
            const auto [index, arrivedMs] = m_unread.front();
            m_unread.erase(m_unread.begin());
            const QByteArray reply = modem().feed("AT+CMGR=" + QByteArray::number(index) + '\r');
            const QList<QByteArray> lines = reply.split('\n');
            ASSERT_GE(lines.size(), 3) << m_case.name << ": " << reply.constData();
            ASSERT_TRUE(lines[1].startsWith("+CMGR: 0,,"))
                << m_case.name << ": " << reply.constData();
            match(lines[2].chopped(1), arrivedMs);
            const QByteArray deleted = modem().feed("AT+CMGD=" + QByteArray::number(index) + '\r');
            ASSERT_TRUE(deleted.startsWith("\r\nOK\r\n")) << m_case.name;
            take(deleted);
        }
    }

    // Pairs an arrived answer with the receipt its module answered, by its
    // originator and time stamp: no module gets two commands in one second.
    void match(const QByteArray &pdu, qint64 arrivedMs) {
        const Originated origin = originOf(pdu);
        int found = 0;
        for (Receipt &receipt : m_receipts) {
            if (kModuleNumbers[size_t(receipt.module)] != origin.originator ||
                zx::sim::deliverTimestamp(clockAt(receipt.atMs)) != origin.timestamp)
                continue;
            ++found;
            receipt.copies.push_back(pdu);
            receipt.arrivals.push_back(arrivedMs);
        }
        if (found != 1)
            ++m_unmatched;
    }

    NetworkCase m_case;
    Simulator m_simulator;
    qint64 m_now = 0;
    QDateTime m_base{QDate(2026, 12, 9), QTime(10, 0, 0), QTimeZone(3600)};
    bool m_addedAll = true;
    bool m_duplicateRefused = false;
    std::vector<Submission> m_submissions;
    std::vector<Receipt> m_receipts;
    std::vector<std::pair<int, qint64>> m_unread; // store index, when it came in
    std::array<QMap<int, QByteArray>, 3> m_alarmNumbers;
    int m_unmatched = 0;
};

QJsonObject readJson(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

TEST(SmsNetwork, EachModuleGetsOnlyItsOwnCommandsLateOrNotAtAllAndTheCountFileAgrees) {
    const auto options = [](int min, int max, int loss, int duplicate, int reorder, quint32 seed) {
        NetworkOptions o;
        o.delayMinMs = min;
        o.delayMaxMs = max;
        o.lossPercent = loss;
        o.duplicatePercent = duplicate;
        o.reorderPercent = reorder;
        o.seed = seed;
        return o;
    };
    const NetworkCase cases[] = {
        {"no delay: each answer stored as its command is accepted", options(0, 0, 0, 0, 0, 1), 0, 0,
         false, false, false},
        {"2-20 s, 10% lost, 5% duplicated", options(2000, 20000, 10, 5, 0, 20261209), 0, 0, true,
         true, false},
        {"2-20 s, 10% lost, 5% duplicated, 20% held back", options(2000, 20000, 10, 5, 20, 4711), 0,
         0, true, true, true},
        {"2-20 s into a store of 2 read every 30 s", options(2000, 20000, 0, 20, 0, 99), 2, 30000,
         false, true, false},
    };
    simtest::ensureApplication();
    for (const NetworkCase &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString countFile = dir.filePath(QStringLiteral("counts.json"));
        NetworkRun run(c, countFile);
        ASSERT_TRUE(run.addedAll());
        run.run();
        EXPECT_EQ(run.unmatched(), 0) << "answers that match no module's answer";

        const qint64 minMs = c.options.delayMinMs;
        const qint64 maxMs = c.options.delayMaxMs;
        std::array<std::map<QByteArray, int>, 3> sent;
        int sentToUnknown = 0;
        for (const Submission &s : run.submissions()) {
            if (s.module < 0)
                ++sentToUnknown;
            else
                ++sent[size_t(s.module)][s.line];
        }
        std::array<std::map<QByteArray, int>, 3> received;
        std::array<QList<QByteArray>, 3> firstSeen;
        std::array<int, 3> answersLost{}, answersDuplicated{};
        int lost = 0, duplicated = 0;
        int late = 0; // later than the longest delay: held back, or kept while the store was full
        for (const Receipt &r : run.receipts()) {
            const size_t k = size_t(r.module);
            ASSERT_LT(k, 3u);
            if (received[k][r.line]++ == 0)
                firstSeen[k].append(r.line);
            // The command left the modem no sooner than the delay before,
            // no later than the longest delay and one step.
            bool inTime = false;
            for (const Submission &s : run.submissions()) {
                if (s.module == r.module && s.line == r.line && r.atMs >= s.atMs + minMs &&
                    r.atMs <= s.atMs + maxMs + kStepMs)
                    inTime = true;
            }
            EXPECT_TRUE(inTime) << r.line.constData() << " to module " << k << " at " << r.atMs;
            EXPECT_LE(r.copies.size(), 2u) << r.line.constData();
            for (size_t i = 0; i < r.copies.size(); ++i) {
                EXPECT_EQ(r.copies[i], r.copies[0]) << "a duplicate differs from the first copy";
                EXPECT_GE(r.arrivals[i], r.atMs + minMs) << r.line.constData();
                EXPECT_EQ(zx::gsm::PDUTextConversion(r.copies[i]), r.expectedAnswer);
            }
            for (const qint64 arrived : r.arrivals)
                late += arrived > r.atMs + maxMs + kStepMs;
            answersLost[k] += r.copies.empty();
            answersDuplicated[k] += r.copies.size() == 2;
        }
        // Never more often than sent: the network repeats no command.
        for (size_t k = 0; k < 3; ++k) {
            for (const auto &[line, times] : received[k])
                EXPECT_LE(times, sent[k][line]) << "module " << k << " got " << line.constData();
        }

        const QJsonObject counts = readJson(countFile);
        EXPECT_EQ(counts.value(QStringLiteral("seed")).toInteger(), qint64(c.options.seed));
        EXPECT_EQ(counts.value(QStringLiteral("lostToUnknownNumbers")).toInt(-1), sentToUnknown);
        const QJsonArray modules = counts.value(QStringLiteral("modules")).toArray();
        ASSERT_EQ(modules.size(), 3);
        int commandsLost = 0, reordered = 0;
        for (size_t k = 0; k < 3; ++k) {
            const QJsonObject m = modules[qsizetype(k)].toObject();
            EXPECT_EQ(m.value(QStringLiteral("number")).toString().toLatin1(), kModuleNumbers[k]);
            const QJsonArray lines = m.value(QStringLiteral("received")).toArray();
            ASSERT_EQ(lines.size(), firstSeen[k].size()) << "module " << k;
            int receipts = 0;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QJsonObject entry = lines[i].toObject();
                const QByteArray line = entry.value(QStringLiteral("line")).toString().toLatin1();
                EXPECT_EQ(line, firstSeen[k][i]);
                EXPECT_EQ(entry.value(QStringLiteral("times")).toInt(), received[k][line]);
                receipts += received[k][line];
            }
            int sentCount = 0;
            for (const auto &entry : sent[k])
                sentCount += entry.second;
            EXPECT_EQ(m.value(QStringLiteral("answersSent")).toInt(-1), receipts);
            EXPECT_EQ(m.value(QStringLiteral("commandsLost")).toInt(-1), sentCount - receipts);
            EXPECT_EQ(m.value(QStringLiteral("answersLost")).toInt(-1), answersLost[k]);
            EXPECT_EQ(m.value(QStringLiteral("answersDuplicated")).toInt(-1), answersDuplicated[k]);
            commandsLost += sentCount - receipts;
            lost += answersLost[k];
            duplicated += answersDuplicated[k];
            reordered += m.value(QStringLiteral("answersReordered")).toInt();
            const QJsonObject state = m.value(QStringLiteral("state")).toObject();
            for (int slot = 1; slot <= 7; ++slot) {
                const QString key = QStringLiteral("GETNR%1").arg(slot);
                EXPECT_EQ(state.value(key).toString().toLatin1(), run.stateAnswer(int(k), slot))
                    << "module " << k << ' ' << key.toStdString();
            }
            EXPECT_EQ(state.value(QStringLiteral("GETIP")).toString(),
                      QStringLiteral("IP address: 0.0.0.0"));
        }
        // The row's network did what it is there to try.
        EXPECT_EQ(commandsLost > 0 && lost > 0, c.expectLosses)
            << commandsLost << " commands and " << lost << " answers lost";
        EXPECT_EQ(duplicated > 0, c.expectDuplicates) << duplicated << " duplicated";
        EXPECT_EQ(reordered > 0, c.expectReordering) << reordered << " held back";
        EXPECT_EQ(late > 0, c.expectReordering || c.storeCapacity > 0) << late << " late";
    }
}
