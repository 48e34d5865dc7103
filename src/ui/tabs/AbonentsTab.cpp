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
}

} // namespace zx::ui
