#include "ui/widgets/TypingLimit.h"

#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace zx::ui {
namespace {

// A box validates only what the user types or pastes (setText is never
// validated), so the program's texts pass untouched. The box has already
// taken the edited text when it asks, so the length to compare with is the
// one it had before, followed through textChanged.
class TypingLimitValidator : public QValidator {
public:
    TypingLimitValidator(QLineEdit *box, int limit)
        : QValidator(box), limit_(limit), length_(box->text().size()) {
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString &text) { length_ = text.size(); });
    }

    int limit() const { return limit_; }

    State validate(QString &input, int &) const override {
        return input.size() <= std::max<qsizetype>(limit_, length_) ? Acceptable : Invalid;
    }

private:
    int limit_;
    qsizetype length_;
};

} // namespace

void limitTyping(QLineEdit *box, int limit) {
    box->setValidator(new TypingLimitValidator(box, limit));
}

int typingLimit(const QLineEdit *box) {
    const auto *v = dynamic_cast<const TypingLimitValidator *>(box->validator());
    return v ? v->limit() : -1;
}

} // namespace zx::ui
