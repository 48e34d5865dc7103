#include "ui/widgets/BoxColour.h"

#include <QEvent>
#include <QPalette>
#include <QWidget>

namespace zx::ui {
namespace {

class FocusTint : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *box = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::FocusIn) {
            colour_ = boxColour(box);
            setBoxColour(box, kFocusColour);
        } else if (event->type() == QEvent::FocusOut) {
            setBoxColour(box, colour_);
        }
        return false;
    }

private:
    QColor colour_;
};

} // namespace

void setBoxColour(QWidget *box, const QColor &colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Text, colour.lightness() < 100 ? Qt::white : Qt::black);
    box->setPalette(palette);
}

QColor boxColour(const QWidget *box) {
    return box->palette().color(QPalette::Base);
}

void tintWhileFocused(QWidget *box) { box->installEventFilter(new FocusTint(box)); }

void emphasiseHandle(QWidget *slider) {
    QPalette palette = slider->palette();
    palette.setColor(QPalette::Button, kHandleColour);
    slider->setPalette(palette);
}

} // namespace zx::ui
