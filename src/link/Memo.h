#pragma once
#include <QString>

namespace zx::link {

// A multi-line text box as the link sees it: the reception memo and the
// command echo line. Text handed to append() may hold '\n' line breaks; it
// always goes to the end of the last line.
class Memo {
public:
    virtual ~Memo() = default;
    virtual void append(const QString &text) = 0;
    virtual void clear() = 0;
    virtual void setText(const QString &text) = 0;
    virtual QString text() const = 0;
};

} // namespace zx::link
