#include "commands/io/EventMask.h"

namespace zx::commands::io {

int maskLength(MaskKind kind) {
    switch (kind) {
    case MaskKind::Temperature:
        return 3;
    case MaskKind::Analog:
        return 8;
    case MaskKind::Digital:
        return 12;
    }
    return 0;
}

int maskValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

char maskDigit(int v) { return "0123456789ABCDEF"[v & 15]; }

int columnBit(int column) { return column >= 1 && column <= kNumberColumns ? 1 << (column - 1) : 0; }

int HEXfromCheckBox(int bit, int nibble) {
    if (bit != 1 && bit != 2 && bit != 4 && bit != 8)
        return nibble;
    return nibble | bit;
}

int HEXfromUnCheckBox(int bit, int nibble) {
    if (bit != 1 && bit != 2 && bit != 4 && bit != 8)
        return nibble & 15;
    return nibble & (bit ^ 15);
}

QByteArray normalizedMask(MaskKind kind, const QByteArray &text) {
    const int length = maskLength(kind);
    QByteArray mask = text;
    if (mask.size() < length)
        mask.append(QByteArray(length - mask.size(), '-'));
    return mask;
}

namespace {
bool validRow(MaskKind kind, int row) { return row >= 1 && row <= maskLength(kind); }
} // namespace

QByteArray applyNumberBox(MaskKind kind, const QByteArray &source, int row, int column,
                          bool checked) {
    QByteArray mask = normalizedMask(kind, source);
    if (!validRow(kind, row))
        return mask;
    const int bit = columnBit(column);
    const int v = maskValue(mask[row - 1]);
    mask[row - 1] = maskDigit(checked ? HEXfromCheckBox(bit, v) : HEXfromUnCheckBox(bit, v));
    return mask;
}

char disabledMarker(MaskKind kind, int row) {
    return kind == MaskKind::Digital && row <= 10 ? '0' : '-';
}

MaskPair disableRow(MaskKind kind, const QByteArray &mask, const QByteArray &work, int row) {
    MaskPair out{normalizedMask(kind, mask), normalizedMask(kind, work)};
    if (!validRow(kind, row))
        return out;
    out.work[row - 1] = out.mask[row - 1];
    out.mask[row - 1] = disabledMarker(kind, row);
    return out;
}

MaskPair enableRow(MaskKind kind, const QByteArray &mask, const QByteArray &work, int row) {
    MaskPair out{normalizedMask(kind, mask), normalizedMask(kind, work)};
    if (!validRow(kind, row))
        return out;
    char c = out.work[row - 1];
    if (c == '-' && kind != MaskKind::Digital)
        c = '0';
    out.mask[row - 1] = c;
    return out;
}

RowState decodeMaskChar(char c) {
    RowState state;
    const bool digit = (c >= '1' && c <= '9') || (c >= 'A' && c <= 'F');
    if (!digit)
        return state;
    state.disabled = false;
    const int v = maskValue(c);
    for (int i = 0; i < kNumberColumns; ++i)
        state.numbers[i] = (v >> i) & 1;
    return state;
}

QByteArray numberFilterLine(const QByteArray &temperature, const QByteArray &analog,
                            const QByteArray &digital) {
    return "SETME " + temperature + "  " + analog + " " + digital;
}

} // namespace zx::commands::io
