#pragma once
#include "link/Memo.h"

#include <QtGlobal>

class QPlainTextEdit;

namespace zx::ui {

// What a memo keeps at most. Past either bound its oldest lines go, so that
// a line that chatters for days holds a fixed amount of memory. 0: no bound.
struct MemoBounds {
    int lines = 0;
    int characters = 0;
};

// The reception memo: 5000 lines, and at most 1 000 000 characters (2 MB of
// text) however long the lines are; 5000 lines of noise fit.
inline constexpr MemoBounds kReceptionMemoBounds{5000, 1000000};
// The command echo line holds the command being sent; this only stops a run
// of appends without a clear from piling up.
inline constexpr MemoBounds kEchoLineBounds{0, 4096};

// The link's view of a QPlainTextEdit.
class PlainTextMemo : public link::Memo {
public:
    PlainTextMemo() = default;
    explicit PlainTextMemo(QPlainTextEdit *edit, MemoBounds bounds = {}) { attach(edit, bounds); }
    // A memo with a line bound keeps no undo history: the program fills it,
    // and each insertion would otherwise be kept for undoing.
    void attach(QPlainTextEdit *edit, MemoBounds bounds = {});
    void append(const QString &text) override;
    void clear() override;
    void setText(const QString &text) override;
    QString text() const override;

private:
    void keepWithinCharacters();
    void compact();
    void setKept(const QString &raw);

    QPlainTextEdit *edit_ = nullptr;
    MemoBounds bounds_;
    // Characters inserted since the document's text was last set whole.
    qsizetype inserted_ = 0;
};

} // namespace zx::ui
