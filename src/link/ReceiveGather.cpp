#include "link/ReceiveGather.h"

#include "channel/AnswerRule.h"
#include "channel/Outcome.h"

#include <algorithm>
#include <cmath>

namespace zx::link {
namespace {

// Held no longer than this much, whatever comes.
constexpr qsizetype kHeldCap = 8192;

} // namespace

ReceiveGather::ReceiveGather(QObject *parent) : QObject(parent) {
    m_quiet.setSingleShot(true);
    m_quiet.setTimerType(Qt::PreciseTimer);
    m_quiet.setInterval(100);
    connect(&m_quiet, &QTimer::timeout, this, &ReceiveGather::flush);
}

void ReceiveGather::setBaud(quint32 baud) {
    const double charMs = 10000.0 / double(std::max<quint32>(baud, 1));
    m_quiet.setInterval(std::max(100, int(std::ceil(40 * charMs))));
}

bool ReceiveGather::whole() const {
    if (m_held.size() >= kHeldCap)
        return true;
    if (m_smsMode) {
        if (m_held.endsWith("> ") || m_held.endsWith(">"))
            return true;
        if (!m_held.endsWith('\n'))
            return false;
        // A reply ends with its final result code. The modem's own reports
        // can come in the middle of a reply, so one ends what is held only
        // when nothing but reports came since the last final result code.
        const QList<QByteArray> lines = m_held.split('\n');
        bool report = false;
        for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
            const QByteArray t = line->trimmed();
            if (t.isEmpty())
                continue;
            if (t == "OK" || channel::isRefusal(t))
                return true;
            if (!channel::isUnsolicited(t))
                return false;
            report = true;
        }
        return report;
    }
    QByteArray tail = m_held;
    while (tail.endsWith('\0'))
        tail.chop(1);
    return tail.endsWith('\n');
}

void ReceiveGather::receive(const QByteArray &bytes) {
    if (bytes.isEmpty())
        return;
    m_held += bytes;
    if (whole())
        flush();
    else
        m_quiet.start();
}

void ReceiveGather::flush() {
    m_quiet.stop();
    if (m_held.isEmpty())
        return;
    const QByteArray bytes = m_held;
    m_held.clear();
    emit gathered(bytes);
}

} // namespace zx::link
