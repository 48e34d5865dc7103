#pragma once
// A tab's page in a scroll area: on a screen too small for the window the
// page keeps the room its controls need and scrolls, instead of squashing
// them. It asks for that room, so that the window gives it before anything
// scrolls.
#include <QScrollArea>

namespace zx::ui {

class PageScroller : public QScrollArea {
public:
    explicit PageScroller(QWidget *page, QWidget *parent = nullptr);

    QSize sizeHint() const override;
};

} // namespace zx::ui
