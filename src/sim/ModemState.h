#pragma once
// Settings and identity of the simulated GSM modem.
#include <QByteArray>
#include <QDateTime>

#include <functional>

namespace zx::sim {

struct ModemState {
    bool echo = true;
    QByteArray manufacturer = "ZX Simulated GSM";
    QByteArray model = "ZXS-900";
    QByteArray revision = "1.00.07";
    QByteArray imei = "356938035643809";
    int smsFormat = 0; // 0 PDU, 1 text
    QByteArray characterSet = "IRA";
    int band = 0;      // AT#BND 0..3
    int signalRssi = 17;
    int signalBer = 0;
    qint64 clockOffsetSecs = 0;
    // The number the module's answers come from; empty: the number the
    // command was sent to.
    QByteArray moduleNumber;
    int messageReference = 0;
    // Like some real modems: AT+CMGL on an empty store answers
    // "+CMS ERROR: 321" instead of OK ...
    bool emptyStoreError = false;
    // ... and each message stored is announced with "+CMTI: "SM",<index>".
    bool newMessageIndications = false;
    // Further habits of real modems, each off by default:
    // AT+CMGS=<n> is refused with "+CMS ERROR: <code>" instead of the prompt.
    int refuseSubmitCode = 0;
    // The prompt is a bare ">", without CR LF before it or a space after.
    bool barePrompt = false;
    // RING and +CREG lines turn up inside the answers to AT+CMGL, AT+CMGD
    // and AT+CMGS.
    bool unsolicitedInReplies = false;
    // For this long after the start every command answers ERROR; then
    // "+CPIN: READY" and "SMS Ready" are sent once.
    int notReadyMs = 0;
    // Above 0: the store holds this many messages, and while it is full the
    // network keeps the module's answers and hands them over when a
    // deletion makes room.
    int storeCapacity = 0;
    // AT+CMGS on a full store answers "+CMS ERROR: 322".
    bool refuseWhenFull = false;
    // Unread answers in the store when the simulator starts ...
    int storedAnswers = 0;
    // ... announced by "+CMTI:" at once, before any tool has the port open.
    bool cmtiBeforeOpen = false;
    std::function<QDateTime()> clock; // empty: the PC's local clock
    std::function<qint64()> uptimeMs; // empty: milliseconds since the start

    QDateTime now() const;
};

} // namespace zx::sim
