#pragma once
// The "Read" box of the tabs whose value buttons either write or read: it
// sits at the same place on each of them, and while it is ticked the buttons
// look different from writing ones.
#include <QColor>
#include <QList>

class QCheckBox;
class QWidget;

namespace zx::ui {

inline const QColor kReadModeColour{255, 196, 112};

// The right-hand column of such a tab: the box at its top, then the given
// notes. The column has one width on every tab and the tabs one margin, so
// the box sits at one place.
QWidget *readSide(QCheckBox *box, const QList<QWidget *> &notes, QWidget *parent);
inline constexpr int kTabMargin = 2;

// The button's face in read mode, or back to the window's look.
void showReadMode(QWidget *button, bool reading);

} // namespace zx::ui
