#pragma once
// A job of commands sent to remote modules by SMS, and each command's state
// as the journal keeps it. A command goes to send -> handed (written to the
// modem; with its reference once the modem gave one) -> answered, refused or
// given up; a handed command whose answer did not come in time goes back to
// send while it has retries left.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace zx::remote {

enum class SmsState { ToSend, Handed, Answered, Refused, GivenUp };
// "to send", "handed", "answered", "refused", "given up"
QString smsStateName(SmsState state);
SmsState smsStateFromName(const QString &name);
bool isFinal(SmsState state);

struct SmsCommand {
    qint64 id = 0;       // the journal's
    QString module;      // normalised number
    int seq = 0;         // order within its module, from 0
    QByteArray line;     // before padding; empty for a password line read back
    QString shownLine;   // as reports show it (passwords masked)
    QStringList entries; // the record entries it carries or reads
    bool secret = false;
    SmsState state = SmsState::ToSend;
    int attempts = 0;    // times handed to the modem
    int reference = -1;  // the modem's message reference of the last attempt
    QDateTime handedAt;  // the last attempt's
    QByteArray answer;   // the answering text
    QString reason;      // a refusal or why it was given up, in words
    QDateTime doneAt;
};

struct SmsJob {
    qint64 id = 0;
    QString kind = QStringLiteral("write"); // "write", "read", "verify"
    QString modemPort;
    QString profile;     // the profile file, for write and verify
    QByteArray profileHash;
    int timeoutMs = 120000; // per answer, from the hand-over
    int retries = 1;
    double pricePerSms = 0; // 0: not known
    QDateTime created;
    QString state = QStringLiteral("running"); // "running", "finished", "cancelled"
    QList<SmsCommand> commands;

    QStringList modules() const;
    // The module's commands in their order.
    QList<const SmsCommand *> commandsOf(const QString &module) const;
    int countIn(SmsState state) const;
    int handOvers() const; // SMS handed to the modem so far
};

// Where jobs are kept between steps. Every change is stored before the
// engine takes its next step; false when the store failed (the engine then
// stops: a step it cannot keep must not be taken).
class JobStore {
public:
    virtual ~JobStore() = default;
    // Gives the job and its commands their ids.
    virtual bool create(SmsJob &job) = 0;
    virtual bool update(const SmsCommand &command) = 0;
    // A received message, by its PDU's key, has been dealt with already:
    // as an answer (its copies are duplicates), or as one that answered
    // nothing (it stays in the modem's store for the user).
    enum class Seen { No, Answer, Other, Failed };
    virtual Seen seen(const QByteArray &key) = 0;
    // The message's key, and the command it answered when there is one, in
    // one step.
    virtual bool takeMessage(const QByteArray &key, const SmsCommand *answered) = 0;
    virtual bool finish(qint64 job, const QString &state) = 0;
    virtual QString lastError() const = 0;
};

} // namespace zx::remote
