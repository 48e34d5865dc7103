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

// A control by name; a missing control ends the test run.
QObject *requireChild(TForm1 &form, const QString &name, const QMetaObject &type);

template <typename T> T *child(TForm1 &form, const QString &name) {
    return static_cast<T *>(requireChild(form, name, T::staticMetaObject));
}
template <typename T> T *child(TForm1 &form, const char *name) {
    return child<T>(form, QString::fromLatin1(name));
}

// A settings file one byte short: start-up stops after reading it, so every
// control keeps the value it was built with.
inline QByteArray designTimeSettings() { return QByteArray(4095, '\0'); }

// Opens the window with Com1 on a fresh pseudo-terminal and the given
// settings file, and stops its one-second timer.
void openWindowOnPty(std::unique_ptr<UiTestEnv> &env, std::unique_ptr<PtyPeer> &peer,
                     std::unique_ptr<TForm1> &form,
                     const QByteArray &settings = QByteArray(4096, '\0'));
