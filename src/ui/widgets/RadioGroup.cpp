#include "ui/widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

namespace zx::ui {

RadioGroup::RadioGroup(const QString &objectName, const QString &caption,
                       const QStringList &items, int columns, QWidget *parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), grid_(new QGridLayout(this)),
      columns_(std::max(1, columns)) {
    setObjectName(objectName);
    const int rows = int((items.size() + columns_ - 1) / columns_);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        b->setObjectName(objectName + QStringLiteral("_") + QString::number(i));
        group_->addButton(b, i);
        grid_->addWidget(b, i % rows, (i / rows) * 2);
    }
    grid_->setContentsMargins(6, 4, 6, 4);
    grid_->setVerticalSpacing(1);
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && id != index_) {
            index_ = id;
            emit itemIndexChanged(id);
        }
    });
}

int RadioGroup::count() const { return int(group_->buttons().size()); }

QRadioButton *RadioGroup::button(int index) const {
    return qobject_cast<QRadioButton *>(group_->button(index));
}

void RadioGroup::setItemIndex(int index) {
    index = std::clamp(index, -1, count() - 1);
    if (index == index_)
        return;
    if (index < 0) {
        group_->setExclusive(false);
        if (auto *b = group_->checkedButton())
            b->setChecked(false);
        group_->setExclusive(true);
        index_ = -1;
        emit itemIndexChanged(-1);
        return;
    }
    button(index)->setChecked(true);
}

void RadioGroup::setItemNote(int index, QWidget *note) {
    const int rows = (count() + columns_ - 1) / columns_;
    grid_->addWidget(note, index % rows, (index / rows) * 2 + 1);
}

} // namespace zx::ui
