#pragma once
// The simulated GSM modem: an AT interpreter in PDU mode with a message
// store. Every SMS the tool submits reaches the module behind it, whose
// answer comes back as a received message; with a network set up (see
// SmsNetwork) it reaches the module of its number, late or not at all.
// No I/O: bytes in, bytes out.
#include "sim/MessageStore.h"
#include "sim/ModemState.h"
#include "sim/Module.h"
#include "sim/SmsNetwork.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

#include <functional>

namespace zx::sim {

class Modem {
public:
    explicit Modem(Module &module);

    // Takes what the tool wrote and returns what the modem writes back:
    // the echo (when on) and the answers of the lines completed.
    QByteArray feed(const QByteArray &bytes);
    // Forgets a half-received line or PDU, as after a power cycle.
    void resetInput();
    // The modem is switched on now: its not-ready time starts again.
    void restart();
    // Unsolicited lines due by now that no command brought out: "+CPIN:
    // READY" and "SMS Ready" once the not-ready time is over, and "+CMTI:"
    // for the answers the network delivered by now (when they are on).
    QByteArray poll();
    // Puts count unread answers ("STORED ANSWER 1", ...) into the store, as
    // if they had come in before anyone listened; returns their "+CMTI:"
    // lines.
    QByteArray storeAnswers(int count);
    // Answers the network keeps while the store is full (see storeCapacity).
    int heldAnswers() const { return int(m_held.size()); }

    ModemState &state() { return m_state; }
    MessageStore &store() { return m_store; }
    SmsNetwork &network() { return m_network; }
    // A module of its own behind number, on the modem's clock; nullptr when
    // the number has one already.
    Module *addModule(const QByteArray &number);
    bool awaitsPdu() const { return m_awaitingPdu; }

    // Called with each command line the module receives by SMS.
    std::function<void(const QByteArray &)> onModuleCommand;

private:
    QByteArray commandLine(const QByteArray &line);
    QByteArray startSubmit(const QByteArray &argument);
    QByteArray listMessages(const QByteArray &argument);
    QByteArray deleteMessage(const QByteArray &argument);
    QByteArray readMessage(const QByteArray &argument);
    QByteArray submit();
    // The answer's index in the store, 0 when the store was full.
    int deliverAnswer(const QByteArray &destination, const QByteArray &text);
    // Stores what the network delivered by now; the "+CMTI:" lines.
    QByteArray deliverArrived();
    void applyStoreCapacity();
    int storeOrHold(const QByteArray &pdu);
    // Stores the held answers there is room for; their "+CMTI:" lines.
    QByteArray releaseHeld();
    bool isFull() const { return m_store.size() >= m_store.capacity(); }
    qint64 uptimeMs() const;
    // The network's time, which a restart of the modem does not reset.
    qint64 networkMs() const;
    bool isReady() const;

    Module &m_module;
    ModemState m_state;
    MessageStore m_store;
    QByteArray m_line;
    bool m_awaitingPdu = false;
    int m_announcedLength = 0;
    QByteArray m_pdu;
    QElapsedTimer m_started;
    QElapsedTimer m_networkClock;
    bool m_readyAnnounced = false;
    QList<QByteArray> m_held;
    SmsNetwork m_network{m_module, m_state};
};

// The SMS-DELIVER time stamp for a time: yyMMddhhmmss and the zone in
// quarter hours, each pair of digits swapped as on the wire.
QByteArray deliverTimestamp(const QDateTime &time);

} // namespace zx::sim
