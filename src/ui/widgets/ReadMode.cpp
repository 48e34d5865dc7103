#include "ui/widgets/ReadMode.h"

#include <QCheckBox>
#include <QVBoxLayout>
#include <QPalette>

namespace zx::ui {

namespace {
constexpr int kSideWidth = 110;
} // namespace

QWidget *readSide(QCheckBox *box, const QList<QWidget *> &notes, QWidget *parent) {
    auto *side = new QWidget(parent);
    side->setFixedWidth(kSideWidth);
    auto *v = new QVBoxLayout(side);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(box);
    for (QWidget *note : notes)
        v->addWidget(note);
    v->addStretch();
    return side;
}

void showReadMode(QWidget *button, bool reading) {
    if (!reading) {
        button->setPalette(QPalette());
        return;
    }
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, kReadModeColour);
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
}

} // namespace zx::ui
