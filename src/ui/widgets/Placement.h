#pragma once
// Where a new window goes so that it leaves a dialog in sight.
#include <QRect>

namespace zx::ui {

// A place of at most `wanted` inside area that does not overlap avoid: in
// the largest free band beside, above or below it, shrunk to that band when
// it is smaller. Without anything to avoid, area's centre.
QRect placeClearOf(const QSize &wanted, const QRect &area, const QRect &avoid);

} // namespace zx::ui
