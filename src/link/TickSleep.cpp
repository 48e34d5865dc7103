#include "link/TickSleep.h"

#include "link/Link.h"

#include <QTimer>

#include <algorithm>

namespace zx::link {

void TickSleep::beforeTick() {
    link_.skipIdleTicks(standsFor_);
    standsFor_ = 0;
}

void TickSleep::afterTick(bool everyTickWanted) {
    sinceTick_.start();
    if (!timer_.isActive()) {
        standsFor_ = 0;
        return;
    }
    const int idle = link_.idleTicks();
    standsFor_ = everyTickWanted              ? 0
                 : idle >= Link::kNeverDue ? kMaxSleepTicksNothingDue
                                           : std::clamp(idle, 0, kMaxSleepTicks);
    const int interval = kTickMs * (standsFor_ + 1);
    if (timer_.interval() != interval)
        timer_.start(interval);
}

void TickSleep::wake() {
    if (standsFor_ == 0)
        return;
    const int passed = sinceTick_.isValid() ? int(sinceTick_.elapsed() / kTickMs) : 0;
    link_.skipIdleTicks(std::min(passed, standsFor_));
    standsFor_ = 0;
    sinceTick_.start();
    timer_.start(kTickMs);
}

} // namespace zx::link
