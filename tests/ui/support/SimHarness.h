#pragma once
// The window and the simulated module (or modem) on one event loop: the
// simulator serves "Com1", the window is built on a private settings file,
// its one-second timer is stopped and the tests drive the ticks and the
// driver's polling themselves.
#include "support/UiTestEnv.h"
#include "ui/Unit1.h"
#include "sim/Simulator.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// A 4096-byte settings file: all zero, or the first-run record with SMS mode
// on, the module's telephone number and incoming messages deleted after
// reading (or not).
QByteArray settingModeSettings();
QByteArray smsModeSettings(const QByteArray &moduleNumber, bool deleteIncoming = true);

class SimHarness {
public:
    // Starts the simulator in the mode and with the faults given; the window
    // is built by open() so that a test can still prepare the simulator.
    explicit SimHarness(zx::sim::Simulator::Mode mode, const zx::sim::FaultOptions &faults = {});
    ~SimHarness();
    SimHarness(const SimHarness &) = delete;
    SimHarness &operator=(const SimHarness &) = delete;

    bool simulatorRunning() const { return sim.isRunning(); }
    // Writes the settings and builds the window; Timer1 is stopped.
    void open(const QByteArray &settings);

    // Runs the event loop until cond() holds; about every 50 ms the driver
    // collects what arrived and (with ticks) the window's timer ticks once.
    bool pumpUntil(const std::function<bool()> &cond, int timeoutMs = 3000, bool withTicks = true);
    // The same for a fixed time, for the "nothing more happens" checks.
    void pumpFor(int ms, bool withTicks = true);
    // The simulator gets every byte the window wrote so far.
    bool waitForSimulator(int receivedBytes, int timeoutMs = 2000);

    TForm1 &window() { return *form; }
    template <typename T> T *child(const QString &name) {
        auto *w = form->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    QString memoText();
    QString statusMessage();
    void clickTab(int index);
    // Clicks the ComN item of "Serial Port".
    void choosePort(int comN);

    // What the simulator received: every byte, and each module command line.
    QByteArray wire;
    QList<QByteArray> commands;
    int ticks = 0;

    UiTestEnv env;
    zx::sim::Simulator sim;
    std::unique_ptr<TForm1> form;
};
