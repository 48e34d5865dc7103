#pragma once
// A titled group of radio buttons with one selected index, -1 for none.
// Setting the index from code acts like a click: itemIndexChanged is
// emitted whenever the index really changes.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace zx::ui {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString &objectName, const QString &caption, const QStringList &items,
               int columns = 1, QWidget *parent = nullptr);

    int itemIndex() const { return index_; }
    // Clamped to -1..count-1.
    void setItemIndex(int index);
    int count() const;
    QRadioButton *button(int index) const;
    // Extra widgets beside an item (e.g. a hint), in the column after it.
    void setItemNote(int index, QWidget *note);

signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup *group_;
    QGridLayout *grid_;
    int columns_;
    int index_ = -1;
};

} // namespace zx::ui
