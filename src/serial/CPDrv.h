#pragma once
// TCommPortDriver: the one serial port object of the program. It opens and
// configures a port, writes with a time-out measured from the last progress,
// and reads received bytes as soon as the port's descriptor turns readable in
// the event loop of the thread that owns it. A backend without a descriptor
// is polled on a timer instead, every PollingDelay milliseconds.
#include "serial/LineSettings.h"
#include "serial/PortError.h"
#include "serial/SerialBackend.h"
#include "serial/SerialTypes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;
class TCommPortDriver;

// data points into the driver's receive buffer and is valid only during the call.
using TReceiveDataEvent =
    std::function<void(TCommPortDriver *sender, const char *data, unsigned count)>;
// The port failed under the driver (device unplugged, peer gone); the driver
// has already disconnected.
using TPortLostEvent = std::function<void(TCommPortDriver *sender, const QString &reason)>;
// The device a port name opens; by default zx::serial::resolvePortName.
using TPortResolver = std::function<QString(const QString &portName)>;

class TCommPortDriver : public QObject {
    Q_OBJECT

public:
    explicit TCommPortDriver(QObject *parent = nullptr);
    explicit TCommPortDriver(std::unique_ptr<zx::serial::SerialBackend> backend,
                             QObject *parent = nullptr);
    ~TCommPortDriver() override;

    TPortNumber Port() const { return m_port; }
    void SetPort(TPortNumber port);
    QString PortName() const { return m_portName; }
    void SetPortName(const QString &name);
    TBaudRate BaudRate() const { return m_baudRate; }
    void SetBaudRate(TBaudRate rate);
    quint32 BaudRateValue() const { return m_baudRateValue; }
    void SetBaudRateValue(quint32 bitsPerSecond);
    TDataBits DataBits() const { return m_dataBits; }
    void SetDataBits(TDataBits bits);
    TStopBits StopBits() const { return m_stopBits; }
    void SetStopBits(TStopBits bits);
    TParity Parity() const { return m_parity; }
    void SetParity(TParity parity);
    THwFlowControl HwFlow() const { return m_hwFlow; }
    void SetHwFlow(THwFlowControl flow);
    TSwFlowControl SwFlow() const { return m_swFlow; }
    void SetSwFlow(TSwFlowControl flow);
    quint32 InBufSize() const { return m_inBufSize; }
    void SetInBufSize(quint32 size);
    quint32 OutBufSize() const { return m_outBufSize; }
    void SetOutBufSize(quint32 size);
    qint16 PacketSize() const { return m_packetSize; }
    void SetPacketSize(qint16 size);
    qint32 PacketTimeout() const { return m_packetTimeout; }
    void SetPacketTimeout(qint32 ms);
    TPacketMode PacketMode() const { return m_packetMode; }
    void SetPacketMode(TPacketMode mode) { m_packetMode = mode; }
    quint16 PollingDelay() const { return m_pollingDelay; }
    void SetPollingDelay(quint16 ms);
    bool EnableDTROnOpen() const { return m_enableDTROnOpen; }
    void SetEnableDTROnOpen(bool enable) { m_enableDTROnOpen = enable; }
    quint16 OutputTimeout() const { return m_outputTimeout; }
    void SetOutputTimeout(quint16 ms) { m_outputTimeout = ms; }
    quint32 InputTimeout() const { return m_inputTimeout; }
    void SetInputTimeout(quint32 ms) { m_inputTimeout = ms; }
    bool CheckLineStatus() const { return m_checkLineStatus; }
    void SetCheckLineStatus(bool check) { m_checkLineStatus = check; }

    void SetOnReceiveData(TReceiveDataEvent handler) { m_onReceiveData = std::move(handler); }
    void SetOnReceivePacket(TReceiveDataEvent handler) { m_onReceivePacket = std::move(handler); }
    void SetOnPortLost(TPortLostEvent handler) { m_onPortLost = std::move(handler); }
    void SetPortResolver(TPortResolver resolver) { m_resolver = std::move(resolver); }

    bool Connect();
    void Disconnect();
    bool Connected() const;
    bool ApplyCommSettings();
    bool FlushBuffers(bool input, bool output);
    quint16 OutFreeSpace();
    TLineStatusSet GetLineStatus();
    unsigned SendDataEx(const char *data, unsigned count, unsigned timeoutMs);
    unsigned SendData(const char *data, unsigned count);
    bool SendByte(quint8 value);
    static unsigned CharsToMillis(TBaudRate rate, unsigned count);

    // The device the open port was resolved to (see PortNames.h).
    QString DeviceName() const { return m_deviceName; }
    // Why the last Connect failed; kind None after a good one.
    const zx::serial::PortError &LastError() const { return m_lastError; }
    // The line settings last handed to the system, taken or not.
    const zx::serial::LineSettings &LastAppliedSettings() const;

    // Runs one receive step now instead of at the next wake-up, so that
    // tests and automation need not wait for the event loop.
    void PollNow() { pollReceive(); }

private:
    zx::serial::LineSettings buildLineSettings() const;
    void applyIfConnected();
    void startReading();
    void stopReading();
    void onReadable();
    void pollReceive();
    void deliverData(qint64 waiting);
    void handlePartialPacket(qint64 waiting);
    void deliverPackets(qint64 waiting);
    void schedulePacketTimeout();
    // Reads up to maxCount waiting bytes into the receive buffer from offset
    // on; -1 when the port failed, which is then reported lost.
    qint64 readIntoBuffer(qint64 offset, qint64 maxCount);
    // Disconnects, then reports reason, by default the backend's last error.
    void portLost(const QString &reason = {});
    char *receiveBuffer() { return m_receiveBuffer.data(); }

    std::unique_ptr<zx::serial::SerialBackend> m_backend;
    QSocketNotifier *m_readNotifier = nullptr; // while open, when the backend has a descriptor
    QTimer m_pollTimer;                        // while open, when it has none
    QTimer m_packetTimer;                      // ends an unfinished packet's wait
    QElapsedTimer m_clock;
    std::vector<char> m_receiveBuffer;
    QString m_deviceName;
    zx::serial::PortError m_lastError;
    static constexpr qint64 kNoPacket = -1;
    qint64 m_packetStart = kNoPacket; // m_clock time of an unfinished packet's first byte
    // Bytes of an unfinished packet already taken from the port, at the
    // front of the receive buffer.
    qint64 m_pending = 0;
    quint64 m_bytesRead = 0;
    int m_idleWakeups = 0; // readable wake-ups in a row that found nothing

    TPortNumber m_port = pnCOM2;
    QString m_portName = QStringLiteral("\\\\.\\COM2");
    TBaudRate m_baudRate = br9600;
    quint32 m_baudRateValue = 9600;
    TDataBits m_dataBits = db8BITS;
    TStopBits m_stopBits = sb1BITS;
    TParity m_parity = ptNONE;
    THwFlowControl m_hwFlow = hfNONERTSON;
    TSwFlowControl m_swFlow = sfNONE;
    quint32 m_inBufSize = 2048;
    quint32 m_outBufSize = 2048;
    qint16 m_packetSize = -1;
    qint32 m_packetTimeout = -1;
    TPacketMode m_packetMode = pmDiscard;
    quint16 m_pollingDelay = 50;
    bool m_enableDTROnOpen = true;
    quint16 m_outputTimeout = 500;
    quint32 m_inputTimeout = 200;
    bool m_checkLineStatus = false;

    TReceiveDataEvent m_onReceiveData;
    TReceiveDataEvent m_onReceivePacket;
    TPortLostEvent m_onPortLost;
    TPortResolver m_resolver;
};
