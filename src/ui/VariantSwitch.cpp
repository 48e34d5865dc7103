#include "ui/VariantSwitch.h"

#include "ui/Controls.h"

#include <QLabel>

namespace zx::ui {
namespace {

struct Range {
    int from, to;
};

// Text slots the variant lacks: analog inputs 5..8 and inputs 8..12.
constexpr Range kTextRanges[] = {{22, 33}, {41, 45}, {53, 57}};
// Names of inputs 8..12 (state 1 and 0) and of outputs 6..8 (state 1 and 0).
constexpr Range kNameRanges[] = {{65, 69}, {77, 81}, {87, 89}, {95, 97}};

void enable(const Controls &c, const QString &name, bool on) {
    if (QWidget *w = c.widget(name))
        w->setEnabled(on);
}

void enableButtonAndBox(const Controls &c, const char *button, const char *box, const Range *ranges,
                        int count, bool on) {
    for (int r = 0; r < count; ++r)
        for (int n = ranges[r].from; n <= ranges[r].to; ++n) {
            enable(c, numbered(button, n), on);
            enable(c, numbered(box, n), on);
        }
}

} // namespace

void applyVariant(QWidget *window, bool variantOn) {
    const Controls c(window);
    const bool fullLayout = !variantOn;
    if (QWidget *w = c.widget(QStringLiteral("PanelRT")))
        w->setVisible(variantOn);
    if (QWidget *w = c.widget(QStringLiteral("Panel1")))
        w->setVisible(variantOn);
    for (int n = 5; n <= 8; ++n)
        enable(c, numbered("AMode", n), fullLayout);
    for (int n = 5; n <= 8; ++n) {
        enable(c, numbered("VAL", n), fullLayout);
        enable(c, numbered("SetVal", n), fullLayout);
    }
    enableButtonAndBox(c, "TXTSMSb", "iTXTSMS", kNameRanges, int(std::size(kNameRanges)),
                       fullLayout);
    enableButtonAndBox(c, "TXTSMSb", "TXTSMS", kTextRanges, int(std::size(kTextRanges)),
                       fullLayout);
    enableButtonAndBox(c, "iTXTSMSb", "iTXTSMS", kTextRanges, int(std::size(kTextRanges)),
                       fullLayout);
    for (int n = 5; n <= 8; ++n)
        c.setChecked(QStringLiteral("CheckBoxA%1dis").arg(n), variantOn);
    for (int n = 8; n <= 12; ++n)
        c.setChecked(QStringLiteral("CheckBoxD%1dis").arg(n, 2, 10, QLatin1Char('0')), variantOn);
    if (auto *l = c.find<QLabel>(QStringLiteral("RTname1")))
        l->setText(variantOn ? QStringLiteral("Runtime 1") : QStringLiteral("Temperature 2"));
    if (auto *l = c.find<QLabel>(QStringLiteral("RTname2")))
        l->setText(variantOn ? QStringLiteral("Runtime 2") : QStringLiteral("Temperature 3"));
}

} // namespace zx::ui
