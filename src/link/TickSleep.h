#pragma once
// The one-second tick without waking the process for nothing: after each
// tick the timer sleeps through the ticks that would only count (at most a
// minute's worth), and they are counted when it wakes. Any activity on the
// line brings the tick back to once a second at once.
#include <QElapsedTimer>

class QTimer;

namespace zx::link {

class Link;

class TickSleep {
public:
    static constexpr int kTickMs = 1000;
    static constexpr int kMaxSleepTicks = 59;
    // With nothing counted at all (setting mode), longer still.
    static constexpr int kMaxSleepTicksNothingDue = 299;

    TickSleep(QTimer &timer, Link &link) : timer_(timer), link_(link) {}

    // At the start of a tick: the ticks slept through are counted.
    void beforeTick();
    // After it: sleeps through the idle ticks ahead, unless something else
    // (a port awaited back) wants every tick. A stopped timer stays stopped.
    void afterTick(bool everyTickWanted);
    // Bytes went out or came in, or the mode changed.
    void wake();

    int sleepingTicks() const { return standsFor_; }

private:
    QTimer &timer_;
    Link &link_;
    QElapsedTimer sinceTick_;
    int standsFor_ = 0; // idle ticks the running interval stands for
};

} // namespace zx::link
