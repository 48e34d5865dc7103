#pragma once
#include "link/Memo.h"

class QPlainTextEdit;

namespace zx::ui {

// The link's view of a QPlainTextEdit.
class PlainTextMemo : public link::Memo {
public:
    PlainTextMemo() = default;
    explicit PlainTextMemo(QPlainTextEdit *edit) : edit_(edit) {}
    void attach(QPlainTextEdit *edit) { edit_ = edit; }
    void append(const QString &text) override;
    void clear() override;
    void setText(const QString &text) override;
    QString text() const override;

private:
    QPlainTextEdit *edit_ = nullptr;
};

} // namespace zx::ui
