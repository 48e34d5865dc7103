#pragma once
class QLineEdit;

namespace zx::ui {

// Limits what the user can type or paste into a box to limit characters,
// without limiting what the program gives it: QLineEdit::setMaxLength would
// also cut a stored or received text that is longer than the typing limit.
// A text longer than the limit can still be shortened by the user.
void limitTyping(QLineEdit *box, int limit);

// The box's typing limit, or -1 when it has none.
int typingLimit(const QLineEdit *box);

} // namespace zx::ui
