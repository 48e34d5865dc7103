#pragma once
// The module (setting mode) or a GSM modem with the module behind it (SMS
// mode) on a pseudo-terminal, run on the caller's Qt event loop so that it
// can share one with the tool's window in tests.
#include "sim/FaultOptions.h"
#include "sim/LinePacer.h"
#include "sim/Modem.h"
#include "sim/Module.h"
#include "sim/OutputScheduler.h"
#include "sim/PortLink.h"
#include "sim/Pty.h"
#include "sim/SettingFramer.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;

namespace zx::sim {

class Simulator : public QObject {
    Q_OBJECT
public:
    enum class Mode { Setting, Sms };

    explicit Simulator(QObject *parent = nullptr);
    ~Simulator() override;

    // Opens a new pseudo-terminal and serves it; arms the vanish fault. The
    // modem is switched on: its not-ready time starts and the answers its
    // state asks for (storedAnswers, cmtiBeforeOpen) are put in its store.
    bool start();
    // Closes the terminal and removes the port-map link.
    void stop();
    bool isRunning() const { return m_pty.isOpen(); }
    QString slavePath() const { return m_pty.slavePath(); }
    QString errorString() const { return m_error; }

    // Makes the tool's "ComN" this terminal (see PortLink::create).
    bool linkAs(int comN, bool force = false);
    QString linkPath() const { return m_link.path(); }

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    FaultOptions faults() const { return m_faults; }
    void setFaults(const FaultOptions &faults);

    Module &module() { return m_module; }
    Modem &modem() { return m_modem; }
    // Puts count unread answers into the modem's store; with announce their
    // "+CMTI:" lines go out at once, whether or not a tool has the port open.
    void storeAnswers(int count, bool announce);

    // The port goes away under the tool: the master is closed, so the tool
    // sees a hang-up. comeBack() opens a new terminal and re-points the link.
    void vanish();
    bool comeBack();
    bool hasVanished() const { return m_vanished; }

    // With a path, the network's counts (SmsNetwork::countsJson) are
    // written there after every change, replacing the file in one step.
    void setCountFile(const QString &path);
    // Writes them now; false (with errorString) when that failed.
    bool writeCounts();

    // Bytes the line has taken from the simulator since it started.
    qint64 bytesDelivered() const { return m_delivered; }

signals:
    void bytesReceived(const QByteArray &bytes);
    // Each command line the module gets, by wire or by SMS.
    void moduleCommand(const QByteArray &line);
    void bytesWritten(const QByteArray &bytes);
    void vanished();
    void cameBack(const QString &slavePath);

private:
    bool openPort();
    void closePort();
    void readMaster();
    void handle(const QByteArray &bytes);
    void answer(const QByteArray &bytes);
    void write(const QByteArray &bytes);
    void writeNow(const QByteArray &bytes);
    void flush();
    void sendNoise();
    void sendUnsolicited();
    void updateNoise();
    void pollModem();

    Module m_module;
    Modem m_modem{m_module};
    SettingFramer m_framer;
    Pty m_pty;
    PortLink m_link;
    OutputScheduler m_output;
    LinePacer m_lineIn;  // with --line-rate: the tool's bytes on their way in
    LinePacer m_lineOut; // and the answers on their way out
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QTimer m_noiseTimer;
    QTimer m_vanishTimer;
    QTimer m_comeBackTimer;
    QTimer m_modemTimer;
    QByteArray m_unwritten;
    FaultOptions m_faults;
    Mode m_mode = Mode::Setting;
    bool m_vanished = false;
    double m_noiseOwed = 0;
    int m_noiseTicks = 0;
    double m_unsolicitedOwed = 0;
    int m_unsolicitedSent = 0;
    qint64 m_delivered = 0;
    QString m_error;
    QString m_countFile;
};

} // namespace zx::sim
