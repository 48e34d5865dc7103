#include "ui/DriverPort.h"

#include "serial/CPDrv.h"

namespace zx::ui {

bool DriverPort::connect() { return held_ ? driver_.Connected() : driver_.Connect(); }

bool DriverPort::connected() const { return driver_.Connected(); }

void DriverPort::write(const QByteArray &bytes) { send(bytes); }

bool DriverPort::send(const QByteArray &bytes) {
    traffic_.record(traffic::Direction::Sent, bytes);
    if (onActivity)
        onActivity();
    const auto count = unsigned(bytes.size());
    return driver_.SendData(bytes.constData(), count) == count;
}

void DriverPort::writeByte(char byte) {
    traffic_.record(traffic::Direction::Sent, QByteArrayView(&byte, 1));
    if (onActivity)
        onActivity();
    driver_.SendByte(static_cast<quint8>(byte));
}

void DriverPort::received(const char *data, unsigned count) {
    if (count == 0)
        return;
    traffic_.record(traffic::Direction::Received, QByteArrayView(data, qsizetype(count)));
    if (onActivity)
        onActivity();
}

void DriverPort::setPollingDelay(int ms) { driver_.SetPollingDelay(quint16(ms)); }

void DriverPort::setOutputTimeout(int ms) { driver_.SetOutputTimeout(quint16(ms)); }

} // namespace zx::ui
