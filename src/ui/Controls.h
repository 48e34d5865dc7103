#pragma once
// Finding the window's controls by their names, for the code that moves
// values between the settings record and the controls as a whole.
#include "text/Ansi.h"
#include "ui/widgets/RadioGroup.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>

namespace zx::ui {

class Controls {
public:
    explicit Controls(QWidget *window) : window_(window) {}

    template <typename T> T *find(const QString &name) const {
        return window_->findChild<T *>(name);
    }
    QWidget *widget(const QString &name) const { return find<QWidget>(name); }

    // Each setter acts like the user: the control's reaction runs on a real change.
    void setText(const QString &name, const QByteArray &ansi) const {
        if (auto *e = find<QLineEdit>(name))
            e->setText(text::fromAnsi(ansi));
    }
    QByteArray text(const QString &name) const {
        auto *e = find<QLineEdit>(name);
        return e ? text::toAnsi(e->text()) : QByteArray();
    }
    void setPosition(const QString &name, int position) const {
        if (auto *s = find<QAbstractSlider>(name))
            s->setValue(position); // clamped to the bar's range
    }
    int position(const QString &name) const {
        auto *s = find<QAbstractSlider>(name);
        return s ? s->value() : 0;
    }
    void setChecked(const QString &name, bool on) const {
        if (auto *c = find<QCheckBox>(name))
            c->setChecked(on);
    }
    bool checked(const QString &name) const {
        auto *c = find<QCheckBox>(name);
        return c && c->isChecked();
    }
    void setIndex(const QString &name, int index) const {
        if (auto *g = find<RadioGroup>(name))
            g->setItemIndex(index);
    }
    int index(const QString &name) const {
        auto *g = find<RadioGroup>(name);
        return g ? g->itemIndex() : -1;
    }

private:
    QWidget *window_;
};

inline QString numbered(const char *stem, int n) {
    return QString::fromLatin1(stem) + QString::number(n);
}

} // namespace zx::ui
