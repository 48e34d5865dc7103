#include "support/LayoutWalk.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>

#include <algorithm>

namespace {

// Room a push button needs beside its caption so that the text does not touch
// the button's edges, and a read-only box beside its text (frame and margins).
constexpr int kButtonPadding = 8;
constexpr int kBoxPadding = 6;

bool isInteractive(const QWidget *w) {
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w) ||
           qobject_cast<const QAbstractSlider *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QComboBox *>(w) || qobject_cast<const QPlainTextEdit *>(w) ||
           qobject_cast<const QTextEdit *>(w);
}

} // namespace

QString nameOf(const QWidget *w) {
    QString name = w->objectName();
    if (name.isEmpty()) {
        if (auto *label = qobject_cast<const QLabel *>(w))
            name = QStringLiteral("label \"%1\"").arg(label->text());
        else if (auto *button = qobject_cast<const QAbstractButton *>(w))
            name = QStringLiteral("button \"%1\"").arg(button->text());
        else if (auto *group = qobject_cast<const QGroupBox *>(w))
            name = QStringLiteral("group \"%1\"").arg(group->title());
        else
            name = QString::fromLatin1(w->metaObject()->className());
    }
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_")))
            return name + QStringLiteral(" (in ") + p->objectName() + QLatin1Char(')');
    return name;
}

QRect rectIn(const QWidget *w, const QWidget *area) {
    return QRect(w->mapTo(area, QPoint(0, 0)), w->size());
}

int textWidth(const QWidget *w, QString text) {
    text.remove(QLatin1Char('&'));
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

LayoutWalk::LayoutWalk(QWidget *area) : area_(area) {
    walk(area);
    checkOverlaps();
}

void LayoutWalk::walk(QWidget *parent) {
    for (QObject *o : parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        // The focus ring lies around a control on purpose.
        if (!w || !w->isVisible() || w->isWindow() || covered(w) ||
            w->objectName() == QLatin1String("FocusRing"))
            continue;
        checkInside(w);
        checkText(w);
        if (auto *scroll = qobject_cast<QScrollArea *>(w)) {
            if (scroll->horizontalScrollBar()->isVisible() ||
                scroll->verticalScrollBar()->isVisible())
                faults << QStringLiteral("%1: scroll bar showing").arg(nameOf(w));
            if (scroll->widget())
                walk(scroll->widget());
            continue;
        }
        if (isInteractive(w)) {
            controls_ << w;
            continue;
        }
        if (qobject_cast<QLabel *>(w))
            labels_ << w;
        else
            walk(w);
    }
}

// Under an opaque panel laid over it on purpose (the model variant's
// covers), a control is out of the user's sight and reach.
bool LayoutWalk::covered(QWidget *w) const {
    QWidget *top = area_->childAt(w->mapTo(area_, w->rect().center()));
    for (QWidget *p = top; p && p != area_; p = p->parentWidget())
        if (p->autoFillBackground() && !p->objectName().startsWith(QLatin1String("qt_")) &&
            !p->isAncestorOf(w) && p != w && !w->isAncestorOf(p))
            return true;
    return false;
}

// Inside the area and inside every box around it, so that nothing is cut off.
void LayoutWalk::checkInside(QWidget *w) {
    const QRect r = rectIn(w, area_);
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (!rectIn(p, area_).contains(r)) {
            faults << QStringLiteral("%1: %2,%3 %4x%5 is cut off by %6")
                          .arg(nameOf(w))
                          .arg(r.x())
                          .arg(r.y())
                          .arg(r.width())
                          .arg(r.height())
                          .arg(p == area_ ? QStringLiteral("the visible area") : nameOf(p));
            return;
        }
        if (p == area_)
            return;
    }
}

void LayoutWalk::needWidth(const QWidget *w, int needed, int available, const QString &text) {
    if (needed > available)
        faults << QStringLiteral("%1 at %2,%3: \"%4\" needs %5 pixels, has %6")
                      .arg(nameOf(w))
                      .arg(rectIn(w, area_).x())
                      .arg(rectIn(w, area_).y())
                      .arg(text)
                      .arg(needed)
                      .arg(available);
}

void LayoutWalk::checkText(const QWidget *w) {
    const int lineHeight = w->fontMetrics().height();
    if (auto *label = qobject_cast<const QLabel *>(w)) {
        if (label->text().isEmpty() || label->wordWrap())
            return;
        const QRect room = label->contentsRect();
        needWidth(w, textWidth(w, label->text()), room.width(), label->text());
        if (lineHeight * int(label->text().count(QLatin1Char('\n')) + 1) > room.height() + 1)
            faults << QStringLiteral("%1: text cut off at the bottom").arg(nameOf(w));
    } else if (auto *push = qobject_cast<const QPushButton *>(w)) {
        if (!push->text().isEmpty())
            needWidth(w, textWidth(w, push->text()) + kButtonPadding, w->width(), push->text());
        if (lineHeight > w->height())
            faults << QStringLiteral("%1: caption cut off at the bottom").arg(nameOf(w));
    } else if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w)) {
        auto *b = static_cast<const QAbstractButton *>(w);
        // The size hint is indicator, spacing and caption.
        needWidth(w, b->sizeHint().width(), w->width(), b->text());
        if (lineHeight > w->height())
            faults << QStringLiteral("%1: caption cut off at the bottom").arg(nameOf(w));
    } else if (auto *group = qobject_cast<const QGroupBox *>(w)) {
        if (!group->title().isEmpty())
            needWidth(w, textWidth(w, group->title()) + 2 * kButtonPadding, w->width(),
                      group->title());
    } else if (auto *box = qobject_cast<const QLineEdit *>(w)) {
        // A box the user cannot type into must show its whole text.
        if (box->isReadOnly() && box->echoMode() == QLineEdit::Normal)
            needWidth(w, textWidth(w, box->text()) + kBoxPadding, w->width(), box->text());
        if (lineHeight > w->height())
            faults << QStringLiteral("%1: text cut off at the bottom").arg(nameOf(w));
    }
}

void LayoutWalk::checkOverlaps() {
    for (qsizetype i = 0; i < controls_.size(); ++i)
        for (qsizetype j = i + 1; j < controls_.size(); ++j)
            if (rectIn(controls_[i], area_).intersects(rectIn(controls_[j], area_)))
                faults << QStringLiteral("%1 overlaps %2")
                              .arg(nameOf(controls_[i]), nameOf(controls_[j]));
    // A label under a control is hidden text.
    for (QWidget *label : labels_)
        for (QWidget *control : controls_)
            if (rectIn(label, area_).intersects(rectIn(control, area_)))
                faults << QStringLiteral("%1 overlaps %2").arg(nameOf(label), nameOf(control));
}
