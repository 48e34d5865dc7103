#include "ui/widgets/BoxColour.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionComplex>
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

// Draws the window's style, then paints the handle of a slider or scroll bar
// solid in the handle colour with a darker edge: the styles' own handles are
// nearly as light as their tracks.
class HandleStyle : public QProxyStyle {
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        const SubControl handle = control == CC_ScrollBar ? SC_ScrollBarSlider
                                  : control == CC_Slider  ? SC_SliderHandle
                                                          : SC_None;
        if (handle == SC_None)
            return;
        const QRect r = subControlRect(control, option, handle, widget).adjusted(1, 1, -2, -2);
        if (r.isEmpty())
            return;
        painter->save();
        painter->setPen(kHandleColour.darker(160));
        painter->setBrush(option->state & State_Enabled ? kHandleColour : kHandleColour.lighter(140));
        painter->drawRect(r);
        painter->restore();
    }
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
    // One style for all of them, alive as long as the application.
    static HandleStyle *style = [] {
        auto *s = new HandleStyle;
        s->setParent(qApp);
        return s;
    }();
    slider->setStyle(style);
}

} // namespace zx::ui
