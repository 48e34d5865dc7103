#include "serial/CPDrv.h"

#include "serial/PortNames.h"
#include "serial/PosixSerialBackend.h"

#include <algorithm>

namespace {

constexpr quint32 kMinBufSize = 128;
constexpr quint32 kMaxBufSize = 8192;
constexpr quint16 kMinPollingDelay = 5;

} // namespace

TCommPortDriver::TCommPortDriver(QObject *parent)
    : TCommPortDriver(std::make_unique<zx::serial::PosixSerialBackend>(), parent) {}

TCommPortDriver::TCommPortDriver(std::unique_ptr<zx::serial::SerialBackend> backend,
                                 QObject *parent)
    : QObject(parent), m_backend(std::move(backend)), m_pollTimer(this), m_packetTimer(this) {
    m_receiveBuffer.assign(m_inBufSize, '\0');
    if (!m_backend)
        m_backend = std::make_unique<zx::serial::PosixSerialBackend>();
    m_clock.start();
    connect(&m_pollTimer, &QTimer::timeout, this, &TCommPortDriver::pollReceive);
    m_packetTimer.setSingleShot(true);
    m_packetTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_packetTimer, &QTimer::timeout, this, &TCommPortDriver::pollReceive);
}

TCommPortDriver::~TCommPortDriver() {
    Disconnect();
}

void TCommPortDriver::SetPort(TPortNumber port) {
    if (Connected() || port < pnCustom || port > pnCOM16)
        return;
    m_port = port;
    if (port != pnCustom)
        m_portName = QStringLiteral("\\\\.\\COM%1").arg(int(port));
}

void TCommPortDriver::SetPortName(const QString &name) {
    if (Connected())
        return;
    m_port = pnCustom;
    m_portName = name;
}

void TCommPortDriver::SetBaudRate(TBaudRate rate) {
    if (rate < brCustom || rate > br256000)
        return;
    m_baudRate = rate;
    if (rate != brCustom)
        m_baudRateValue = baudRateBits(rate);
    applyIfConnected();
}

void TCommPortDriver::SetBaudRateValue(quint32 bitsPerSecond) {
    m_baudRate = brCustom;
    m_baudRateValue = bitsPerSecond;
    applyIfConnected();
}

void TCommPortDriver::SetDataBits(TDataBits bits) {
    m_dataBits = bits;
    applyIfConnected();
}

void TCommPortDriver::SetStopBits(TStopBits bits) {
    m_stopBits = bits;
    applyIfConnected();
}

void TCommPortDriver::SetParity(TParity parity) {
    m_parity = parity;
    applyIfConnected();
}

void TCommPortDriver::SetHwFlow(THwFlowControl flow) {
    m_hwFlow = flow;
    applyIfConnected();
}

void TCommPortDriver::SetSwFlow(TSwFlowControl flow) {
    m_swFlow = flow;
    applyIfConnected();
}

void TCommPortDriver::applyIfConnected() {
    if (Connected())
        ApplyCommSettings();
}

void TCommPortDriver::SetInBufSize(quint32 size) {
    if (Connected())
        return;
    m_inBufSize = std::clamp(size, kMinBufSize, kMaxBufSize);
    m_receiveBuffer.assign(m_inBufSize, '\0');
    SetPacketSize(m_packetSize);
}

void TCommPortDriver::SetOutBufSize(quint32 size) {
    if (Connected())
        return;
    m_outBufSize = std::clamp(size, kMinBufSize, kMaxBufSize);
}

void TCommPortDriver::SetPacketSize(qint16 size) {
    if (size <= 0) {
        m_packetSize = -1;
        return;
    }
    // A packet is read into the receive buffer in one piece, so it can be no
    // larger than the largest buffer, nor than the present one while the
    // port is open (the buffer cannot grow then).
    const quint32 wanted = std::min(quint32(size), kMaxBufSize);
    m_packetSize = qint16(wanted);
    if (wanted > m_inBufSize)
        SetInBufSize(wanted);
    if (quint32(m_packetSize) > m_inBufSize)
        m_packetSize = qint16(m_inBufSize);
}

void TCommPortDriver::SetPacketTimeout(qint32 ms) {
    if (ms < 1)
        m_packetTimeout = -1;
    else if (ms < m_pollingDelay)
        m_packetTimeout = m_pollingDelay + m_pollingDelay * 40 / 100;
    else
        m_packetTimeout = ms;
    // An unfinished packet waits by the new time-out.
    schedulePacketTimeout();
}

void TCommPortDriver::SetPollingDelay(quint16 ms) {
    ms = std::max(ms, kMinPollingDelay);
    if (ms == m_pollingDelay)
        return;
    m_pollingDelay = ms;
    if (m_pollTimer.isActive())
        m_pollTimer.start(m_pollingDelay);
    SetPacketTimeout(m_packetTimeout);
}

bool TCommPortDriver::Connect() {
    if (Connected())
        return true;
    m_deviceName = m_resolver ? m_resolver(m_portName) : zx::serial::resolvePortName(m_portName);
    if (m_deviceName.isEmpty()) {
        m_lastError = {zx::serial::PortErrorKind::NoDevice, {}, {}};
        return false;
    }
    if (!m_backend->open(m_deviceName) || !ApplyCommSettings()) {
        const int error = m_backend->errorNumber();
        m_lastError = {error ? zx::serial::portErrorKindOf(error) : zx::serial::PortErrorKind::Other,
                       m_deviceName, m_backend->errorString()};
        Disconnect();
        return false;
    }
    m_lastError = {};
    // The descriptor is non-blocking with VMIN = VTIME = 0: reads return at
    // once with what is there, and SendDataEx keeps its own write time-out.
    // ApplyCommSettings has flushed the input: bytes left on the line from
    // before the open are not taken for an answer.
    m_packetStart = kNoPacket;
    m_pending = 0;
    m_idleWakeups = 0;
    startReading();
    return true;
}

void TCommPortDriver::Disconnect() {
    if (!Connected())
        return;
    // The notifier goes before the descriptor it watches is closed.
    stopReading();
    m_backend->close();
}

bool TCommPortDriver::Connected() const {
    return m_backend->isOpen();
}

zx::serial::LineSettings TCommPortDriver::buildLineSettings() const {
    zx::serial::LineSettings settings;
    settings.speed = m_baudRateValue;
    settings.dataBits = m_dataBits;
    settings.parity = m_parity;
    settings.stopBits = m_stopBits;
    settings.dtr = m_enableDTROnOpen;
    settings.rts = m_hwFlow != hfNONE;
    settings.ctsFlow = m_hwFlow == hfRTSCTS;
    settings.xonXoff = m_swFlow == sfXONXOFF;
    settings.xonChar = 0x11;
    settings.xoffChar = 0x13;
    settings.xonLimit = m_inBufSize / 4;
    settings.xoffLimit = m_inBufSize / 4;
    return settings;
}

bool TCommPortDriver::ApplyCommSettings() {
    if (!Connected())
        return false;
    if (!m_backend->applyLineSettings(buildLineSettings()))
        return false;
    if (!FlushBuffers(true, true))
        return false;
    return m_backend->setQueueSizes(m_inBufSize, m_outBufSize);
}

const zx::serial::LineSettings &TCommPortDriver::LastAppliedSettings() const {
    return m_backend->lastAppliedSettings();
}

bool TCommPortDriver::FlushBuffers(bool input, bool output) {
    if (!Connected() || !m_backend->purge(input, output))
        return false;
    m_packetStart = kNoPacket;
    m_pending = 0;
    return true;
}
