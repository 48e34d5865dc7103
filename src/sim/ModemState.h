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
    std::function<QDateTime()> clock; // empty: the PC's local clock

    QDateTime now() const;
};

} // namespace zx::sim
