#include "ui/tabs/AbonentsTab.h"

#include "ui/tabs/EventMaskGroup.h"
#include "ui/tabs/NumbersGroup.h"

#include <QHBoxLayout>

namespace zx::ui {

AbonentsTab::AbonentsTab(TabHost &host, QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("AbonentsTab"));
    auto *row = new QHBoxLayout(this);
    numbers = new NumbersGroup(host, this);
    masks = new EventMaskGroup(host, this);
    row->addWidget(numbers, 0, Qt::AlignTop);
    row->addWidget(masks);
    // Tab follows the reading order, not the order the controls were made in.
    const QList<QWidget *> order = numbers->readingOrder() + masks->readingOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

} // namespace zx::ui
