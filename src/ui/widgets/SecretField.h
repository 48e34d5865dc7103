#pragma once
class QLineEdit;

namespace zx::ui {

// Shows a password box masked, with an eye button inside it that reveals
// the text while it is pressed down (checked) and masks it again after.
void makeSecret(QLineEdit *box);

} // namespace zx::ui
