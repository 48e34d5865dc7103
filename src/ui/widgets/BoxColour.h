#pragma once
// Background colours of text boxes and memos through their palettes: a style
// sheet per widget would cost a style of its own for each of them.
#include <QColor>

class QPalette;
class QWidget;

namespace zx::ui {

// The pale background the level and text boxes get on every tab change.
inline const QColor kPaleBoxColour{255, 255, 245};

// The box's background (its palette's Base); text on a dark colour turns white.
void setBoxColour(QWidget *box, const QColor &colour);
QColor boxColour(const QWidget *box);

// Slider and scroll bar handles in a darker colour than their light tracks,
// so that the position reads at a glance.
inline const QColor kHandleColour{96, 128, 176};
void emphasiseHandle(QWidget *slider);

// A memo's frame shows no keyboard focus: its background takes this colour
// while it has the focus.
// On a dark palette the tint is a dark one, from the highlight colour.
inline const QColor kFocusColour{226, 236, 255};
QColor focusColour(const QPalette &palette);
void tintWhileFocused(QWidget *box);

} // namespace zx::ui
