#pragma once
// The memo terminal: writes received and echoed characters into a memo.
// Each memo's current line is its last line, so every echo is visible even
// after line feeds went into another memo.
#include "link/Memo.h"

#include <QByteArray>
#include <QString>

namespace zx::link {

// CR does nothing, LF starts a new line, 0x20..0x7E is appended, anything
// else is appended as a space.
void PutChar(Memo &memo, char c);
// Every character outside 0x20..0x7E becomes a space; the result is appended.
void PutString(Memo &memo, const QByteArray &s);
void PutLine(Memo &memo, const QByteArray &s);
// Ends the memo's last line unless it is empty, so that what the tool adds
// next starts a line of its own.
void StartOwnLine(Memo &memo);

// How a received block reads in a memo: bytes as Windows-1252 characters,
// cut at the first NUL, with CR LF, CR or LF each one line break.
QString memoTextOf(const QByteArray &bytes);

} // namespace zx::link
