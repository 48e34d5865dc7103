#pragma once
// The setting most window tests share: the window on a pseudo-terminal
// playing the module, with the one-second timer stopped so that the test
// drives the ticks itself.
#include "common/Wire.h"
#include "support/UiTestEnv.h"
#include "ui/Unit1.h"

#include <QByteArray>
#include <QString>

#include <memory>

using zx::testing::framed;

// A settings file one byte short: start-up stops after reading it, so every
// control keeps the value it was built with.
inline QByteArray designTimeSettings() { return QByteArray(4095, '\0'); }

// The window on a pseudo-terminal, for test classes to derive from.
class WindowOnPty {
protected:
    // Opens the window with comN on a fresh pseudo-terminal and the given
    // settings file, and stops its one-second timer; whatever was open is
    // closed first.
    void open(const QByteArray &settings = QByteArray(4096, '\0'), int comN = 1);
    // The window first, then its terminal and its environment.
    void close();

    std::unique_ptr<UiTestEnv> env_;
    std::unique_ptr<PtyPeer> peer_;
    std::unique_ptr<TForm1> form_;
};
