#pragma once
// Hands answers to the writer later and in pieces when the faults ask for
// it, always in the order they were given.
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

namespace zx::sim {

class OutputScheduler : public QObject {
    Q_OBJECT
public:
    explicit OutputScheduler(QObject *parent = nullptr);

    // bytes are due after delayMs, cut into pieces (at most one per byte)
    // gapMs apart; never before anything scheduled earlier.
    void schedule(const QByteArray &bytes, int delayMs, int pieces, int gapMs);
    void clear();
    bool isIdle() const { return m_pieces.isEmpty(); }

signals:
    void due(const QByteArray &bytes);

private:
    void fire();
    void arm();

    struct Piece {
        qint64 dueMs;
        QByteArray bytes;
    };
    QList<Piece> m_pieces;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

} // namespace zx::sim
