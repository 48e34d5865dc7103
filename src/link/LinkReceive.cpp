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
    QByteArray raw = s;
    const bool smsMode = view_.smsMode();

    // The modem's own reports (a ring, the network, a new message) can come
    // alone or in the middle of a reply: they are taken out, and what they
    // say is acted on. A chunk of reports only answers nothing.
    if (smsMode) {
        const ReplyWithoutReports modem = takeOutReports(raw);
        if (modem.reply.size() != raw.size()) {
            if (modem.reportsOnly) {
                takeReports(modem.newMessage, modem.readyReport);
                return;
            }
            raw = modem.reply;
            s = raw;
        }
        if (modem.newMessage)
            flags_.NewMessageIndicated = true;
        if (modem.readyReport)
            readiness_ = ModemReadiness::Ready;
    }

    // Only a chunk with a NUL in it is kept for display here; setting mode
    // overwrites this below.
    const qsizetype firstCr = s.indexOf('\r');
    const qsizetype firstNul = s.indexOf('\0');
    displayText_ = s.mid(firstCr < 0 ? 0 : firstCr, firstNul < 0 ? 0 : firstNul + 1);

    s.replace(QByteArray(1, '\0'), QByteArray());
    if (s.isEmpty())
        return;

    bytesArrived();
    if (hooks_.offerChunk)
        hooks_.offerChunk(raw);
    if (flags_.ListReplyExpected)
        handleListReply(raw);

    if (!smsMode) {
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

    const QByteArray refusal = smsMode ? refusalIn(raw) : QByteArray();
    // What the modem says of a PDU it was given is about the PDU.
    if (smsMode && !flags_.AwaitSubmitResult)
        noteReadiness(raw, refusal);

    if (flags_.AwaitPrompt) {
        // The PDU goes out at the prompt only. A refusal instead ends the
        // submission: a PDU written now would land in a modem that reads
        // commands. Anything else (the echo of the line) is not the answer.
        if (holdsPrompt(raw))
            releasePdu();
        else if (!refusal.isEmpty())
            refuseSubmission(refusal);
    } else if (flags_.AwaitSubmitResult) {
        reportSubmitResult(raw, refusal);
        // The modem's result is in: the submission is over, whatever the tick.
        if (endsWithFinalCode(raw))
            endSubmission();
    }

    if (flags_.SubmitResultArmed)
        endSubmission();

    if (!flags_.AwaitPrompt && !flags_.AwaitSubmitResult) {
        flags_.SmsActivity = false;
        flags_.ModemBusy = false;
    }

    flags_.ChunkArrived = true;
    flags_.ChunkTicks = 0;

    if (smsMode) {
        if (!heldLine_.isEmpty() && readiness_ == ModemReadiness::Ready)
            sendHeldLine();
        else
            followUp();
        endBusyNotice();
    }
}

void Link::bytesArrived() {
    flags_.SmsActivity = false;
    flags_.ListPolling = false;
    flags_.ModemNotConnected = false;
    flags_.QueryTicks = 0;
    // Whatever comes after "AT+CMGD=" is its answer.
    flags_.AwaitDeleteReply = false;
}

void Link::takeReports(bool newMessage, bool readyReport) {
    flags_.ModemNotConnected = false;
    flags_.QueryTicks = 0;
    if (newMessage)
        flags_.NewMessageIndicated = true;
    if (readyReport)
        readiness_ = ModemReadiness::Ready;
    if (!heldLine_.isEmpty() && readiness_ == ModemReadiness::Ready)
        sendHeldLine();
    else
        followUp();
    endBusyNotice();
}

void Link::noteReadiness(const QByteArray &reply, const QByteArray &refusal) {
    if (!refusal.isEmpty()) {
        if (meansNotReady(refusal))
            readiness_ = ModemReadiness::NotReady;
    } else if (endsWithFinalCode(reply)) {
        readiness_ = ModemReadiness::Ready;
    }
}

void Link::endSubmission() {
    flags_.SmsActivity = false;
    flags_.AwaitSubmitResult = false;
    flags_.SubmitResultArmed = false;
    if (flags_.SubmitPending) {
        flags_.SubmitPending = false;
        SerialTimeSetting();
    }
}

void Link::refuseSubmission(const QByteArray &refusal) {
    flags_.AwaitPrompt = false;
    flags_.PromptTicks = 0;
    pendingPdu_.clear();
    endSubmission();
    flags_.ModemBusy = false;
    view_.setBusyCursor(false);
    say(QStringLiteral("The modem refused the SMS %1: %2")
            .arg(submittedLine_, submitRefusalAdvice(refusal)));
}

void Link::reportSubmitResult(const QByteArray &raw, const QByteArray &refusal) {
    if (!refusal.isEmpty()) {
        say(QStringLiteral("The modem refused the SMS %1: %2")
                .arg(submittedLine_, submitRefusalAdvice(refusal)));
        return;
    }
    const QByteArray reference = submitReference(raw);
    if (!reference.isEmpty())
        say(QStringLiteral("The SMS %1 to %2 was accepted by the modem "
                           "(reference %3).")
                .arg(submittedLine_, submittedTo_, QString::fromLatin1(reference)));
}

void Link::releasePdu() {
    flags_.AwaitPrompt = false;
    const QByteArray hex = pendingPdu_.isEmpty() ? QByteArray() : pendingPdu_.chopped(1);
    askModem(hex + '\x1A', channel::AnswerRule::Kind::ModemFinal, kSubmitResultTimeoutMs);
    // The PDU stands on a line of its own, apart from the command.
    StartOwnLine(view_.echoLine());
    PutLine(view_.echoLine(), hex);
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
