#include "ui/tabs/IoReadButtons.h"

#include "commands/io/AnalogCommands.h"
#include "commands/io/TemperatureCommands.h"
#include "link/Link.h"
#include "ui/tabs/IoWidgets.h"

#include <QGridLayout>
#include <QPushButton>

#include <algorithm>

namespace zx::ui {

namespace cmd = zx::commands::io;

namespace {

struct ReadButton {
    const char *name;
    const char *caption;
    const char *line;
    bool enabled;
};

constexpr ReadButton kReadButtons[] = {
    {"ReadAnalog", "Read Analog", cmd::kReadAnalogLine, true},
    {"ReadTemperature", "Temperature", cmd::kReadTemperatureLine, true},
    {"ReadTH", "Temp., Humidity", cmd::kReadTempHumidityLine, true},
    {"ReadAlevelBtn", "Analog Level", cmd::kReadAnalogLevelLine, true},
    {"ReadRT", "Runtime", cmd::kReadRuntimeLine, true},
    {"RefLevel", "Reference Level", cmd::kReadReferenceLevelLine, true},
    // Created disabled; nothing enables it.
    {"TemperatureLevelBtn", "Temp.Level", cmd::kReadTemperatureLevelLine, false},
};

constexpr int kColumns = 2;

// The row below everything the grid already holds, so that buttons another
// part put there stay where they are.
int firstFreeRow(const QGridLayout *grid) {
    int free = 0;
    for (int i = 0; i < grid->count(); ++i) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        free = std::max(free, row + rowSpan);
    }
    return free;
}

} // namespace

void addIoReadButtons(QGridLayout *grid, link::Link &link) {
    QWidget *panel = grid->parentWidget();
    const int first = firstFreeRow(grid);
    int k = 0;
    for (const ReadButton &b : kReadButtons) {
        auto *button = io::button(io::latin(b.name), io::latin(b.caption), panel);
        button->setEnabled(b.enabled);
        const QByteArray line(b.line);
        QObject::connect(button, &QPushButton::clicked, button,
                         [&link, line] { link.sendCommand(line); });
        grid->addWidget(button, first + k / kColumns, k % kColumns);
        ++k;
    }
}

} // namespace zx::ui
