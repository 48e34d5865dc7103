#include "support/WindowOnPty.h"

#include <QTimer>
#include <QtGlobal>

void WindowOnPty::open(const QByteArray &settings, int comN) {
    close();
    env_ = std::make_unique<UiTestEnv>();
    peer_ = std::make_unique<PtyPeer>();
    env_->mapPort(comN, peer_->slavePath());
    env_->writeSettings(settings);
    form_ = std::make_unique<TForm1>();
    child<QTimer>(*form_, "Timer1")->stop();
}

void WindowOnPty::close() {
    form_.reset();
    peer_.reset();
    env_.reset();
}
