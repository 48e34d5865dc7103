// Reading the modem's message store: the tick's list poll, listing again at
// once while the store holds more, and the handling of the list reply.
#include "link/DisplayUnit.h"
#include "link/Link.h"

#include "gsm/PduDecoder.h"

namespace zx::link {
namespace {

// Listing unread messages marks them read, so the rest of a listing is found
// among the read ones; a message the modem has just announced is unread.
const QByteArray kListRead = QByteArrayLiteral("AT+CMGL=1");
const QByteArray kListUnread = QByteArrayLiteral("AT+CMGL=0");

QByteArray shownKey(const ListedMessage &message) {
    return message.index + ',' + message.pduLine;
}

} // namespace

void Link::listPoll() {
    if (flags_.QuerySequenceActive || flags_.ModemBusy || flags_.SmsActivity)
        return;
    if (listAgainDue()) {
        listFollowing();
        return;
    }
    ++flags_.PollTicks;
    if (flags_.PollTicks <= flags_.PollFactor * 30)
        return;
    listNow(flags_.PollToggle ? kListUnread : kListRead);
    flags_.PollToggle = !flags_.PollToggle;
}

void Link::listFollowing() {
    if (flags_.NewMessageIndicated) {
        flags_.NewMessageIndicated = false;
        listNow(kListUnread);
    } else {
        flags_.ListAgain = false;
        listNow(kListRead);
    }
}

// Not before the modem has answered the last listing or deletion.
bool Link::listAgainDue() const {
    return (flags_.ListAgain || flags_.NewMessageIndicated) && !flags_.ListReplyExpected &&
           !flags_.AwaitDeleteReply;
}

void Link::listNow(const QByteArray &command) {
    flags_.ListPolling = true;
    view_.setStatusColour(StatusColour::Cyan);
    view_.setBusyCursor(true);
    SendCMGL(command);
    flags_.PollTicks = 0;
    flags_.ModemBusy = false;
    view_.setBusyCursor(false);
    view_.setStatusColour(StatusColour::Green);
}

void Link::SendCMGL(const QByteArray &command) {
    flags_.AwaitPrompt = false;
    flags_.AwaitSubmitResult = false;
    if (flags_.ModemBusy)
        return;
    flags_.ModemBusy = true;
    view_.setBusyCursor(true);
    askModem(command.left(9) + '\r', channel::AnswerRule::Kind::ModemFinal, kListReplyTimeoutMs);
    flags_.ListReplyExpected = true;
    SerialTimeSetting();
    view_.setBusyCursor(false);
    flags_.ModemBusy = false;
}

void Link::handleListReply(const QByteArray &raw) {
    const QList<ListedMessage> listed = parseListedMessages(raw);
    const bool listAgain = flags_.DeleteAfterRead ? takeFirstListed(raw, listed.size() > 1)
                                                  : takeFirstNotShown(listed);
    // Each listing again needs a message taken from the one before, so a
    // reply the tool cannot read never makes it list at every tick.
    if (listAgain)
        flags_.ListAgain = true;
    flags_.SmsActivity = false;
    flags_.ListReplyExpected = false;
}

// With deletion the first listed message is taken and deleted; the next
// listing finds the one after it first.
bool Link::takeFirstListed(const QByteArray &raw, bool moreListed) {
    const ListedMessage message = parseListReply(raw);
    if (!message.found)
        return false;
    showListedMessage(message);
    if (message.index.isEmpty())
        return false;
    askModem("AT+CMGD=" + message.index + '\r');
    flags_.AwaitDeleteReply = true;
    return moreListed;
}

// Without deletion the store keeps every message: the first one not shown
// yet in this run is taken.
bool Link::takeFirstNotShown(const QList<ListedMessage> &listed) {
    const ListedMessage *taken = nullptr;
    bool more = false;
    for (const ListedMessage &message : listed) {
        if (message.found && shownMessages_.contains(shownKey(message)))
            continue;
        if (!taken && message.found)
            taken = &message;
        else
            more = true; // not shown yet, or cut off by the end of the chunk
    }
    if (!taken)
        return false;
    shownMessages_.insert(shownKey(*taken));
    showListedMessage(*taken);
    return more;
}

void Link::showListedMessage(const ListedMessage &message) {
    if (!view_.smsMode()) {
        lastSmsText_ = message.pduLine;
        return;
    }
    lastSmsText_ = gsm::PDUTextConversion(message.pduLine);
    // The module's answer is shown, so the user sees what it said.
    if (lastSmsText_.isEmpty())
        return;
    Memo &memo = view_.receptionMemo();
    StartOwnLine(memo);
    memo.append(QStringLiteral("SMS: ") + memoTextOf(lastSmsText_) + QStringLiteral("\n"));
}

} // namespace zx::link
