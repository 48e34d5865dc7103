#pragma once
// A serial line's speed on a pseudo-terminal, which moves bytes at no speed
// at all: bytes pushed in come out no faster than one character time each
// (10 bit times at the rate the terminal is set to), in order.
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace zx::sim {

class LinePacer : public QObject {
    Q_OBJECT
public:
    explicit LinePacer(QObject *parent = nullptr);

    // The line's rate in bits per second, asked at each push.
    void setRate(std::function<quint32()> bitsPerSecond) { m_rate = std::move(bitsPerSecond); }
    void push(const QByteArray &bytes);
    void clear();

signals:
    void released(const QByteArray &bytes);

private:
    void release();

    std::function<quint32()> m_rate;
    QByteArray m_queue;
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_charMs = 0;
    double m_nextDueMs = 0; // when the first queued byte has crossed the line
};

} // namespace zx::sim
