#include "ui/widgets/PageScroller.h"

namespace zx::ui {

PageScroller::PageScroller(QWidget *page, QWidget *parent) : QScrollArea(parent) {
    setObjectName(page->objectName().isEmpty() ? QString()
                                               : page->objectName() + QStringLiteral("Scroller"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // The page shows the tab's own background, not the scroll area's base.
    viewport()->setAutoFillBackground(false);
    setWidget(page);
    page->setAutoFillBackground(false);
}

QSize PageScroller::sizeHint() const {
    const QMargins m = contentsMargins();
    return widget()->minimumSizeHint().expandedTo(widget()->minimumSize()) +
           QSize(m.left() + m.right(), m.top() + m.bottom());
}

} // namespace zx::ui
