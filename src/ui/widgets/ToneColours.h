#pragma once
// Colours that carry a meaning in a table (a command answered, one without
// an answer, a row that differs), chosen against the palette they are shown
// on: a light tint on a light palette, a dark one on a dark palette, with
// the text colour that reads best on it.
#include <QColor>

class QPalette;

namespace zx::ui {

enum class Tone { Good, Warning, Bad, Neutral, Marked };

struct ToneColours {
    QColor background;
    QColor text;
};

ToneColours toneColours(Tone tone, const QPalette &palette);

// The contrast ratio of two colours after WCAG 2: 1 (the same) to 21
// (black on white); text wants at least 4.5.
double contrastRatio(const QColor &a, const QColor &b);
inline constexpr double kTextContrast = 4.5;

// A palette is dark when its base colour is.
bool isDark(const QPalette &palette);

} // namespace zx::ui
