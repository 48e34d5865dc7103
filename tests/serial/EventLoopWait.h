#pragma once
// Waiting in tests by running the Qt event loop, so the driver's polling
// timer keeps firing meanwhile.
#include <functional>

// Runs events until condition() holds or timeoutMs pass; answers condition().
bool runEventsUntil(const std::function<bool()> &condition, int timeoutMs);

// Runs events for ms milliseconds.
void runEventsFor(int ms);
