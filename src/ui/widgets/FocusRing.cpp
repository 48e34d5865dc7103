#include "ui/widgets/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace zx::ui {

FocusRing::FocusRing(QObject *owner) : QWidget(nullptr) {
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    // Deleted with its owner, wherever the ring is at the time.
    connect(owner, &QObject::destroyed, this, &QObject::deleteLater);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { follow(now); });
    follow(QApplication::focusWidget());
}

FocusRing::~FocusRing() {
    if (target_)
        target_->removeEventFilter(this);
}

void FocusRing::follow(QWidget *now) {
    if (target_)
        target_->removeEventFilter(this);
    target_ = now && now->parentWidget() && !now->isWindow() ? now : nullptr;
    if (!target_) {
        hide();
        setParent(nullptr);
        return;
    }
    target_->installEventFilter(this);
    if (parentWidget() != target_->parentWidget())
        setParent(target_->parentWidget());
    place();
}

void FocusRing::place() {
    if (!target_ || !target_->isVisible()) {
        hide();
        return;
    }
    setGeometry(target_->geometry().adjusted(-kWidth - 1, -kWidth - 1, kWidth + 1, kWidth + 1));
    raise();
    show();
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event) {
    if (watched == target_) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            place();
            break;
        default:
            break;
        }
    }
    return false;
}

void FocusRing::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Active, QPalette::Highlight), kWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0));
}

} // namespace zx::ui
