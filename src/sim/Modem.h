#pragma once
// The simulated GSM modem: an AT interpreter in PDU mode with a message
// store. Every SMS the tool submits reaches the module behind it, whose
// answer comes back as a received message. No I/O: bytes in, bytes out.
#include "sim/MessageStore.h"
#include "sim/ModemState.h"
#include "sim/Module.h"

#include <QByteArray>

#include <functional>

namespace zx::sim {

class Modem {
public:
    explicit Modem(Module &module) : m_module(module) {}

    // Takes what the tool wrote and returns what the modem writes back:
    // the echo (when on) and the answers of the lines completed.
    QByteArray feed(const QByteArray &bytes);
    // Forgets a half-received line or PDU, as after a power cycle.
    void resetInput();

    ModemState &state() { return m_state; }
    MessageStore &store() { return m_store; }
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

    Module &m_module;
    ModemState m_state;
    MessageStore m_store;
    QByteArray m_line;
    bool m_awaitingPdu = false;
    int m_announcedLength = 0;
    QByteArray m_pdu;
};

// The SMS-DELIVER time stamp for a time: yyMMddhhmmss and the zone in
// quarter hours, each pair of digits swapped as on the wire.
QByteArray deliverTimestamp(const QDateTime &time);

} // namespace zx::sim
