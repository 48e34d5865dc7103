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

} // namespace zx::testing
