// The receive path: each chunk the port delivers, and the display step that
// shows it at the next tick.
#include "link/DisplayUnit.h"
#include "link/Link.h"
#include "link/ModemNotices.h"

namespace zx::link {

void Link::CommPortDriver1ReceiveData(const char *data, unsigned count) {
    SerialTimeSetting();
    port_.setPollingDelay(kPollingDelayMs);

    QByteArray s(data, qsizetype(count));
    const QByteArray raw = s;

    // Only a chunk with a NUL in it is kept for display here; setting mode
    // overwrites this below.
    const qsizetype firstCr = s.indexOf('\r');
    const qsizetype firstNul = s.indexOf('\0');
    displayText_ = s.mid(firstCr < 0 ? 0 : firstCr, firstNul < 0 ? 0 : firstNul + 1);

    s.replace(QByteArray(1, '\0'), QByteArray());
    if (s.isEmpty())
        return;

    flags_.SmsActivity = false;
    flags_.ListPolling = false;

    flags_.ModemNotConnected = false;
    flags_.QueryTicks = 0;
    // Whatever comes after "AT+CMGD=" is its answer.
    flags_.AwaitDeleteReply = false;
    if (hooks_.offerChunk)
        hooks_.offerChunk(raw);
    if (flags_.ListReplyExpected)
        handleListReply(raw);
    if (view_.smsMode() && announcesNewMessage(raw))
        flags_.NewMessageIndicated = true;

    if (!view_.smsMode()) {
        displayText_ = s;
        if (view_.skipCrLf()) {
            for (char &c : displayText_)
                if (static_cast<unsigned char>(c) < 0x20)
                    c = ' ';
        } else {
            view_.setSkipCrLf(flags_.SavedSkipState);
        }
        flags_.DisplayPending = true;
        const qsizetype cr = s.indexOf('\r');
        if (flags_.RawLine && cr < 4) {
            // An answer to a raw line is shown exactly as it came.
            displayText_ = s + QByteArray(1, '\0');
            flags_.RawLine = false;
        }
    }

    reportSubmitResult(raw, s);

    if (flags_.AwaitPrompt)
        releasePdu();

    if (flags_.SubmitResultArmed) {
        flags_.SmsActivity = false;
        flags_.AwaitSubmitResult = false;
        flags_.SubmitResultArmed = false;
        if (flags_.SubmitPending) {
            flags_.SubmitPending = false;
            SerialTimeSetting();
        }
    }

    if (!flags_.AwaitPrompt && !flags_.AwaitSubmitResult) {
        flags_.SmsActivity = false;
        flags_.ModemBusy = false;
    }

    flags_.ChunkArrived = true;
    flags_.ChunkTicks = 0;
}

// The submission goes on regardless of what the modem says; the user learns
// whether it took the SMS.
void Link::reportSubmitResult(const QByteArray &raw, const QByteArray &shown) {
    if (!flags_.AwaitPrompt && !flags_.AwaitSubmitResult)
        return;
    if (raw.contains("ERROR")) {
        view_.showStatusMessage(QStringLiteral("The modem refused the SMS: %1")
                                    .arg(QString::fromLatin1(shown.trimmed())));
        return;
    }
    const QByteArray reference = flags_.AwaitSubmitResult ? submitReference(raw) : QByteArray();
    if (!reference.isEmpty())
        view_.showStatusMessage(
            QStringLiteral("The SMS %1 to %2 was accepted by the modem "
                           "(reference %3).")
                .arg(submittedLine_, submittedTo_, QString::fromLatin1(reference)));
}

void Link::releasePdu() {
    flags_.AwaitPrompt = false;
    const QByteArray hex = pendingPdu_.isEmpty() ? QByteArray() : pendingPdu_.chopped(1);
    SendStrings(hex, int(hex.size()));
    PutLine(view_.echoLine(), hex);
    port_.writeByte('\x1A');
    flags_.AwaitSubmitResult = true;
    // The wait for this submission's result starts now: an arm left from
    // an earlier wait (the prompt came before the tick that would have
    // used it) must not end it before the modem answers.
    flags_.SubmitResultArmed = false;
    flags_.ModemBusy = false;
    view_.setBusyCursor(false);
}

void Link::DisplayStep() {
    if (flags_.DisplayPending && !displayText_.isEmpty()) {
        view_.receptionMemo().append(memoTextOf(displayText_ + "\r\n"));
        flags_.DisplayPending = false;
    }
    if (flags_.ChunkArrived) {
        ++flags_.ChunkTicks;
        if (flags_.ChunkTicks > 0) {
            view_.setBusyCursor(false);
            displayText_.clear();
            flags_.ChunkTicks = 0;
            flags_.ChunkArrived = false;
        }
    }
}

void Link::ClearBtnClick() {
    view_.setSkipCrLf(flags_.SavedSkipState);
    view_.setBusyCursor(false);
    view_.receptionMemo().clear();
}

} // namespace zx::link
