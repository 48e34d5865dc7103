#pragma once
// The module read buttons of the I/O Parts on the "Main" tab: analog and
// temperature readings, levels, humidity and runtime.
namespace zx::ui {

class TabHost;

// Adds "Read Analog", "Analog Level", "Reference Level", "Temperature",
// "Temp.Level" (disabled), "Temp., Humidity" and "Runtime" to the
// "ATcommand" panel, below whatever it already holds.
void installIoReadButtons(TabHost &host);

} // namespace zx::ui
