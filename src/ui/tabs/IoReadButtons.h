#pragma once
class QGridLayout;

namespace zx::link {
class Link;
}

namespace zx::ui {

// The module read buttons of the "Main" tab's "ATcommand" panel ("Read
// Analog", "Temperature", ...), below what the grid already holds.
void addIoReadButtons(QGridLayout *grid, link::Link &link);

} // namespace zx::ui
