#pragma once
// The window's central area: the tabs above, the memos and buttons below.
// When the window is lower than both need, the bottom area gives up height
// first, down to its minimum; only then do the tabs get less than their
// pages need (and their pages scroll).
#include <QLayout>

namespace zx::ui {

class TabsOverBottomLayout : public QLayout {
public:
    TabsOverBottomLayout(QWidget *tabs, QWidget *bottom, QWidget *parent);
    ~TabsOverBottomLayout() override;

    void addItem(QLayoutItem *item) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal | Qt::Vertical; }

private:
    QList<QLayoutItem *> items_; // tabs, bottom
};

} // namespace zx::ui
