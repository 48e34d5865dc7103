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
            setBoxColour(box, focusColour(QApplication::palette(box)));
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
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, colour);
        palette.setColor(group, QPalette::Text, colour.lightness() < 100 ? Qt::white : Qt::black);
    }
    // A disabled box looks like every disabled control of the style: the
    // window's background and the style's grey text.
    const QPalette style = QApplication::palette(box);
    palette.setColor(QPalette::Disabled, QPalette::Base, style.color(QPalette::Disabled, QPalette::Window));
    palette.setColor(QPalette::Disabled, QPalette::Text, style.color(QPalette::Disabled, QPalette::Text));
    box->setPalette(palette);
}

QColor boxColour(const QWidget *box) {
    return box->palette().color(QPalette::Active, QPalette::Base);
}

QColor focusColour(const QPalette &palette) {
    if (palette.color(QPalette::Base).lightnessF() >= 0.5)
        return kFocusColour;
    // On a dark palette a light tint would put white text on a light box.
    const QColor base = palette.color(QPalette::Base);
    const QColor highlight = palette.color(QPalette::Highlight);
    return QColor::fromRgbF(base.redF() * 0.7f + highlight.redF() * 0.3f,
                            base.greenF() * 0.7f + highlight.greenF() * 0.3f,
                            base.blueF() * 0.7f + highlight.blueF() * 0.3f);
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
