#include "ui/widgets/PlainTextMemo.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace zx::ui {

void PlainTextMemo::append(const QString &text) {
    QTextCursor cursor(edit_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum());
}

void PlainTextMemo::clear() { edit_->clear(); }

void PlainTextMemo::setText(const QString &text) { edit_->setPlainText(text); }

QString PlainTextMemo::text() const { return edit_->toPlainText(); }

} // namespace zx::ui
