#include "traffic/TrafficFormat.h"

#include <QDateTime>

namespace zx::traffic {

QString visibleText(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\r': out += QLatin1String("<CR>"); break;
        case '\n': out += QLatin1String("<LF>"); break;
        case '\0': out += QLatin1String("<NUL>"); break;
        case '\t': out += QLatin1String("<TAB>"); break;
        case 0x1A: out += QLatin1String("<^Z>"); break;
        case 0x1B: out += QLatin1String("<ESC>"); break;
        case 0x7F: out += QLatin1String("<DEL>"); break;
        default:
            if (c < 0x20)
                out += QLatin1String("<^") + QLatin1Char(char('@' + c)) + QLatin1Char('>');
            else if (c > 0x7F)
                out += QLatin1String("<x") +
                       QString::number(c, 16).toUpper().rightJustified(2, QLatin1Char('0')) +
                       QLatin1Char('>');
            else
                out += QLatin1Char(char(c));
        }
    }
    return out;
}

QString hexText(QByteArrayView bytes) {
    return QString::fromLatin1(bytes.toByteArray().toHex(' ').toUpper());
}

QStringList formatLines(const QList<Entry> &entries, View view) {
    QStringList lines;
    qsizetype i = 0;
    while (i < entries.size()) {
        const Entry &first = entries.at(i);
        QByteArray run = first.bytes;
        qsizetype j = i + 1;
        while (j < entries.size() && entries.at(j).direction == first.direction &&
               entries.at(j).msecs == first.msecs)
            run += entries.at(j++).bytes;
        const QString when = QDateTime::fromMSecsSinceEpoch(first.msecs)
                                 .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        const QLatin1String marker(first.direction == Direction::Sent ? "TX" : "RX");
        lines << when + QLatin1Char(' ') + marker + QLatin1Char(' ') +
                     (view == View::Hex ? hexText(run) : visibleText(run));
        i = j;
    }
    return lines;
}

} // namespace zx::traffic
