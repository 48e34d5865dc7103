#pragma once
// The 154 text buttons of the tabs "External SMS", "Int/Ext SMS" and
// "IOname" as one table: which numbers each tab shows, the names of its
// buttons, boxes and "Read" box, the module table a text belongs to, and how
// the tab arranges its boxes in labelled grids.
#include "commands/messaging/TextCommands.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zx::ui {

// One labelled grid of text boxes. Box numbers run along the rows
// (first, first + 1, ... across a row) or down the columns.
struct TextGrid {
    QString title; // group title, empty for none
    int first = 1;
    QStringList rowLabels;
    QStringList columnLabels;
    bool downColumns = false;

    int numberAt(int row, int column) const;
};

struct NumberRange {
    int from;
    int to;
};

struct TextFamily {
    int tab;
    const char *buttonStem;
    const char *boxStem;
    const char *readBox;
    int first;
    int last;
    commands::messaging::TextTable table;
    int boxLimit;
    // The "Read" box of "External SMS" empties the memos; the others only
    // clear the raw-line flag.
    bool readBoxClears;
    // The texts whose box and button the runtime variant disables.
    std::vector<NumberRange> variantRanges;
};

// The three families, in tab order.
const std::vector<TextFamily> &textFamilies();
std::vector<TextGrid> textGridsOfTab(int tab);
// The design-time text of box n of a family.
QString initialText(const TextFamily &family, int number);

} // namespace zx::ui
