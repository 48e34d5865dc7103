#pragma once
// Bytes on the wire as the tests expect them, written out here rather than
// taken from the code under test.
#include <QByteArray>

namespace zx::testing {

// A module command as setting mode puts it on the wire: the set-up prefix
// (14 blanks and "SETUP:"), the line, CR and NUL.
inline QByteArray framed(const QByteArray &line) {
    return QByteArray(14, ' ') + "SETUP:" + line + '\r' + QByteArray(1, '\0');
}

// The same for any line the tabs send: a text-table line is first padded
// with blanks to its table's width, 48 characters for "SETTX"/"GETTX" and 23
// for "SETTI"/"GETTI".
inline QByteArray framedAsSent(QByteArray line) {
    const QByteArray keyword = line.left(5);
    const int width = keyword == "SETTX" || keyword == "GETTX"   ? 48
                      : keyword == "SETTI" || keyword == "GETTI" ? 23
                                                                 : 0;
    if (line.size() < width)
        line += QByteArray(width - line.size(), ' ');
    return framed(line);
}

} // namespace zx::testing
