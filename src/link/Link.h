#pragma once
// The command link: frames and sends module commands in setting mode and SMS
// mode, takes received chunks, runs the one-second tick that drives SMS mode,
// and hands module answers to the open tab. All state lives here; the window
// reaches it through LinkPort and LinkView.
#include "link/CommandFrame.h"
#include "link/CommandStyle.h"
#include "link/LinkChannel.h"
#include "link/LinkPort.h"
#include "link/LinkView.h"
#include "link/ListReply.h"

#include <QByteArray>
#include <QDateTime>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

namespace zx::link {

inline constexpr int kPollingDelayMs = 4000;
inline constexpr int kOutputTimeoutMs = 1500;
// Ticks without any answer before a silent modem is given up.
inline constexpr int kSilentModemTicks = 99;
// How long an SMS waits for a modem that is not ready for messages yet, and
// how often the modem is asked meanwhile.
inline constexpr int kReadyWaitTicks = 60;
inline constexpr int kReadyProbeTicks = 3;

struct LinkFlags {
    // Send path
    bool RawLine = false;
    bool ModemBusy = false;
    bool SmsActivity = false;
    bool SubmitPending = false;
    bool AwaitPrompt = false;
    bool AwaitSubmitResult = false;
    bool SubmitResultArmed = false;
    // Receive path
    bool DisplayPending = false;
    bool ChunkArrived = false;
    int ChunkTicks = 0;
    bool SavedSkipState = false;
    // Tick
    bool QuerySequenceActive = false;
    int QueryStep = 0;
    int QueryTicks = 0;
    bool ModemNotConnected = false;
    bool ClockQueryPending = false;
    int PollTicks = 0;
    int PollFactor = 1;
    bool PollToggle = false;
    bool ListPolling = false;
    bool NightlySent = false;
    bool ListReplyExpected = false;
    bool DeleteAfterRead = true;
    // Ticks a submission has waited for the modem's prompt.
    int PromptTicks = 0;
    // The store is listed again at the next idle tick rather than a whole
    // period later: a listing held more than the message taken from it ...
    bool ListAgain = false;
    // ... or the modem announced a new message with "+CMTI:".
    bool NewMessageIndicated = false;
    // "AT+CMGD=" was written and no chunk has come since.
    bool AwaitDeleteReply = false;
};

// The modem dialogue plugs in here: the query sequence steps, the clock
// query and the parsers that read each chunk while their query is awaited.
struct ModemHooks {
    std::function<void(int step)> sequenceStep;
    std::function<void()> clockQuery;
    std::function<void(const QByteArray &raw)> offerChunk;
    // The modem as its answers named it, for messages about it.
    std::function<QString()> modemName;
};

// What the link knows of the modem's readiness for messages: nothing until
// it has answered, then whether its last answers said so.
enum class ModemReadiness { Unknown, Ready, NotReady };

class Link {
public:
    using Clock = std::function<QDateTime()>;

    Link(LinkPort &port, LinkView &view, Clock clock = {});

    const LinkFlags &flags() const { return flags_; }
    const QByteArray &DisplayText() const { return displayText_; }
    const QByteArray &PendingPdu() const { return pendingPdu_; }
    int PendingPduLength() const { return int(pendingPdu_.size()); }
    const QByteArray &LastSMSText() const { return lastSmsText_; }

    void setModemHooks(ModemHooks hooks) { hooks_ = std::move(hooks); }
    LinkPort &port() { return port_; }
    LinkView &view() { return view_; }
    // The local clock of the nightly window and the module clock command.
    void setClock(Clock clock) { clock_ = std::move(clock); }
    QDateTime now() const { return clock_(); }
    // Start-up values taken from the settings record.
    void setPollFactor(int storedPollFactor);
    void setDeleteAfterRead(bool on) { flags_.DeleteAfterRead = on; }
    void setSavedSkipState(bool on) { flags_.SavedSkipState = on; }
    void setRawLine(bool on) { flags_.RawLine = on; }
    void setClockQueryPending(bool on) { flags_.ClockQueryPending = on; }
    void setModemBusy(bool on) { flags_.ModemBusy = on; }
    // Clears every flag of the link, as at start-up.
    void resetLinkState();
    // Nothing received is waiting to be shown (start-up).
    void resetDisplay() {
        displayText_.clear();
        flags_.DisplayPending = false;
    }
    // Arms the modem query sequence (SMS mode start-up).
    void armQuerySequence();
    // The port has just been opened: in SMS mode the modem's store is listed
    // at the first idle moment, for answers that came while it was closed.
    void portOpened();
    ModemReadiness readiness() const { return readiness_; }
    // An SMS is held until the modem is ready.
    bool waitingForReadyModem() const { return !heldLine_.isEmpty(); }

    // Send path
    // A module command from a button: Clear, SendSMS and the echo, in the
    // order and with the echo text the style gives.
    void sendCommand(const QByteArray &line, const CommandStyle &style = {});
    void SendSMS(QByteArray line);
    // SMS mode: a line for the modem, its reply judged and handed on whole
    // (a ModemFinal reply, or the prompt for a PDU).
    void askModem(const QByteArray &bytes,
                  channel::AnswerRule::Kind kind = channel::AnswerRule::Kind::ModemFinal,
                  int timeoutMs = kModemReplyTimeoutMs) {
        channel_->askModem(bytes, kind, timeoutMs);
    }
    void SerialTimeSetting();
    void Clear();
    void DisplayOnMemo(const QByteArray &line);
    void DisplayInputSMS();
    // A line without the set-up prefix: the AT command box and the modem
    // band and signal buttons. Keeps the Skip CR/LF state, empties the memos.
    void SendRawLine(const QByteArray &line, bool clearEchoLine);

    // Receive path
    // What the port received, as it arrives.
    void receive(const QByteArray &bytes) { channel_->receive(bytes, view_.smsMode()); }
    void setLineSpeed(quint32 baud) { channel_->setBaud(baud); }
    // Hands on what is held now, without waiting for the line to be quiet.
    void flushReceived() { channel_->flush(); }
    void portLost(const QString &reason) { channel_->portLost(reason); }
    // Setting mode: bytes received that answered no command.
    qsizetype strayBytes() const { return channel_->strayBytes(); }
    // Something came, answer or not: what waits for the line to speak stops.
    void bytesArrived();
    // A chunk of what was received, whole.
    void CommPortDriver1ReceiveData(const char *data, unsigned count);
    void DisplayStep();
    // Setting mode: an answer has come whole; the open tab takes it now
    // instead of at the next tick.
    void AnswerComplete();
    void ClearBtnClick();
    void SkipCRLFcbClick(bool checked) { flags_.SavedSkipState = checked; }

    // Tick
    void Timer1Timer();
    // How many of the next ticks would only count (no poll, no query step,
    // nothing to show, not the nightly minutes): the window may sleep
    // through them. kNeverDue when nothing is counted at all.
    static constexpr int kNeverDue = 1 << 30;
    int idleTicks() const;
    // What that many idle ticks would have done, done at once.
    void skipIdleTicks(int ticks);
    void SendCMGL(const QByteArray &command);

private:
    void releasePdu();
    void refuseSubmission(const QByteArray &refusal);
    void endSubmission();
    void reportSubmitResult(const QByteArray &raw, const QByteArray &refusal);
    // Reports only: what they say is taken note of, nothing else changes.
    void takeReports(bool newMessage, bool readyReport);
    void noteReadiness(const QByteArray &reply, const QByteArray &refusal);
    void holdUntilReady(const QByteArray &line);
    void probeReadiness();
    void readyWaitTick();
    void sendHeldLine();
    // Listings and deletions follow their answers at once when nothing else
    // has the modem.
    void followUp();
    bool modemIdle() const;
    bool nightlyHold() const;
    void listFollowing();
    // Status bar notices; one about a busy modem ends when the modem is idle.
    void say(const QString &text);
    void sayBusy(const QString &text);
    void endBusyNotice();
    void handleListReply(const QByteArray &raw);
    bool takeFirstListed(const QByteArray &raw, bool moreListed);
    bool takeFirstNotShown(const QList<ListedMessage> &listed);
    void showListedMessage(const ListedMessage &message);
    void tickSmsMode();
    void handAnswerToTab();
    void nightlyWindow();
    void listPoll();
    bool listAgainDue() const;
    void listNow(const QByteArray &command);
    bool silentModemTimeout();
    void promptTimeout();
    void colourStatus();

    LinkPort &port_;
    LinkView &view_;
    std::unique_ptr<LinkChannel> channel_;
    Clock clock_;
    ModemHooks hooks_;
    LinkFlags flags_;
    QByteArray displayText_;
    QByteArray pendingPdu_;
    QByteArray lastSmsText_;
    // The submission under way, as its outcome names it.
    QString submittedLine_;
    QString submittedTo_;
    // Without deletion the messages stay in the store: those shown in this
    // run, by index and PDU line, are not shown again.
    QSet<QByteArray> shownMessages_;
    bool inTick_ = false;
    ModemReadiness readiness_ = ModemReadiness::Unknown;
    QByteArray heldLine_; // as given to SendSMS, before padding
    int readyWaitTicks_ = 0;
    bool busyNotice_ = false;
};

} // namespace zx::link
