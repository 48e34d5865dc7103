#pragma once
// Runs an SMS job: per module one command in flight (the module answers each
// command with one SMS), every module at once over the one modem, answers
// told apart by their sender. A command whose answer did not come within
// the time-out is sent again while it has retries left, then given up.
// Every step is in the job store before the next is taken, so that a job
// stopped anywhere (a crash, a kill, a closed laptop) goes on from where it
// was: an answered command is never sent again, a handed one is awaited for
// the rest of its time-out, answers that came meanwhile are matched.
#include "remote/ModemLink.h"
#include "remote/SmsJob.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QTimer>

namespace zx::remote {

struct SmsEngineTimes {
    int listEveryMs = 5000;      // the store is listed this often, and on "+CMTI:"
    int refusedPauseMs = 5000;   // after the modem refused a submission
    // A module's next command leaves this long after its last answer came,
    // so that no two of its answers carry the same time stamp (a second's
    // resolution): a copy of an earlier answer is then always a duplicate.
    int answerSpacingMs = 1100;
    // Submissions the modem refuses in a row before the job stops (a SIM,
    // an SMS centre number or a network that will not send).
    int refusalsToStop = 3;
};

class SmsEngine : public QObject {
    Q_OBJECT
public:
    SmsEngine(ModemLink &modem, JobStore &store, SmsEngineTimes times = {},
              QObject *parent = nullptr);

    // Starts or resumes the job (its commands as the store has them);
    // finished() follows.
    void run(SmsJob job);
    // Stops sending; the job stays as it is, to be resumed. With markCancelled
    // it is marked cancelled instead.
    void stop(bool markCancelled);
    bool running() const { return m_running; }

    const SmsJob &job() const { return m_job; }
    // Why the job stopped before its end: the store or the port failed.
    const QString &failure() const { return m_failure; }
    // Messages from the job's modules that answered nothing (duplicates,
    // late answers), and messages of other senders left in the store.
    int strayMessages() const { return m_stray; }
    int foreignMessages() const { return m_foreign; }
    int duplicateMessages() const { return m_duplicates; }

signals:
    void commandChanged(const zx::remote::SmsCommand &command);
    void finished();

private:
    static QDateTime now() { return QDateTime::currentDateTimeUtc(); }
    void sendDue();
    void handOver(SmsCommand &command);
    void onSubmitted(int token, int reference);
    void onSubmitFailed(int token, const QString &reason, bool mayHaveLeft);
    void onListed(const QList<ReceivedSms> &messages);
    void take(const ReceivedSms &sms);
    void checkDeadlines();
    void armDeadline();
    SmsCommand *inFlight(const QString &module);
    SmsCommand *nextToSend(const QString &module);
    SmsCommand *byId(qint64 id);
    QDateTime lastAnswerAt(const QString &module) const;
    bool store(SmsCommand &command);
    void fail(const QString &why);
    void finishIfDone();

    ModemLink &m_modem;
    JobStore &m_store;
    SmsEngineTimes m_times;
    SmsJob m_job;
    QTimer m_listTimer;
    QTimer m_deadline;
    QTimer m_spacing; // the next command waits for the answer spacing
    QHash<int, qint64> m_tokens; // modem submission -> command id
    bool m_running = false;
    bool m_listedOnce = false;
    QString m_failure;
    int m_stray = 0;
    int m_foreign = 0;
    int m_duplicates = 0;
    int m_refusedInRow = 0; // submissions the modem refused, one after another
};

} // namespace zx::remote
