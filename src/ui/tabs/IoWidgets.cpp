#include "ui/tabs/IoWidgets.h"

#include "text/Ansi.h"
#include "ui/widgets/BoxColour.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace zx::ui::io {

QScrollBar *scrollBar(const QString &name, int min, int max, QWidget *parent, int largeChange) {
    auto *bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setSingleStep(1);
    bar->setPageStep(largeChange);
    bar->setValue(0);
    bar->setMinimumWidth(90);
    emphasiseHandle(bar);
    return bar;
}

QLineEdit *readOnlyBox(const QString &name, const QString &text, QWidget *parent, int width) {
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFixedWidth(width);
    return box;
}

QLineEdit *edit(const QString &name, const QString &text, int maxLength, QWidget *parent) {
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    box->setText(text);
    return box;
}

QPushButton *button(const QString &name, const QString &caption, QWidget *parent) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

void mirror(QScrollBar *bar, QLineEdit *box, std::function<QString(int)> show) {
    QObject::connect(bar, &QScrollBar::valueChanged, box,
                     [box, show = std::move(show)](int position) { box->setText(show(position)); });
}

void addBarRow(QGridLayout *grid, int row, const QString &caption, const QString &low,
               QScrollBar *bar, const QString &high, QLineEdit *box) {
    QWidget *parent = grid->parentWidget();
    grid->addWidget(new QLabel(caption, parent), row, 0);
    grid->addWidget(new QLabel(low, parent), row, 1, Qt::AlignRight);
    grid->addWidget(bar, row, 2);
    grid->addWidget(new QLabel(high, parent), row, 3);
    grid->addWidget(box, row, 4);
}

QByteArray textOf(const QLineEdit *box) { return text::toAnsi(box->text()); }

} // namespace zx::ui::io
