#include "ui/widgets/BoxColour.h"

#include <QPalette>
#include <QWidget>

namespace zx::ui {

void setBoxColour(QWidget *box, const QColor &colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Text, colour.lightness() < 100 ? Qt::white : Qt::black);
    box->setPalette(palette);
}

QColor boxColour(const QWidget *box) {
    return box->palette().color(QPalette::Base);
}

void emphasiseHandle(QWidget *slider) {
    QPalette palette = slider->palette();
    palette.setColor(QPalette::Button, kHandleColour);
    slider->setPalette(palette);
}

} // namespace zx::ui
