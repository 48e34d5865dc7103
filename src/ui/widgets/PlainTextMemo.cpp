#include "ui/widgets/PlainTextMemo.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

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
    inserted_ += text.size();
    keepWithinCharacters();
    compact();
    edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum());
}

void PlainTextMemo::setKept(const QString &raw) {
    edit_->setPlainText(raw);
    inserted_ = 0;
}

// Every character inserted stays in the document's piece table, also after
// its line went; the line bound's removals are compacted only now and then.
// Once a quarter of what the memo holds was inserted, its text is set whole
// again, which leaves the piece table just the text shown.
void PlainTextMemo::compact() {
    if (bounds_.lines <= 0)
        return;
    const qsizetype threshold =
        std::max<qsizetype>(edit_->document()->characterCount() / 4, 65536);
    if (inserted_ > threshold)
        setKept(edit_->document()->toRawText());
}

// Text removed from the front of a document stays in its piece table, so the
// kept lines are set as a new text instead. A quarter of the bound goes at
// once, so that this happens seldom.
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
    setKept(raw.mid(from));
}

void PlainTextMemo::clear() {
    edit_->clear();
    inserted_ = 0;
}

void PlainTextMemo::setText(const QString &text) {
    setKept(text);
    keepWithinCharacters();
}

QString PlainTextMemo::text() const { return edit_->toPlainText(); }

} // namespace zx::ui
