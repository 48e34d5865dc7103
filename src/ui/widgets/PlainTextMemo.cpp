#include "ui/widgets/PlainTextMemo.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace zx::ui {

void PlainTextMemo::attach(QPlainTextEdit *edit, MemoBounds bounds) {
    edit_ = edit;
    bounds_ = bounds;
    if (bounds.lines > 0) {
        edit->setUndoRedoEnabled(false);
        edit->setMaximumBlockCount(bounds.lines);
    }
}

void PlainTextMemo::append(const QString &text) {
    QTextCursor cursor(edit_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    keepWithinCharacters();
    edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum());
}

// Text removed from the front of a document stays in its piece table (only
// the line bound's own removals are ever compacted), so the kept lines are
// set as a new text instead. A quarter of the bound goes at once, so that
// this happens seldom.
void PlainTextMemo::keepWithinCharacters() {
    QTextDocument *document = edit_->document();
    if (bounds_.characters <= 0 || document->characterCount() <= bounds_.characters)
        return;
    const QString raw = document->toRawText();
    const qsizetype keep = bounds_.characters - bounds_.characters / 4;
    qsizetype from = raw.size() - keep;
    const qsizetype lineEnd = raw.indexOf(QChar::ParagraphSeparator, from);
    if (lineEnd >= 0 && lineEnd + 1 < raw.size())
        from = lineEnd + 1;
    edit_->setPlainText(raw.mid(from));
}

void PlainTextMemo::clear() { edit_->clear(); }

void PlainTextMemo::setText(const QString &text) {
    edit_->setPlainText(text);
    keepWithinCharacters();
}

QString PlainTextMemo::text() const { return edit_->toPlainText(); }

} // namespace zx::ui
