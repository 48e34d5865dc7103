#include "support/SimHarness.h"

#include "settings/FirstRunRecord.h"
#include "ui/widgets/RadioGroup.h"

#include <QRadioButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

namespace {

constexpr int kPumpStepMs = 50;

} // namespace

QByteArray settingModeSettings() { return QByteArray(4096, '\0'); }

QByteArray smsModeSettings(const QByteArray &moduleNumber, bool deleteIncoming) {
    zx::settings::ConfigRecord record = zx::settings::firstRunRecord();
    record.setDeleteIncomingSms(deleteIncoming);
    record.setSmsModeOn(true);
    record.setModuleNumber(moduleNumber);
    return QByteArray(reinterpret_cast<const char *>(record.bytes().data()),
                      zx::settings::ConfigRecord::kSize);
}

SimHarness::SimHarness(zx::sim::Simulator::Mode mode, const zx::sim::FaultOptions &faults) {
    sim.setMode(mode);
    sim.setFaults(faults);
    QObject::connect(&sim, &zx::sim::Simulator::bytesReceived,
                     [this](const QByteArray &bytes) { wire += bytes; });
    QObject::connect(&sim, &zx::sim::Simulator::moduleCommand,
                     [this](const QByteArray &line) { commands.append(line); });
    // linkAs keeps "Com1" pointing at the simulator when it comes back.
    if (sim.start() && !sim.linkAs(1))
        env.mapPort(1, sim.slavePath());
}

SimHarness::~SimHarness() {
    form.reset();
    sim.stop();
}

void SimHarness::open(const QByteArray &settings) {
    env.writeSettings(settings);
    form = std::make_unique<TForm1>();
    form->findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
}

bool SimHarness::pumpUntil(const std::function<bool()> &cond, int timeoutMs, bool withTicks) {
    QElapsedTimer since;
    since.start();
    qint64 nextStep = 0;
    while (!cond()) {
        if (since.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (since.elapsed() >= nextStep) {
            nextStep = since.elapsed() + kPumpStepMs;
            form->CommPortDriver1().PollNow();
            if (withTicks) {
                tick(*form);
                ++ticks;
            }
        } else {
            QThread::msleep(2);
        }
    }
    return true;
}

void SimHarness::pumpFor(int ms, bool withTicks) {
    pumpUntil([] { return false; }, ms, withTicks);
}

bool SimHarness::waitForSimulator(int receivedBytes, int timeoutMs) {
    return waitFor([&] { return wire.size() >= receivedBytes; }, timeoutMs);
}

QString SimHarness::memoText() {
    return child<QPlainTextEdit>(QStringLiteral("MemoSMSinput"))->toPlainText();
}

QString SimHarness::statusMessage() {
    return child<QStatusBar>(QStringLiteral("StatusBar1"))->currentMessage();
}

void SimHarness::clickTab(int index) {
    child<QTabWidget>(QStringLiteral("PageControl1"))->setCurrentIndex(index);
}

void SimHarness::choosePort(int comN) {
    child<zx::ui::RadioGroup>(QStringLiteral("RadioGroupPort"))->button(comN - 1)->click();
}
