// The one-second tick: steps the modem dialogue, polls the modem's message
// store (LinkListing.cpp), sends the nightly command, and hands answers to
// the open tab.
#include "link/DisplayUnit.h"
#include "link/Link.h"

#include <algorithm>

namespace zx::link {
namespace {

constexpr int kQuerySequenceEnd = 7;

} // namespace

void Link::Timer1Timer() {
    // A modal box shown from inside a tick runs its own event loop; a tick
    // that fires meanwhile must not run a second time on top of the first.
    if (inTick_)
        return;
    inTick_ = true;
    if (view_.smsMode())
        tickSmsMode();
    else
        handAnswerToTab();
    DisplayStep();
    inTick_ = false;
}

int Link::idleTicks() const {
    if (flags_.ChunkArrived || (flags_.DisplayPending && !displayText_.isEmpty()))
        return 0;
    if (!view_.smsMode())
        return kNeverDue;
    if (flags_.AwaitSubmitResult || flags_.AwaitPrompt || flags_.QuerySequenceActive ||
        flags_.ClockQueryPending || !heldLine_.isEmpty() || listAgainDue())
        return 0;
    const QDateTime now = clock_();
    if (now.time().hour() == 0 && now.time().minute() <= 3)
        return 0;
    // The tick in the first second of 00:00 is due.
    const qint64 toMidnight = now.secsTo(QDateTime(now.date().addDays(1), QTime(0, 0)));
    qint64 idle = std::max<qint64>(0, toMidnight - 1);
    if (!flags_.ModemBusy && !flags_.SmsActivity)
        idle = std::min<qint64>(idle, std::max(0, flags_.PollFactor * 30 - flags_.PollTicks));
    return int(std::min<qint64>(idle, kNeverDue));
}

void Link::skipIdleTicks(int ticks) {
    if (ticks <= 0 || !view_.smsMode())
        return;
    if (!flags_.QuerySequenceActive && !flags_.ModemBusy && !flags_.SmsActivity)
        flags_.PollTicks += ticks;
}

void Link::AnswerComplete() {
    if (inTick_ || view_.smsMode())
        return;
    inTick_ = true;
    handAnswerToTab();
    DisplayStep();
    inTick_ = false;
}

void Link::handAnswerToTab() {
    if (!displayText_.isEmpty() && flags_.DisplayPending)
        view_.parseTabAnswer(view_.activeTab(), displayText_);
}

void Link::tickSmsMode() {
    if (flags_.AwaitSubmitResult) {
        SerialTimeSetting();
        flags_.SubmitResultArmed = true;
    }
    if (flags_.AwaitPrompt && ++flags_.PromptTicks >= kSilentModemTicks)
        promptTimeout();

    if (flags_.QuerySequenceActive && !flags_.ModemBusy) {
        ++flags_.QueryStep;
        flags_.ModemBusy = false;
        if (hooks_.sequenceStep)
            hooks_.sequenceStep(flags_.QueryStep);
        if (flags_.QueryStep == kQuerySequenceEnd) {
            flags_.QuerySequenceActive = false;
            // Answers stored while the tool was away are listed now.
            flags_.NewMessageIndicated = true;
            flags_.ModemBusy = false;
            view_.setBusyCursor(false);
            view_.setStatusText(QStringLiteral(" "));
        }
    }
    if (flags_.ClockQueryPending && hooks_.clockQuery)
        hooks_.clockQuery();

    readyWaitTick();
    colourStatus();
    if (silentModemTimeout())
        return;
    listPoll();
    nightlyWindow();
    endBusyNotice();
}

void Link::colourStatus() {
    if (flags_.ModemNotConnected)
        view_.setStatusColour(StatusColour::Black);
    else if (flags_.ModemBusy)
        view_.setStatusColour(StatusColour::Red);
    else
        view_.setStatusColour(StatusColour::Green);
}

bool Link::silentModemTimeout() {
    if (!flags_.QuerySequenceActive)
        return false;
    ++flags_.QueryTicks;
    if (flags_.QueryTicks < kSilentModemTicks)
        return false;
    flags_.QuerySequenceActive = false;
    flags_.QueryTicks = 0;
    bool shown = false;
    if (!flags_.ModemNotConnected) {
        flags_.ModemBusy = false;
        view_.setBusyCursor(false);
        view_.showError(QStringLiteral("Cell Phone not connected"));
        view_.modemStoppedAnswering();
        shown = true;
    }
    flags_.ModemNotConnected = true;
    flags_.ModemBusy = false;
    view_.setBusyCursor(false);
    view_.setStatusColour(StatusColour::Black);
    return shown;
}

// A modem that never prompts for the PDU would otherwise hold SMS mode for good.
void Link::promptTimeout() {
    channel_->cancel();
    flags_.AwaitPrompt = false;
    flags_.SubmitPending = false;
    flags_.ModemBusy = false;
    flags_.SmsActivity = false;
    flags_.PromptTicks = 0;
    flags_.ModemNotConnected = true;
    pendingPdu_.clear();
    view_.setBusyCursor(false);
    view_.setStatusColour(StatusColour::Black);
    say(QStringLiteral("The modem did not answer AT+CMGS: the command was not sent."));
    view_.modemStoppedAnswering();
}

void Link::nightlyWindow() {
    const QTime now = clock_().time();
    if (now.hour() != 0)
        return;
    switch (now.minute()) {
    case 0:
    case 1:
        flags_.SmsActivity = true;
        break;
    case 2:
        flags_.SmsActivity = true;
        if (!flags_.NightlySent) {
            flags_.NightlySent = true;
            SendSMS("GETMH");
        }
        break;
    case 3:
        flags_.SmsActivity = false;
        flags_.NightlySent = false;
        break;
    default:
        break;
    }
}

} // namespace zx::link
