#include "ui/widgets/TabsOverBottomLayout.h"

#include <QWidget>

#include <algorithm>

namespace zx::ui {

TabsOverBottomLayout::TabsOverBottomLayout(QWidget *tabs, QWidget *bottom, QWidget *parent)
    : QLayout(parent) {
    addWidget(tabs);
    addWidget(bottom);
}

TabsOverBottomLayout::~TabsOverBottomLayout() { qDeleteAll(items_); }

void TabsOverBottomLayout::addItem(QLayoutItem *item) { items_.append(item); }

QLayoutItem *TabsOverBottomLayout::itemAt(int index) const { return items_.value(index); }

QLayoutItem *TabsOverBottomLayout::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int TabsOverBottomLayout::count() const { return int(items_.size()); }

QSize TabsOverBottomLayout::sizeHint() const {
    const QMargins m = contentsMargins();
    QSize s;
    for (QLayoutItem *item : items_)
        s = QSize(std::max(s.width(), item->sizeHint().width()), s.height() + item->sizeHint().height());
    return s + QSize(m.left() + m.right(), m.top() + m.bottom() + spacing());
}

QSize TabsOverBottomLayout::minimumSize() const {
    const QMargins m = contentsMargins();
    QSize s;
    for (QLayoutItem *item : items_)
        s = QSize(std::max(s.width(), item->minimumSize().width()),
                  s.height() + item->minimumSize().height());
    return s + QSize(m.left() + m.right(), m.top() + m.bottom() + spacing());
}

void TabsOverBottomLayout::setGeometry(const QRect &rect) {
    QLayout::setGeometry(rect);
    if (items_.size() != 2)
        return;
    const QRect r = rect.marginsRemoved(contentsMargins());
    QLayoutItem *tabs = items_[0];
    QLayoutItem *bottom = items_[1];
    const int room = r.height() - spacing();
    // The bottom area is as high as its maximum where there is room.
    const int bottomMax = std::max(bottom->minimumSize().height(), bottom->maximumSize().height());
    const int bottomHeight =
        std::clamp(room - tabs->sizeHint().height(), bottom->minimumSize().height(), bottomMax);
    const int tabsHeight = std::max(0, room - bottomHeight);
    tabs->setGeometry(QRect(r.left(), r.top(), r.width(), tabsHeight));
    bottom->setGeometry(QRect(r.left(), r.top() + tabsHeight + spacing(), r.width(), bottomHeight));
}

} // namespace zx::ui
