#include "ui/widgets/SecretField.h"

#include <QAction>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace zx::ui {
namespace {

QIcon eyeIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::darkGray, 1.5));
    p.drawEllipse(QRectF(1.5, 4.5, 13, 7));
    p.setBrush(Qt::darkGray);
    p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
    return QIcon(pixmap);
}

} // namespace

void makeSecret(QLineEdit *box) {
    if (!box)
        return;
    box->setEchoMode(QLineEdit::Password);
    auto *reveal = box->addAction(eyeIcon(), QLineEdit::TrailingPosition);
    reveal->setObjectName(box->objectName() + QStringLiteral("Reveal"));
    reveal->setCheckable(true);
    reveal->setToolTip(QStringLiteral("Show the password"));
    // The eye is a Tab stop of its own, right after its box; Space toggles it.
    for (QToolButton *eye : box->findChildren<QToolButton *>())
        if (eye->defaultAction() == reveal) {
            eye->setObjectName(reveal->objectName() + QStringLiteral("Button"));
            eye->setFocusPolicy(Qt::TabFocus);
            // Made after the controls that follow the box; Tab reaches it
            // next to its box instead of last in the window.
            QWidget::setTabOrder(box, eye);
        }
    QObject::connect(reveal, &QAction::toggled, box, [box, reveal](bool shown) {
        box->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
        reveal->setToolTip(shown ? QStringLiteral("Hide the password")
                                 : QStringLiteral("Show the password"));
    });
}

} // namespace zx::ui
