#include "link/DisplayUnit.h"

#include "text/Ansi.h"

namespace zx::link {
namespace {

bool printable(char c) { return c >= 0x20 && c <= 0x7E; }

} // namespace

void PutChar(Memo &memo, char c) {
    if (c == '\r')
        return;
    if (c == '\n') {
        memo.append(QStringLiteral("\n"));
        return;
    }
    memo.append(QString(QLatin1Char(printable(c) ? c : ' ')));
}

void PutString(Memo &memo, const QByteArray &s) {
    QString shown;
    shown.reserve(s.size());
    for (char c : s)
        shown.append(QLatin1Char(printable(c) ? c : ' '));
    memo.append(shown);
}

void PutLine(Memo &memo, const QByteArray &s) {
    PutString(memo, s);
    PutChar(memo, '\n');
}

void StartOwnLine(Memo &memo) {
    const QString text = memo.text();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        memo.append(QStringLiteral("\n"));
}

QString memoTextOf(const QByteArray &bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    QByteArray cut = nul < 0 ? bytes : bytes.left(nul);
    cut.replace("\r\n", "\n");
    cut.replace('\r', '\n');
    return text::fromAnsi(cut);
}

} // namespace zx::link
