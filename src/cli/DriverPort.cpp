#include "cli/DriverPort.h"

#include "provision/Engine.h"
#include "serial/PortError.h"

#include <QRegularExpression>

namespace zx::cli {

QString driverPortName(const QString &name) {
    static const QRegularExpression com(QStringLiteral("^com([0-9]+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = com.match(name);
    if (match.hasMatch())
        return QStringLiteral("\\\\.\\COM") + match.captured(1);
    return name;
}

DriverPort::~DriverPort() {
    endRun();
    m_driver.Disconnect();
}

QString DriverPort::open(const PortChoice &choice) {
    m_driver.SetPortName(driverPortName(choice.name));
    m_driver.SetBaudRateValue(choice.baud);
    m_driver.SetParity(choice.evenParity ? ptEVEN : ptNONE);
    if (m_driver.Connect())
        return {};
    return serial::portErrorText(choice.name, m_driver.LastError());
}

bool DriverPort::write(const QByteArray &bytes) {
    if (!m_driver.Connected())
        return false;
    const auto count = unsigned(bytes.size());
    return m_driver.SendData(bytes.constData(), count) == count;
}

void DriverPort::beginRun(provision::Engine &engine, int pollMs) {
    // The handlers stay in place between runs and forward only during one:
    // a handler must not be replaced while the driver is calling it (a lost
    // port ends the run from inside its own event).
    if (!m_engine) {
        m_driver.SetOnReceiveData([this](TCommPortDriver *, const char *data, unsigned count) {
            if (m_engine)
                m_engine->receive(QByteArray(data, qsizetype(count)));
        });
        m_driver.SetOnPortLost([this](TCommPortDriver *, const QString &reason) {
            if (m_engine)
                m_engine->portLost(reason);
        });
        m_savedPollingDelay = m_driver.PollingDelay();
    }
    m_engine = &engine;
    m_driver.SetPollingDelay(quint16(pollMs));
}

void DriverPort::endRun() {
    if (!m_engine)
        return;
    m_engine = nullptr;
    m_driver.SetPollingDelay(m_savedPollingDelay);
}

} // namespace zx::cli

namespace zx::cli {

void DriverPort::forward(std::function<void(const QByteArray &)> receive,
                         std::function<void(const QString &)> lost) {
    m_driver.SetOnReceiveData([receive](TCommPortDriver *, const char *data, unsigned count) {
        receive(QByteArray(data, qsizetype(count)));
    });
    m_driver.SetOnPortLost([lost](TCommPortDriver *, const QString &reason) { lost(reason); });
}

} // namespace zx::cli
