// The send path: every module command and every line for the modem leaves here.
#include "link/DisplayUnit.h"
#include "link/Link.h"

#include "gsm/PduEncoder.h"
#include "text/Ansi.h"

#include <algorithm>

namespace zx::link {
Link::Link(LinkPort &port, LinkView &view, Clock clock)
    : port_(port), view_(view), channel_(std::make_unique<LinkChannel>(*this, port)),
      clock_(std::move(clock)) {
    if (!clock_)
        clock_ = [] { return QDateTime::currentDateTime(); };
}

void Link::setPollFactor(int storedPollFactor) {
    flags_.PollFactor = std::clamp(storedPollFactor, 1, 20);
}

void Link::resetLinkState() {
    const LinkFlags kept = flags_;
    flags_ = LinkFlags{};
    flags_.PollFactor = kept.PollFactor;
    flags_.DeleteAfterRead = kept.DeleteAfterRead;
    flags_.SavedSkipState = kept.SavedSkipState;
}

void Link::armQuerySequence() {
    flags_.QueryStep = 0;
    flags_.QueryTicks = 0;
    flags_.QuerySequenceActive = true;
    flags_.ModemNotConnected = false;
}

void Link::portOpened() {
    flags_.NewMessageIndicated = true;
}

void Link::SendSMS(QByteArray line) {
    // A notice about an earlier command gives way to what becomes of this one.
    say(QString());
    const bool smsMode = view_.smsMode();
    if (smsMode) {
        // A number the modem cannot address is refused before anything moves.
        const QByteArray number = view_.moduleNumber();
        if (gsm::checkModuleNumber(number) != gsm::NumberCheck::Ok) {
            view_.showError(text::fromAnsi(gsm::kPhoneNumberError));
            say(QStringLiteral("%1 was not sent: the module number is not valid.")
                                        .arg(quotedCommand(line)));
            return;
        }
    }
    view_.setBusyCursor(true);

    const QByteArray given = line;
    line = paddedCommandLine(std::move(line));

    if (!port_.connected())
        say(
            QStringLiteral("The serial port is not open: %1 was not sent.").arg(quotedCommand(line)));

    if (smsMode) {
        channel_->cancel();
        flags_.SmsActivity = true;
        if (flags_.ModemBusy || !heldLine_.isEmpty()) {
            sayBusy(QStringLiteral("The modem is busy: %1 was not sent.").arg(quotedCommand(line)));
            return;
        }
        // A modem that said it is not ready gets time before the SMS goes.
        if (readiness_ == ModemReadiness::NotReady && port_.connected()) {
            holdUntilReady(given);
            return;
        }
        flags_.SubmitPending = true;
        flags_.AwaitPrompt = false;
        flags_.AwaitSubmitResult = false;
        const QByteArray pdu = gsm::TextToPDUConversion(line, view_.moduleNumber());
        submittedLine_ = quotedCommand(line);
        submittedTo_ = text::fromAnsi(view_.moduleNumber());
        flags_.ModemBusy = true;
        view_.setBusyCursor(true);
        const int octets = int(pdu.size()) / 2 - 1;
        pendingPdu_ = pdu;
        // The modem may take as long as the tick waits for its prompt.
        askModem("AT+CMGS=" + QByteArray::number(octets) + '\r', channel::AnswerRule::Kind::Prompt,
                 kSilentModemTicks * 1000);
        PutChar(view_.echoLine(), '\r');
        SerialTimeSetting();
        flags_.AwaitPrompt = true;
        flags_.PromptTicks = 0;
        return;
    }

    channel::Exchange exchange;
    exchange.command = line;
    exchange.timeoutMs = kAnswerTimeoutMs;
    if (flags_.RawLine) {
        // A line for the module's GSM engine: its reply ends with the final code.
        exchange.bytes = line;
        exchange.rule = {channel::AnswerRule::Kind::ModemFinal, {}};
        exchange.blankLinesKept = true;
    } else {
        exchange.bytes = settingModeFrame(given);
        exchange.rule = channel::moduleAnswerRule(line);
    }
    channel_->send(exchange);
    SerialTimeSetting();
    port_.setPollingDelay(kPollingDelayMs);
}

void Link::sendCommand(const QByteArray &line, const CommandStyle &style) {
    const QByteArray &echo = style.echoText.isEmpty() ? line : style.echoText;
    if (style.clearFirst)
        Clear();
    if (style.echo == Echo::BeforeSend)
        DisplayOnMemo(echo);
    SendSMS(line);
    switch (style.echo) {
    case Echo::AfterSend:
        DisplayOnMemo(echo);
        break;
    case Echo::Alone:
        view_.echoLine().clear();
        view_.receptionMemo().clear();
        PutString(view_.echoLine(), echo);
        break;
    case Echo::BeforeSend:
    case Echo::None:
        break;
    }
}

void Link::SerialTimeSetting() {
    port_.setPollingDelay(kPollingDelayMs);
    port_.setOutputTimeout(kOutputTimeoutMs);
}

void Link::Clear() {
    view_.receptionMemo().clear();
    view_.echoLine().clear();
    flags_.DisplayPending = true;
    flags_.RawLine = false;
}

// In SMS mode the memo starts empty, so that the modem's lines and the
// answers start at its first line.
void Link::DisplayInputSMS() {
    if (view_.smsMode())
        view_.receptionMemo().clear();
    else
        view_.receptionMemo().setText(QStringLiteral("\n"));
}

void Link::DisplayOnMemo(const QByteArray &line) {
    DisplayInputSMS();
    view_.echoLine().clear();
    PutString(view_.echoLine(), line);
}

void Link::SendRawLine(const QByteArray &line, bool clearEchoLine) {
    if (clearEchoLine)
        view_.echoLine().clear();
    view_.receptionMemo().clear();
    flags_.SavedSkipState = view_.skipCrLf();
    flags_.RawLine = true;
    view_.receptionMemo().clear();
    SendSMS(line);
}

} // namespace zx::link
