#include "ui/widgets/ToneColours.h"

#include <QPalette>

#include <cmath>

namespace zx::ui {
namespace {

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &c) {
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

QColor mix(const QColor &base, const QColor &tint, double share) {
    const auto channel = [share](double a, double b) { return a + (b - a) * share; };
    return QColor::fromRgbF(float(channel(base.redF(), tint.redF())),
                            float(channel(base.greenF(), tint.greenF())),
                            float(channel(base.blueF(), tint.blueF())));
}

QColor hueOf(Tone tone) {
    switch (tone) {
    case Tone::Good:
        return QColor(40, 170, 60);
    case Tone::Warning:
        return QColor(230, 170, 0);
    case Tone::Bad:
        return QColor(220, 40, 40);
    case Tone::Marked:
        return QColor(240, 120, 0);
    case Tone::Neutral:
        break;
    }
    return QColor(128, 128, 128);
}

} // namespace

bool isDark(const QPalette &palette) { return palette.color(QPalette::Base).lightnessF() < 0.5; }

double contrastRatio(const QColor &a, const QColor &b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ToneColours toneColours(Tone tone, const QPalette &palette) {
    const QColor base = palette.color(QPalette::Base);
    // A dark base takes more of the hue for the tone to show at all.
    const QColor background = mix(base, hueOf(tone), isDark(palette) ? 0.38 : 0.25);
    QColor text = palette.color(QPalette::Text);
    if (contrastRatio(text, background) < kTextContrast)
        text = contrastRatio(Qt::black, background) >= contrastRatio(Qt::white, background)
                   ? QColor(Qt::black)
                   : QColor(Qt::white);
    return {background, text};
}

} // namespace zx::ui
