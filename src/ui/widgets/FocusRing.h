#pragma once
// A ring around the control that has the keyboard focus, drawn in the
// palette's highlight colour: the styles show focus faintly or not at all on
// check boxes without a caption, tab bars and buttons.
#include <QPointer>
#include <QWidget>

namespace zx::ui {

class FocusRing : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 2;

    // Follows the focus everywhere in the application until deleted.
    explicit FocusRing(QObject *owner);
    ~FocusRing() override;

    // The control the ring is around, or nullptr while it is hidden.
    QWidget *target() const { return target_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow(QWidget *now);
    void place();

    QPointer<QWidget> target_;
};

} // namespace zx::ui
