#include "tests/gui/GuiTestSupport.h"

#include <chrono>
#include <thread>
#include <wx/app.h>

namespace guitest {

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void Pump(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

} // namespace guitest
