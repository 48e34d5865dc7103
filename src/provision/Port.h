#pragma once
// What a provisioning run needs of the serial port. The command line hands
// it the real driver; tests may hand it a double.
#include <QByteArray>
#include <QString>

namespace zx::provision {

class Engine;

class Port {
public:
    virtual ~Port() = default;
    // Buffer send; false when the port failed (it is then gone).
    virtual bool write(const QByteArray &bytes) = 0;
    // For the run: received bytes and a lost port go to engine, and the
    // port is polled every pollMs. endRun() restores what was there before.
    virtual void beginRun(Engine &engine, int pollMs) = 0;
    virtual void endRun() = 0;
};

} // namespace zx::provision
