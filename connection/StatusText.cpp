#include "connection/StatusText.h"

#include <array>
#include <atomic>
#include <mutex>

#include "platform/WindowTarget.h"

namespace {

constexpr int SlotCount = 10;

struct StatusSlots {
    std::mutex lock;
    std::array<std::wstring, SlotCount> texts;
};

StatusSlots& Slots() {
    static StatusSlots slots;
    return slots;
}

std::atomic<platform::IStatusBarTarget*> statusBarWindow{nullptr};

} // namespace

void SetStatusBarWindow(platform::IStatusBarTarget* statusBar) {
    statusBarWindow.store(statusBar, std::memory_order_release);
}

void PostStatusText(int index, std::wstring_view text) {
    if (index < 0 || index >= SlotCount) {
        return;
    }
    {
        StatusSlots& slots = Slots();
        std::lock_guard guard(slots.lock);
        slots.texts[static_cast<std::size_t>(index)] = text;
    }
    if (platform::IStatusBarTarget* target = statusBarWindow.load(std::memory_order_acquire)) {
        target->PostPaneText(index, std::wstring(text));
    }
}

std::wstring StatusSlotText(int index) {
    if (index < 0 || index >= SlotCount) {
        return {};
    }
    StatusSlots& slots = Slots();
    std::lock_guard guard(slots.lock);
    return slots.texts[static_cast<std::size_t>(index)];
}
