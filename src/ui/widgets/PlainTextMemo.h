#pragma once
#include "link/Memo.h"

class QPlainTextEdit;

namespace zx::ui {

// What a memo keeps at most. Past either bound its oldest lines go, so that
// a line that chatters for days holds a fixed amount of memory. 0: no bound.
struct MemoBounds {
    int lines = 0;
    int characters = 0;
};

// The reception memo: 5000 lines, and at most 200 000 characters (400 KB of
// text) however long the lines are. Short answers reach the line bound
// first; noise, whose lines are long, the character bound.
inline constexpr MemoBounds kReceptionMemoBounds{5000, 200000};
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

    QPlainTextEdit *edit_ = nullptr;
    MemoBounds bounds_;
};

} // namespace zx::ui
