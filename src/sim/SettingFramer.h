#pragma once
// Cuts what the tool writes in setting mode into command lines: either the
// set-up prefix, the line, CR and NUL, or a raw line ended by CR alone.
#include <QByteArray>
#include <QList>

namespace zx::sim {

inline constexpr char kSetupPrefix[] = "              SETUP:";

class SettingFramer {
public:
    // The lines completed by these bytes, without prefix, CR or NUL.
    QList<QByteArray> feed(const QByteArray &bytes);
    void reset() { m_pending.clear(); }

private:
    QByteArray m_pending;
};

} // namespace zx::sim
