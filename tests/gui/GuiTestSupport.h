#pragma once
// Helpers for tests that drive real windows under Xvfb.

#include <functional>

namespace guitest {

// Runs the event loop until the condition holds or the time runs out;
// returns the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs the event loop for a while.
void Pump(int milliseconds);

} // namespace guitest
