#pragma once
// What every window test needs: a private working directory and port map,
// modal boxes taken instead of shown, and a pseudo-terminal playing the
// module or the modem on the far side of the line.
#include "ui/MessageBoxes.h"

#include <QByteArray>
#include <QMetaObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <utility>

class TForm1;

struct ShownBox {
    zx::ui::BoxKind kind;
    QString title;
    QString text;
};

class UiTestEnv {
public:
    UiTestEnv();
    ~UiTestEnv();

    QString dir() const { return tmp_.path(); }
    // XDG_STATE_HOME points here, so the traffic log file lands in the test's folder.
    QString stateHome() const { return tmp_.path() + QStringLiteral("/state"); }
    QString settingsPath() const;
    // "ComN" opens device from now on.
    void mapPort(int n, const QString &device);
    void writeSettings(const QByteArray &bytes);
    // A settings file one byte short: start-up stops after reading it (its
    // "Read beyond end of file" box is taken), so every control keeps the
    // value it was built with.
    void keepDesignTimeValues() { writeSettings(QByteArray(4095, '\0')); }

    QList<ShownBox> boxes;

private:
    // Sets (empty: unsets) an environment variable until the destructor.
    void setVariable(const char *name, const QByteArray &value);

    QTemporaryDir tmp_;
    QString oldCwd_;
    QList<std::pair<const char *, QByteArray>> oldVariables_;
};

class PtyPeer {
public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer &) = delete;
    PtyPeer &operator=(const PtyPeer &) = delete;

    QString slavePath() const { return slavePath_; }
    void write(const QByteArray &bytes);
    // Everything the tool wrote so far (waits up to timeoutMs for the first byte
    // and then until the line is quiet for quietMs).
    QByteArray read(int timeoutMs = 2000, int quietMs = 50);
    // Waits until the tool's side of the line holds n unread bytes.
    bool waitPending(int n, int timeoutMs = 2000);
    void hangUp();

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

// A control by name; a missing control ends the test run.
QObject *requireChild(TForm1 &form, const QString &name, const QMetaObject &type);

template <typename T> T *child(TForm1 &form, const QString &name) {
    return static_cast<T *>(requireChild(form, name, T::staticMetaObject));
}
template <typename T> T *child(TForm1 &form, const char *name) {
    return child<T>(form, QString::fromLatin1(name));
}

// Runs the event loop until condition() holds or timeoutMs pass.
bool waitFor(const std::function<bool()> &condition, int timeoutMs = 5000);

// The peer's bytes reach the window's receive handler at once instead of at
// the next polling tick.
void deliver(TForm1 &form, PtyPeer &peer, const QByteArray &bytes);

// One tick of the window's one-second timer.
void tick(TForm1 &form, int count = 1);
