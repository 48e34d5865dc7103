#include "ui/widgets/Placement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace zx::ui {

QRect placeClearOf(const QSize &wanted, const QRect &area, const QRect &avoid) {
    const auto centred = [&wanted](const QRect &band) {
        const QSize size = wanted.boundedTo(band.size());
        QRect r(QPoint(0, 0), size);
        r.moveCenter(band.center());
        return r;
    };
    const QRect blocked = avoid.intersected(area);
    if (blocked.isEmpty())
        return centred(area);
    const QRect bands[] = {
        QRect(QPoint(area.left(), area.top()), QPoint(area.right(), blocked.top() - 1)),    // above
        QRect(QPoint(area.left(), blocked.bottom() + 1), QPoint(area.right(), area.bottom())), // below
        QRect(QPoint(area.left(), area.top()), QPoint(blocked.left() - 1, area.bottom())),   // left
        QRect(QPoint(blocked.right() + 1, area.top()), QPoint(area.right(), area.bottom())), // right
    };
    // The band that keeps the most of the wanted size.
    const auto kept = [&wanted](const QRect &band) {
        if (!band.isValid())
            return qint64(-1);
        const QSize s = wanted.boundedTo(band.size());
        return qint64(s.width()) * s.height();
    };
    const QRect *best = std::max_element(std::begin(bands), std::end(bands),
                                         [&](const QRect &a, const QRect &b) { return kept(a) < kept(b); });
    return centred(*best);
}

void resizeWithinScreen(QWidget *window, const QSize &wanted) {
    const QSize room = window->screen()->availableGeometry().size() -
                       QSize(kFrameAllowance.left() + kFrameAllowance.right(),
                             kFrameAllowance.top() + kFrameAllowance.bottom());
    window->resize(wanted.boundedTo(room));
}

} // namespace zx::ui
