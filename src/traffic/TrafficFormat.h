#pragma once
// The traffic log as lines of text: a time, a direction and the bytes, shown
// either as text with every control character visible (<CR>, <LF>, <NUL>,
// <^Z>, ...) or as hexadecimal octets.
#include "traffic/TrafficLog.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace zx::traffic {

enum class View { Text, Hex };

// Printable ASCII as is; CR, LF, NUL, Ctrl-Z, ESC, TAB and DEL by name, other
// control characters as <^A>..<^_>, bytes above 127 as <xHH>.
QString visibleText(QByteArrayView bytes);
// "41 54 0D".
QString hexText(QByteArrayView bytes);

// One line per run of entries in the same direction within the same
// millisecond (a text typed out byte by byte shows as one line):
// "2026-12-08 09:30:01.123 TX AT+CMGS=17<CR>", local time.
QStringList formatLines(const QList<Entry> &entries, View view);

} // namespace zx::traffic
