// The modem's readiness for messages, what follows an answer at once, and
// the status notices that end with the state they describe.
#include "link/DisplayUnit.h"
#include "link/Link.h"

#include "text/Ansi.h"

namespace zx::link {
namespace {

const QByteArray kReadinessProbe = QByteArrayLiteral("AT+CPIN?\r");

} // namespace

void Link::holdUntilReady(const QByteArray &line) {
    heldLine_ = line;
    readyWaitTicks_ = 0;
    say(QStringLiteral("Waiting up to %1 s for the modem to be ready for messages before %2 "
                       "is sent.")
            .arg(kReadyWaitTicks)
            .arg(quotedCommand(line)));
    probeReadiness();
}

void Link::probeReadiness() {
    askModem(kReadinessProbe);
    SerialTimeSetting();
}

// Called by the tick while an SMS is held.
void Link::readyWaitTick() {
    if (heldLine_.isEmpty())
        return;
    ++readyWaitTicks_;
    if (readyWaitTicks_ >= kReadyWaitTicks) {
        const QByteArray line = heldLine_;
        heldLine_.clear();
        view_.setBusyCursor(false);
        const QString name = hooks_.modemName ? hooks_.modemName() : QString();
        say(QStringLiteral("The modem%1 did not become ready for messages within %2 s: %3 was "
                           "not sent. Check its SIM card and PIN and its aerial, or switch it "
                           "off and on; then send again.")
                .arg(name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(name))
                .arg(kReadyWaitTicks)
                .arg(quotedCommand(line)));
        view_.modemStoppedAnswering();
        return;
    }
    if (readyWaitTicks_ % kReadyProbeTicks == 0 && !flags_.ModemBusy &&
        !flags_.ListReplyExpected)
        probeReadiness();
}

void Link::sendHeldLine() {
    const QByteArray line = heldLine_;
    heldLine_.clear();
    SendSMS(line);
}

bool Link::modemIdle() const {
    return !flags_.ModemBusy && !flags_.AwaitPrompt && !flags_.AwaitSubmitResult &&
           heldLine_.isEmpty() && !flags_.QuerySequenceActive;
}

// The nightly command's minutes hold the list polls.
bool Link::nightlyHold() const {
    const QTime now = clock_().time();
    return now.hour() == 0 && now.minute() <= 2;
}

void Link::followUp() {
    if (!view_.smsMode() || !modemIdle() || flags_.ListReplyExpected || nightlyHold())
        return;
    if (listAgainDue())
        listFollowing();
}

void Link::say(const QString &text) {
    busyNotice_ = false;
    view_.showStatusMessage(text);
}

void Link::sayBusy(const QString &text) {
    say(text);
    busyNotice_ = true;
}

void Link::endBusyNotice() {
    if (busyNotice_ && !flags_.ModemBusy && !flags_.AwaitPrompt && heldLine_.isEmpty())
        say(QString());
}

} // namespace zx::link
