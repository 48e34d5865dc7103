#include "sim/Simulator.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSocketNotifier>

#include <cerrno>
#include <unistd.h>

namespace zx::sim {
namespace {

constexpr int kNoiseTickMs = 100;
// How often the modem is asked for unsolicited lines that fall due by time.
constexpr int kModemPollMs = 50;
// Noise the line has not taken yet beyond this is dropped, as a receiver
// that does not keep up loses it; answers are always kept.
constexpr qsizetype kNoiseBacklogLimit = 64 * 1024;

} // namespace

Simulator::Simulator(QObject *parent) : QObject(parent) {
    connect(&m_output, &OutputScheduler::due, this, &Simulator::write);
    m_noiseTimer.setInterval(kNoiseTickMs);
    connect(&m_noiseTimer, &QTimer::timeout, this, &Simulator::sendNoise);
    m_vanishTimer.setSingleShot(true);
    connect(&m_vanishTimer, &QTimer::timeout, this, &Simulator::vanish);
    m_comeBackTimer.setSingleShot(true);
    connect(&m_comeBackTimer, &QTimer::timeout, this, &Simulator::comeBack);
    m_modemTimer.setInterval(kModemPollMs);
    connect(&m_modemTimer, &QTimer::timeout, this, &Simulator::pollModem);
    const auto rate = [this] { return m_pty.baudRate(); };
    m_lineIn.setRate(rate);
    m_lineOut.setRate(rate);
    connect(&m_lineIn, &LinePacer::released, this, &Simulator::handle);
    connect(&m_lineOut, &LinePacer::released, this, &Simulator::writeNow);
    m_modem.onModuleCommand = [this](const QByteArray &line) { emit moduleCommand(line); };
    m_modem.network().onChange = [this] { writeCounts(); };
}

void Simulator::setCountFile(const QString &path) {
    m_countFile = path;
}

bool Simulator::writeCounts() {
    if (m_countFile.isEmpty())
        return true;
    QSaveFile file(m_countFile);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(m_modem.network().countsJson()).toJson()) < 0 || !file.commit()) {
        m_error = m_countFile + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

Simulator::~Simulator() {
    stop();
}

bool Simulator::start() {
    stop();
    if (!openPort())
        return false;
    m_vanished = false;
    if (m_faults.vanishAfterSec > 0)
        m_vanishTimer.start(m_faults.vanishAfterSec * 1000);
    m_modem.restart();
    if (m_mode == Mode::Sms && m_modem.state().storedAnswers > 0)
        storeAnswers(m_modem.state().storedAnswers, m_modem.state().cmtiBeforeOpen);
    return true;
}

void Simulator::storeAnswers(int count, bool announce) {
    const QByteArray indications = m_modem.storeAnswers(count);
    if (announce && !indications.isEmpty())
        write(indications);
}

void Simulator::pollModem() {
    if (const QByteArray lines = m_modem.poll(); !lines.isEmpty())
        write(lines);
}

void Simulator::stop() {
    m_vanishTimer.stop();
    m_comeBackTimer.stop();
    closePort();
    m_link.remove();
    m_vanished = false;
}

bool Simulator::openPort() {
    if (!m_pty.open()) {
        m_error = m_pty.errorString();
        return false;
    }
    m_readNotifier = new QSocketNotifier(m_pty.master(), QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &Simulator::readMaster);
    m_writeNotifier = new QSocketNotifier(m_pty.master(), QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &Simulator::flush);
    updateNoise();
    return true;
}

void Simulator::closePort() {
    delete m_readNotifier;
    delete m_writeNotifier;
    m_readNotifier = m_writeNotifier = nullptr;
    m_noiseTimer.stop();
    m_modemTimer.stop();
    m_output.clear();
    m_lineIn.clear();
    m_lineOut.clear();
    m_unwritten.clear();
    m_framer.reset();
    m_modem.resetInput();
    m_pty.close();
}

bool Simulator::linkAs(int comN, bool force) {
    if (!isRunning()) {
        m_error = QStringLiteral("the simulator is not running");
        return false;
    }
    if (!m_link.create(comN, slavePath(), force)) {
        m_error = m_link.errorString();
        return false;
    }
    return true;
}

void Simulator::setMode(Mode mode) {
    m_mode = mode;
    m_framer.reset();
    m_modem.resetInput();
    updateNoise();
}

void Simulator::setFaults(const FaultOptions &faults) {
    m_faults = faults;
    updateNoise();
}

void Simulator::vanish() {
    if (!isRunning())
        return;
    m_vanishTimer.stop();
    closePort();
    m_link.withdraw();
    m_vanished = true;
    emit vanished();
    if (m_faults.vanishAfterSec > 0)
        m_comeBackTimer.start(m_faults.vanishAfterSec * 1000);
}

bool Simulator::comeBack() {
    m_comeBackTimer.stop();
    if (!m_vanished)
        return isRunning();
    if (!openPort())
        return false;
    m_vanished = false;
    if (!m_link.path().isEmpty() && !m_link.retarget(slavePath()))
        m_error = m_link.errorString();
    emit cameBack(slavePath());
    return true;
}

void Simulator::readMaster() {
    QByteArray received;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_pty.master(), buffer, sizeof buffer);
        if (count > 0) {
            received.append(buffer, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        // EAGAIN: drained. Anything else would fire the notifier forever.
        if (count == 0 || errno != EAGAIN)
            m_readNotifier->setEnabled(false);
        break;
    }
    if (received.isEmpty())
        return;
    if (m_faults.lineRate)
        m_lineIn.push(received);
    else
        handle(received);
}

void Simulator::handle(const QByteArray &bytes) {
    emit bytesReceived(bytes);
    if (m_mode == Mode::Sms) {
        answer(m_modem.feed(bytes));
        return;
    }
    for (const QByteArray &line : m_framer.feed(bytes)) {
        emit moduleCommand(line);
        answer((m_faults.refuseAll ? QByteArray("ERROR") : m_module.answer(line)) + "\r\n");
    }
}

void Simulator::answer(const QByteArray &bytes) {
    if (m_faults.silent || bytes.isEmpty())
        return;
    m_output.schedule(bytes, m_faults.delayMs, m_faults.splitPieces, m_faults.splitGapMs);
}

void Simulator::write(const QByteArray &bytes) {
    if (!isRunning())
        return;
    if (m_faults.lineRate)
        m_lineOut.push(bytes);
    else
        writeNow(bytes);
}

void Simulator::writeNow(const QByteArray &bytes) {
    if (!isRunning())
        return;
    m_unwritten += bytes;
    emit bytesWritten(bytes);
    flush();
}

void Simulator::flush() {
    while (!m_unwritten.isEmpty()) {
        const ssize_t count = ::write(m_pty.master(), m_unwritten.constData(), size_t(m_unwritten.size()));
        if (count > 0) {
            m_delivered += count;
            m_unwritten.remove(0, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno != EAGAIN)
            m_unwritten.clear(); // the line is gone; so are the bytes
        break;
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_unwritten.isEmpty());
}

void Simulator::updateNoise() {
    const bool unsolicited = m_faults.unsolicitedPerSec > 0 && m_mode == Mode::Sms;
    if ((m_faults.noiseBytesPerSec > 0 || unsolicited) && isRunning())
        m_noiseTimer.start();
    else
        m_noiseTimer.stop();
    m_noiseOwed = 0;
    m_noiseTicks = 0;
    m_unsolicitedOwed = 0;
    if (m_mode == Mode::Sms && isRunning())
        m_modemTimer.start();
    else
        m_modemTimer.stop();
}

void Simulator::sendNoise() {
    const int ticksPerSec = 1000 / kNoiseTickMs;
    const bool burst = m_faults.noiseEverySec <= 0 ||
                       m_noiseTicks % (m_faults.noiseEverySec * ticksPerSec) < ticksPerSec;
    ++m_noiseTicks;
    if (m_mode == Mode::Sms && m_faults.unsolicitedPerSec > 0)
        sendUnsolicited();
    if (!burst || m_faults.noiseBytesPerSec <= 0)
        return;
    m_noiseOwed += m_faults.noiseBytesPerSec * kNoiseTickMs / 1000.0;
    const int count = int(m_noiseOwed);
    if (count == 0)
        return;
    m_noiseOwed -= count;
    if (m_unwritten.size() > kNoiseBacklogLimit)
        return;
    QByteArray noise(count, '\0');
    for (char &byte : noise)
        byte = char(QRandomGenerator::global()->bounded(256));
    write(noise);
}

void Simulator::sendUnsolicited() {
    m_unsolicitedOwed += m_faults.unsolicitedPerSec * kNoiseTickMs / 1000.0;
    QByteArray lines;
    for (; m_unsolicitedOwed >= 1; m_unsolicitedOwed -= 1) {
        switch (m_unsolicitedSent++ % 4) {
        case 0:
            lines += "\r\nRING\r\n";
            break;
        case 1:
            lines += "\r\n+CREG: 1\r\n";
            break;
        case 2:
            lines += "\r\n+CSQ: 21,0\r\n";
            break;
        default:
            lines += "\r\n+CMTI: \"SM\"," + QByteArray::number(m_unsolicitedSent % 30 + 1) + "\r\n";
            break;
        }
    }
    if (!lines.isEmpty() && m_unwritten.size() <= kNoiseBacklogLimit)
        write(lines);
}

} // namespace zx::sim
