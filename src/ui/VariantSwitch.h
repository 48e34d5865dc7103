#pragma once
class QWidget;

namespace zx::ui {

// The runtime-counter variant: shows the runtime panel over temperature
// inputs 2 and 3, covers analog inputs 5 to 8 and disables the controls of
// the inputs and outputs the variant lacks. Sends nothing.
void applyVariant(QWidget *window, bool variantOn);

} // namespace zx::ui
