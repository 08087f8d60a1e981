#include "platform/BusyCursor.h"

#include <atomic>

namespace platform {
namespace {
std::atomic<IBusyIndicator*> installed{nullptr};
}

void SetBusyIndicator(IBusyIndicator* indicator) {
    installed.store(indicator);
}

CBusyCursor::CBusyCursor() : indicator(installed.load()) {
    if (indicator) {
        indicator->BeginBusy();
    }
}

CBusyCursor::~CBusyCursor() {
    if (indicator) {
        indicator->EndBusy();
    }
}

} // namespace platform
