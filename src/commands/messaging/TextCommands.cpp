#include "commands/messaging/TextCommands.h"

namespace zx::commands::messaging {
namespace {

QByteArray head(const char *keyword, int number) {
    return QByteArray(keyword) + QByteArray::number(number).rightJustified(2, '0') + ' ';
}

} // namespace

QByteArray textReadLine(TextTable table, int number) {
    return head(table == TextTable::External ? "GETTX" : "GETTI", number);
}

QByteArray textWriteLine(TextTable table, int number, const QByteArray &text) {
    return head(table == TextTable::External ? "SETTX" : "SETTI", number) + text;
}

QByteArray storedTextOf(TextTable table, const QByteArray &text) {
    return text.left(table == TextTable::External ? kExternalStoredLength : kShortStoredLength);
}

} // namespace zx::commands::messaging
