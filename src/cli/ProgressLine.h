#pragma once
// "command 12 of 180, 6.1/s, 28 s left" on standard error, redrawn in place,
// when standard error is a terminal; nothing otherwise.
#include "cli/Console.h"

#include <QString>

namespace zx::cli {

class ProgressLine {
public:
    explicit ProgressLine(Console &console) : m_console(console) {}
    ~ProgressLine() { finish(); }
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    // done of total commands have finished after elapsedMs.
    void update(int done, int total, qint64 elapsedMs);
    // Clears the line, so what follows starts on a clean one.
    void finish();

    static QString text(int done, int total, qint64 elapsedMs);

private:
    Console &m_console;
    bool m_shown = false;
};

} // namespace zx::cli
