#include "ui/DriverPort.h"

#include "serial/CPDrv.h"

namespace zx::ui {

bool DriverPort::connect() { return held_ ? driver_.Connected() : driver_.Connect(); }

bool DriverPort::connected() const { return driver_.Connected(); }

void DriverPort::write(const QByteArray &bytes) {
    driver_.SendData(bytes.constData(), unsigned(bytes.size()));
}

void DriverPort::writeByte(char byte) { driver_.SendByte(static_cast<quint8>(byte)); }

void DriverPort::setPollingDelay(int ms) { driver_.SetPollingDelay(quint16(ms)); }

void DriverPort::setOutputTimeout(int ms) { driver_.SetOutputTimeout(quint16(ms)); }

} // namespace zx::ui
