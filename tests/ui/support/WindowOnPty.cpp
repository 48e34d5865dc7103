#include "support/WindowOnPty.h"

#include <QTimer>
#include <QtGlobal>

QObject *requireChild(TForm1 &form, const QString &name, const QMetaObject &type) {
    for (QObject *o : form.findChildren<QObject *>(name))
        if (type.cast(o))
            return o;
    qFatal("no control %s of type %s", qPrintable(name), type.className());
}

void openWindowOnPty(std::unique_ptr<UiTestEnv> &env, std::unique_ptr<PtyPeer> &peer,
                     std::unique_ptr<TForm1> &form, const QByteArray &settings) {
    env = std::make_unique<UiTestEnv>();
    peer = std::make_unique<PtyPeer>();
    env->mapPort(1, peer->slavePath());
    env->writeSettings(settings);
    form = std::make_unique<TForm1>();
    form->findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
}
