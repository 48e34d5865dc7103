#include "sim/Simulator.h"

#include "SimTestSupport.h"
#include "common/Wire.h"

#include "gsm/PduDecoder.h"
#include "gsm/PduEncoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using zx::sim::FaultOptions;
using zx::sim::Simulator;
using simtest::PortClient;

namespace {

using zx::testing::framed;

struct SimulatorFixture : ::testing::Test {
    static void SetUpTestSuite() { simtest::ensureApplication(); }

    simtest::ScopedConfigHome configHome;
    Simulator simulator;
    QList<QByteArray> commands;
    QList<QByteArray> writes;

    void SetUp() override {
        QObject::connect(&simulator, &Simulator::moduleCommand,
                         [this](const QByteArray &line) { commands.append(line); });
        QObject::connect(&simulator, &Simulator::bytesWritten,
                         [this](const QByteArray &bytes) { writes.append(bytes); });
    }

    void startWith(const FaultOptions &faults) {
        simulator.setFaults(faults);
        ASSERT_TRUE(simulator.start()) << simulator.errorString().toStdString();
    }
};

} // namespace

TEST_F(SimulatorFixture, SettingModeAnswersEachLineFollowedByCrLf) {
    startWith({});
    PortClient tool(simulator.slavePath());
    ASSERT_TRUE(tool.isOpen());
    tool.write(framed("GETVR"));
    EXPECT_EQ(tool.readUntil("\n"), "VERSION 2.07\r\n");
    tool.write("  AT+CSQ\r");
    EXPECT_EQ(tool.readUntil("OK\r\n"), "VERSION 2.07\r\n+CSQ: 17,0\r\n\r\nOK\r\n");
    EXPECT_EQ(commands, (QList<QByteArray>{"GETVR", "  AT+CSQ"}));
}

TEST_F(SimulatorFixture, SmsModeRunsTheModemWithTheModuleBehindIt) {
    simulator.setMode(Simulator::Mode::Sms);
    startWith({});
    simulator.modem().state().echo = false;
    PortClient tool(simulator.slavePath());
    QByteArray pdu = zx::gsm::TextToPDUConversion("SETOU4\r", "+12345");
    pdu.chop(1);
    tool.write("AT+CMGS=18\r");
    EXPECT_EQ(tool.readUntil("> "), "\r\n> ");
    tool.write(pdu + '\x1A');
    EXPECT_TRUE(tool.readUntil("OK\r\n").endsWith("\r\n+CMGS: 1\r\n\r\nOK\r\n"));
    EXPECT_EQ(commands, QList<QByteArray>{"SETOU4"});
    EXPECT_TRUE(simulator.module().state().outputs[3]);
    EXPECT_EQ(simulator.modem().store().size(), 1);
}

TEST_F(SimulatorFixture, SplitFaultWritesTheAnswerInPieces) {
    FaultOptions faults;
    faults.splitPieces = 3;
    faults.splitGapMs = 150;
    startWith(faults);
    PortClient tool(simulator.slavePath());
    tool.write(framed("GETVR"));
    ASSERT_TRUE(simtest::waitFor([this] { return writes.size() == 1; }));
    const QByteArray early = tool.readFor(20);
    EXPECT_FALSE(early.isEmpty());
    EXPECT_TRUE(QByteArray("VERSION 2.07\r\n").startsWith(early));
    EXPECT_LT(early.size(), 14);
    EXPECT_EQ(tool.readUntil("\r\n"), "VERSION 2.07\r\n");
    ASSERT_EQ(writes.size(), 3);
    EXPECT_EQ(writes.join(), "VERSION 2.07\r\n");
}

TEST_F(SimulatorFixture, DelayFaultHoldsTheAnswerBack) {
    FaultOptions faults;
    faults.delayMs = 500;
    startWith(faults);
    PortClient tool(simulator.slavePath());
    tool.write(framed("GETVR"));
    EXPECT_EQ(tool.readFor(150), "");
    EXPECT_EQ(tool.readUntil("\r\n"), "VERSION 2.07\r\n");
}

TEST_F(SimulatorFixture, SilentFaultReadsButNeverAnswers) {
    FaultOptions faults;
    faults.silent = true;
    startWith(faults);
    PortClient tool(simulator.slavePath());
    tool.write(framed("SETOU2"));
    ASSERT_TRUE(simtest::waitFor([this] { return !commands.isEmpty(); }));
    EXPECT_TRUE(simulator.module().state().outputs[1]);
    EXPECT_EQ(tool.readFor(200), "");
}

TEST_F(SimulatorFixture, NoiseFaultSendsGarbageBetweenWholeAnswers) {
    FaultOptions faults;
    faults.noiseBytesPerSec = 400;
    startWith(faults);
    PortClient tool(simulator.slavePath());
    EXPECT_GT(tool.readFor(400).size(), 40);
    tool.write(framed("GETVR"));
    EXPECT_TRUE(tool.readUntil("VERSION 2.07\r\n").contains("VERSION 2.07\r\n"));
    faults.noiseBytesPerSec = 0;
    simulator.setFaults(faults);
    const qsizetype quiet = tool.readFor(50).size();
    EXPECT_EQ(tool.readFor(300).size(), quiet);
}

TEST_F(SimulatorFixture, PortVanishesAndComesBackUnderTheSameLink) {
    startWith({});
    ASSERT_TRUE(simulator.linkAs(2)) << simulator.errorString().toStdString();
    const QString link = configHome.portMap() + QStringLiteral("/com2");
    EXPECT_EQ(simulator.linkPath(), link);
    const QString firstSlave = simulator.slavePath();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), firstSlave);

    PortClient before(link);
    ASSERT_TRUE(before.isOpen());
    simulator.vanish();
    EXPECT_TRUE(simulator.hasVanished());
    EXPECT_FALSE(simulator.isRunning());
    EXPECT_TRUE(before.hungUp());
    // Gone with the device, as a stable name is: a dangling link would lead
    // to whichever terminal is given the old number next.
    EXPECT_FALSE(QFileInfo(link).isSymLink());

    ASSERT_TRUE(simulator.comeBack());
    EXPECT_NE(simulator.slavePath(), firstSlave);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), simulator.slavePath());
    PortClient after(link);
    after.write(framed("GETVR"));
    EXPECT_EQ(after.readUntil("\r\n"), "VERSION 2.07\r\n");

    simulator.stop();
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST_F(SimulatorFixture, VanishAfterFaultRunsOnItsOwn) {
    FaultOptions faults;
    faults.vanishAfterSec = 1;
    int vanished = 0;
    QString cameBackOn;
    QObject::connect(&simulator, &Simulator::vanished, [&] { ++vanished; });
    QObject::connect(&simulator, &Simulator::cameBack, [&](const QString &path) { cameBackOn = path; });
    startWith(faults);
    ASSERT_TRUE(simulator.linkAs(1));
    ASSERT_TRUE(simtest::waitFor([&] { return vanished == 1; }, 3000));
    ASSERT_TRUE(simtest::waitFor([&] { return !cameBackOn.isEmpty(); }, 3000));
    EXPECT_EQ(cameBackOn, simulator.slavePath());
    EXPECT_EQ(QFileInfo(simulator.linkPath()).symLinkTarget(), cameBackOn);
    simtest::spin(1300); // once only
    EXPECT_EQ(vanished, 1);
    EXPECT_TRUE(simulator.isRunning());
}

TEST_F(SimulatorFixture, LinkReplacesOnlyWhatItMayReplace) {
    startWith({});
    const QString ports = configHome.portMap();
    ASSERT_TRUE(QDir().mkpath(ports));

    QFile regular(ports + QStringLiteral("/com3"));
    ASSERT_TRUE(regular.open(QIODevice::WriteOnly));
    regular.close();
    EXPECT_FALSE(simulator.linkAs(3));
    EXPECT_FALSE(simulator.linkAs(3, true));
    EXPECT_FALSE(QFileInfo(regular.fileName()).isSymLink());

    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), ports + QStringLiteral("/com4")));
    EXPECT_FALSE(simulator.linkAs(4));
    EXPECT_EQ(QFileInfo(ports + QStringLiteral("/com4")).symLinkTarget(), QStringLiteral("/dev/null"));
    EXPECT_TRUE(simulator.linkAs(4, true));
    EXPECT_EQ(QFileInfo(ports + QStringLiteral("/com4")).symLinkTarget(), simulator.slavePath());

    // Left behind by a simulator that did not stop.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/pts/999999"), ports + QStringLiteral("/com5")));
    EXPECT_TRUE(simulator.linkAs(5));
    EXPECT_EQ(QFileInfo(ports + QStringLiteral("/com5")).symLinkTarget(), simulator.slavePath());
    EXPECT_FALSE(QFileInfo::exists(ports + QStringLiteral("/com4"))); // moved on from com4

    EXPECT_FALSE(simulator.linkAs(17));
}

TEST_F(SimulatorFixture, StopLeavesALinkThatWasRepointedSinceAlone) {
    startWith({});
    ASSERT_TRUE(simulator.linkAs(6));
    const QString link = simulator.linkPath();
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), link));
    simulator.stop();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QStringLiteral("/dev/null"));
}
