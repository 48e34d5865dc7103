#pragma once
// The window's receive side: the port delivers bytes as they arrive, often
// an answer in several pieces; the link wants each answer whole, as soon as
// it is whole. A module answer is whole at its line end; a modem reply at
// its final result code or the "> " prompt for a PDU, and a modem's own
// report (+CMTI: ...) at its line end.
// Whatever is held is handed on after the quiet gap in any case.
#include <QByteArray>
#include <QObject>
#include <QTimer>

namespace zx::link {

class ReceiveGather : public QObject {
    Q_OBJECT
public:
    explicit ReceiveGather(QObject *parent = nullptr);

    // Quiet gap from the line speed: 40 characters, at least 100 ms.
    void setBaud(quint32 baud);
    int quietGapMs() const { return m_quiet.interval(); }
    // In SMS mode a line end does not end a reply.
    void setSmsMode(bool on) { m_smsMode = on; }

    void receive(const QByteArray &bytes);
    // Hands on what is held now.
    void flush();
    bool holding() const { return !m_held.isEmpty(); }

signals:
    void gathered(const QByteArray &bytes);

private:
    bool whole() const;

    QTimer m_quiet;
    QByteArray m_held;
    bool m_smsMode = false;
};

} // namespace zx::link
