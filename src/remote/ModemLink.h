#pragma once
// A GSM modem in PDU mode on the port's command channel, for sending SMS to
// modules and collecting what they send back: one modem operation at a
// time, so that nothing comes between the prompt and its PDU. The owner
// hands in what the port receives as it arrives.
#include "channel/CommandChannel.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <deque>

namespace zx::remote {

struct ReceivedSms {
    int index = 0;      // in the modem's store
    QByteArray pdu;     // the hex line
    QByteArray sender;  // normalised digits with "+"
    QByteArray text;
};

struct ModemTimes {
    int promptMs = 5000;   // AT+CMGS to the prompt
    int submitMs = 60000;  // the PDU to "+CMGS: <ref>" (the network's answer)
    int listMs = 10000;
    int deleteMs = 5000;
};

class ModemLink : public QObject {
    Q_OBJECT
public:
    ModemLink(channel::ChannelPort &port, channel::ChannelTiming timing, ModemTimes times = {},
              QObject *parent = nullptr);

    // First of all: ends a PDU a stopped program left the modem waiting
    // for, and sets PDU mode; ready(false, why) when the modem does not take
    // it.
    void start();
    // Queues an SMS of text to number; submitted(token, reference) or
    // submitFailed(token, reason, mayHaveLeft) follows: mayHaveLeft when
    // the modem took the message but did not say it sent it.
    int submit(const QByteArray &number, const QByteArray &text);
    // Lists every message in the store; listed() follows. A listing asked
    // for while one is queued is not queued twice.
    void list();
    void remove(int index);
    bool idle() const { return m_ops.empty() && !m_active; }
    void cancelAll();
    qsizetype strayBytes() const { return m_channel.strayBytes(); }

    void receive(const QByteArray &bytes) { m_channel.receive(bytes); }
    void portLost(const QString &reason) { m_channel.portLost(reason); }

    // The bytes of a submission, as the window's SMS mode writes them.
    static QByteArray submitCommand(const QByteArray &pdu);

signals:
    void submitted(int token, int reference);
    void submitFailed(int token, const QString &reason, bool mayHaveLeft);
    void listed(const QList<zx::remote::ReceivedSms> &messages);
    // "+CMTI:": a message has been stored.
    void messageStored();
    void portFailed(const QString &reason);
    void ready(bool ok, const QString &why);
    // The last queued operation is done.
    void idleAgain();

private:
    enum class Step { Start, Prompt, Pdu, List, Delete };
    struct Op {
        Step step = Step::List;
        int token = 0;
        QByteArray pdu; // hex without the NUL
        int index = 0;
    };

    void startNext();
    void exchangeDone(int id, const channel::ExchangeResult &result);
    void listingDone(const channel::ExchangeResult &result);

    channel::CommandChannel m_channel;
    ModemTimes m_times;
    std::deque<Op> m_ops;
    QSet<int> m_deleting; // store indexes a deletion is queued for
    Op m_current;
    bool m_active = false;
    int m_exchange = 0;
    int m_nextToken = 1;
};

} // namespace zx::remote
