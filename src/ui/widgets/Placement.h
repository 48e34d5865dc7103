#pragma once
// Where a new window goes so that it leaves a dialog in sight, and how
// large it may be on a small screen.
#include <QMargins>
#include <QRect>

class QWidget;

namespace zx::ui {

// A place of at most `wanted` inside area that does not overlap avoid: in
// the largest free band beside, above or below it, shrunk to that band when
// it is smaller. Without anything to avoid, area's centre.
QRect placeClearOf(const QSize &wanted, const QRect &area, const QRect &avoid);

// The title bar and borders a window manager adds around a window; known
// only once a window is shown, so room for this much is left.
inline constexpr QMargins kFrameAllowance(4, 30, 4, 4);

// Resizes a window to `wanted`, or less where its screen's free area is
// smaller (its frame left room for).
void resizeWithinScreen(QWidget *window, const QSize &wanted);

} // namespace zx::ui
